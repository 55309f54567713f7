// GoogleTest main for tests that need a QApplication (widgets on the offscreen platform).
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("medrec"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

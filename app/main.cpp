#include "MDG300U1.h"

#include "TuxCom.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("medrec"));

    std::vector<std::string> arguments(argv, argv + argc);
    medrec::middleware::SetCommandLine(std::move(arguments));

    medrec::app::TMDG300F1 screen;
    if (!screen.sessionOpen())
        return 1;
    screen.show();
    return application.exec();
}

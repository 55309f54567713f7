// Takes the picture of the main screen shown in the README: the screen on a real display
// (run it under xvfb-run), against a service host loaded with a data set, one patient
// looked up as the operator does it.
//
//   xvfb-run -a -s "-screen 0 1024x768x24" main_screen_snapshot OUT.png [DATA.json [NUMBER [VISIT]]]
//
// DATA.json defaults to the demo data set, NUMBER to 1234; VISIT, when given, is the row of
// the visit list clicked afterwards (1 is the newest). Exit code 0 when the picture was
// written with the record list filled, 1 otherwise.

#include "MDG300U1.h"
#include "ScreenHost.h"

#include "OperatorPresenter.h"
#include "TuxCom.h"
#include "UltraGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <cstdlib>
#include <iostream>

namespace {

void settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: main_screen_snapshot OUT.png [DATA.json [NUMBER [VISIT]]]\n";
        return 2;
    }
    const std::string out = argv[1];
    const std::string data = argc > 2 ? argv[2] : MEDREC_DEMO_DATA;
    const QString number = QString::fromUtf8(argc > 3 ? argv[3] : "1234");
    const int visitRow = argc > 4 ? std::atoi(argv[4]) : 0;

    try {
        medrec::testing::ScreenHost host(medrec::testing::ReadFile(data));
        medrec::middleware::SetPresenter(std::make_unique<medrec::middleware::StderrPresenter>());
        medrec::middleware::SetCommandLine({"medrec", "DEMO", "USER"});
        setenv("MEDREC_ENV_FILE", host.environmentFile().c_str(), 1);
        medrec::app::TMDG300F1 form;
        if (!form.sessionOpen())
            return 1;
        form.move(0, 0);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return 1;
        form.activateWindow();
        settle(200);

        QLineEdit *edit = form.controls().ed_PatNo;
        edit->setFocus();
        QTest::keyClicks(edit, number);
        QTest::keyClick(edit, Qt::Key_Return);
        settle(300);
        if (visitRow > 0) {
            medrec::common::TUltraGrid *visits = form.controls().ugd_History;
            QTest::mouseClick(visits->viewport(), Qt::LeftButton, {}, visits->cellRect(1, visitRow).center());
        }
        settle(300);

        const QPixmap picture = form.screen()->grabWindow(form.winId());
        if (picture.isNull() || !picture.save(QString::fromStdString(out))) {
            std::cerr << "main_screen_snapshot: cannot write " << out << "\n";
            return 1;
        }
        const bool filled = !form.controls().ugd_RecodDt->cell(0, 1).empty();
        std::cout << "wrote " << out << " (" << picture.width() << "x" << picture.height() << ")"
                  << (filled ? "" : ", but the record list is empty") << "\n";
        medrec::middleware::TuxTerm();
        return filled ? 0 : 1;
    } catch (const std::exception &e) {
        std::cerr << "main_screen_snapshot: " << e.what() << "\n";
        return 1;
    }
}

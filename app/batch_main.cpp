// medrec-batch PATNO [--visit DATE] [--kind CODE] [--record N] | PATNO [--visit DATE] --all
//
// Prints through the same print run as the screen, history rows included. The user name is
// taken from MEDREC_BATCH_USER (default "BATCH"); exit 0 when everything asked for was
// printed, 1 when something was not, 2 on bad usage or when the session cannot open.

#include "BatchJob.h"
#include "MDG300U1.h"

#include "OperatorPresenter.h"
#include "TuxCom.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>

int main(int argc, char *argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("medrec-batch"));

    const std::vector<std::string> args(argv + 1, argv + argc);
    medrec::app::BatchJob job;
    std::string error;
    if (!medrec::app::ParseBatchArguments(args, &job, &error)) {
        std::cerr << "medrec-batch: " << error << "\n"
                  << "usage: medrec-batch PATNO [--visit DATE] [--kind CODE] [--record N]\n"
                  << "       medrec-batch PATNO [--visit DATE] --all\n";
        return 2;
    }
    medrec::middleware::SetPresenter(std::make_unique<medrec::middleware::StderrPresenter>());
    const char *user = std::getenv("MEDREC_BATCH_USER");
    medrec::middleware::SetCommandLine({argv[0], user && *user ? user : "BATCH", ""});

    medrec::app::TMDG300F1 screen;
    if (!screen.sessionOpen())
        return 2;
    const auto result = medrec::app::RunBatchJob(screen, job);
    std::cerr << "medrec-batch: " << result.printed << " printed, " << result.failed << " not printed\n";
    return result.failed == 0 && result.printed > 0 ? 0 : 1;
}

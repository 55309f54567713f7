// medrec-batch PATNO [--visit DATE] [--kind CODE] [--record N] | PATNO [--visit DATE] --all
//              [--layout-records DIR]
//
// Prints through the same print run as the screen, history rows included. The user name is
// taken from MEDREC_BATCH_USER (default "BATCH"); exit 0 when everything asked for was
// printed, 1 when something was not, 2 on bad usage or when the session cannot open.

#include "BatchJob.h"
#include "MDG300U1.h"
#include "ProgramOptions.h"

#include "OperatorPresenter.h"
#include "TuxCom.h"

#include "Cp949.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>

namespace {

constexpr const char *kUsage = "usage: medrec-batch PATNO [--visit DATE] [--kind CODE] [--record N]\n"
                               "                    [--layout-records DIR]\n"
                               "       medrec-batch PATNO [--visit DATE] --all [--layout-records DIR]\n"
                               "       medrec-batch --help | --version\n";

constexpr const char *kAbout =
    "\n"
    "Prints a patient's records through the same print run as the screen, history rows\n"
    "included: the newest visit (or the one on DATE), the first record kind (or CODE), the\n"
    "first record (or row N), or with --all every record of the visit. The user name is\n"
    "MEDREC_BATCH_USER (default BATCH). Every print leaves its layout record, the printed\n"
    "pages as text: in DIR with --layout-records (or MEDREC_LAYOUT_RECORDS), else beside its\n"
    "PDF when MEDREC_PRINT_TO=pdf:DIR. Exit 0 when everything asked for was printed with its\n"
    "history row and layout record, 1 when something was not, 2 on bad usage or when the\n"
    "session cannot open.\n";

} // namespace

int main(int argc, char *argv[])
{
    if (medrec::app::AnswerHelpOrVersion(argc, argv, "medrec-batch", std::string(kUsage) + kAbout))
        return 0;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("medrec-batch"));

    const std::vector<std::string> args(argv + 1, argv + argc);
    medrec::app::BatchJob job;
    std::string error;
    if (!medrec::app::ParseBatchArguments(args, &job, &error)) {
        std::cerr << "medrec-batch: " << error << "\n" << kUsage;
        return 2;
    }
    // The engine's print path reads the folder from the environment, as it reads MEDREC_PRINT_TO.
    if (!job.layoutRecords.empty())
        setenv("MEDREC_LAYOUT_RECORDS", job.layoutRecords.c_str(), 1);
    // Without the CP949 converter every Korean character would travel as '?': refuse to start.
    if (const std::string problem = medrec::text::converterProblem(); !problem.empty()) {
        std::cerr << "medrec-batch: " << problem << "\n";
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

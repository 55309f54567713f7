#include "MDG300U1.h"
#include "ProgramOptions.h"

#include "MsgCom.h"
#include "ReportForms.h"
#include "TuxCom.h"

#include "Cp949.h"
#include "system/CommandLine.h"

#include <QApplication>

namespace {

constexpr const char *kHelp =
    "usage: medrec USER1 USER2 [ARG3 ... ARG13]\n"
    "       medrec --help | --version\n"
    "\n"
    "The medical-records print client. USER1 and USER2 joined form the user name of the\n"
    "middleware session; ARG13 names the workstation when its address cannot be found.\n"
    "The middleware reads the site environment file MEDREC_ENV_FILE names\n"
    "(C:\\Tarvin\\Env\\His.env when it is not set).\n";

} // namespace

int main(int argc, char *argv[])
{
    if (medrec::app::AnswerHelpOrVersion(argc, argv, "medrec", kHelp))
        return 0;
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("medrec"));
    medrec::reports::AddBundledFonts();

    // Without the CP949 converter every Korean character would travel as '?': refuse to start.
    if (const std::string problem = medrec::text::converterProblem(); !problem.empty()) {
        medrec::middleware::ShowMsg("한글 문자 변환(CP949)을 사용할 수 없습니다.\r\n\r\n" + problem);
        return 1;
    }

    medrec::middleware::SetCommandLine(medrec::platform::commandLineArguments(argc, argv));

    medrec::app::TMDG300F1 screen;
    if (!screen.sessionOpen())
        return 1;
    screen.show();
    return application.exec();
}

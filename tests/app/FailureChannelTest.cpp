// Every service the main screen calls, failing with each user return code: the failure
// reaches the channel the code chooses, the chain stops there, the hourglass is gone.
#include "MainScreenFixture.h"

#include "CodeCombos.h"
#include "TStatusBar.h"
#include "UltraGrid.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

namespace medrec::testing {
namespace {

struct FailurePath
{
    const char *name;
    const char *service;
    std::function<bool(const server::Request &)> when;
    // Drives the screen to the failing call.
    std::function<void(MainScreenTest &)> act;
};

struct FailureCase
{
    FailurePath path;
    long userCode;
};

void PrintTo(const FailureCase &c, std::ostream *out)
{
    *out << c.path.name << " with user code " << c.userCode;
}

std::string caseName(const ::testing::TestParamInfo<FailureCase> &info)
{
    const long code = info.param.userCode;
    return std::string(info.param.path.name) + (code < 0 ? "_minus" : "_") +
           std::to_string(code < 0 ? -code : code);
}

class FailureChannel : public MainScreenTest, public ::testing::WithParamInterface<FailureCase>
{
public:
    void enter(const QString &number)
    {
        typeKeys(number);
        pressEnter();
    }
    // What the failure left behind for the path's own checks.
    const app::MDG300Controls &controls() const { return ui(); }
    app::TMDG300F1 &form() { return screen(); }
    RecordingPresenter &recorded() { return messages(); }
};

bool typeIs(const server::Request &request, const char *type)
{
    return request.text("S_TYPE1") == type;
}

std::vector<FailurePath> paths()
{
    return {
        {"PatientSearch", "MD_PATBA_L2", [](const server::Request &r) { return typeIs(r, "1"); },
         [](MainScreenTest &t) { static_cast<FailureChannel &>(t).enter(QStringLiteral("1234")); }},
        // The chain goes on after a failed display, so the display is asked once more alone.
        {"PatientDisplay", "MD_PATBA_L2", [](const server::Request &r) { return typeIs(r, "3"); },
         [](MainScreenTest &t) {
             auto &f = static_cast<FailureChannel &>(t);
             f.enter(QStringLiteral("1234"));
             f.recorded().clear();
             f.controls().stb_Message->setPanelText(0, QString());
             f.form().ShowPatientInfo();
         }},
        {"VisitList",
         "MD_PMEDH_S1",
         {},
         [](MainScreenTest &t) { static_cast<FailureChannel &>(t).enter(QStringLiteral("1234")); }},
        {"VisitLoop", "MD_RECOD_L1",
         [](const server::Request &r) { return r.text("S_STRING1") == "201601051200"; },
         [](MainScreenTest &t) { static_cast<FailureChannel &>(t).enter(QStringLiteral("1234")); }},
        {"RecordKinds", "MD_RECOD_L1",
         [](const server::Request &r) { return r.text("S_STRING1").size() == 8; },
         [](MainScreenTest &t) { static_cast<FailureChannel &>(t).enter(QStringLiteral("1234")); }},
        {"Records",
         "MD_RECOD_L2",
         {},
         [](MainScreenTest &t) { static_cast<FailureChannel &>(t).enter(QStringLiteral("1234")); }},
        {"WardRooms",
         "MD_WDRMC_L1",
         {},
         [](MainScreenTest &t) {
             auto &f = static_cast<FailureChannel &>(t);
             common::FillWardCombo(f.controls().combx_RoomCd, f.controls().combx_Room);
             f.controls().combx_Room->setCurrentIndex(
                 f.controls().combx_Room->findText(QStringLiteral("71병동")));
             f.form().combx_RoomChange();
         }},
    };
}

std::vector<FailureCase> cases()
{
    std::vector<FailureCase> out;
    for (const FailurePath &path : paths())
        for (long code : {-1L, 0L, 1L})
            out.push_back({path, code});
    return out;
}

TEST_P(FailureChannel, ReachesTheChannelOfItsUserReturnCode)
{
    const FailureCase &c = GetParam();
    start({{c.path.service, FailWith(c.userCode, c.path.when)}});
    c.path.act(*this);

    const std::string failure = std::string("시험 장애 ") + c.path.service;
    EXPECT_EQ(messages().texts(Channel::Notice),
              c.userCode == -1 ? std::vector<std::string>{failure} : std::vector<std::string>{});
    EXPECT_EQ(messages().texts(Channel::Plain),
              c.userCode == 1 ? std::vector<std::string>{failure} : std::vector<std::string>{});
    EXPECT_EQ(status(), c.userCode == 0 ? failure : std::string());
    EXPECT_TRUE(messages().texts(Channel::Status).empty());
    EXPECT_NORMAL_CURSOR();

    // The chain stops at the failing call.
    const std::string path = c.path.name;
    if (path == "PatientSearch") {
        EXPECT_EQ(calls().calls().size(), 1u);
        EXPECT_EQ(text(ui().pn_PatName), "");
    } else if (path == "VisitList") {
        EXPECT_TRUE(calls().calls("MD_RECOD_L1").empty());
    } else if (path == "VisitLoop") {
        // The grid keeps a row per visit, filled as far as the loop got, and nothing is chosen.
        EXPECT_EQ(body(*ui().ugd_History, 2), (Rows{{"1", "2017-09-15 09:00"}, {"", ""}, {"", ""}}));
        EXPECT_EQ(calls().calls("MD_RECOD_L1").size(), 2u);
        EXPECT_TRUE(calls().calls("MD_RECOD_L2").empty());
    } else if (path == "RecordKinds") {
        EXPECT_EQ(body(*ui().ugd_RecodKnd, 4), (Rows{{"", "", "", ""}}));
        EXPECT_TRUE(calls().calls("MD_RECOD_L2").empty());
    } else if (path == "Records") {
        EXPECT_EQ(screen().selectedRecordKind(), "MDNRRECT");
        EXPECT_EQ(body(*ui().ugd_RecodDt, 2), (Rows{{"", ""}}));
    } else if (path == "WardRooms") {
        EXPECT_EQ(ui().combx_roomno->count(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(MainScreen, FailureChannel, ::testing::ValuesIn(cases()), caseName);

} // namespace
} // namespace medrec::testing

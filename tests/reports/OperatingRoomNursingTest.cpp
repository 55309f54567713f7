// The operating-room nursing record ("MDOPRPTT") printed from the real medrec-server: the demo
// sheet on one page with every caption, value and its foot, and its history row; the marks of
// a sheet full of them and then of one with none; values that are no number stopping the print
// before anything goes out; a long remark that runs on with the foot kept.
#include "MDS210U2_P01/MDS210U2_P01.h"

#include "FormConventions.h"
#include "RecordKindFixture.h"
#include "RecordKinds.h"
#include "ReportForms.h"
#include "TestDataText.h"

#include "HmdOprptt.h"
#include "TuxCom.h"

#include "report_engine/Report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <variant>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDOPRPTT";
constexpr const char *kUnit = "MDS210U2_P01";
constexpr const char *kForm = "TMDS210F2_P01";

// The components that printed a "√", over the whole document.
std::set<std::string> checkedLabels(const engine::Document &doc)
{
    std::set<std::string> checked;
    for (const auto &page : doc.pages)
        for (const auto &e : page.elements)
            if (e.kind == engine::ElementKind::Text && e.text == "√")
                checked.insert(e.component);
    return checked;
}

// Every caption the form prints by itself: its enabled labels that are not marks.
std::vector<std::string> formCaptions()
{
    std::vector<std::string> captions;
    auto report = reports::MakeReport(kUnit, kForm);
    report->forEachComponent([&](engine::Component &c) {
        if (const auto *label = std::get_if<engine::Label>(&c);
            label && label->enabled && !label->caption.empty() && label->caption != "√")
            captions.push_back(label->caption);
    });
    return captions;
}

// The "√" labels of the yes/no pairs, yes side and no side, and the regular/emergency pair.
const std::set<std::string> kYesSide = {"qrlb_ImpY",  "qrlb_TournY", "qrlb_DrainY", "qlb_CountYn",
                                        "qlb_SpcYn",  "qrlb_addY",   "qlb_ConfY",   "qlb_DropY",
                                        "qlb_OpPreY", "qlb_OpPostY"};
const std::set<std::string> kNoSide = {"qrlb_ImpN",  "qrlb_TournN", "qrlb_DrainN", "qrl_countN",
                                       "qrl_spcN",   "qrlb_addN",   "qlb_ConfN",   "qlb_DropN",
                                       "qlb_OpPreN", "qlb_OpPostN"};

using OperatingRoomNursingRecord = mt::DemoRecordKindTest;

TEST_F(OperatingRoomNursingRecord, TheDemoSheetPrintsOnOnePageWithEveryCaptionValueAndItsFoot)
{
    auto context = contextFor(kKind, "00001302", "20160905");
    const mt::KindPrint result = print(kKind, context);
    ASSERT_TRUE(result.printed()) << result.failure << result.fault;
    expectNothingLost(result);
    ASSERT_EQ(result.document->pages.size(), 1u);
    const auto pages = pdfPages(result.pdf, PdfText::LaidOut);
    ASSERT_EQ(pages.size(), 1u);
    const std::string &page = pages[0];

    for (const std::string &caption : formCaptions()) {
        SCOPED_TRACE(caption);
        EXPECT_NE(page.find(withoutBlanks(caption)), std::string::npos);
    }
    for (const char *value :
         {"00001302", "김민수", "M/50", "정형외과", "2016-09-06", "제5수술실", "51-5105",
          "좌측 슬관절 퇴행성 관절염 (M17.1)", "좌측 슬관절 퇴행성 관절염, 내반 변형 동반 (M17.1)",
          "좌측 인공 슬관절 전치환술 (TKA, left), 외측 유리체 절제",
          // The surgeons skip the empty second; the nurses skip the blank one and keep the other's blank.
          "최영민,정도윤,배서준", "한소희, 윤아름", "최유리,강민지", "오세훈,신동욱", "임지현,서예린",
          "2016-09-06 08:10", "2016-09-06 08:25", "2016-09-06 09:05", "2016-09-06 10:50", "2016-09-06 11:20",
          "(슬관절 굴곡 90도 유지)", "(클로르헥시딘 알코올)", "(Ropivacaine 0.75%)", "대퇴 삽입물 (Femoral)",
          "Zimmer", "Stryker", "골시멘트 40g", "Size F, 좌측", "09:00", "10:35", "300mmHg", "10:48",
          "Hemovac", "1/8 inch", "좌측 슬관절 전방", "Foley catheter", "16Fr", "회복실",
          "좌측 경골 근위부 골편", "관절액 (세포검사)", "관절액 배양", "Cefazolin", "예방적 항생제", "2g",
          "Tranexamic acid", "관절강 내", "MRSA 보균자 (2016-08-30 비강 배양 양성)", "마취통증의학과",
          "수술 후 통증 조절을 위한 대퇴신경 차단술", "회복실 도착 시 활력징후 안정적이었으며",
          "지혈대 부위 좌측 대퇴 발적 (2 x 3cm)", "2026-12-09 14:30:05"}) {
        SCOPED_TRACE(value);
        EXPECT_NE(page.find(withoutBlanks(value)), std::string::npos);
    }
    // The foot, on the one page.
    for (const char *foot : {"작성일시", "2016-09-06 11:35", "기록간호사 서명", "KRV MR-OR-NR"}) {
        SCOPED_TRACE(foot);
        EXPECT_NE(page.find(withoutBlanks(foot)), std::string::npos);
    }
    // Filled, never printed: the fifth count row and the stage marks.
    for (const char *hidden : {"Bovie tip", "1차 확인"}) {
        SCOPED_TRACE(hidden);
        EXPECT_EQ(page.find(withoutBlanks(hidden)), std::string::npos);
    }

    std::set<std::string> marks = {"qlb_OPG1", "qlb_OPPos1", "qlb_OPPosEtc", "qlb_OPSkin1", "qlb_OPSkin3",
                                   "qrl_OpSkin5", "qlb_OPSkinEtc", "qrl_pad2", "qlb_AnethCd3", "qlb_LocalEtc",
                                   "qlb_Tool3Yn", "qlb_Cau6", "qlb_CauEtc",
                                   // yes: implants, tourniquet, drains, counts, specimens, drugs, site
                                   "qrlb_ImpY", "qrlb_TournY", "qrlb_DrainY", "qlb_CountYn", "qlb_SpcYn",
                                   "qrlb_addY", "qlb_ConfY", "qlb_DropN", "qlb_OpPreN", "qlb_OpPostY"};
    EXPECT_EQ(checkedLabels(*result.document), marks);

    EXPECT_EQ(result.summary, (reports::PrintedSummary{.patno = "00001302",
                                                       .meddate = "20160905",
                                                       .dschdate = "20160920",
                                                       .patgubun = "건강보험",
                                                       .meddept = "정형외과",
                                                       .chadr = "최영민"}));
    EXPECT_EQ(result.history,
              (reports::HistoryRow{
                  .patNo = "00001302", .recordKey = "20160906", .details = {"1", "empty", "empty"}}));
}

TEST_F(OperatingRoomNursingRecord, TheWholeSheetLiesInsideThePrintableHeight)
{
    auto form = reports::LoadReportForm(kUnit, kForm);
    ASSERT_EQ(form.bands.size(), 1u);
    const engine::Band &band = form.bands.front();
    const double printable = 297.0 - form.page.margins.top - form.page.margins.bottom;
    EXPECT_LE(band.height, printable + 1e-6);
    for (const auto &c : band.components) {
        const engine::ComponentBase &base =
            std::visit([](const auto &x) -> const engine::ComponentBase & { return x; }, c);
        SCOPED_TRACE(base.name);
        EXPECT_GE(base.box.top, 0.0);
        EXPECT_LE(base.box.top + base.box.height, band.height + 1e-6);
    }
    EXPECT_TRUE(form.furniture.empty()); // nothing that stays put while the band grows
}

class OperatingRoomNursingFaults : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(mt::readFile(MEDREC_TEST_DATA "/or-nursing-records.json")); }
    static void TearDownTestSuite() { StopServer(); }

    static reports::PrintContext operation(const std::string &opNo)
    {
        reports::PrintContext context;
        context.record = reports::RowCells(
            {"00007001", "20261103", opNo, "정형외과", "20261102", "20261110", "건강보험", "최영민"});
        return context;
    }

    // medrec-batch for record row `row` of the visit; its exit code, standard error in *err.
    int batch(int row, std::string *err)
    {
        const std::string env = mt::writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
        const std::string errFile = m_out.file("batch.err");
        const std::string command = "MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir() +
                                    "' '" MEDREC_BATCH_PROGRAM
                                    "' 7001 --visit 20261102 --kind MDOPRPTT --record " +
                                    std::to_string(row) + " 2>'" + errFile + "'";
        const int status = std::system(command.c_str());
        *err = mt::readFile(errFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string pdfDir()
    {
        const std::string dir = m_out.file("batch");
        std::filesystem::create_directories(dir);
        return dir;
    }
};

TEST_F(OperatingRoomNursingFaults, ASheetWithNoMarkPrintedAfterOneFullOfThemShowsOnlyItsOwn)
{
    auto full = operation("1");
    const mt::KindPrint first = print(kKind, full);
    ASSERT_TRUE(first.printed()) << first.failure;
    std::set<std::string> every = kYesSide;
    for (const char *label :
         {"qlb_OPG2",    "qlb_OPPos1",    "qlb_OPPos2",  "qlb_OPPos3",   "qlb_OPPos4",   "qlb_OPPos5",
          "qlb_OPPos6",  "qlb_OPPosEtc",  "qlb_OPSkin1", "qlb_OPSkin2",  "qlb_OPSkin3",  "qrl_OpSkin4",
          "qrl_OpSkin5", "qlb_OPSkinEtc", "qrl_pad3",    "qlb_AnethCd6", "qlb_LocalEtc", "qlb_reopyn",
          "qlb_Xray3Yn", "qlb_Ring3Yn",   "qlb_Bong3Yn", "qlb_Tool3Yn",  "qlb_Cau1",     "qlb_Cau2",
          "qlb_Cau3",    "qlb_Cau4",      "qlb_Cau5",    "qlb_Cau6",     "qlb_Cau7",     "qlb_Cau8",
          "qlb_CauEtc"})
        every.insert(label);
    EXPECT_EQ(checkedLabels(*first.document), every);

    auto none = operation("2");
    const mt::KindPrint second = print(kKind, none);
    ASSERT_TRUE(second.printed()) << second.failure;
    // Exactly one mark per yes/no pair, on "무"/"No", and "정규"; nothing else.
    std::set<std::string> expected = kNoSide;
    expected.insert("qlb_OPG1");
    EXPECT_EQ(checkedLabels(*second.document), expected);
    const auto pages = pdfPages(second.pdf);
    ASSERT_EQ(pages.size(), 1u);
    std::size_t marks = 0;
    for (auto at = pages[0].find("√"); at != std::string::npos; at = pages[0].find("√", at + 1))
        ++marks;
    EXPECT_EQ(marks, expected.size());
    // "6" is no place the patient went to; an empty ward prints no room.
    for (const auto &page : second.document->pages)
        for (const auto &e : page.elements)
            EXPECT_NE(e.component, "qrlb_outArea") << e.text;
}

TEST_F(OperatingRoomNursingFaults, AValueThatIsNoNumberStopsThePrintNamingIt)
{
    const struct
    {
        const char *opNo;
        const char *message;
    } cases[] = {
        {"3", "출력하지 못했습니다. S_STRING22 값이 숫자가 아닙니다: '전신'"},
        {"4", "출력하지 못했습니다. S_CODE9 값이 숫자가 아닙니다: '2a'"},
        // The operation's number goes out as an integer: the print stops before the call.
        {"1a", "출력하지 못했습니다. record.2 값이 숫자가 아닙니다: '1a'"},
        {"", "출력하지 못했습니다. record.2 값이 숫자가 아닙니다: ''"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.opNo);
        auto context = operation(c.opNo);
        const mt::KindPrint result = print(kKind, context);
        EXPECT_FALSE(result.printed());
        EXPECT_FALSE(result.refused.has_value());
        EXPECT_EQ(result.failure, c.message);
        EXPECT_FALSE(middleware::HasRequestBuffer());
    }
}

TEST_F(OperatingRoomNursingFaults, ThePrintRunShowsTheConversionBoxAndLeavesNoCopyNorHistory)
{
    // Rows of the record list, in the visit's order: 3 and 4 hold values that are no number,
    // 7 an operation number that is none, 5 a sheet the service does not know.
    const struct
    {
        int row;
        const char *says;
    } cases[] = {
        {3, "출력하지 못했습니다. S_STRING22 값이 숫자가 아닙니다: '전신'"},
        {4, "출력하지 못했습니다. S_CODE9 값이 숫자가 아닙니다: '2a'"},
        {7, "출력하지 못했습니다. record.2 값이 숫자가 아닙니다: '1a'"},
        {5, "출력할  자료가 없습니다."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row);
        std::string err;
        EXPECT_EQ(batch(c.row, &err), 1);
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(pdfDir()));
    EXPECT_TRUE(historyLines().empty());

    std::string err;
    EXPECT_EQ(batch(2, &err), 0) << err;
    const auto lines = historyLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("\t00007001\t20261103\t2\tempty\tempty\tMDOPRPTT\t"), std::string::npos)
        << lines[0];
}

TEST_F(OperatingRoomNursingFaults, ALongRemarkRunsOnWithNothingLostAndTheFootAfterIt)
{
    auto context = operation("6");
    const mt::KindPrint result = print(kKind, context);
    ASSERT_TRUE(result.printed()) << result.failure;
    expectNothingLost(result);
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 2u);
    const std::string all = pages[0] + pages[1];
    for (int i : {1, 30, 60}) {
        SCOPED_TRACE(i);
        EXPECT_NE(all.find(withoutBlanks("수술 중 " + std::to_string(i) + "차 관찰")), std::string::npos);
    }
    EXPECT_NE(pages.back().find("KRVMR-OR-NR"), std::string::npos);
    EXPECT_NE(pages.back().find("기록간호사6"), std::string::npos);
}

TEST_F(OperatingRoomNursingFaults, TheHostAnswersBySheetKeyWithTheOperationNumberAsAnInteger)
{
    const struct
    {
        int opNo;
        int rows;
        const char *nurse;
    } cases[] = {{2, 1, "기록간호사2"}, {6, 1, "기록간호사6"}, {7, 0, ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.opNo);
        services::HmdOprptt data;
        EXPECT_EQ(data.ListOprpt("P", "00007001", "20261103", "EB1", c.opNo), c.rows);
        EXPECT_EQ(data.results().value("S_STRING153"), c.nurse);
    }
    auto unknown = operation("5");
    const mt::KindPrint result = print(kKind, unknown);
    ASSERT_TRUE(result.refused.has_value());
    EXPECT_EQ(result.refused->reason, reports::NotPrinted::Reason::NothingFound);
    EXPECT_EQ(result.refused->notice.channel, reports::Notice::Channel::Box);
    EXPECT_EQ(result.refused->notice.text, "출력할  자료가 없습니다.");

    const std::string out = commandOutput("'" + mt::serverProgramPath() + "' services");
    EXPECT_NE(out.find("\nMD_OPRPT_L1\tstored replies\tS_TYPE2;S_TYPE3;L_CNT1\n"), std::string::npos) << out;
}

// The sheet's own rules on its real form: values one at a time, the rest empty.
TEST(OperatingRoomNursingRules, MarksChoicesAndCodesByTheValue)
{
    const auto &fill = reports::OperatingRoomNursingRecordForms().at(0).fill;
    const struct
    {
        const char *what;
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<std::pair<std::string, std::string>> captions;
    } cases[] = {
        {"an emergency", {{"S_STRING5", "Y"}}, {{"qlb_OPG1", ""}, {"qlb_OPG2", "√"}}},
        {"a regular operation", {{"S_STRING5", "y"}}, {{"qlb_OPG1", "√"}, {"qlb_OPG2", ""}}},
        {"pad 3", {{"S_STRING52", "3"}}, {{"qrl_pad1", ""}, {"qrl_pad2", ""}, {"qrl_pad3", "√"}}},
        {"pad 4", {{"S_STRING52", "4"}}, {{"qrl_pad1", ""}, {"qrl_pad2", ""}, {"qrl_pad3", ""}}},
        {"anaesthesia 6 with blanks", {{"S_STRING22", " 6"}}, {{"qlb_AnethCd1", ""}, {"qlb_AnethCd6", "√"}}},
        {"anaesthesia 7", {{"S_STRING22", "7"}}, {{"qlb_AnethCd1", ""}, {"qlb_AnethCd6", ""}}},
        {"local 1", {{"S_CODE9", "1"}}, {{"qlb_Local1", "√"}, {"qlb_LocalEtc", ""}}},
        {"went elsewhere", {{"S_STRING147", "9"}}, {{"qrlb_outArea", "기타"}}},
        {"an unknown place", {{"S_STRING147", "6"}}, {{"qrlb_outArea", ""}}},
        {"the intensive care unit", {{"S_STRING147", "3"}}, {{"qrlb_outArea", "중환자실"}}},
        {"a room in a ward", {{"S_STRING7", "51"}, {"S_STRING8", "5105"}}, {{"qlb_RoomNo", "51-5105"}}},
        {"a room without its ward", {{"S_STRING8", "5105"}}, {{"qlb_RoomNo", ""}}},
        {"a blank other name", {{"S_CODE1", "   "}}, {{"qlb_OPPosNm", ""}}},
        {"an other name with blanks", {{"S_CODE1", " 측와위 "}}, {{"qlb_OPPosNm", "(측와위)"}}},
        {"a drain", {{"S_STRING63", "Y"}}, {{"qrlb_DrainY", "√"}, {"qrlb_DrainN", ""}}},
        {"no drain, empty", {}, {{"qrlb_DrainY", ""}, {"qrlb_DrainN", "√"}}},
        {"a lower-case yes", {{"S_NUMVAL24", "y"}}, {{"qlb_Cau6", ""}}},
        {"a re-operation", {{"S_STRING39", "Y"}}, {{"qlb_reopyn", "√"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        reports::FieldValues values;
        for (const std::string &name : reports::BoundValues(fill))
            values.set(name, "");
        for (const auto &[name, value] : c.values)
            values.set(name, value);
        auto report = reports::MakeReport(kUnit, kForm);
        reports::ApplyBindings(*report, fill, values);
        for (const auto &[label, caption] : c.captions)
            EXPECT_EQ(report->label(label).caption, caption) << label;
    }
}

TEST(OperatingRoomNursingRules, NameListsJoinAsTheSheetJoinsThem)
{
    using reports::NamePresent;
    const struct
    {
        std::vector<std::string> names;
        NamePresent present;
        const char *list;
    } cases[] = {
        {{"A", "", "B", ""}, NamePresent::NotEmpty, "A,B"},
        {{"", "B"}, NamePresent::NotEmpty, ",B"},
        {{"A", " "}, NamePresent::NotEmpty, "A, "},
        {{"A", "  ", " B ", ""}, NamePresent::NotBlank, "A, B "},
        {{" ", "B"}, NamePresent::NotBlank, " ,B"},
        {{"", "", ""}, NamePresent::NotBlank, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.list);
        EXPECT_EQ(reports::NameList(c.names, c.present), c.list);
    }
}

TEST(OperatingRoomNursingRules, TheOperationNumberIsAWholeNumberOrTheConversionError)
{
    EXPECT_EQ(reports::OperationNumber("1"), 1);
    EXPECT_EQ(reports::OperationNumber(" 12"), 12);
    for (const char *bad : {"", " ", "1a", "1.0", "12 "}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(reports::OperationNumber(bad), reports::CodeConversionError);
    }
}

} // namespace

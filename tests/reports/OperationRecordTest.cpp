// The operation record printed for real: records from a service host on loopback, the form
// file, the report engine and a PDF read back with pdftotext.
#include "FormConventions.h"
#include "MDS510U1_P01/MDS510U1_P01.h"
#include "PrintContext.h"
#include "RecordingPresenter.h"
#include "RecordKinds.h"

#include "DomainServices.h"
#include "Hmdrecodt.h"
#include "Hooks.h"
#include "Importer.h"
#include "TStatusBar.h"
#include "TestSupport.h"
#include "TuxCom.h"
#include "UltraGrid.h"

#include "report_engine/Report.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

using namespace medrec;
namespace mt = medrec::testing;
using Channel = mt::RecordedMessage::Channel;

namespace {

std::string readFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string withoutBlanks(const std::string &text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t' && c != '\f')
            out.push_back(c);
    return out;
}

// The pages of a PDF as text, blanks removed (pdftotext spaces captions its own way).
std::vector<std::string> pdfPages(const std::filesystem::path &pdf)
{
    const std::string out = pdf.string() + ".txt";
    const std::string command = "pdftotext -enc UTF-8 '" + pdf.string() + "' '" + out + "'";
    if (std::system(command.c_str()) != 0)
        return {};
    std::vector<std::string> pages;
    std::string all = readFile(out);
    std::size_t start = 0;
    for (auto ff = all.find('\f'); ff != std::string::npos; ff = all.find('\f', start)) {
        pages.push_back(withoutBlanks(all.substr(start, ff - start)));
        start = ff + 1;
    }
    return pages;
}

std::string longText(const std::string &sentence, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += sentence + " (" + std::to_string(i + 1) + ") ";
    return text;
}

// The screen's part of a print, for a record chosen by its position in the record list.
class TestContext : public reports::PrintContext
{
public:
    std::vector<std::string> record;
    reports::PrintedSummary summary;
    middleware::TStatusBar bar;
    std::unique_ptr<services::Hmdrecodt> data = std::make_unique<services::Hmdrecodt>();
    std::array<common::TUltraGrid, 4> grids;

    std::string recordCell(int col) const override
    {
        return col < static_cast<int>(record.size()) ? record[static_cast<std::size_t>(col)] : std::string();
    }
    std::string visitCell(int) const override { return {}; }
    std::string kindCell(int) const override { return {}; }
    reports::PatientPanels patient() const override { return {}; }
    common::TUltraGrid &scratch(reports::ScratchGrid grid) override { return grids[static_cast<std::size_t>(grid)]; }
    services::Hmdrecodt &recodt() override { return *data; }
    void setSummary(const reports::PrintedSummary &s) override { summary = s; }
    middleware::TStatusBar *statusBar() override { return &bar; }
    QWidget *window() override { return nullptr; }
};

class OperationRecord : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        mt::InProcessOptions options;
        options.prepareDatabase = server::hooks::prepareDatabase;
        s_server = new mt::InProcessServer(server::hooks::registerDomainServices, options);
        std::string json = readFile(MEDREC_TEST_DATA "/operation-records.json");
        json = replaceAll(json, "LONG-PROCEDURE", longText("복강 내 유착을 조심스럽게 박리하고 출혈 부위를 지혈함.", 90));
        json = replaceAll(json, "LONG-FINDINGS", longText("장간막 림프절이 약간 커져 있었음.", 60));
        sqlite3 *db = nullptr;
        sqlite3_open(s_server->databasePath().c_str(), &db);
        const auto imported = server::store::importJson(db, json);
        sqlite3_close(db);
        ASSERT_TRUE(imported.ok) << imported.error;
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }

    void SetUp() override
    {
        setenv("MEDREC_PRINT_TO", ("pdf:" + m_out.path()).c_str(), 1);
        middleware::SetCommandLine({"medrec", "RECORDS", "OFFICE"});
        ASSERT_TRUE(middleware::TuxInit(s_server->writeEnvironment())) << middleware::LastTuxMessage();
    }
    void TearDown() override
    {
        middleware::TuxTerm();
        unsetenv("MEDREC_PRINT_TO");
    }

    // Row `index` of the patient's operation-record list, as the screen would hold it.
    std::vector<std::string> recordRow(int index)
    {
        services::Hmdrecodt list;
        EXPECT_EQ(list.ListRecodDt("MDOPRECT", "00004321", "20261102"), 3);
        std::vector<std::string> row;
        for (int field : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11})
            row.push_back(list.list(field).at(static_cast<std::size_t>(index)));
        return row;
    }

    std::vector<std::filesystem::path> printed() const
    {
        std::vector<std::filesystem::path> files;
        for (const auto &entry : std::filesystem::directory_iterator(m_out.path()))
            if (entry.path().extension() == ".pdf")
                files.push_back(entry.path());
        return files;
    }

    static mt::InProcessServer *s_server;
    mt::TempDir m_out;
    mt::ScopedRecordingPresenter m_recorder;
};

mt::InProcessServer *OperationRecord::s_server = nullptr;

TEST_F(OperationRecord, PrintsEveryCaptionAndValueWithTheMarksTheValuesSay)
{
    TestContext context;
    context.record = recordRow(0);
    const auto history = reports::PrintOperationRecord(context);
    ASSERT_TRUE(history.has_value()) << (m_recorder->log().empty() ? "" : m_recorder->log()[0].text);
    EXPECT_EQ(history->a3, "1");
    EXPECT_EQ(history->a4, "empty");
    EXPECT_EQ(history->a5, "empty");

    const auto files = printed();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(files[0].filename().string().find("_MDOPRECT_00004321"), std::string::npos);
    const auto pages = pdfPages(files[0]);
    ASSERT_EQ(pages.size(), 1u);
    const std::string &page = pages[0];

    for (const char *text : {"※ 전자인증된 서식입니다.", "수  술  기  록", "SEON MEDICAL CENTER", "등록번호", "이    름",
                             "주민번호", "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "수술시작시각 :", "수술종료시각 :",
                             "집도의1 :", "집도의2 :", "제1보조의 :", "제2보조의 :", "수술전 진단명 :", "수술후 진단명 :",
                             "수술전 수술명 :", "수술후 수술명 :", "마취종류 :", "수술중 혈액소실량", "수혈량", "배액/배농",
                             "조직표본검체", "스폰지 사용량 확인", "작성일시 :", "작성의사 :", "세온병원", "수술기록",
                             "KRV 82-OP-2-40"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(page.find(withoutBlanks(text)), std::string::npos);
    }
    for (const char *value : {"00004321", "F/41Y 10M", "한지우", "850101-2******", "외과", "이정훈", "71/7103", "김집도",
                              "박보조", "정보조", "급성 충수염 (K35.8)", "천공성 충수염", "충수절제술 예정", "복강경 충수절제술",
                              "배액관 삽입", "전신마취", "이작성", "2026-11-03 16:20", "150", "320", "2026-11-03 14:00",
                              "2026-11-03 15:10", "최집도", "복막염 동반", "관찰소견및수술중특이사항", "충수 끝부분 천공 관찰됨.",
                              "수술절차", "배꼽 아래 절개 후 충수를 박리하여 절제함."}) {
        SCOPED_TRACE(value);
        EXPECT_NE(page.find(withoutBlanks(value)), std::string::npos);
    }
    // Tissue "Y", drain "y" and sponge empty: one mark on "유", two on "무", no check mark left.
    std::size_t marks = 0;
    for (auto at = page.find("■"); at != std::string::npos; at = page.find("■", at + 1))
        ++marks;
    EXPECT_EQ(marks, 3u);
    EXPECT_EQ(page.find("√"), std::string::npos);
    // Disabled on the form: filled, never printed.
    for (const char *hidden : {"수 술 일 :", "OPDATE-1103", "집도의사 :"}) {
        SCOPED_TRACE(hidden);
        EXPECT_EQ(page.find(withoutBlanks(hidden)), std::string::npos);
    }

    EXPECT_EQ(context.summary.patno, "00004321");
    EXPECT_EQ(context.summary.meddate, "20261102");
    EXPECT_EQ(context.summary.dschdate, "20261110");
    EXPECT_EQ(context.summary.patgubun, "건강보험");
    EXPECT_EQ(context.summary.meddept, "외과");
    EXPECT_EQ(context.summary.chadr, "이정훈");
}

TEST_F(OperationRecord, LongTextsRunOntoMorePagesWithTheFurnitureOnEach)
{
    TestContext context;
    context.record = recordRow(1);
    ASSERT_TRUE(reports::PrintOperationRecord(context).has_value());
    const auto files = printed();
    ASSERT_EQ(files.size(), 1u);
    const auto pages = pdfPages(files[0]);
    ASSERT_GE(pages.size(), 2u);
    for (const auto &page : pages) {
        EXPECT_NE(page.find("세온병원"), std::string::npos);
        EXPECT_NE(page.find("KRV82-OP-2-40"), std::string::npos);
        EXPECT_NE(page.find("수술기록"), std::string::npos);
        EXPECT_NE(page.find("00004321"), std::string::npos); // the page header repeats
    }
    // The summary band follows the memo, on the last page.
    EXPECT_NE(pages.back().find("작성일시:"), std::string::npos);
    EXPECT_NE(pages.back().find("(90)"), std::string::npos);
}

TEST_F(OperationRecord, ARecordWithoutContentPrintsNothing)
{
    TestContext context;
    context.record = recordRow(2);
    EXPECT_FALSE(reports::PrintOperationRecord(context).has_value());
    EXPECT_EQ(m_recorder->texts(Channel::Plain), (std::vector<std::string>{"출력할  자료가 없습니다."}));
    EXPECT_TRUE(printed().empty());
    EXPECT_TRUE(context.summary.patno.empty());
}

TEST(OperationMemo, TheFourCombinationsOfFindingsAndProcedure)
{
    const std::string F = "소견", P = "절차";
    EXPECT_EQ(reports::OperationMemoText("", ""), "");
    EXPECT_EQ(reports::OperationMemoText(F, ""), "관찰소견및수술중특이사항\r\n\r\n 소견\r\n\r\n");
    EXPECT_EQ(reports::OperationMemoText("", P), "수술절차\r\n\r\n 절차\r\n\r\n");
    EXPECT_EQ(reports::OperationMemoText(F, P), "관찰소견및수술중특이사항\r\n\r\n 소견\r\n수술절차\r\n\r\n 절차\r\n\r\n");
}

TEST(FormConventions, CodeToIntReadsWholeNumbersAndRefusesTheRest)
{
    EXPECT_EQ(reports::CodeToInt(""), -1);
    EXPECT_EQ(reports::CodeToInt(" "), -1);
    EXPECT_EQ(reports::CodeToInt("   "), -1);
    EXPECT_EQ(reports::CodeToInt("3"), 3);
    EXPECT_EQ(reports::CodeToInt("  12"), 12);
    EXPECT_EQ(reports::CodeToInt("-2"), -2);
    for (const char *bad : {"abc", "3a", "1.5", "3 "}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(reports::CodeToInt(bad), reports::CodeConversionError);
    }
    try {
        reports::CodeToInt("x1");
        ADD_FAILURE() << "no conversion error";
    } catch (const reports::CodeConversionError &e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

TEST(FormConventions, MaskedResidentNumbers)
{
    EXPECT_EQ(reports::MaskedResNo("850101", "2345678"), "850101-2******");
    EXPECT_EQ(reports::MaskedResNo("850101-2345678"), "850101-2******");
}

TEST(FormConventions, OnlyAnExactYFillsTheSquare)
{
    reports::TMDS510F1_P01 form;
    for (const auto &[value, black] : std::vector<std::pair<std::string, bool>>{{"Y", true}, {"N", false}, {"y", false}, {"", false}}) {
        SCOPED_TRACE(value);
        reports::shcbx_pro(form.qr_01, "QRShape3", value);
        const auto brush = form.qr_01.shape("QRShape3").brush;
        ASSERT_TRUE(brush.has_value());
        EXPECT_EQ(*brush == report::Color::black(), black);
    }
    // The creation hook emptied every check mark.
    EXPECT_EQ(form.qr_01.label("qrlb_TissY").caption, "");
}

TEST(RecordKinds, TheTwentyEightCodesInDispatchOrder)
{
    const auto &kinds = reports::RecordKinds();
    EXPECT_EQ(kinds.front().code, "MDOPRECT");
    EXPECT_EQ(kinds.back().code, "MDNRACTT");
    EXPECT_EQ(reports::FindRecordKind("MDIOCHKT_BS")->form, "TMDF160F1_P02");
    EXPECT_EQ(reports::FindRecordKind("MDIOCHKT_IO")->form, "TMDF130F1_P01");
    EXPECT_EQ(reports::FindRecordKind("MDIOCHKT_WE")->form, "TMDF180F1_P01");
    EXPECT_EQ(reports::FindRecordKind("mdoprect"), nullptr);
    int withoutHistory = 0;
    for (const auto &kind : kinds)
        withoutHistory += kind.writesHistory ? 0 : 1;
    EXPECT_EQ(withoutHistory, 2);
    EXPECT_FALSE(reports::FindRecordKind("MDDCHSUT")->writesHistory);
    EXPECT_FALSE(reports::FindRecordKind("MDERINFT")->writesHistory);
}

} // namespace

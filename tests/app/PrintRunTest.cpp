// The print button through the real screen, a real service host and the real report
// engine writing PDF files.
#include "PrintRunFixture.h"
#include "ScopedEnv.h"

#include "FormConventions.h"
#include "PrintContext.h"
#include "RecordKinds.h"
#include "RecordPrint.h"
#include "TStatusBar.h"
#include "TuxCom.h"
#include "UltraGrid.h"

#include "report_engine/FormLoader.h"
#include "report_engine/Report.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <fstream>
#include <memory>

namespace medrec::testing {
namespace {

TEST_F(PrintRunTest, PrintingBeforeAnyRecordListAsksForARecord)
{
    start({}, operationRecords());
    print();
    EXPECT_EQ(messages().texts(Channel::Plain),
              (std::vector<std::string>{"해당 기록지 데이터가 없습니다. 기록지를 선택해주세요!"}));
    EXPECT_TRUE(calls().calls().empty());
    EXPECT_EQ(pdfCount(), 0);
    EXPECT_NORMAL_CURSOR();
}

TEST_F(PrintRunTest, NoUsablePrinterIsSaidOnceAndCallsNothing)
{
    start({}, operationRecords());
    findPatient();
    setenv("MEDREC_PRINT_TO", "paper please", 1); // not a print target: no usable printer
    print();
    EXPECT_EQ(messages().texts(Channel::Plain),
              (std::vector<std::string>{"프린터가 제대로 설치되었는지 확인하시기 바랍니다."}));
    EXPECT_TRUE(calls().calls().empty());
    EXPECT_EQ(historyRows(), "0");
}

TEST_F(PrintRunTest, TheSameRecordPrintedTwiceLeavesTwoIdenticalHistoryRows)
{
    start({}, operationRecords());
    findPatient();
    print();
    print();
    EXPECT_TRUE(messages().log().empty()) << messages().log()[0].text;
    EXPECT_EQ(pdfCount(), 2);
    EXPECT_EQ(historyRows(), "2");
    EXPECT_EQ(historyRows("count(DISTINCT patno||key2||key3||key4||key5||kind_code||log_user||log_client||log_form)"), "1");
    EXPECT_EQ(historyRows("patno||'/'||key2||'/'||key3||'/'||key4||'/'||key5||'/'||kind_code"),
              "00004321/20261103/1/empty/empty/MDOPRECT");
    EXPECT_EQ(historyRows("log_user||'/'||log_form"), "TESTUSER/MDG300F1");
    EXPECT_EQ(historyRows("log_client"), middleware::TuxClientName());

    EXPECT_EQ(text(ui().lb_patno), "00004321");
    EXPECT_EQ(text(ui().lb_meddate), "20261102");
    EXPECT_EQ(text(ui().lb_dschdate), "20261110");
    EXPECT_EQ(text(ui().lb_patgubun), "건강보험");
    EXPECT_EQ(text(ui().lb_meddept), "외과");
    EXPECT_EQ(text(ui().lb_chadr), "이정훈");
    EXPECT_NORMAL_CURSOR();
}

// The pages of a PDF file as pdfinfo counts them; 0 when it cannot read the file.
int pdfPages(const std::string &file)
{
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(("pdfinfo '" + file + "'").c_str(), "r"), pclose);
    char line[512];
    while (pipe && fgets(line, sizeof line, pipe.get()))
        if (std::strncmp(line, "Pages:", 6) == 0)
            return std::atoi(line + 6);
    return 0;
}

TEST_F(PrintRunTest, AfterAPrintTheStatusLineSaysItWasPrintedWithItsPagesAndFile)
{
    start({}, operationRecords());
    findPatient();
    print();
    const std::vector<std::string> files = pdfFiles();
    ASSERT_EQ(files.size(), 1u);
    const int pages = pdfPages(files[0]);
    ASSERT_GT(pages, 0);
    EXPECT_EQ(status(), "기록지를 출력했습니다 (" + std::to_string(pages) + "쪽): PDF 파일 " + files[0]);
    EXPECT_EQ(statusHistory().back(), status());
}

TEST_F(PrintRunTest, AFailedHistoryWriteKeepsThePrintAndShowsTheServiceText)
{
    start({{"MD_RECOD_U1", FailWith(0)}}, operationRecords());
    findPatient();
    print();
    EXPECT_EQ(pdfCount(), 1);
    EXPECT_EQ(historyRows(), "0");
    EXPECT_EQ(status(), "시험 장애 MD_RECOD_U1");
    EXPECT_EQ(text(ui().lb_patno), "00004321");
    EXPECT_NORMAL_CURSOR();
}

TEST_F(PrintRunTest, APrintThatCannotBeWrittenLeavesNoSummaryAndNoHistory)
{
    start({}, operationRecords());
    findPatient();
    // A PDF folder that cannot be made: under a plain file.
    const std::string blocker = m_pdf.file("not-a-folder");
    std::ofstream(blocker) << "x";
    setenv("MEDREC_PRINT_TO", ("pdf:" + blocker + "/out").c_str(), 1);
    print();
    const auto boxes = messages().texts(Channel::Plain);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("출력하지 못했습니다. ", 0), 0u) << boxes[0];
    EXPECT_EQ(historyRows(), "0");
    EXPECT_EQ(text(ui().lb_patno), "");
    EXPECT_EQ(text(ui().lb_meddept), "");
    EXPECT_NORMAL_CURSOR();
}

TEST_F(PrintRunTest, ALayoutRecordThatCannotBeWrittenKeepsThePrintAndItsHistoryAndSaysSo)
{
    start({}, operationRecords());
    findPatient();
    // A folder of records that cannot be made: under a plain file.
    const std::string blocker = m_pdf.file("not-a-folder");
    std::ofstream(blocker) << "x";
    ScopedEnv records("MEDREC_LAYOUT_RECORDS", blocker + "/records");
    EXPECT_EQ(screen().PrintSelectedRecord(), app::PrintOutcome::PrintedWithoutLayoutRecord);
    const auto boxes = messages().texts(Channel::Plain);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("출력은 되었으나 레이아웃 기록을 남기지 못했습니다. " + blocker + "/records", 0), 0u)
        << boxes[0];
    EXPECT_EQ(pdfCount(), 1);
    EXPECT_EQ(historyRows(), "1");
    EXPECT_EQ(text(ui().lb_patno), "00004321");
    EXPECT_NORMAL_CURSOR();
}

TEST_F(PrintRunTest, ARecordWithoutContentPrintsNothingAndWritesNoHistory)
{
    start({}, operationRecords());
    findPatient();
    ui().ugd_RecodDt->setRow(3);
    print();
    EXPECT_EQ(messages().texts(Channel::Plain), (std::vector<std::string>{"출력할  자료가 없습니다."}));
    EXPECT_EQ(pdfCount(), 0);
    EXPECT_EQ(historyRows(), "0");
    EXPECT_EQ(text(ui().lb_patno), "");
    EXPECT_NORMAL_CURSOR();
}

TEST_F(PrintRunTest, AServiceFailureReachesItsChannelAndPrintsNothing)
{
    start({{"MD_RECOD_L3", FailWith(0)}}, operationRecords());
    findPatient();
    print();
    EXPECT_EQ(status(), "시험 장애 MD_RECOD_L3");
    EXPECT_EQ(pdfCount(), 0);
    EXPECT_EQ(historyRows(), "0");
    EXPECT_NORMAL_CURSOR();
}

// A record of a demo visit, chosen as the operator chooses it: by default the general
// nursing sheet.
class NursingSheetPrintRunTest : public PrintRunTest
{
protected:
    void selectSheet(const QString &patNo, const std::string &visit, const std::string &kind = "MDADINFT",
                     Overrides overrides = {})
    {
        start(std::move(overrides), ReadFile(MEDREC_DEMO_DATA));
        typeKeys(patNo);
        pressEnter();
        auto &visits = *ui().ugd_History;
        for (int r = visits.fixedRows(); r < visits.rowCount(); ++r)
            if (visits.cell(1, r).rfind(visit, 0) == 0)
                clickRow(visits, r);
        auto &kinds = *ui().ugd_RecodKnd;
        for (int r = kinds.fixedRows(); r < kinds.rowCount(); ++r)
            if (kinds.cell(3, r) == kind)
                clickRow(kinds, r);
        ASSERT_EQ(screen().selectedRecordKind(), kind);
        messages().clear();
    }
};

TEST_F(NursingSheetPrintRunTest, BothPagesGoOutAsOneDocumentWithOneHistoryRow)
{
    selectSheet("1234", "2018-05-14");
    print();
    EXPECT_TRUE(messages().log().empty()) << messages().log()[0].text;
    EXPECT_EQ(pdfCount(), 1);
    EXPECT_EQ(historyRows("patno||'/'||key2||'/'||key3||'/'||key4||'/'||key5||'/'||kind_code"),
              "00001234/20180514/empty/empty/empty/MDADINFT");
    EXPECT_EQ(text(ui().lb_patno), "00001234");
    EXPECT_EQ(text(ui().lb_meddate), "20180514");
    EXPECT_EQ(text(ui().lb_dschdate), "20180519");
    EXPECT_EQ(text(ui().lb_patgubun), "I");
    EXPECT_EQ(text(ui().lb_meddept), "외과");
    EXPECT_EQ(text(ui().lb_chadr), "이정훈");
    EXPECT_NORMAL_CURSOR();
}

TEST_F(NursingSheetPrintRunTest, TheProgressWindowCountsThePagesAsTheyAreLaidOutThenAsTheyAreSent)
{
    selectSheet("1234", "2018-05-14");
    // What the window says whenever the screen takes its events during the run.
    std::vector<std::string> said;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const auto *window = screen().findChild<QProgressDialog *>();
        if (window && window->isVisible() && (said.empty() || said.back() != window->labelText().toStdString()))
            said.push_back(window->labelText().toStdString());
    });
    watch.start();
    print();
    watch.stop();
    ASSERT_EQ(pdfCount(), 1);
    // The sheet's two forms are one document: the count runs on into the second form.
    EXPECT_EQ(said, (std::vector<std::string>{"인쇄 준비 중입니다... (1쪽)", "인쇄 준비 중입니다... (2쪽)",
                                              "인쇄 중입니다... (1 / 2 쪽)", "인쇄 중입니다... (2 / 2 쪽)"}));
    EXPECT_EQ(screen().findChild<QProgressDialog *>(), nullptr) << "the window closes with the run";
}

TEST_F(NursingSheetPrintRunTest, AWriterMissingFromTheStaffTableIsToldOnTheStatusLine)
{
    selectSheet("4015", "2024-09-02");
    print();
    expectToldOnTheStatusLineOnly("조회된 데이타가 없습니다.");
}

// The medication record asks for each "B" order's administrations while the print run
// holds the hourglass; it is not dropped between the calls.
TEST_F(NursingSheetPrintRunTest, TheHourglassStaysThroughEveryAdministrationLookUp)
{
    selectSheet("1234", "2018-05-14", "MDNRACTT");
    std::vector<bool> busy;
    middleware::SetFormNameSource([&busy] {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        busy.push_back(cursor && cursor->shape() == Qt::WaitCursor);
        return std::string("MDG300F1");
    });
    calls().clear();
    print();
    middleware::SetFormNameSource(nullptr);
    EXPECT_TRUE(messages().log().empty()) << messages().log()[0].text;
    EXPECT_EQ(pdfCount(), 1);
    EXPECT_EQ(calls().calls("MD_ORDER_L8").size(), 1u);
    EXPECT_EQ(calls().calls("MD_ORDER_LD").size(), 12u);
    // The orders, twelve look-ups, then the history row under its own hourglass.
    ASSERT_EQ(busy.size(), 14u);
    EXPECT_EQ(std::count(busy.begin(), busy.end(), true), 14);
    EXPECT_EQ(historyRows("patno||'/'||key2||'/'||key3||'/'||key4||'/'||key5||'/'||kind_code"),
              "00001234/20180514/empty/empty/empty/MDNRACTT");
    EXPECT_EQ(text(ui().lb_meddate), "20180514");
    EXPECT_EQ(text(ui().lb_dschdate), "20180519");
    EXPECT_NORMAL_CURSOR();
}

// One order's administrations cannot be read: the record is not printed without them.
TEST_F(NursingSheetPrintRunTest, AFailedAdministrationLookUpShowsTheServiceTextAndPrintsNothing)
{
    selectSheet("1234", "2018-05-14", "MDNRACTT",
                {{"MD_ORDER_LD", FailWith(0, [](const server::Request &r) { return r.text("S_TYPE4") == "110"; })}});
    calls().clear();
    print();
    expectToldOnTheStatusLineOnly("시험 장애 MD_ORDER_LD");
    // The look-ups stop at the failed one.
    const auto asked = calls().calls("MD_ORDER_LD");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().input("S_TYPE4"), "110");
}

TEST_F(PrintRunTest, AKindWithoutItsBlockYetSaysSoOnceAndCallsNothing)
{
    // A visit whose only record is of a kind the print run cannot print yet.
    const reports::RecordKind *unbuilt = nullptr;
    for (const auto &kind : reports::RecordKinds())
        if (!kind.block)
            unbuilt = &kind;
    if (!unbuilt)
        GTEST_SKIP() << "every record kind prints";
    const std::string code(unbuilt->code);
    std::string json = ReadFile(MEDREC_APP_FIXTURE);
    json.replace(json.find("\"recordKinds\": ["), 16,
                 "\"recordKinds\": [{\"code\": \"" + code + "\", \"name\": \"미출력 기록\", \"titles\": \"등록번호|일자|순번\"},");
    json.replace(json.find("{\"date\": \"202002031400\""), 0,
                 "{\"date\": \"202212011000\", \"kind\": \"outpatient\", \"department\": \"GS\", \"records\": "
                 "[{\"kind\": \"" + code + "\", \"columns\": [\"00002001\", \"20221201\", \"1\"]}]},\n       ");
    start({}, json);
    typeKeys("2001");
    pressEnter();
    ASSERT_EQ(screen().selectedRecordKind(), code);
    ASSERT_EQ(ui().ugd_RecodDt->cell(0, 1), "00002001");
    calls().clear();
    messages().clear();
    print();
    const auto boxes = messages().texts(Channel::Plain);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(code), std::string::npos) << boxes[0];
    EXPECT_TRUE(calls().calls().empty());
    EXPECT_NORMAL_CURSOR();
}

// Blocks that fail every way a block can: the print run catches each.
reports::BlockResult throwsNumber(reports::RecordPrint &) { throw 42; }
reports::BlockResult throwsRuntime(reports::RecordPrint &) { throw std::runtime_error("서식 계산 실패"); }
reports::BlockResult throwsBadAlloc(reports::RecordPrint &) { throw std::bad_alloc(); }
reports::BlockResult throwsConversion(reports::RecordPrint &)
{
    reports::CodeToInt("3a");
    return reports::NotPrinted{};
}
reports::BlockResult stagesThenThrows(reports::RecordPrint &print)
{
    print.context.scratch.allList.setCell(1, 1, "staged");
    throw std::logic_error("half-built");
}

// A block whose form holds a barcode of the text the test gives.
std::string &barcodeText()
{
    static std::string text;
    return text;
}
reports::BlockResult printsABarcode(reports::RecordPrint &)
{
    reports::PrintJob job;
    auto &report = job.add(std::make_unique<engine::Report>(engine::parseForm(R"json({"name": "barcode",
        "bands": [{"name": "d", "kind": "detail", "height": 20, "components": [{"type": "label",
        "name": "qrlb_Barcode", "box": [0, 0, 80, 10], "font": {"family": "Code39(1:2)", "size": 24}}]}]})json")));
    report.label("qrlb_Barcode").setCaption(barcodeText());
    return job;
}

TEST_F(PrintRunTest, ABarcodeTextCode39CannotEncodeIsReportedAndNothingPrints)
{
    start({}, operationRecords());
    findPatient();
    const reports::RecordKind kind{"MDOPRECT", "MDS510U1_P01", {"TMDS510F1_P01"}, reports::History::written({2}),
                                   &printsABarcode, nullptr};
    barcodeText() = "0000-12#4";
    EXPECT_EQ(screen().PrintRecordKind(kind), app::PrintOutcome::NotPrinted);
    const auto boxes = messages().texts(Channel::Plain);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "출력하지 못했습니다. barcode \"qrlb_Barcode\": its text \"0000-12#4\" holds \"#\", which "
                        "Code 39 cannot encode");
    EXPECT_EQ(pdfCount(), 0);
    EXPECT_EQ(historyRows(), "0");

    messages().clear();
    barcodeText() = "0000-1234";
    EXPECT_EQ(screen().PrintRecordKind(kind), app::PrintOutcome::Printed);
    EXPECT_TRUE(messages().texts(Channel::Plain).empty());
    EXPECT_EQ(pdfCount(), 1);
    EXPECT_EQ(historyRows(), "1");
}

TEST_F(PrintRunTest, ABlockThatThrowsAnythingEndsInOneBoxWithNothingPrinted)
{
    start({}, operationRecords());
    findPatient();
    const struct
    {
        reports::PrintBlock block;
        const char *boxStart;
    } cases[] = {
        {&throwsNumber, "출력하지 못했습니다. "},
        {&throwsRuntime, "출력하지 못했습니다. 서식 계산 실패"},
        {&throwsBadAlloc, "메모리가 부족하여"},
        {&throwsConversion, "'3a' is not a valid integer value"},
        {&stagesThenThrows, "출력하지 못했습니다. half-built"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.boxStart);
        messages().clear();
        const reports::RecordKind kind{"MDOPRECT", "MDS510U1_P01", {"TMDS510F1_P01"}, reports::History::written({2}),
                                       c.block, nullptr};
        EXPECT_EQ(screen().PrintRecordKind(kind), app::PrintOutcome::NotPrinted);
        const auto boxes = messages().texts(Channel::Plain);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rfind(c.boxStart, 0), 0u) << boxes[0];
        EXPECT_EQ(pdfCount(), 0);
        EXPECT_EQ(historyRows(), "0");
        EXPECT_EQ(text(ui().lb_patno), "");
        EXPECT_NORMAL_CURSOR();
    }
}

TEST_F(PrintRunTest, ADischargeCodeThatIsNotANumberStopsThePrintWithOneBox)
{
    start({}, ReadFile(MEDREC_DISCHARGE_FIXTURE));
    typeKeys("7001");
    pressEnter();
    ASSERT_EQ(text(ui().pn_PatName), "문가람");
    // Visits newest first: the oldest admission's summary has the state code "A".
    auto &visits = *ui().ugd_History;
    clickRow(visits, visits.rowCount() - 1);
    ASSERT_EQ(screen().selectedRecordKind(), "MDDCHSUT");
    ASSERT_EQ(ui().ugd_RecodDt->cell(1, 1), "20261102");
    messages().clear();
    print();
    EXPECT_EQ(messages().texts(Channel::Plain),
              (std::vector<std::string>{"출력하지 못했습니다. 퇴원시 환자상태 코드가 숫자가 아닙니다: 'A'"}));
    EXPECT_EQ(pdfCount(), 0);
    EXPECT_EQ(historyRows(), "0");
    EXPECT_EQ(text(ui().lb_patno), "");
    EXPECT_NORMAL_CURSOR();
}

} // namespace
} // namespace medrec::testing

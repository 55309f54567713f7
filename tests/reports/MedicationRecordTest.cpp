// The physician order and medication record printed from the demo data on a real
// medrec-server: orders from "MD_ORDER_L8", each "B" order's administrations from its own
// "MD_ORDER_LD" call, two pages and more with the header, column captions and a page number
// on each, the legend once.
#include "FlowsheetTestSupport.h"

#include "HmdOrderv.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

const char *const kLegend[] = {
    "※Y:투약함, I:No IV Route, H:중지(D/C), N:금식(NPO), D:퇴원, C:변경(Change), J:거부(Reject)",
    "M:No Medicine, A:AST Positive, K:AST(-), O:외출(Out), X:Mix후 연결, P:PRN 처방수행, S:처방수행,Z:선시행",
    "B:수액Start, G:수액Connect F:수액Finish, R:Remain 남긴것, W:Remain 버린것, T:수액 Restart, "
    "Q:의사에의해수행",
};

class MedicationRecord : public mt::FlowsheetTest
{
protected:
    reports::PrintContext record(const std::string &patNo, const std::string &visitDate)
    {
        return flowsheet("MDNRACTT", patNo, visitDate);
    }

    // Every text a component printed, one after the other, blanks removed (as Shows reads).
    static std::string printedBy(const engine::Document &document, const char *component)
    {
        std::string all;
        for (const std::string &text : mt::ComponentTexts(document, component))
            all += text;
        return withoutBlanks(all);
    }
};

// The pieces of a text that pdftotext keeps together: a run of two blanks or more lets it
// put another column's text in between.
std::vector<std::string> pieces(const std::string &text)
{
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t gap = text.find("  ", from);
        if (gap == std::string::npos)
            gap = text.size();
        if (gap > from)
            out.push_back(text.substr(from, gap - from));
        from = text.find_first_not_of(' ', gap);
        if (from == std::string::npos)
            break;
    }
    return out;
}

bool isBlank(const std::string &text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

TEST_F(MedicationRecord, PrintsEveryOrderAndAdministrationWithHeaderAndPageNumberOnEveryPage)
{
    auto context = record("00001234", "20180514");
    const mt::KindPrint result = printAndRecord("MDNRACTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    for (const auto &warning : result.document->warnings)
        ADD_FAILURE() << warning.message;
    const auto pages = pdfPages(result.pdf);
    ASSERT_GE(pages.size(), 2u);
    ASSERT_EQ(pages.size(), result.document->pages.size());

    std::vector<std::string> numbers;
    for (std::size_t i = 1; i <= pages.size(); ++i)
        numbers.push_back(std::to_string(i));
    EXPECT_EQ(mt::ComponentTexts(*result.document, "QRSysData1"), numbers);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const std::string &page = pages[i];
        // The PDF's text holds every text laid out on the page.
        for (const auto &e : result.document->pages[i].elements)
            if (e.kind == engine::ElementKind::Text)
                for (const std::string &piece : pieces(e.text))
                    EXPECT_TRUE(mt::Shows(page, piece)) << e.component << ": " << piece;
        for (const char *caption : {"SEON MEDICAL CENTER", "입원일:", "처방일:", "등록번호", "주민번호",
                                    "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "종  류", "처방의",
                                    "처  방", "입력시간", "D/C시간", "세온병원", "(KBE 414001002)"}) {
            SCOPED_TRACE(caption);
            EXPECT_TRUE(mt::Shows(page, caption));
        }
        EXPECT_EQ(mt::TimesShown(page, "의사지시 및 투약처치 기록"), 2) << "the title and the footer";
        for (const char *caption :
             {"처         방         내         역", "수         행         내         역"})
            EXPECT_TRUE(mt::PrintsText(*result.document, static_cast<int>(i + 1), caption)) << caption;
        for (const char *value : {"00001234", "김민준", "790312-1******", "M/47세", "외과", "이정훈",
                                  "71/7103", "2018-05-14 09:30", "2018-05-14"}) {
            SCOPED_TRACE(value);
            EXPECT_TRUE(mt::Shows(page, value));
        }
        EXPECT_TRUE(mt::PrintsText(*result.document, static_cast<int>(i + 1), "이    름"));
        // The legend once, at the start.
        for (const char *line : kLegend)
            EXPECT_EQ(mt::Shows(page, line), i == 0) << line;
    }

    // Every kept order once with what prints of it; the cancelled ones not at all.
    const std::string orderTexts = printedBy(*result.document, "qrlb_Data3");
    const std::string done = printedBy(*result.document, "qrlb_Data4");
    const std::string times =
        printedBy(*result.document, "qrlb_OrdTime") + printedBy(*result.document, "qrlb_DCTime");
    services::HmdOrderv orders;
    const int rows = orders.ListOrders("00001234", "20180514", "외과");
    ASSERT_EQ(rows, 27);
    int kept = 0;
    for (int i = 0; i < rows; ++i) {
        const auto v = [&](const char *field) { return orders.value(field, static_cast<std::size_t>(i)); };
        const std::string name = !isBlank(v("S_CODE29")) ? v("S_CODE29") : v("S_CODE26");
        SCOPED_TRACE(v("L_SEQNO1") + " " + name);
        if ((v("S_CODE5") == "D1" || v("S_CODE5") == "D2") && !v("S_CODE30").empty()) {
            EXPECT_FALSE(mt::Shows(orderTexts, name));
            continue;
        }
        ++kept;
        if (!name.empty())
            EXPECT_EQ(mt::TimesShown(orderTexts, name + v("S_CODE18")), 1);
        EXPECT_TRUE(mt::Shows(done, v("S_CODE25")));
        EXPECT_TRUE(mt::Shows(times, v("S_CODE27")));
        if (!v("S_STRING3").empty())
            EXPECT_TRUE(mt::Shows(times, v("S_STRING3").substr(0, 2) + "/" + v("S_STRING3").substr(3)));
        if (!v("S_CODE5").starts_with("B"))
            continue;
        // Every administration with an entry, in full; the others not.
        services::HmdOrderv given;
        const int count = given.ListAdministrations("00001234", "20180514", v("L_SEQNO1"));
        ASSERT_GE(count, 0);
        for (int k = 0; k < count; ++k) {
            const auto a = [&](const char *field) { return given.value(field, static_cast<std::size_t>(k)); };
            const std::string code = withoutBlanks(a("S_CODE8"));
            const bool listed = !code.empty() && code != ":";
            const std::string entry =
                "(" + a("S_CODE1").substr(6, 2) + ")" + a("S_CODE24") + "/" + a("S_CODE8") +
                (isBlank(a("S_CODE14")) ? "" : "(비고:" + a("S_CODE14") + ")") + "/" + a("S_CODE15");
            EXPECT_EQ(mt::Shows(done, entry), listed) << entry;
        }
    }
    EXPECT_EQ(kept, 25);
    // Eleven "B" orders list administrations; one order without an order text keeps its arrow.
    EXPECT_EQ(mt::TimesShown(done, "▶"), 12);
    EXPECT_TRUE(mt::Shows(done, "▶ 구두 지시: 수술 동의서 및 마취 동의서 서명 확인"));
    EXPECT_FALSE(mt::Shows(done, "▶ 14일")) << "an order's own execution text prints without the arrow";
    EXPECT_FALSE(mt::Shows(pages[0] + pages[1], "***[ P R N  ORDER]***"));

    // The visit date from the record-kind row, the rest from the record's own cells.
    EXPECT_TRUE(result.summary == (reports::PrintedSummary{.patno = "00001234",
                                                           .meddate = "20180514",
                                                           .dschdate = "20180519",
                                                           .patgubun = "I",
                                                           .meddept = "외과",
                                                           .chadr = "이정훈"}));
}

TEST_F(MedicationRecord, HeadingsPhysiciansAndTimesFollowTheirRuns)
{
    auto context = record("00001234", "20180514");
    const mt::KindPrint result = print("MDNRACTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    const auto printed = [&](const char *component) {
        std::vector<std::string> texts;
        for (const std::string &text : mt::ComponentTexts(*result.document, component))
            if (!isBlank(text))
                texts.push_back(text);
        return texts;
    };
    // A heading where it changes: a run of 간호 orders shows it once, the anaesthetist's
    // injection brings 주사 back by its second key alone, and "SPECIAL" shows 처치 twice in a row.
    EXPECT_EQ(printed("qrlb_Data2"),
              (std::vector<std::string>{"간호", "식이", "검사", "주사", "수액", "주사", "경구",
                                        "≪수술전처치≫", "처치", "처치", "주사", "간호", "경구", "검사",
                                        "주사", "수액", "간호", "식이"}));
    // The bracketed heading's order prints no physician and no entry time (both "14/10:20"
    // orders of its run: only the second one's shows).
    EXPECT_EQ(printed("qrlb_Orddr").size(), 24u);
    const std::vector<std::string> entered = printed("qrlb_OrdTime");
    EXPECT_EQ(entered.size(), 24u);
    EXPECT_EQ(std::count(entered.begin(), entered.end(), "14/10:20"), 1);
    // The discontinuation times regrouped; the other orders print two blanks.
    EXPECT_EQ(printed("qrlb_DCTime"),
              (std::vector<std::string>{"15 / 08:00", "16 / 09:00", "15 / 06:00", "14 / 23:59"}));
    const std::vector<std::string> dc = mt::ComponentTexts(*result.document, "qrlb_DCTime");
    EXPECT_EQ(std::count(dc.begin(), dc.end(), "  "), 25 - 4);
}

TEST_F(MedicationRecord, ALongAdministrationListWrapsAndItsBandGrowsNeverCut)
{
    auto context = record("00001234", "20180514");
    const mt::KindPrint result = print("MDNRACTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());
    // The lines of the fluid's record: what qrlb_Data4 prints after its order text and before
    // the next order's.
    std::vector<std::pair<const engine::Page *, const engine::Element *>> lines;
    bool inRecord = false;
    for (const auto &page : result.document->pages)
        for (const auto &e : page.elements) {
            if (e.component == "qrlb_Data3")
                inRecord = e.text.starts_with("5% Dextrose") || (inRecord && lines.empty());
            else if (inRecord && e.component == "qrlb_Data4")
                lines.emplace_back(&page, &e);
        }
    ASSERT_GE(lines.size(), 3u) << "the list wraps onto three lines or more";
    std::string joined;
    for (const auto &[page, e] : lines)
        joined += e->text;
    joined = withoutBlanks(joined);
    for (const char *entry :
         {"▶ (14)10:40/B/김간호", "(15)07:40/Q(비고:마취과 의사가 중심정맥로 확보)/최간호",
          "(15)08:00/H(비고:수술실 이동)/최간호"}) {
        SCOPED_TRACE(entry);
        EXPECT_TRUE(mt::Shows(joined, entry)) << joined;
    }
    EXPECT_FALSE(mt::Shows(joined, "(15)02:00")) << "a blank code adds nothing";
    EXPECT_FALSE(joined.ends_with(",")) << "no trailing separator";
    // The column rules run down beside the grown record, to its last line.
    const auto &[lastPage, last] = lines.back();
    bool reaches = false;
    for (const auto &e : lastPage->elements)
        if (e.component == "HLine2" && e.rect.top <= last->rect.top &&
            (e.clip ? e.clip->bottom() : e.rect.bottom()) >= last->rect.bottom())
            reaches = true;
    EXPECT_TRUE(reaches);
}

TEST_F(MedicationRecord, AnOutpatientsCaptionIsTheDaysInHospital)
{
    auto context = record("00001234", "20240311");
    const mt::KindPrint result = print("MDNRACTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_EQ(mt::ComponentTexts(*result.document, "QRLabel2"), std::vector<std::string>{"재원일"});
    const std::string page = pdfPages(result.pdf).at(0);
    EXPECT_TRUE(mt::Shows(page, "▶ (11)14:55/Y(비고:접종 후 30분 관찰)/한간호"));
    EXPECT_EQ(result.summary.patgubun, "O");
}

TEST_F(MedicationRecord, EveryOrderCancelledPrintsOneEmptyLine)
{
    auto context = record("00004007", "20201119");
    const mt::KindPrint result = print("MDNRACTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_EQ(mt::ComponentTexts(*result.document, "qrlb_DCTime"), std::vector<std::string>{"  "});
    EXPECT_FALSE(mt::Shows(pdfPages(result.pdf).at(0), "Abdomen CT"));
    EXPECT_TRUE(mt::ComponentTexts(*result.document, "qrlb_Data4").empty() ||
                isBlank(mt::ComponentTexts(*result.document, "qrlb_Data4").front()));
}

TEST_F(MedicationRecord, NoOrdersTellTheStatusLine)
{
    auto context = record("00001234", "20090615");
    const mt::KindPrint result = print("MDNRACTT", context);
    mt::ExpectNothingFound(result, "조회할 자료가 없습니다.");
}

TEST_F(MedicationRecord, ScratchTablesNeverShowAnEarlierPrint)
{
    auto context = record("00001302", "20160905");
    mt::FillWithStale(context.scratch.temp, 40, 20);
    mt::FillWithStale(context.scratch.printList, 40, 27);
    const mt::KindPrint result = print("MDNRACTT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_FALSE(mt::Shows(pages[0], "STALE"));
    EXPECT_TRUE(mt::Shows(pages[0], "▶ (05)10:00/A/윤간호, (05)10:30/Y/윤간호, (05)22:30/Y/강간호"));
}

} // namespace

// The discharge summary printed for real from medrec-server: the demo summaries read back
// from the PDF (two pages, a death, the caption after 2019-09-01 with a transfer), no
// history row, and the faults of its coded fields and long texts.
#include "RecordKindFixture.h"
#include "TestDataText.h"

#include "FieldValues.h"
#include "MDO510U1_P02/MDO510U1_P02.h"
#include "RecordKinds.h"

#include <gtest/gtest.h>


using namespace medrec;
namespace mt = medrec::testing;

namespace {

std::size_t count(const std::string &text, const std::string &part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// The narrative's printed lines, as laid out (the PDF reader reorders the spaced answers).
std::string narrative(const engine::Document &doc)
{
    std::string text;
    for (const auto &page : doc.pages)
        for (const auto &element : page.elements)
            if (element.kind == engine::ElementKind::Text && element.component == "qrme_Data")
                text += element.text + "\n";
    return text;
}

const engine::Element *barcodeOf(const engine::Page &page)
{
    for (const auto &element : page.elements)
        if (element.kind == engine::ElementKind::Barcode && element.component == "qlb_barcode")
            return &element;
    return nullptr;
}

class DischargeSummary : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_F(DischargeSummary, PrintsEveryCaptionAndValueOverTwoPagesAndWritesNoHistory)
{
    const auto before = historyLines();
    auto context = contextFor("MDDCHSUT", "00001234", "20180514");
    const mt::KindPrint result = print("MDDCHSUT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());
    EXPECT_FALSE(result.history);
    EXPECT_FALSE(reports::FindRecordKind("MDDCHSUT")->history.writes());
    EXPECT_EQ(historyLines(), before);

    const auto pages = pdfPages(result.pdf);
    ASSERT_EQ(pages.size(), 2u);
    const std::string &first = pages[0], &second = pages[1];
    const std::string all = first + second;
    for (const char *text :
         {"입퇴원요약기록", "SEON MEDICAL CENTER", "입원과", "입원일", "주치의", "퇴원과", "퇴원일", "담당의", "전  과", "전과일",
          "재원일", "주  소", "연락처", "직  업", "병  실", "보호자", "관  계", "최종진단명", "분류번호", "주진단:", "기타진단:",
          "수술/시술/처치 일자 및 명:", "경과요약:", "퇴원시 환자상태:", "□완쾌", "■경쾌", "□호전안됨", "□진단뿐",
          "□가망없는퇴원", "□48시간이내사망", "□48시간이후사망", "퇴원 형태:", "■퇴원지시후", "□자의퇴원", "□전원", "□탈원",
          "병원 감염:", "□수술후", "□기타처치후", "□비뇨기계", "□호흡기계", "□소화기계", "□기타", "■없음", "원 사 인:",
          "부    검:", "□예", "□아니오", "전공의 서명:", "주 치 의 서명:", "의무기록사 확인일:", ".    .    .", "서명:",
          "00001234", "김민준", "790312-1******", "M/39Y 2M", "외과", "이정훈", "71/7103", "2018-05-14", "2018-05-19", "6",
          "회사원", "김영희", "박전공", "서울특별시 강남구 테헤란로 152", "010-1234-5678", "급성 담낭염을 동반한 담낭 결석 (K80.0)",
          "본태성 고혈압 (I10)", "고지혈증 (E78.5)", "2018-05-15 복강경 담낭절제술", "【입원사유(주소)】",
          "식후 우상복부 통증 (3일 전부터)", "【합병증/약물부작용및알러지】", "【주요투약이력】", "【퇴 원 처 방】",
          "【주요검사소견】"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(all.find(withoutBlanks(text)), std::string::npos);
    }
    for (const char *text : {"【추 후 관 리 계 획】", "외래 예약 (2018-05-26 외과)", "상처 부위 물 닿지 않게 1주일 유지.",
                             "【외래에서 확인할사항】", "조직검사 결과 설명", "【작성일】 2018-05-19 10:00", "【작성자】 이정훈"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(all.find(withoutBlanks(text)), std::string::npos);
    }
    const std::string lines = narrative(*result.document);
    for (const char *text : {"    [외래진료계획] ■있음   □없음    [재입원계획] □있음   ■없음\n", "\n    [가정간호] □해당   ■해당무\n",
                             "\n    [전원] □예   ■아니오\n", "\n    [추후관리교육] ■유   □무\n"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(lines.find(text), std::string::npos);
    }
    EXPECT_EQ(all.find("[전원사유]"), std::string::npos);
    // Disabled on the form: the outpatient-plan row never prints.
    EXPECT_EQ(all.find("외래예약계획:"), std::string::npos);

    // Furniture, the page header and the flags on every page: DRG only.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i + 1);
        for (const char *text : {"※ 전자인증된 서식입니다.", "세온병원", "KRV 81-MR-12-113", "[DRG]", "입퇴원요약기록"})
            EXPECT_NE(pages[i].find(withoutBlanks(text)), std::string::npos) << text;
        EXPECT_NE(pages[i].find("-" + std::to_string(i + 1) + "-"), std::string::npos);
        EXPECT_EQ(pages[i].find("[ER]"), std::string::npos);
        EXPECT_EQ(pages[i].find("[D]"), std::string::npos);
        const engine::Element *barcode = barcodeOf(result.document->pages[i]);
        ASSERT_NE(barcode, nullptr);
        EXPECT_EQ(barcode->text, "*00001234*");
    }
    // The title band only on the first page.
    EXPECT_EQ(second.find("최종진단명"), std::string::npos);

    EXPECT_EQ(result.summary.patno, "00001234");
    EXPECT_EQ(result.summary.meddate, "20180514");
    EXPECT_EQ(result.summary.dschdate, "20180519");
    EXPECT_EQ(result.summary.patgubun, "I");
    EXPECT_EQ(result.summary.meddept, "외과");
    EXPECT_EQ(result.summary.chadr, "이정훈");
}

TEST_F(DischargeSummary, ADeathMarksTheStateTheAutopsyAndTheFlag)
{
    auto context = contextFor("MDDCHSUT", "00004001", "20211011");
    const mt::KindPrint result = print("MDDCHSUT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());
    const auto pages = pdfPages(result.pdf);
    ASSERT_FALSE(pages.empty());
    for (const char *text : {"■48시간이내사망", "■아니오", "□예", "패혈성 쇼크 (R57.2)", "■없음", "보건의료정보관리사 확인일:"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(pages[0].find(withoutBlanks(text)), std::string::npos);
    }
    EXPECT_NE(narrative(*result.document).find("    [외래진료계획] □있음   ■없음    [재입원계획] □있음   ■없음"),
              std::string::npos);
    for (const auto &page : pages)
        EXPECT_NE(page.find("[D]"), std::string::npos);
}

TEST_F(DischargeSummary, AfterSeptember2019TheCaptionChangesAndATransferListsItsItems)
{
    auto context = contextFor("MDDCHSUT", "00056789", "20220702");
    const mt::KindPrint result = print("MDDCHSUT", context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(result.document->warnings.empty());
    std::string all;
    for (const auto &page : pdfPages(result.pdf))
        all += page;
    for (const char *text :
         {"보건의료정보관리사 확인일:", "■호전안됨", "■전원", "■수술후", "[ER]", "[DRG]", "흉부외과", "2022-07-04",
          "[기관명/진료과/연락된담당자] 수원 세온의원 / 외과 / 김담당",
          "[전원사유] 거주지 근처 치료 희망", "[연속치료] 정맥 항생제 7일 지속", "[전원요구] 보호자", "[동승자] 간호사 1명"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(all.find(withoutBlanks(text)), std::string::npos);
    }
    EXPECT_EQ(all.find("[D]"), std::string::npos);
    // Letters other than Y and N: follow-up yes, readmission no.
    const std::string lines = narrative(*result.document);
    for (const char *text : {"    [외래진료계획] ■있음   □없음    [재입원계획] □있음   ■없음\n", "\n    [가정간호] ■해당   □해당무\n",
                             "\n    [전원] ■예   □아니오\n"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(lines.find(text), std::string::npos);
    }
}

class DischargeFaults : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite()
    {
        std::string json = mt::readFile(MEDREC_TEST_DATA "/discharge-summaries.json");
        json = mt::replaceAll(json, "LONG-DIAGNOSIS", mt::longText("상세불명의 다발성 골절과 합병증", 30));
        json = mt::replaceAll(json, "LONG-COURSE", mt::longText("항생제 치료 후 경과 관찰하며 재활 치료를 병행함.", 60));
        StartServer(json);
    }
    static void TearDownTestSuite() { StopServer(); }

    mt::KindPrint printAdmission(const std::string &date)
    {
        auto context = contextFor("MDDCHSUT", "00007001", date);
        return print("MDDCHSUT", context);
    }
};

TEST_F(DischargeFaults, ACodeThatIsNotANumberStopsThePrintNamingTheField)
{
    const struct
    {
        const char *admission;
        const char *message;
    } cases[] = {
        {"20261102", "퇴원시 환자상태 코드가 숫자가 아닙니다: 'A'"},
        {"20261103", "퇴원 형태 코드가 숫자가 아닙니다: ''"},
        {"20261104", "병원 감염 코드가 숫자가 아닙니다: '1.5'"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.admission);
        const mt::KindPrint result = printAdmission(c.admission);
        EXPECT_FALSE(result.printed());
        EXPECT_FALSE(result.refused.has_value());
        EXPECT_EQ(result.failure, c.message);
    }
}

TEST_F(DischargeFaults, LongMemosStretchAndAZeroPaddedDeathMarksWithoutTheFlag)
{
    const mt::KindPrint result = printAdmission("20261105");
    ASSERT_TRUE(result.printed()) << result.failure;
    for (const auto &warning : result.document->warnings)
        ADD_FAILURE() << warning.message;
    std::string all;
    const auto pages = pdfPages(result.pdf);
    for (const auto &page : pages)
        all += page;
    // Every piece of the long texts printed, none cut at its box.
    EXPECT_NE(all.find("합병증(30)"), std::string::npos);
    EXPECT_NE(all.find("병행함.(60)"), std::string::npos);
    EXPECT_EQ(count(all, "병행함.("), 60u);
    // "06" marks the option but the flag compares text.
    EXPECT_NE(all.find("■48시간이내사망"), std::string::npos);
    for (const auto &page : pages)
        EXPECT_EQ(page.find("[D]"), std::string::npos);
}

TEST(DischargeRules, TheConfirmationCaptionChangesOnSeptemberFirst2019)
{
    EXPECT_EQ(reports::ConfirmationCaption("2019-08-31 23:59"), "의무기록사 확인일:");
    EXPECT_EQ(reports::ConfirmationCaption("2019-09-01 00:00"), "보건의료정보관리사 확인일:");
    EXPECT_EQ(reports::ConfirmationCaption("2024-01-01"), "보건의료정보관리사 확인일:");
    EXPECT_EQ(reports::ConfirmationCaption(""), "의무기록사 확인일:");
}

TEST(DischargeRules, TheOutpatientFragmentNeverThrows)
{
    EXPECT_EQ(reports::OutpatientPlanFragment("  외래 (2026-12-01 외과) "), "(2026-12-01 외과)");
    EXPECT_EQ(reports::OutpatientPlanFragment("외래 예약 없음"), "외래 예약 없음");
    EXPECT_EQ(reports::OutpatientPlanFragment("   "), "");
}

TEST(DischargeRules, CodesAreDigitsWithAnOptionalSign)
{
    EXPECT_EQ(reports::DischargeCode("6", "x"), 6);
    EXPECT_EQ(reports::DischargeCode("06", "x"), 6);
    EXPECT_EQ(reports::DischargeCode("-1", "x"), -1);
    EXPECT_EQ(reports::DischargeCode("+3", "x"), 3);
    for (const char *bad : {"", " ", " 6", "6 ", "-", "1.5", "A", "99999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(reports::DischargeCode(bad, "x"), std::invalid_argument);
    }
}

TEST(DischargeRules, TheNarrativeWithAndWithoutTransfer)
{
    reports::FieldValues v;
    for (int i = 1; i <= 60; ++i)
        v.set("S_STRING" + std::to_string(i), "v" + std::to_string(i));
    v.set("S_STRING18", "1");
    const std::string CRLF = "\r\n", BB = CRLF + CRLF;
    const std::string opening = BB + "【입원사유(주소)】 " + BB + "v34" + BB + "【합병증/약물부작용및알러지】 " + BB + "v35" +
                                BB + "【주요투약이력】 " + BB + "v36" + BB + "【퇴 원 처 방】 " + BB + "v37" + BB +
                                "【주요검사소견】 " + BB + "v38" + BB + "【추 후 관 리 계 획】 " + BB +
                                "    [외래진료계획] ■있음   □없음    [재입원계획] □있음   ■없음" + BB + "v28" + BB +
                                "    [가정간호] □해당   ■해당무" + BB;
    const std::string closing = "    [추후관리교육] □유   ■무" + BB + "v32" + BB + "【외래에서 확인할사항】 " + BB + "v44" +
                                BB + "【작성일】 v45" + BB + "【작성자】 v46";
    EXPECT_EQ(reports::DischargeNarrative(v), opening + "    [전원] □예   ■아니오" + BB + closing);
    v.set("S_STRING18", "3");
    EXPECT_EQ(reports::DischargeNarrative(v), opening + "    [전원] ■예   □아니오" + BB +
                                                  "    [기관명/진료과/연락된담당자] v41" + BB + "    [전원사유] v42" + BB +
                                                  "    [연속치료] v43" + BB + "    [전원요구] v39" + BB +
                                                  "    [동승자] v40" + BB + closing);
}

} // namespace

// The two sedation records printed through the real screen from the demo data: the date
// caption over lb_meddate that only the pre-assessment record renames, and what the operator
// sees when a service of the treatment record fails, finds no staff row or delivers a code
// that is no number.
#include "MainScreenFixture.h"

#include "TStatusBar.h"
#include "UltraGrid.h"

#include "ServiceRegistry.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <filesystem>
#include <memory>

namespace medrec::testing {
namespace {

constexpr const char *kAssessment = "SRSUVEYT";
constexpr const char *kTreatment = "SRSEDMST";

// A handler that answers with one row of the given fields.
HandlerOverride AnswerWith(std::vector<std::pair<std::string, std::string>> fields)
{
    return [fields = std::move(fields)](server::ServiceHandler) -> server::ServiceHandler {
        return [fields](server::ServiceContext &ctx) {
            for (const auto &[name, value] : fields)
                ctx.reply().addText(name, value);
            ctx.succeed(fields.empty() ? "조회된 자료가 없습니다." : "1건의 자료가 조회되었습니다.", 0);
        };
    };
}

class SedationPrint : public PrintingScreenTest
{
protected:
    // The demo patient of the sedation records, the record kind chosen.
    void choose(const char *kind)
    {
        if (text(ui().pn_PatName) != "윤지우") {
            typeKeys("4004");
            pressEnter();
            ASSERT_EQ(text(ui().pn_PatName), "윤지우");
        }
        auto &kinds = *ui().ugd_RecodKnd;
        for (int row = kinds.fixedRows(); row < kinds.rowCount() && screen().selectedRecordKind() != kind; ++row)
            clickRow(kinds, row);
        ASSERT_EQ(screen().selectedRecordKind(), kind);
        messages().clear();
        calls().clear();
    }
    std::string caption() const { return text(ui().Label3); }

    void expectNothingPrinted()
    {
        EXPECT_EQ(pdfCount(), 0);
        EXPECT_EQ(historyRows(), "0");
        EXPECT_EQ(text(ui().lb_patno), "");
        EXPECT_EQ(caption(), "입원일자/진료일자");
        EXPECT_NORMAL_CURSOR();
    }
};

TEST_F(SedationPrint, OnlyThePreAssessmentPrintNamesThePrescriptionDateAndTheNextRunPutsTheCaptionBack)
{
    auto failSedatives = std::make_shared<std::atomic<bool>>(false);
    start({{"SR_SEDME_L1", FailWith(0, [failSedatives](const server::Request &) { return failSedatives->load(); })}},
          ReadFile(MEDREC_DEMO_DATA));
    EXPECT_EQ(caption(), "입원일자/진료일자");

    choose(kAssessment);
    print();
    EXPECT_EQ(pdfCount(), 1);
    EXPECT_EQ(caption(), "처방일자");
    EXPECT_EQ(text(ui().lb_meddate), "20230315");
    EXPECT_EQ(text(ui().lb_patgubun), "외래");

    // Another kind's print names its own date again.
    choose(kTreatment);
    print();
    EXPECT_EQ(pdfCount(), 2);
    EXPECT_EQ(caption(), "입원일자/진료일자");
    EXPECT_EQ(text(ui().lb_meddate), "20230315");

    // A run that prints nothing leaves no caption of an earlier print either.
    choose(kAssessment);
    print();
    EXPECT_EQ(caption(), "처방일자");
    choose(kTreatment);
    failSedatives->store(true);
    print();
    EXPECT_EQ(pdfCount(), 3);
    EXPECT_EQ(caption(), "입원일자/진료일자");
    EXPECT_EQ(text(ui().lb_patno), "");
    EXPECT_EQ(historyRows(), "3");
}

class SedationServiceFailure : public SedationPrint, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(SedationServiceFailure, ShowsTheServicesTextAndPrintsNothing)
{
    start({{GetParam(), FailWith(0)}}, ReadFile(MEDREC_DEMO_DATA));
    choose(kTreatment);
    print();
    EXPECT_EQ(status(), std::string("시험 장애 ") + GetParam());
    EXPECT_TRUE(messages().texts(Channel::Plain).empty());
    expectNothingPrinted();
}

INSTANTIATE_TEST_SUITE_P(EachService, SedationServiceFailure,
                         ::testing::Values("SR_SEDME_L1", "SR_SEDEV_S1", "SR_SEDRC_S1", "MD_INSAM_L1"));

TEST_F(SedationPrint, StaffNumbersWithoutAStaffRowPrintWithoutNamesAndAreSaidOnTheStatusLine)
{
    start({{"MD_INSAM_L1", AnswerWith({})}}, ReadFile(MEDREC_DEMO_DATA));
    choose(kTreatment);
    print();
    EXPECT_EQ(pdfCount(), 1);
    EXPECT_EQ(historyRows(), "1");
    EXPECT_EQ(status(), "직원번호 D0317, N1108의 직원 정보가 없어 이름 없이 출력했습니다.");
    EXPECT_TRUE(messages().log().empty());
}

TEST_F(SedationPrint, WithoutAnEvaluationRowOnlyTheRecoveringNurseIsLookedUp)
{
    start({{"SR_SEDEV_S1", AnswerWith({})}}, ReadFile(MEDREC_DEMO_DATA));
    choose(kTreatment);
    print();
    EXPECT_EQ(pdfCount(), 1);
    const auto lookups = calls().calls("MD_INSAM_L1");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].input("S_TYPE3"), "N1108");
    EXPECT_TRUE(status().starts_with("기록지를 출력했습니다 (")) << "no staff number left unknown: " << status();
}

TEST_F(SedationPrint, AConsciousnessCodeThatIsNoNumberStopsThePrintWithOneBoxNamingIt)
{
    start({{"SR_SEDEV_S1", AnswerWith({{"S_STRING1", "58.4"}, {"S_STRING2", "A"}})}}, ReadFile(MEDREC_DEMO_DATA));
    choose(kTreatment);
    print();
    EXPECT_EQ(messages().texts(Channel::Plain),
              std::vector<std::string>{"출력하지 못했습니다. SR_SEDEV_S1.S_STRING2 값이 숫자가 아닙니다: 'A'"});
    expectNothingPrinted();
}

} // namespace
} // namespace medrec::testing

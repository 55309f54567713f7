// The emergency nursing information sheet ("MDERINFT") printed from the real medrec-server
// and the demo data: every caption and value of its two demo records in the PDF, the summary,
// no history row; and the faults: a failed triage, pregnancy or code-list call, a missing
// sheet, and a code that is not a number each stop the print and say why.
#include "RecordKindFixture.h"
#include "ScreenHost.h"

#include "PrintContext.h"

#include "Clock.h"
#include "TuxCom.h"

#include <gtest/gtest.h>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDERINFT";

// Sheets of the admitted demo patient under arrivals of their own, each with one code that is
// not a number; the triage of the last one has a level that is not.
const char *kBadCodes = R"json({"serviceReplies": [
  {"service": "MD_ERINF_S2", "key": {"S_PATNO": "00056789", "S_CODE1": "20220702", "S_CODE2": "20220702194101"},
   "rows": [{"S_CODE1": "20220702194500", "S_CODE2": "3a", "S_NAME5": "1"}]},
  {"service": "MD_ERINF_S2", "key": {"S_PATNO": "00056789", "S_CODE1": "20220702", "S_CODE2": "20220702194102"},
   "rows": [{"S_CODE1": "20220702194500", "S_NAME5": "6", "S_STRING3": "유"}]},
  {"service": "MD_ERINF_S2", "key": {"S_PATNO": "00056789", "S_CODE1": "20220702", "S_CODE2": "20220702194103"},
   "rows": [{"S_CODE1": "20220702194500", "S_NAME7": "1번"}]},
  {"service": "MD_ERINF_S2", "key": {"S_PATNO": "00056789", "S_CODE1": "20220702", "S_CODE2": "20220702194104"},
   "rows": [{"S_CODE1": "20220702194500", "S_CODE2": "1"}]},
  {"service": "MD_NKTAS_L1", "key": {"S_TYPE3": "00056789", "S_TYPE4": "2022-07-02", "S_TYPE5": "2022-07-02 19:41:04"},
   "rows": [{"S_STRING9": "Level3", "S_STRING6": "2"}]}
]})json";

class EmergencyNursingSheet : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite() { s_server = mt::StartServerWith({demoData(), kBadCodes}); }
    static void TearDownTestSuite() { StopServer(); }

    reports::PrintContext sheetOf(const std::string &patNo, const std::string &visit)
    {
        return contextFor(kKind, patNo, visit);
    }

    common::FixedToday m_today{std::chrono::year{2026} / 12 / 9};
};

struct DemoSheet
{
    const char *what, *patNo, *visit;
    std::vector<std::string> texts; // every caption and value, as the PDF's text holds them
    reports::PrintedSummary summary;
};

const std::vector<std::string> kCaptions = {
    "응급간호정보조사지", "SEON MEDICAL CENTER", "등록번호",        "이    름", "SEX/AGE", "최초KTAS Level",
    "분류시간",           "변경KTAS Level",      "응급의료관리대상"};

const std::string kBanner(39, '=');

const DemoSheet kDemoSheets[] = {
    {"admitted",
     "00056789",
     "202207021940",
     {"00056789", "김민준", "M/34세", "Level3", "2022-07-02 19:43", "Level2",
      "급성복증을 포함한 배의 전반적인 이상 증상(내과적인 진료만으로 진료과 종결될 수 있는 증상포함)",
      kBanner + "기 본 정 보" + kBanner, "【구 역】 : 1구역 3번 침상【 ○ CPR 공유여부】",
      "【도 착 시 간】 : 2022-07-02 19:40:00【 ○ CPR 여부】",
      "【진 료 시 간】 : 2022-07-02 19:45:00 【 ● 응급수술여부】", "【내 원 형 태】 : 기타 보건소 의뢰",
      "【의료기관종류】: 의원", "【내 원 수 단】: 119 구급차", "【환 자 상 태】", "의식상태 : Alert",
      // pdftotext reads the vital signs' wide gaps as columns.
      "활력징후 : [혈압] : 130/85 mm", "[맥박] : 96 /분", "[호흡] : 20 /분", "[체온] : 37.8 ℃",
      "[산소포화도] : 97 %", "[체중] : 72.5 Kg", "【발병일자시간】 : 2022-07-02 13:30",
      "【주증상1】 : 복통 우하복부 6시간 전 명치 부위에서 시작하여 우하복부로 옮겨 온 지속적인 통증, 걸을 때 "
      "심해짐",
      "【증상2】 : 오심 구토 2회 저녁 식사 후부터", "【증상3】 : 발열 37.8℃ 오한 동반",
      "【증상】 : 내원 6시간 전부터 명치 부위 통증이 시작되어 우하복부로 옮겨 왔으며 오심과 구토 2회를 "
      "동반함. 맥버니점 압통과 반발통이 있어 보호자 부축을 받으며 내원함.",
      "【질병구분】 : 질병", "【의도성여부】 : 비의도적", "【손상기전】 : 운수사고",
      kBanner + "내 원 교 육" + kBanner, "【 ● 침상 낙상 방지】【 ○ 보호자 1인 상주】",
      "【 ● 귀중품 관리 및 도난방지】【 ● 접수안내】", kBanner + "퇴 원 정 보" + kBanner,
      "【퇴원시간】 : 2022-07-02 23:10【퇴원결정시간】 : 2022-07-02 22:40",
      "【질환분류】 : 질병【진료과】 : 외과", "【퇴원형태】 : 병실 입원 【 ○ 임산부】", "【병 동】 : 61병동",
      "【병 실】 : 6102", "【입 원 구 분】 : 병실", "【입 원 경 로】 : 응급실 경유",
      "【기타상세】 : 외과 박상철 교수 진료 후 응급 충수절제술 예정으로 61병동 입원. 수술 동의서 작성 완료, "
      "금식 유지하며 수액 투여 중 병동으로 이송함.",
      "【 ○ 격리】【 ○ 음압】", "【 ● 응급구역대상】", "【 선별료● Y○ N 】",
      kBanner + "사 고 정 보" + kBanner, "【사고종류】 : 교통사고",
      "【비 고】 : 귀가 중 교차로에서 후방 추돌, 안전벨트 착용, 차량 파손 경미",
      "【발생일시】 : 2022-07-02 18:50", "【발생장소】 : 수원시 영통구 광교중앙로 교차로",
      "【제보자】 : 보호자(배우자) 진술", kBanner + "기 타 정 보" + kBanner,
      "【1.긴급연락처】 : 배우자 이지은 010-2345-6789", "【2.긴급연락처】 : 모 박순자 031-582-5298",
      "【3.긴급연락처】 : 직장 02-3456-7890", "【▶작성간호사】 : 박소연", "【 ● 퇴실처리 】",
      kBanner + "추 가 정 보" + kBanner, "【교통사고담당자】 : 운전자", "【교통사고보호장구】",
      "● 안전밸트 ○ 이동용좌석", "● 전면에어백 ○ 측면에어백", "○ 무릎및관절보호대", "○ 헬맷 ○ 전혀착용않함",
      "○ 비해당 ○ 미상"},
     {"00056789", "20220702", "20220702", "E", "응급의학과", "김도현"}},
    {"transfer",
     "12345678",
     "20190817",
     {"12345678",
      "최수아",
      "F/25세",
      "Level2",
      "2019-08-17 02:32",
      "Level1",
      "산부인과적 응급증상(분만 또는 성폭력으로 인하여 산부인과적 검사 또는 처치가 필요한 증상)",
      "【구 역】 : 관찰실 관찰실 2번【 ● CPR 공유여부】",
      "【도 착 시 간】 : 2019-08-17 02:30:00【 ● CPR 여부】",
      "【진 료 시 간】 : 2019-08-17 02:40:00 【 ○ 응급수술여부】",
      "【내 원 형 태】 : 전원",
      "【의료기관종류】: 지역응급의료기관",
      "【내 원 수 단】: 병원 구급차",
      "의식상태 : Verbal",
      "활력징후 : [혈압] : 88/52 mm",
      "[맥박] : 128 /분",
      "[호흡] : 28 /분",
      "[체온] : 36.1 ℃",
      "[산소포화도] : 89 %",
      "[체중] : 54 Kg",
      "【발병일자시간】 : 2019-08-16 23:50",
      "【주증상1】 : 호흡곤란 흉부 압박감 누우면 심해짐",
      "【증상2】 : 실신 1회 화장실에서",
      "【증상3】 : 하혈 소량 임신 12주",
      "【증상】 : 임신 12주 산모로 자정 무렵 화장실에서 실신 후 호흡곤란과 흉부 압박감을 호소하여 "
      "지역응급의료기관에서 "
      "전원됨. 내원 시 저혈압과 빈맥, 산소포화도 저하 있어 심폐소생술 준비함.",
      "【질병구분】 : 기타 임신 관련 응급",
      "【의도성여부】 : 미상",
      "【손상기전】 : 미상",
      "【 ● 침상 낙상 방지】【 ● 보호자 1인 상주】",
      "【 ○ 귀중품 관리 및 도난방지】【 ○ 접수안내】",
      "【질환분류】 : 질병【진료과】 : 산부인과",
      "【퇴원형태】 : 전원 【 ● 임산부】",
      "【전원사유1】 : 기타타병원",
      "【전원사유2】 : 환자 사정",
      "【병 원】 : 세온대학교병원 권역응급의료센터【결정시간】 : 2019-08-17 05:10",
      "【의료기관종류】 : 권역응급의료센터",
      "【전원수단】 : 기타사설구급차",
      "【소견서】 : 유【검사기록】 : 무【영상기록】 : 유",
      "【수용능력확인】 : 유【수용능력확인】 : 정보센터",
      "【기타상세】 : 산과 중환자 진료 가능한 상급병원으로 전원. 전원 전 수용 가능 여부를 응급의료정보센터를 "
      "통해 확인하였고 담당 간호사가 동승함.",
      "【퇴원시간】 : 2019-08-17 05:40【퇴원결정시간】 : 2019-08-17 05:10",
      "【 ● 격리】【 ● 음압】",
      "【 ● 응급구역대상】",
      "【 선별료○ Y● N 】",
      "【사고종류】 : 미상",
      "【비 고】 : 사고 아님",
      "【발생일시】 : 【발생장소】 : 【제보자】 : 보호자(모)",
      "【1.긴급연락처】 : 모 최영희 010-4024-4645",
      "【2.긴급연락처】 : 부 최민호 010-5555-1234",
      "【3.긴급연락처】 : 【▶작성간호사】 : 정하늘",
      "【 ○ 퇴실처리 】",
      "【교통사고담당자】 : 미상",
      "【교통사고보호장구】",
      "○ 안전밸트 ○ 이동용좌석",
      "○ 전면에어백 ○ 측면에어백",
      "○ 무릎및관절보호대",
      "○ 헬맷 ○ 전혀착용않함",
      "● 비해당 ○ 미상"},
     {"12345678", "20190817", "20190817", "E", "응급의학과", "김도현"}},
};

class EmergencyNursingSheetDemo : public EmergencyNursingSheet,
                                  public ::testing::WithParamInterface<DemoSheet>
{
};

TEST_P(EmergencyNursingSheetDemo, PrintsEveryCaptionAndValueAndWritesNoHistory)
{
    const DemoSheet &c = GetParam();
    auto context = sheetOf(c.patNo, c.visit);
    const mt::KindPrint printed = print(kKind, context);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    EXPECT_TRUE(printed.document->warnings.empty());

    const auto pages = pdfPages(printed.pdf);
    ASSERT_GE(pages.size(), 2u) << "the sheet runs onto its second page";
    std::string all;
    for (const auto &page : pages) {
        for (const std::string &caption : kCaptions)
            EXPECT_NE(page.find(withoutBlanks(caption)), std::string::npos) << caption;
        EXPECT_NE(page.find(c.patNo), std::string::npos);
        all += page;
    }
    for (const std::string &text : c.texts)
        EXPECT_NE(all.find(withoutBlanks(text)), std::string::npos) << text;

    EXPECT_EQ(printed.summary, c.summary);
    EXPECT_FALSE(printed.history) << "the sheet writes no print-history row";
    EXPECT_TRUE(historyLines().empty());
}

INSTANTIATE_TEST_SUITE_P(demo, EmergencyNursingSheetDemo, ::testing::ValuesIn(kDemoSheets),
                         [](const auto &info) { return std::string(info.param.what); });

// The admitted demo sheet asked for under another arrival.
reports::PrintContext withArrival(reports::PrintContext context, const std::string &arrival)
{
    auto cells = context.record.all();
    cells[2] = arrival;
    context.record = reports::RowCells(cells);
    return context;
}

TEST_F(EmergencyNursingSheet, ACodeThatIsNoNumberStopsThePrintNamingItsField)
{
    const struct
    {
        const char *arrival, *field, *value;
    } cases[] = {
        {"20220702194101", "구역(S_CODE2)", "3a"},
        {"20220702194102", "귀가약(S_STRING3)", "유"},
        {"20220702194103", "응급의료관리대상(S_NAME7)", "1번"},
        {"20220702194104", "최초KTAS Level(MD_NKTAS_L1 S_STRING9)", "Level3"},
    };
    const auto admitted = sheetOf("00056789", "202207021940");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.field);
        auto context = withArrival(admitted, c.arrival);
        const mt::KindPrint printed = print(kKind, context);
        EXPECT_FALSE(printed.printed());
        EXPECT_FALSE(printed.refused);
        EXPECT_NE(printed.failure.find(c.field), std::string::npos) << printed.failure;
        EXPECT_NE(printed.failure.find("'" + std::string(c.value) + "'"), std::string::npos)
            << printed.failure;
    }
    EXPECT_TRUE(historyLines().empty());
}

TEST_F(EmergencyNursingSheet, NoSheetForTheArrivalSaysSoOnTheStatusLine)
{
    auto context = withArrival(sheetOf("00056789", "202207021940"), "20220702235900");
    const mt::KindPrint printed = print(kKind, context);
    ASSERT_TRUE(printed.refused);
    EXPECT_EQ(printed.refused->reason, reports::NotPrinted::Reason::NothingFound);
    EXPECT_EQ(printed.refused->notice.channel, reports::Notice::Channel::Status);
    EXPECT_EQ(printed.refused->notice.text, "조회된 자료가 없습니다.");
}

// The demo host with one service failing by the test's choice.
class EmergencyNursingSheetFaults : public ::testing::Test
{
protected:
    void TearDown() override
    {
        middleware::TuxTerm();
        unsetenv("MEDREC_PRINT_TO");
    }

    mt::KindPrint printAdmitted(mt::Overrides overrides, reports::PrintContext *keep = nullptr)
    {
        m_host = std::make_unique<mt::ScreenHost>(mt::DemoData(), std::move(overrides));
        setenv("MEDREC_PRINT_TO", ("pdf:" + m_pdf.path()).c_str(), 1);
        middleware::SetCommandLine({"medrec", "MR", "LEE"});
        EXPECT_TRUE(middleware::TuxInit(m_host->environmentFile())) << middleware::LastTuxMessage();
        auto row = mt::RecordListRow(kKind, "00056789", "20220702", 0);
        EXPECT_TRUE(row);
        reports::PrintContext context =
            mt::ContextFor(row.value_or(reports::RowCells()), "00056789", "202207021940");
        if (keep)
            context.codes = keep->codes;
        m_host->log().clear();
        mt::KindPrint printed = mt::PrintKind(kKind, context);
        if (keep)
            *keep = context;
        return printed;
    }

    void expectStoppedBy(const mt::KindPrint &printed, const std::string &service)
    {
        ASSERT_TRUE(printed.refused) << printed.failure;
        EXPECT_EQ(printed.refused->reason, reports::NotPrinted::Reason::ServiceFailed);
        // The print run shows the call layer's text by the service's channel.
        EXPECT_EQ(middleware::TuxMessage(), "시험 장애 " + service);
        EXPECT_FALSE(printed.printed());
        EXPECT_TRUE(std::filesystem::is_empty(m_pdf.path()));
    }

    mt::TempDir m_pdf;
    std::unique_ptr<mt::ScreenHost> m_host;
};

TEST_F(EmergencyNursingSheetFaults, AFailedTriageStopsThePrintWithTheServiceText)
{
    const mt::KindPrint printed = printAdmitted({{"MD_NKTAS_L1", mt::FailWith(0)}});
    expectStoppedBy(printed, "MD_NKTAS_L1");
    EXPECT_TRUE(m_host->log().calls("MD_NPREG_S1").empty());
}

TEST_F(EmergencyNursingSheetFaults, AFailedPregnancyLookupStopsThePrint)
{
    expectStoppedBy(printAdmitted({{"MD_NPREG_S1", mt::FailWith(-1)}}), "MD_NPREG_S1");
}

TEST_F(EmergencyNursingSheetFaults, AFailedCodeListIsEmptiedAndStopsThePrint)
{
    // What an earlier patient's print might have left in the lists.
    reports::PrintContext earlier;
    earlier.codes.groups["209"].add("6", "이전 환자의 전원사유");
    earlier.codes.rooms.add("9901", "9901");
    const mt::KindPrint printed = printAdmitted(
        {{"MD_MCOMC_L1",
          mt::FailWith(0, [](const server::Request &r) { return r.text("S_CODE1") == "209"; })}},
        &earlier);
    expectStoppedBy(printed, "MD_MCOMC_L1");
    EXPECT_EQ(earlier.codes.group("209").size(), 1u);
    EXPECT_EQ(earlier.codes.group("209").nameOf("6"), "");
    EXPECT_EQ(earlier.codes.group("208").nameOf("1"), "외래 추후진료") << "the groups before it were read";
    EXPECT_TRUE(m_host->log().calls("MD_NKTAS_L1").empty());
}

TEST_F(EmergencyNursingSheetFaults, EachGroupAndListIsAskedForOnce)
{
    reports::PrintContext lists;
    const mt::KindPrint printed = printAdmitted({}, &lists);
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto groups = m_host->log().calls("MD_MCOMC_L1");
    ASSERT_EQ(groups.size(), 13u);
    for (std::size_t i = 0; i < groups.size(); ++i)
        EXPECT_EQ(groups[i].input("S_CODE1"), std::to_string(204 + i));
    EXPECT_EQ(m_host->log().calls("MD_DEPTC_L1").size(), 2u); // departments and wards
    // The admission's ward's rooms, and only those.
    const auto rooms = m_host->log().calls("MD_WDRMC_L1");
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(rooms[0].input("S_TYPE1"), "61");
    EXPECT_EQ(lists.codes.rooms.codes(),
              (std::vector<std::string>{"", "6101", "6102", "6103", "6105", "6106"}));
}

} // namespace

// The general nursing information sheet ("MDADINFT") printed from the real medrec-server and
// the demo data: both pages as one document, every caption and value in the PDF, the
// history row, the faults of a missing row and of a page that fails, and the sheet's rules
// case by case on its real form files.
#include "MNW921P3/MNW921P3.h"

#include "FieldValues.h"
#include "FormConventions.h"
#include "PatientHeader.h"
#include "PrintHistory.h"
#include "NursingSheetTesting.h"
#include "RecordPrint.h"
#include "ReportForms.h"

#include "TuxCom.h"

#include "report_engine/Report.h"
#include "report_engine/ReportError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <variant>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDADINFT";

class GeneralNursingSheet : public mt::NursingSheetTest
{
protected:
    mt::KindPrint printAdmission(const std::string &patNo, const std::string &admDate)
    {
        return NursingSheetTest::printAdmission(kKind, patNo, admDate);
    }
};

TEST_F(GeneralNursingSheet, PrintsBothPagesOfTheDemoRecordWithEveryCaptionAndValue)
{
    const auto printed = printAdmission("00001234", "20180514");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);

    expectCaptions(pages[0],
                   {"※ 전자인증된 서식입니다.", "간호정보조사지", "(일반)", "SEON MEDICAL CENTER", "환자번호", "이    름", "주민번호",
                    "SEX/AGE", "진 료 과", "주 치 의", "병동/병실", "최초기록일시", "1. 일반정보", "입원일 :", "직  업 :",
                    "담당(작성)간호사:", "정보제공자 :", "연락처 :", "(전화)", "(H.P)", "교육정도:", "결혼여부/자녀수 :",
                    "문화적종교적특수성", "국  적 :", "현주소:", "종  교 :", "흡연 :", "현재흡연 (", "갑/일", "금연교육 )", "비흡연",
                    "과거 흡연했으나 현재 비흡연", "수혈거부 :", "아니오", "기  타 :", "사회및 경제상태", "진료비 지불능력 :", "음주 :",
                    "회/월", "사회복지상담 :", "2. 입원과 관련된 정보", "활력증상", "체온", "℃", "맥박", "호흡", "혈압", "mmHg",
                    "체중", "kg", "신장", "cm", "혈액형", "입원경로", "입원방법", "병인식여부", "입원동기", "(주증상)", "진단명",
                    "알레르기", "유(약물:", "항생제:", "음식:", "기타:", "입원력", "과거병력", "고혈압", "당뇨", "결핵", "간염",
                    "투약상태", "가족병력", "심장질환", "관계 :", "수술경험", "유 (수술명 :", "지참약", "3. 신체검진", "전반적 상태",
                    "의식상태", "지 남 력", "사람:", "장소:", "시간:", "의식", "명료", "혼돈", "반의식", "무의식", "의사소통", "원만함",
                    "곤란함", "불가능", "정서상태", "안정", "불안", "분노", "우울", "흥분", "안절부절", "슬픔", "기    형", "통    증",
                    "부위 :", "두통", "흉통", "복통", "요통", "사지통", "정도 :", "둔함", "쑤심", "퍼짐", "예리함", "찌는듯함",
                    "쥐어짜는 듯함", "식    욕", "양호", "보통", "불량", "체중변화", "증가", "감소", "연하곤란", "있음", "없음",
                    "대사적스트레스정도", "수면상태", "수면시간", "시간/일", "수면장애", "수면제복용", "대    변", "횟수", "회/일",
                    "설사", "변비", "장루", "소    변", "배뇨곤란", "도뇨", "빈뇨", "핍뇨", "혈뇨", "실금", "작열감", "세온병원",
                    "작성자:"});
    expectCaptions(pages[1],
                   {"3. 신체검진 (계속)", "활동상태", "신경계", "시력장애", "좌", "우", "청력장애", "청력저하", "보청기", "이명",
                    "청각상실", "신경근육", "무감각/저림", "동통   부위", "마    비", "오른팔", "오른발", "왼팔", "왼발", "호흡기계",
                    "호흡기계장애", "호흡곤란", "가래", "기침", "폐잡음", "청색증", "객혈", "이상호흡음", "순환기계", "순환기계장애",
                    "심계항진", "식음땀", "부정맥", "심잡음", "부    종", "전신", "사지", "상지", "하지", "얼굴", "안검", "소화기계",
                    "소화기계장애", "소화장애", "복부팽만", "복부동통", "오심", "구토", "토혈", "점액변", "장음부", "인공장루",
                    "피부계", "피부상태", "정상", "비정상", "발진,", "물집,", "흉터,", "상처,", "반점,", "욕창,", "발한,", "건조,",
                    "소양감,", "불결함,", "자반)", "부위", "피부색깔", "창백", "홍조", "황달", "가려움증", "보조기구",
                    "목발", "의족", "Pace Maker", "Brace", "의치", "안경", "콘택트렌즈", "의안", "4.입원시 간호 및 교육내용",
                    "입원시 준비물품", "병실내 시설안내", "침대", "침상식탁", "침상등", "전화", "TV", "냉장고", "주방", "정수기", "욕실",
                    "화장실", "간호사 호출기", "주차장", "은행", "매점", "식당", "공중전화", "인터넷", "가스,전열기구 사용금지 및 화재방지:",
                    "소화전", "비상구", "귀중품 관리 및 도난방지", "보호자 면회 및 식사시간", "지정지료, 진단서발급, 의사회진시간",
                    "금연", "환자 안전 교육", "낙상예방", "욕창예방", "고충처리 접수방법", "의료폐기물 분리수거", "환자권리장전",
                    "기타 교육 사항", "5.초기퇴원계획", "퇴원과 관련된 정보", "퇴원 후 보호자와 함께 거주합니다.", "예",
                    "퇴원 후 지속적으로 간호를 제공할 보호자 또는 간병인이 있습니다.", "퇴원 후 환자가 머무르는 곳", "자택", "타기관",
                    "요양병원", "건강관리에 대한 정보 제공", "퇴원시 보호자 연락이 필요합니다.", "퇴원시 교육 받기 원하는 대상",
                    "환자와 보호자", "세온병원", "간호정보조사지", "작성일시", "작성자:"});
    expectPrintedWhole(printed, pages,
                       {{"qrl_PatNo", "00001234"}, {"qrl_patname", "김민준"}, {"qrl_ci", "790312-1******"},
                        {"qrl_sex", "M/47세"}, {"qrl_meddept", "외과"}, {"qrl_chadr", "이정훈"}, {"qrl_ward", "71-7103"},
                        {"qrl_Frecdate", "2018-05-14 10:42"}, {"QRLabel243", "최지현"}, {"QRLabel342", "최지현"},
                        {"qrl_admdate", "2018-05-14"}, {"qrl_work", "회사원"}, {"qrl_nurse", "최지현"}, {"qrl_inf", "환자"},
                        {"qrl_telno1", "02-617-9614"}, {"qrl_telno2", "010-9696-4374"}, {"qrl_adu", "대졸"},
                        {"qrl_merr", "기혼/2"}, {"qrl_Nation", "대한민국"}, {"qrl_addr", "서울특별시 강남구 테헤란로 152, 1203동 502호"},
                        {"qrl_ChType", "불교"}, {"qrl_tabaco", "1"}, {"qrl_Culturetc", "없음"}, {"qrl_Pay", "있음"},
                        {"qrl_drink", "4"}, {"qrl_Bokji", "불필요"}, {"qrl_bodytemp", "37.8"}, {"qrl_pulse", "92"},
                        {"ed_respcnt", "20"}, {"qrl_bldprehi", "135/85"}, {"qrl_weight", "74.5"}, {"qrl_height", "176"},
                        {"qrl_bldtype", "A"}, {"qrl_admcou", "외래(외과 외래 경유)"}, {"qrl_admmeth", "휠체어(보호자 동반)"},
                        {"qrl_Know", "있음"},
                        {"qrme_AdmovDet", "3일 전부터 시작된 우상복부 통증과 발열, 식후 악화되는 구역감으로 외래 방문하여 담낭염 "
                                          "진단받고 수술 위해 입원함."},
                        {"qrl_icd", "급성 담낭염 (K81.0)"}, {"qrl_argdg", "페니실린"}, {"qrl_Arganti", "세파계열 항생제"},
                        {"qrl_argfd", "땅콩"}, {"qrl_argetc", "반창고"}, {"qrl_admlast", "2010년 담낭 용종으로 입원"},
                        {"qrl_pthist", "고지혈증 (2015년부터 약물 복용)"},
                        {"qrl_dgstat", "아모잘탄 5/50mg 1일 1회, 다이아벡스 500mg 1일 2회"}, {"qrl_famcase", "갑상선 질환"},
                        {"qrl_famrela", "부(고혈압), 모(심장질환)"},
                        {"qrl_opnm", "충수절제술 (2003년), 우측 서혜부 탈장 교정술 (2012년)"}, {"qrl_pshist1", "유"},
                        {"qrl_pshist2", "유"}, {"qrl_pshist3", "유"}, {"qrl_Stress", "해당 사항 없음"}, {"qrl_sleeptm", "6"},
                        {"qrl_stool", "1"}, {"qrl_urineCnt", "6"}, {"qrl_Activest", "스스로 능동적 운동 가능"},
                        {"qrm_Etc", "수술 전 금식 교육 시행함 (자정 이후 금식).심호흡 및 기침 방법 시범 후 환자가 따라 함.보호자에게 "
                                    "낙상 예방 교육 재실시."}});
    // Disabled on the form: filled, never printed.
    for (const char *hidden : {"인종 :", "황인종"}) {
        SCOPED_TRACE(hidden);
        EXPECT_EQ((pages[0] + pages[1]).find(withoutBlanks(hidden)), std::string::npos);
    }
    // The writer's name replaces the form's sample name.
    EXPECT_EQ((pages[0] + pages[1]).find("홍길동"), std::string::npos);

    // The summary from the record row: number, admission, discharge, "I", department, attending.
    expectSummaryAndHistory(printed, kKind, {"00001234", "20180514", "20180519", "I", "외과", "이정훈"});
}

TEST_F(GeneralNursingSheet, LongTextsWrapAndNothingIsLostAcrossPages)
{
    const auto printed = printAdmission("00056789", "20220702");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_GE(pages.size(), 2u);
    for (const auto &page : pages) {
        EXPECT_NE(page.find("세온병원"), std::string::npos);
        EXPECT_NE(page.find("작성자:이수진"), std::string::npos);
    }
    expectPrintedWhole(
        printed, pages,
        {{"qrl_argdg", "아스피린, 이부프로펜 등 비스테로이드성 소염진통제 전반"},
         {"qrl_Arganti", "반코마이신 (전신 두드러기)"},
         {"qrl_admcou", "응급(응급실 경유 (서울 연세가정의원에서 우하복부 통증 지속으로 의뢰서 지참하여 내원, 응급실에서 CT 시행 후 "
                        "입원 결정))"},
         {"qrl_Stress", "중증 폐렴으로 인해 산소공급을 요하여 침상안정이 필요한 자"},
         {"qrl_opnm", "복강경 충수절제술 (2009년), 우측 서혜부 탈장 교정술 (2012년), 좌측 무릎 관절경 반월상 연골 부분 절제술 "
                      "(2016년), 치핵 절제술 (2017년), 우측 손목 골절 관혈적 정복 및 내고정술 (2019년), 담낭 절제술 (2020년), "
                      "백내장 수술 양안 (2021년)"},
         // 60 bytes end inside a syllable and 51 inside another: the cut syllables are left out
         {"qrl_pthist", "B형 간염 보균자로 진단받아 소화기내과에서 정기 추적 관"},
         {"qrl_dgstat", "타이레놀 650mg 1일 3회, 란스톤 15mg 1일 1회, 자누"},
         {"qrl_support", "보행 보조기(워커) 사용, 야간 화장실 이동 시 보호자 부축 필요, 침상 난간 올림 유지"},
         {"qrl_skinst", "천골 부위 욕창 2단계 (3x4cm), 양측 발꿈치 발적, 우측 전완부 정맥주사 부위 멍"}});
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrme_AdmovDet").size(), 4u);
    EXPECT_NE(printedText(*printed.document, "qrme_AdmovDet").find("수면을거의취하지못하였다고호소함."), std::string::npos);
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrm_Etc").size(), 9u);
    EXPECT_NE(printedText(*printed.document, "qrm_Etc").find("질문에정확히답함"), std::string::npos);
}

TEST_F(GeneralNursingSheet, TheOldFormatsOfAnEarlyRecordPrintAsWritten)
{
    const auto printed = printAdmission("02345678", "20130422");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectPrintedWhole(printed, pages,
                       {{"qrl_work", "프리랜서 번역가"}, {"qrl_merr", "/2"}, {"qrl_admcou", "응급(타 병원에서 전원 의뢰)"},
                        {"qrl_admmeth", "눕는차(구급차 이송)"}, {"qrl_adu", ""}, {"qrl_bldtype", "모름"},
                        {"qrl_Nation", "대한민국"}, {"qrl_ward", "ICU-"}, {"qrl_pshist1", "유"}, {"qrl_pshist2", ""},
                        {"qrl_pshist3", "유"}, {"qrl_urineCnt", "5"}, {"qrl_nerves", "우측 상지 저림"},
                        {"qrl_neost", "하지 부종 경미"}, {"qrl_support", "휠체어 사용 중 (하지 근력 저하)"},
                        {"qrl_Waitetc", "딸의 집 (경기도 성남시)"}});
    EXPECT_EQ((pages[0] + pages[1]).find("백인종"), std::string::npos);
}

TEST_F(GeneralNursingSheet, EveryDemoSheetPrintsWithoutLosingText)
{
    for (const auto &[patNo, admDate] : std::vector<std::pair<std::string, std::string>>{
             {"00001234", "20180514"}, {"00056789", "20220702"}, {"00001302", "20160905"}, {"02345678", "20130422"},
             {"00004001", "20211011"}, {"00004005", "20141103"}, {"00004007", "20201119"}}) {
        SCOPED_TRACE(patNo);
        const auto printed = printAdmission(patNo, admDate);
        ASSERT_TRUE(printed.printed()) << printed.failure;
        EXPECT_GE(printed.document->pages.size(), 2u);
        mt::ExpectNoLayoutWarnings(*printed.document);
    }
}

TEST_F(GeneralNursingSheet, NoRowFromAnyServiceShowsTheStatusTextAndPrintsNothing)
{
    struct Case
    {
        const char *what;
        reports::RowCells record;
    };
    const std::vector<Case> cases = {
        {"the writer is missing from the staff table", recordRow(kKind, "00004015", "20240902")},
        {"no sheet for the admission", reports::RowCells({"00001234", "20100302"})},
        {"no such patient", reports::RowCells({"09999999", "20180514"})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        expectNothingPrintedFor(kKind, c.record);
    }
}

TEST_F(GeneralNursingSheet, APageThatFailsLeavesBothPagesUnprinted)
{
    // Page 2 cannot be laid out: the job is one document, so page 1 does not go out either.
    reports::PrintContext context = contextFor(kKind, "00001234", "20180514");
    auto block = reports::RunBlock(*reports::FindRecordKind(kKind), context);
    auto &job = std::get<reports::PrintJob>(block);
    ASSERT_EQ(job.reports().size(), 2u);
    job.reports()[1]->setBeforePrint([](engine::Report &) { throw engine::ReportError("page 2 broke"); });
    EXPECT_THROW(reports::LayOutJob(job, kKind), engine::ReportError);

    // Page 2's form file damaged: the block stops before anything is laid out.
    mt::TempDir forms;
    const std::filesystem::path unit = std::filesystem::path(forms.path()) / "MNW921P3";
    std::filesystem::create_directories(unit);
    std::filesystem::copy_file(std::filesystem::path(MEDREC_REPORTS_DIR) / "MNW921P3" / "TMNW921B3.QuickRep1.json",
                               unit / "TMNW921B3.QuickRep1.json");
    std::ofstream(unit / "TMNW921B3.QuickRep2.json") << "{\"name\": \"QuickRep2\", \"bands\": [";
    setenv("MEDREC_FORMS_DIR", forms.path().c_str(), 1);
    const std::size_t before = historyLines().size();
    const auto printed = print(kKind, context);
    unsetenv("MEDREC_FORMS_DIR");
    EXPECT_FALSE(printed.printed());
    EXPECT_NE(printed.failure.find("TMNW921B3.QuickRep2"), std::string::npos) << printed.failure;
    EXPECT_EQ(historyLines().size(), before);
}

} // namespace

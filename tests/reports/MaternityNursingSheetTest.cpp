// The maternity nursing information sheet ("MDOBINFT") printed from the real medrec-server
// and the demo data: both pages as one document, by the print run (medrec-batch) and by the
// block, every caption and value in the PDF, the history row, the old formats of an earlier
// sheet, and a missing sheet or writer told to the operator with nothing printed.
#include "NursingSheetTesting.h"
#include "TestDataText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace medrec;
namespace mt = medrec::testing;

namespace {

constexpr const char *kKind = "MDOBINFT";

// The demo sheet of 00001301's 2024 delivery, as its components print it.
const std::map<std::string, std::string> kRichValues = {
    {"qrl_PatNo", "00001301"},
    {"qrl_patname", "김민지"},
    {"qrl_ci", "880505-2******"},
    {"qrl_sex", "F/38세"},
    {"qrl_meddept", "산부인과"},
    {"qrl_chadr", "정수연"},
    {"qrl_ward", "DR-02"},
    {"qrl_Frecdate", "2024-04-02 06:35"},
    {"QRLabel243", "이수진"},
    {"QRLabel214", "이수진"},
    {"qrl_admdate", "2024-04-02"},
    {"qrl_nurse", "이수진"},
    {"qrl_inf", "환자"},
    {"qrl_work", "전문직"},
    {"qrl_icd", "임신 39주 1일, 규칙적 자궁수축 동반한 진통 (O80.0), 이전 제왕절개 후 질식분만 시도(TOLAC) 희망"},
    {"qrl_Hname", "박준혁"},
    {"qrl_Hbirthdate", "1986-11-23"},
    {"qrl_Hbldtype", "O"},
    {"qrl_adu", "대졸"},
    {"qrl_merr", "기혼/1"},
    {"qrl_telno1", "02-555-0142"},
    {"qrl_telno2", "010-2345-6789"},
    {"qrl_Pay", "있음"},
    {"qrl_Bokji", "불필요"},
    {"qrl_drink", "0"},
    {"qrl_Nation", "대한민국"},
    {"qrl_ChType", "천주교"},
    {"qrl_Culturetc", "종교적 이유로 혈액제제 사용 시 사전 설명 요청 (수혈 자체는 동의함)"},
    {"qrl_bodytemp", "36.9"},
    {"qrl_pulse", "84"},
    {"ed_respcnt", "18"},
    {"qrl_bldprehi", "128/78"},
    {"qrl_height", "163"},
    {"qrl_preWeight", "56.0"},
    {"qrl_postWeight", "69.5"},
    {"qrl_bldtype", "A"},
    {"qrl_admcou", "응급(응급실 경유 (새벽 4시부터 10분 간격의 규칙적 진통과 이슬 비침으로 119 구급차 이용하여 내원, "
                   "응급실에서 태아심음 확인 후 분만실로 이동))"},
    {"qrl_admmeth", "눕는차(분만실 직행 (진통 심하여 눕는차로 이동))"},
    {"qrl_Know", "있음"},
    {"qrme_AdmovDet", "임신 39주 1일 경산부로 새벽 4시경부터 하복부 및 허리의 규칙적인 진통이 10분 간격으로 시작되었고, "
                      "4시 30분경 소량의 이슬이 비쳐 내원함. 양막 파열 증상은 없으며 태동은 평소와 같다고 함. 2019년 첫째 "
                      "분만 시 태아곤란증으로 응급 제왕절개술을 받았으며 이번에는 질식분만 시도를 희망하여 담당 교수와 상의 "
                      "후 입원함."},
    // 60 bytes end inside a syllable: the cut syllable is left out
    {"qrl_pthist", "임신성 당뇨 (2019년 첫째 임신 시 진단, 식이요법으로 조"},
    {"qrl_admlast", "2019년 절박유산으로 산부인과 입원 (1주), 2019년 제왕절개 분만"},
    {"qrl_opnm", "제왕절개술 (2019년, 첫째 분만 시 태아곤란증으로 응급 시행), 복강경 난소낭종 절제술 (2016년, 우측 "
                 "기형종), 편도절제술 (2001년), 매복 사랑니 발치 (2010년, 전신마취)"},
    {"qrl_dgstat", "씬지로이드 50mcg 1일 1회 아침 공복, 엽산 0.4mg 1일"},
    {"qrl_argdg", "세팔로스포린 계열 (두드러기)"},
    {"qrl_Arganti", "페니실린 계열 전반 (2015년 호흡곤란 경험)"},
    {"qrl_argfd", "복숭아, 갑각류"},
    {"qrl_argetc", "라텍스 장갑 접촉 시 발적"},
    {"qrl_famcase", "외조모 유방암 (60세 진단), 부 고지혈증, 모 갑상선 결절"},
    {"qrl_famrela", "부(고혈압), 모(당뇨), 외조모(유방암)"},
    {"qrl_pshist1", "유"},
    {"qrl_pshist2", "유"},
    {"qrl_pshist3", "유"},
    {"qrl_condst", "명료"},
    {"qrl_concom", "원만"},
    {"qrl_Stress", "해당 사항 없음"},
    {"qrl_Activest", "부분적인 도움이나 보조기구 이용"},
    {"qrl_sleeptm", "5"},
    {"qrl_stool", "1"},
    {"qrl_urineCnt", "8"},
    {"qrl_eyest", "난시 교정 안경 착용 중"},
    {"qrl_nerves", "양측 하지 저림 (임신 후반부터, 야간에 심해짐)"},
    {"qrl_neost", "양측 발목 및 종아리 부종 (+2), 아침에 경감됨"},
    {"qrl_skinst", "임신선 (복부, 대퇴부), 하복부 제왕절개 반흔 10cm"},
    {"qrl_birth", "G2 P1 A0 L1 (2019년 제왕절개 분만, 남아 3.2kg, 건강함)"},
    {"qrl_Preexam", "정기적"},
    {"qrl_Preexam1", "서울 강남 여성의원 (임신 20주까지 산전 관리 후 본원으로 전원)"},
    {"qrl_Preexam2", "2024-03-28"},
    {"qrl_Obhist1", "2023-07-03"},
    {"qrl_Obhist2", "2024-04-08"},
    {"qrl_Obhist3", "39주 1일"},
    {"qrl_Fasting", "2024-04-02 00:00부터"},
    {"qrl_Show", "2024-04-02 04:30경 소량"},
    {"qrl_Rom", ""},
    {"qrl_Obpain", "2024-04-02 04:00부터 10분 간격"},
    {"qrl_Fhr", "142"},
    {"qrl_menache1", "13"},
    {"qrl_menache2", "5일"},
    {"qrl_menache3", "28일"},
    {"qrm_Etc", "분만실 환경 및 호출기 사용법 안내함.제왕절개 후 질식분만 시도(TOLAC)의 위험성(자궁파열 등)과 지속적 "
                "태아감시의 필요성에 대해 담당의 설명 후 간호사가 재확인함.진통 중 호흡법(라마즈 호흡) 시범 보이고 "
                "보호자(남편)와 함께 연습함.금식 유지 필요성 설명함 (응급 제왕절개 가능성).낙상 예방 교육: 무통주사 후 "
                "혼자 걷지 않도록 교육함.모유수유 교육 일정 (분만 후 2일째 오후 2시, 4층 교육실) 안내함."},
    {"qrl_Waitetc", "친정 (경기도 용인시 수지구, 산후 2주간 친정어머니가 돌봄 예정)"},
};

// The squares of the same sheet that print black, and some that stay white.
const std::vector<std::string> kRichBlack = {
    "qrs_noTabaco", "qrs_bloodn", "qrs_argyn2", "qrs_admlast2", "qrs_opyn2", "qrs_dgstat2", "qrs_pthist5",
    "qrs_famcase2", "qrs_famcase3", "qrs_bringY", "qrs_feelst2", "qrs_deformt1", "qrs_eat2", "qrs_wetchg2",
    "qrs_Dysphagia2", "qrs_sleep2", "qrs_sleepdg1", "qrs_feceskd2", "qrs_urinst2", "qrs_eyest2", "qrs_earst1",
    "qrs_nerves2", "qrs_palsy1", "qrs_respst1", "qrs_circst1", "qrs_neost5", "qrs_dietst3", "qrs_skinst2",
    "qrs_skinst7", "qrs_skin3", "qrs_support1", "qrs_pain4", "qrs_pain5", "qrs_pain12", "qrs_Preexam2",
    "qrs_Preexam3", "qrs_Preexam4", "qrs_Fasting2", "qrs_Show2", "qrs_Rom1", "qrs_Obpain2", "qrs_Fhr2", "qrs_Mens2",
    "qrs_Menspain1", "qrs_Daeha2", "qrs_edu1", "qrs_edu2", "qrs_edu21", "qrs_edu3", "qrs_edu36", "qrs_edu4",
    "qrs_edu42", "qrs_edu5", "qrs_edu9", "qrs_Safeedu3", "qrs_edu311", "qrs_Outedu11", "qrs_Outedu21", "qrs_Wait4",
    "qrs_Outedu31", "qrs_Daesang3"};
const std::vector<std::string> kRichWhite = {"qrs_Tabaco", "qrs_pastTabaco", "qrs_edu26", "qrs_Safeedu4",
                                             "qrs_Wait1", "qrs_Daesang1", "qrs_eduTabaco"};

class MaternityNursingSheet : public mt::NursingSheetTest
{
protected:
    mt::KindPrint printAdmission(const std::string &patNo, const std::string &admDate)
    {
        return NursingSheetTest::printAdmission(kKind, patNo, admDate);
    }

    // medrec-batch with the site's environment on this suite's server; its exit status.
    int batch(const std::string &args, const std::string &pdfDir, std::string *err = nullptr)
    {
        const std::string env = mt::writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
        const std::string errFile = m_out.file("batch.err");
        const std::string command = "MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir +
                                    "' MEDREC_BATCH_USER=RECORDS '" MEDREC_BATCH_PROGRAM "' " + args + " 2>'" +
                                    errFile + "'";
        const int status = std::system(command.c_str());
        if (err)
            *err = mt::readFile(errFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::vector<std::filesystem::path> pdfsIn(const std::string &dir)
    {
        std::vector<std::filesystem::path> pdfs;
        for (const auto &entry : std::filesystem::directory_iterator(dir))
            if (entry.path().extension() == ".pdf")
                pdfs.push_back(entry.path());
        return pdfs;
    }

};

TEST_F(MaternityNursingSheet, ThePrintRunPrintsBothPagesAsOneDocumentWithOneHistoryRow)
{
    const std::string pdfDir = m_out.file("batch");
    std::filesystem::create_directories(pdfDir);
    const auto before = historyLines().size();
    std::string err;
    ASSERT_EQ(batch("1301 --visit 20240402 --kind MDOBINFT", pdfDir, &err), 0) << err;

    const auto pdfs = pdfsIn(pdfDir);
    ASSERT_EQ(pdfs.size(), 1u);
    const auto pages = pdfPages(pdfs.front());
    ASSERT_EQ(pages.size(), 2u);
    expectFormCaptionsPrinted(kKind, pages);
    // Values as the screen's panels give them (the address panel starts with a blank).
    expectCaptions(pages[0], {"00001301", "김민지", "880505-2******", "F/", "서울특별시 마포구 월드컵북로 396",
                                  "산부인과", "정수연", "DR-02", "2024-04-02 06:35", "이수진", "박준혁", "1986-11-23", "128/78"});
    expectCaptions(pages[1], {"G2 P1 A0 L1", "2024-04-08", "142", "친정 (경기도 용인시 수지구"});

    const auto lines = historyLines();
    ASSERT_EQ(lines.size(), before + 1);
    EXPECT_NE(lines.front().find("\t00001301\t20240402\tempty\tempty\tempty\tMDOBINFT\tRECORDS\t"), std::string::npos)
        << lines.front();
}

TEST_F(MaternityNursingSheet, PrintsEveryValueOfTheDemoSheetWithTheSummaryAndHistoryRow)
{
    const auto printed = printAdmission("00001301", "20240402");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectFormCaptionsPrinted(kKind, pages);
    expectPrintedWhole(printed, pages, kRichValues);
    expectPrintedWhole(printed, pages, {{"qrl_addr", "서울특별시 마포구 월드컵북로 396, 102동 804호"}});

    // The retired rows and the race label never print, though filled; the sample name never.
    std::string all;
    for (const auto &page : pages)
        all += page;
    for (const char *hidden : {"비뇨기", "긴급뇨", "가려움증", "인종", "황인종", "홍길동"}) {
        SCOPED_TRACE(hidden);
        EXPECT_EQ(all.find(hidden), std::string::npos);
    }

    // The squares as the sheet's flags and codes fill them.
    for (const auto &square : kRichBlack)
        EXPECT_TRUE(mt::PrintedBlack(*printed.document, square)) << square;
    for (const auto &square : kRichWhite)
        EXPECT_FALSE(mt::PrintedBlack(*printed.document, square)) << square;

    // The summary: number, admission, discharge (column 5), "I", department (6), attending (4).
    expectSummaryAndHistory(printed, kKind, {"00001301", "20240402", "", "I", "산부인과", "정수연"});
}

TEST_F(MaternityNursingSheet, TheOldFormatsOfAnEarlierSheetPrintAsWritten)
{
    const auto printed = printAdmission("00004008", "20230501");
    ASSERT_TRUE(printed.printed()) << printed.failure;
    const auto pages = pdfPages(printed.pdf);
    ASSERT_EQ(pages.size(), 2u);
    expectPrintedWhole(printed, pages,
                      {{"qrl_work", "프리랜서 일러스트레이터"}, {"qrl_merr", "/0"}, {"qrl_adu", ""},
                       {"qrl_Hbldtype", "모름"}, {"qrl_bldtype", "모름"}, {"qrl_Nation", "대한민국"},
                       {"qrl_admcou", "직접 내원 (자가용)"}, {"qrl_admmeth", "보호자 부축"}, {"qrl_admlast", "무"},
                       {"qrl_ward", "DR-"}, {"qrl_pshist1", "유"}, {"qrl_pshist2", ""}, {"qrl_pshist3", "무"},
                       {"qrl_urineCnt", "6"}, {"qrl_Preexam", "간헐적"}, {"qrl_Waitetc", ""}, {"qrl_Rom", "2023-05-01 03:00"}});
    // Written before the safety teaching and the call button were asked: 27 characters leave
    // their squares white; a place after discharge of 5 fills none of the four.
    for (const char *square : {"qrs_edu2", "qrs_edu21", "qrs_edu4", "qrs_edu9", "qrs_pastTabaco", "qrs_Daesang1"})
        EXPECT_TRUE(mt::PrintedBlack(*printed.document, square)) << square;
    for (const char *square : {"qrs_edu3", "qrs_Safeedu1", "qrs_Safeedu5", "qrs_edu311", "qrs_Wait1", "qrs_Wait2",
                               "qrs_Wait3", "qrs_Wait4"})
        EXPECT_FALSE(mt::PrintedBlack(*printed.document, square)) << square;
    EXPECT_EQ(printed.summary.dschdate, "20230504");
}

TEST_F(MaternityNursingSheet, EveryDemoSheetPrintsOnTwoPagesWithoutLosingText)
{
    for (const auto &[patNo, admDate] :
         std::vector<std::pair<std::string, std::string>>{{"00001301", "20240402"}, {"00004008", "20230501"}}) {
        SCOPED_TRACE(patNo);
        const auto printed = printAdmission(patNo, admDate);
        ASSERT_TRUE(printed.printed()) << printed.failure;
        EXPECT_EQ(printed.document->pages.size(), 2u);
        mt::ExpectNoLayoutWarnings(*printed.document);
    }
    // The long texts wrap inside their rows: none is cut, every line printed.
    const auto printed = printAdmission("00001301", "20240402");
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrme_AdmovDet").size(), 3u);
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrm_Etc").size(), 6u);
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrl_opnm").size(), 2u);
    EXPECT_GE(mt::PrintedLines(*printed.document, "qrl_admcou").size(), 2u);
}

// A sheet the service has no row for, and one whose writer the staff lookup does not know.
class MaternityNursingSheetFaults : public mt::RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(mt::readFile(MEDREC_TEST_DATA "/maternity-sheet-faults.json")); }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_F(MaternityNursingSheetFaults, NoRowFromTheSheetOrItsWriterShowsTheStatusTextAndPrintsNothing)
{
    for (const char *admDate : {"20240610", "20240715"}) {
        SCOPED_TRACE(admDate);
        reports::PrintContext context = contextFor(kKind, "00009201", admDate);
        mt::ExpectNoRowsFound(print(kKind, context));
    }
    // The print run tells the operator and writes no history row.
    const std::string pdfDir = m_out.file("batch");
    std::filesystem::create_directories(pdfDir);
    const std::string env = mt::writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
    const std::string err = commandOutput("MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir + "' '" +
                                          MEDREC_BATCH_PROGRAM "' 9201 --visit 20240715 --kind MDOBINFT 2>&1");
    EXPECT_NE(err.find("조회된 데이타가 없습니다."), std::string::npos) << err;
    EXPECT_NE(err.find("not printed"), std::string::npos) << err;
    EXPECT_TRUE(std::filesystem::is_empty(pdfDir));
    EXPECT_TRUE(historyLines().empty());
}

} // namespace

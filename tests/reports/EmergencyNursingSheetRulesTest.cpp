// The emergency nursing information sheet's rules without a server: its report text as the
// sheet lays it out, its working values one by one, the eight discharge sections and the
// header's triage levels and emergency-symptom sentences.
#include "MDN130U3_P01/ErSheetText.h"

#include "ContextValues.h"
#include "NursingSheetTesting.h"
#include "PrintContext.h"

#include "HmdErinft.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

using namespace medrec;
namespace mt = medrec::testing;
using reports::er_sheet::ReportText;

namespace {

const std::string CRLF = "\r\n";

// Every field of the sheet's row and every record cell empty, then the fields given.
reports::FieldValues sheetRow(const std::map<std::string, std::string> &fields = {})
{
    reports::FieldValues values;
    const services::HmdErinft sheet;
    for (const std::string &name : sheet.results.names())
        values.set(name, "");
    for (int cell = 0; cell < reports::value::kCells; ++cell)
        values.set(reports::value::record(cell), "");
    for (const auto &[field, value] : fields)
        values.set(field, value);
    return values;
}

// The lists as the demo's code tables fill them, in part.
reports::CodeNameLists demoLists()
{
    reports::CodeNameLists lists;
    lists.departments.add("GS", "외과");
    lists.wards.add("61", "61병동");
    lists.rooms.add("6102", "6102");
    const std::map<std::string, std::vector<std::pair<std::string, std::string>>> groups = {
        {"204", {{"1", "병실 입원"}, {"2", "전원"}, {"4", "사망"}, {"6", "귀가"}}},
        {"208", {{"1", "외래 추후진료"}}},
        {"209", {{"6", "환자 사정"}}},
        {"210", {{"1", "병실"}}},
        {"211", {{"2", "응급실 내 사망"}}},
        {"214", {{"1", "권역응급의료센터"}}},
        {"215", {{"1", "응급실 경유"}}},
        {"212", {{"1", "운전자"}}},
        {"216", {{"1", "119 구급차"}}},
    };
    for (const auto &[group, entries] : groups)
        for (const auto &[code, name] : entries)
            lists.groups[group].add(code, name);
    return lists;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto at = text.find(CRLF); at != std::string::npos; at = text.find(CRLF, start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The first line of the text that begins with `start`; empty when none does.
std::string lineOf(const std::string &text, const std::string &start)
{
    for (const std::string &line : linesOf(text))
        if (line.rfind(start, 0) == 0)
            return line;
    return {};
}

std::string banner(const std::string &title)
{
    return std::string(39, '=') + title + std::string(39, '=');
}

TEST(EmergencyNursingSheetText, AnEmptyRecordLaysOutEverySectionAsTheSheetDoes)
{
    const std::string gap = CRLF + CRLF;
    const std::string expected =
        banner("기 본 정 보") + gap + "【구 역】 :  【 ○ CPR 공유여부】" + gap +
        "【도 착 시 간】 : 【 ○ CPR 여부】" + gap + "【진 료 시 간】 :  【 ○ 응급수술여부】" + gap +
        "【내 원 형 태】 : 자원 " + gap + "【의료기관종류】: " + gap + "【내 원 수 단】: " + gap +
        "【환 자 상 태】 " + gap + " 의식상태 : " + gap +
        " 활력징후 : [혈압] :  mm  [맥박] :  /분  [호흡] :  /분  [체온] :  ℃  [산소포화도] :  %  [체중] :  "
        "Kg" +
        gap + "【발병일자시간】 : " + gap + "【주증상1】 :   " + gap + "【증상2】 :   " + gap +
        "【증상3】 :   " + gap + "【증상】 : " + gap + "【질병구분】 :  " + gap + "【의도성여부】 : " + gap +
        "【손상기전】 : " + gap + CRLF + banner("내 원 교 육") + gap +
        "【 ○ 침상 낙상 방지】【 ○ 보호자 1인 상주】" + CRLF +
        "【 ○ 귀중품 관리 및 도난방지】【 ○ 접수안내】" + gap + CRLF + banner("퇴 원 정 보") + gap +
        "【퇴원시간】 : 【퇴원결정시간】 : " + gap + "【질환분류】 : 【진료과】 : " + gap +
        "【퇴원형태】 :  【 ○ 임산부】" + gap + "【 ○ 격리】【 ○ 음압】" + gap + "【 ○ 응급구역대상】" + gap +
        "【  선별료○ Y○ N  】" + gap + CRLF + banner("사 고 정 보") + gap + "【사고종류】 : " + gap +
        "【비  고】 : " + gap + "【발생일시】 : " + gap + "【발생장소】 : " + gap + "【제보자】 : " + gap +
        CRLF + banner("기 타 정 보") + gap + "【1.긴급연락처】 : " + gap + "【2.긴급연락처】 : " + gap +
        "【3.긴급연락처】 : " + gap + "【▶작성간호사】 : " + gap + "【 ○ 퇴실처리 】" + gap + CRLF +
        banner("추 가 정 보") + gap + "【교통사고담당자】 : " + gap + "【교통사고보호장구】" + gap +
        "○ 안전밸트  ○ 이동용좌석" + gap + "○ 전면에어백  ○ 측면에어백" + gap + "○ 무릎및관절보호대" + gap +
        "○ 헬맷  ○ 전혀착용않함" + gap + "○ 비해당  ○ 미상";
    const reports::SectionText text = ReportText(sheetRow(), {}, false);
    EXPECT_EQ(text.text(), expected);
    // The six banners, the patient state and the protective gear keep their first line.
    const std::vector<std::size_t> headings = text.headingLines();
    ASSERT_EQ(headings.size(), 8u);
    const std::vector<std::string> lines = linesOf(expected);
    for (std::size_t line : headings)
        EXPECT_TRUE(lines[line].starts_with("=") || lines[line].starts_with("【환 자") ||
                    lines[line] == "【교통사고보호장구】")
            << lines[line];
}

struct LineCase
{
    std::string what;
    std::map<std::string, std::string> fields;
    std::string start; // how the line begins
    std::string line;  // the whole line
};

void expectLines(const std::vector<LineCase> &cases, bool pregnant = false)
{
    const reports::CodeNameLists lists = demoLists();
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = ReportText(sheetRow(c.fields), lists, pregnant).text();
        EXPECT_EQ(lineOf(text, c.start), c.line);
    }
}

TEST(EmergencyNursingSheetText, WorkingValues)
{
    expectLines({
        {"zone 19",
         {{"S_CODE2", "19"}, {"S_STRING43", "2번"}},
         "【구 역】",
         "【구 역】 : 소아응급환자진료구역 2번【 ○ CPR 공유여부】"},
        {"a zone above 19 prints empty",
         {{"S_CODE2", "20"}},
         "【구 역】",
         "【구 역】 :  【 ○ CPR 공유여부】"},
        {"zone 0", {{"S_CODE2", "0"}, {"S_STRING51", "Y"}}, "【구 역】", "【구 역】 :  【 ● CPR 공유여부】"},
        {"arrival and treatment times",
         {{reports::value::record(2), "20220702194000"}, {"S_NAME8", "Y"}},
         "【도 착",
         "【도 착 시 간】 : 2022-07-02 19:40:00【 ● CPR 여부】"},
        {"a visit type of its own",
         {{"S_CODE5", "4"}, {"S_CODE6", "보건소"}},
         "【내 원 형",
         "【내 원 형 태】 : 기타 보건소"},
        {"the detail only for 4",
         {{"S_CODE5", "2"}, {"S_CODE6", "보건소"}},
         "【내 원 형",
         "【내 원 형 태】 : 전원 "},
        {"an unknown visit type is self-referred",
         {{"S_CODE5", "7"}},
         "【내 원 형",
         "【내 원 형 태】 : 자원 "},
        {"the means of arrival is its own value, never the visit type",
         {{"S_CODE5", "2"}, {"S_STRING34", "1"}},
         "【내 원 수",
         "【내 원 수 단】: 119 구급차"},
        {"consciousness trimmed", {{"S_CODE13", " P "}}, " 의식", " 의식상태 : Pain"},
        {"consciousness unknown", {{"S_CODE13", "a"}}, " 의식", " 의식상태 : "},
        {"disease type 4 with its detail",
         {{"S_CODE26", "4"}, {"S_CODE27", "임신"}},
         "【질병",
         "【질병구분】 : 기타 임신"},
        {"disease type 0", {{"S_CODE26", "0"}, {"S_CODE27", "임신"}}, "【질병", "【질병구분】 :  "},
        {"accident 0 and 8 are unknown", {{"S_CODE7", "8"}}, "【사고", "【사고종류】 : 미상"},
        {"accident 10", {{"S_CODE7", "10"}}, "【사고", "【사고종류】 : "},
        {"education YNYN",
         {{"S_CODE28", "YNYN"}},
         "【 ● 침상",
         "【 ● 침상 낙상 방지】【 ○ 보호자 1인 상주】"},
        {"education YNYN, second line",
         {{"S_CODE28", "YNYN"}},
         "【 ● 귀중품",
         "【 ● 귀중품 관리 및 도난방지】【 ○ 접수안내】"},
        {"a short education text",
         {{"S_CODE28", "NY"}},
         "【 ○ 귀중품",
         "【 ○ 귀중품 관리 및 도난방지】【 ○ 접수안내】"},
        {"the discharge type's name from group 204",
         {{"S_NAME5", "6"}},
         "【퇴원형태",
         "【퇴원형태】 : 귀가 【 ○ 임산부】"},
        {"the department by its code",
         {{"S_NAME9", "GS"}, {"S_NAME10", "9"}},
         "【질환",
         "【질환분류】 : 【진료과】 : 외과"},
        {"screening fee N", {{"S_STRING47", "N"}}, "【  선별료", "【  선별료○ Y● N  】"},
        {"the traffic-accident officer", {{"S_STRING36", "1"}}, "【교통", "【교통사고담당자】 : 운전자"},
    });
    // A registered pregnancy.
    expectLines({{"pregnant", {{"S_NAME5", "2"}}, "【퇴원형태", "【퇴원형태】 : 전원 【 ● 임산부】"}}, true);
}

TEST(EmergencyNursingSheetText, EachDischargeTypeHasItsSection)
{
    using Fields = std::map<std::string, std::string>;
    const auto section = [](const Fields &fields) {
        return reports::er_sheet::DischargeSection(sheetRow(fields), demoLists());
    };
    const std::string gap = CRLF + CRLF;
    EXPECT_EQ(section({{"S_NAME5", "1"},
                       {"S_NAME2", "61"},
                       {"S_NAME4", "6102"},
                       {"S_STRING8", "1"},
                       {"S_STRING35", "1"},
                       {"S_STRING31", "상세"}}),
              "【병 동】 : 61병동" + gap + "【병 실】 : 6102" + gap + "【입 원 구 분】 : 병실" + gap +
                  "【입 원 경 로】 : 응급실 경유" + gap + "【기타상세】 : 상세" + gap);
    EXPECT_EQ(section({{"S_NAME5", "2"},
                       {"S_CODE29", "3"},
                       {"S_NAME2", "타병원"},
                       {"S_STRING8", "6"},
                       {"S_NAME4", "세온대학교병원"},
                       {"S_STRING6", "05:10"},
                       {"S_STRING33", "1"},
                       {"S_CODE30", "4"},
                       {"S_NAME3", "사설구급차"},
                       {"S_NAME1", "1"},
                       {"S_NAME14", "2"},
                       {"S_NAME17", "1"},
                       {"S_NAME16", "1"},
                       {"S_STRING31", "상세"}}),
              "【전원사유1】 : 기타타병원" + gap + "【전원사유2】 : 환자 사정" + gap +
                  "【병 원】 : 세온대학교병원【결정시간】 : 05:10" + gap +
                  "【의료기관종류】 : 권역응급의료센터" + gap + "【전원수단】 : 기타사설구급차" + gap +
                  "【소견서】 : 무【검사기록】 : 유【영상기록】 : 유" + gap +
                  "【수용능력확인】 : 무【수용능력확인】 : 직접확인" + gap + "【기타상세】 : 상세" + gap);
    EXPECT_EQ(section({{"S_NAME5", "4"}, {"S_CODE29", "2"}, {"S_CODE30", "7"}, {"S_STRING8", "2"}}),
              "【사망장소】 : DOA" + gap + "【사망후 이동장소】 : 영안실이동" + gap +
                  "【사망구분】 : 응급실 내 사망" + gap + "【기타상세】 : " + gap);
    EXPECT_EQ(section({{"S_NAME5", "6"}, {"S_STRING6", "21:00"}, {"S_STRING3", "1"}, {"S_STRING8", "1"}}),
              "【결정시간】 : 21:00" + gap + "【귀 가 약】 : 유" + gap + "【귀가구분】 : 외래 추후진료" +
                  gap + "【기타상세】 : " + gap);
    EXPECT_EQ(section({{"S_NAME5", "7"}, {"S_STRING4", "0"}, {"S_STRING7", "본인 서명"}}),
              "【서 약 서】 : 무" + gap + "【서 약 서】 : 본인 서명" + gap);
    EXPECT_EQ(section({{"S_NAME5", "8"}, {"S_NAME2", "경찰 인계"}}), "【기타사유】 : 경찰 인계" + gap);
    for (const char *none : {"3", "5", "9", "", " 1"}) {
        SCOPED_TRACE(none);
        EXPECT_EQ(section({{"S_NAME5", none}, {"S_NAME2", "61"}}), "");
    }
    // Without a section the isolation line follows the discharge type directly.
    const std::string text = ReportText(sheetRow({{"S_NAME5", "3"}}), demoLists(), false).text();
    EXPECT_NE(text.find("【 ○ 임산부】" + gap + "【 ○ 격리】"), std::string::npos);
}

TEST(EmergencyNursingSheetText, TheSecondCapacityCheckTakesItsOwnField)
{
    for (const auto &[how, text] : std::vector<std::pair<std::string, std::string>>{
             {"1", "직접확인"}, {"2", "정보센터"}, {"", "무"}, {"3", "무"}}) {
        SCOPED_TRACE(how);
        const std::string section = reports::er_sheet::DischargeSection(
            sheetRow({{"S_NAME5", "2"}, {"S_NAME17", "2"}, {"S_NAME16", how}}), demoLists());
        EXPECT_EQ(lineOf(section, "【수용능력확인】"), "【수용능력확인】 : 유【수용능력확인】 : " + text);
    }
}

TEST(EmergencyNursingSheetText, ARoomOrWardTheListsLackPrintsEmpty)
{
    reports::CodeNameLists lists = demoLists();
    lists.rooms.clear(); // a ward without rooms, or one whose rooms were never read
    const std::string section = reports::er_sheet::DischargeSection(
        sheetRow({{"S_NAME5", "1"}, {"S_NAME2", "99"}, {"S_NAME4", "6102"}}), lists);
    EXPECT_EQ(lineOf(section, "【병 동】"), "【병 동】 : ");
    EXPECT_EQ(lineOf(section, "【병 실】"), "【병 실】 : ");
}

TEST(EmergencyNursingSheetHeader, TriageLevelsAndEmergencySymptoms)
{
    const std::string first = "MD_NKTAS_L1.S_STRING9", after = "MD_NKTAS_L1.S_STRING6";
    std::vector<mt::SheetRuleCase> cases;
    for (const auto &[level, text] : std::vector<std::pair<std::string, std::string>>{{"3", "Level3"},
                                                                                      {"2", "Level2"},
                                                                                      {"8", "기타"},
                                                                                      {"9", "미상"},
                                                                                      {"0", ""},
                                                                                      {"6", ""},
                                                                                      {"7", ""},
                                                                                      {"", ""}}) {
        cases.push_back({"level " + level,
                         {{first, level}, {after, level}},
                         {{"qlb_ktaslevel", text}, {"qlb_ktaslevel2", text}}});
    }
    for (const auto &[code, sentence] : std::vector<std::pair<std::string, std::string>>{
             {"29", ""},
             {"50", ""},
             {"", ""},
             {"51", " 응급증상으로 진행될 가능성이 있다고 판단되는 증상"},
             {"1", " 급성 의식장애"}}) {
        cases.push_back({"symptom " + code, {{"S_NAME7", code}}, {{"qlb_ErManage", sentence}}});
    }
    cases.push_back({"the panels and the triage time",
                     {{"panel.patNo", "00056789"},
                      {"panel.name", "김민준"},
                      {"panel.sexAge", "M/34세"},
                      {"MD_NKTAS_L1.S_STRING10", "2022-07-02 19:43"}},
                     {{"qlb_patno", "00056789"},
                      {"qlb_patName", "김민준"},
                      {"qlb_SexAge", "M/34세"},
                      {"qrl_ward", "2022-07-02 19:43"}}});
    mt::ExpectSheetRules("MDERINFT", cases);
}

} // namespace

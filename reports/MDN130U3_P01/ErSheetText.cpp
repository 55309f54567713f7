#include "ErSheetText.h"

#include "ErSheetCodes.h"

#include "ContextValues.h"
#include "FormConventions.h"

#include "DateText.h"
#include "TextHelpers.h"

namespace medrec::reports::er_sheet {

namespace {

using namespace codes;

// The sheet's row and lists as its rules read them.
class Sheet
{
public:
    Sheet(const FieldValues &values, const CodeNameLists &codes) : m_values(values), m_codes(codes) {}

    const std::string &operator[](std::string_view field) const { return m_values[field]; }
    int number(std::string_view field) const { return CodeToInt(m_values[field]); }
    // "●" when the field is exactly `when`, else "○".
    static const char *marker(bool on) { return on ? "●" : "○"; }
    const char *mark(std::string_view field, std::string_view when = "Y") const
    {
        return marker(m_values[field] == when);
    }
    // The name of the field's code in a common-code group.
    const std::string &group(std::string_view code, std::string_view field) const
    {
        return m_codes.group(code).nameOf(m_values[field]);
    }
    const CodeNameLists &lists() const { return m_codes; }

private:
    const FieldValues &m_values;
    const CodeNameLists &m_codes;
};

// "【 " + marker + caption: one choice of the sheet.
std::string choice(const char *marker, std::string_view caption)
{
    return "【 " + std::string(marker) + std::string(caption);
}

std::string banner(std::string_view title)
{
    const std::string rule(39, '=');
    return rule + std::string(title) + rule;
}

// A table's text, and the detail field after it when the code is the one that has a detail.
std::pair<std::string, std::string> withDetail(const Sheet &s, std::string_view field, const CodeTexts &table,
                                               int detailCode, std::string_view detailField)
{
    const int code = s.number(field);
    return {sheet::TextOf(table, code), code == detailCode ? s[detailField] : std::string()};
}

// An unknown visit type counts as 자원 (self-referred), the usual way in.
std::pair<std::string, std::string> visitType(const Sheet &s)
{
    auto [type, detail] = withDetail(s, "S_CODE5", kVisitType, kVisitTypeWithDetail, "S_CODE6");
    return {type.empty() ? kVisitTypeOtherwise : type, detail};
}

// Characters 1 to 4 of "S_CODE28": the four items of the visit education.
const char *educated(const Sheet &s, std::size_t item)
{
    return Sheet::marker(sheet::CharAt(s["S_CODE28"], item) == "Y");
}

std::string admission(const Sheet &s)
{
    // The ward's rooms were read for the ward the code names; the room prints when it is one.
    const std::string &room = s.lists().rooms.nameOf(s["S_NAME4"]);
    return "【병 동】 : " + s.lists().wards.nameOf(s["S_NAME2"]) + CrLf(2) + "【병 실】 : " + room + CrLf(2) +
           "【입 원 구 분】 : " + s.group("210", "S_STRING8") + CrLf(2) +
           "【입 원 경 로】 : " + s.group("215", kAdmissionRoute) + CrLf(2) +
           "【기타상세】 : " + s["S_STRING31"] + CrLf(2);
}

std::string transfer(const Sheet &s)
{
    const auto [reason, reasonDetail] =
        withDetail(s, "S_CODE29", kTransferReason, kTransferReasonWithDetail, "S_NAME2");
    const auto [means, meansDetail] =
        withDetail(s, "S_CODE30", kTransferMeans, kTransferMeansWithDetail, "S_NAME3");
    return "【전원사유1】 : " + reason + reasonDetail + CrLf(2) +
           "【전원사유2】 : " + s.group("209", "S_STRING8") + CrLf(2) + "【병 원】 : " + s["S_NAME4"] +
           "【결정시간】 : " + s["S_STRING6"] + CrLf(2) +
           "【의료기관종류】 : " + s.group("214", "S_STRING33") + CrLf(2) + "【전원수단】 : " + means +
           meansDetail + CrLf(2) + "【소견서】 : " + AbsentWhenOne(s["S_NAME1"]) +
           "【검사기록】 : " + AbsentWhenOne(s["S_NAME14"]) +
           "【영상기록】 : " + AbsentWhenOne(s["S_NAME15"]) + CrLf(2) +
           "【수용능력확인】 : " + AbsentWhenOne(s["S_NAME17"]) +
           "【수용능력확인】 : " + CapacityConfirmed(s["S_NAME16"]) + CrLf(2) +
           "【기타상세】 : " + s["S_STRING31"] + CrLf(2);
}

std::string death(const Sheet &s)
{
    return "【사망장소】 : " + PlaceOfDeath(s["S_CODE29"]) + CrLf(2) +
           "【사망후 이동장소】 : " + AfterDeath(s["S_CODE30"]) + CrLf(2) +
           "【사망구분】 : " + s.group("211", "S_STRING8") + CrLf(2) + "【기타상세】 : " + s["S_STRING31"] +
           CrLf(2);
}

std::string home(const Sheet &s)
{
    return "【결정시간】 : " + s["S_STRING6"] + CrLf(2) +
           "【귀 가 약】 : " + sheet::TextOf(kAbsentPresent, s.number("S_STRING3")) + CrLf(2) +
           "【귀가구분】 : " + s.group("208", "S_STRING8") + CrLf(2) + "【기타상세】 : " + s["S_STRING31"] +
           CrLf(2);
}

std::string pledge(const Sheet &s)
{
    return "【서 약 서】 : " + sheet::TextOf(kAbsentPresent, s.number("S_STRING4")) + CrLf(2) +
           "【서 약 서】 : " + s["S_STRING7"] + CrLf(2);
}

std::string dischargeSection(const Sheet &s)
{
    const std::string &type = s["S_NAME5"];
    if (type == "1")
        return admission(s);
    if (type == "2")
        return transfer(s);
    if (type == "4")
        return death(s);
    if (type == "6")
        return home(s);
    if (type == "7")
        return pledge(s);
    if (type == "8")
        return "【기타사유】 : " + s["S_NAME2"] + CrLf(2);
    return {};
}

} // namespace

const std::vector<std::pair<std::string, std::string>> &NumberFields()
{
    static const std::vector<std::pair<std::string, std::string>> fields = {
        {"S_CODE2", "구역"},
        {"S_CODE5", "내원형태"},
        {"S_CODE7", "사고종류"},
        {"S_CODE26", "질병구분"},
        {"S_CODE29", "전원사유"},
        {"S_CODE30", "전원수단"},
        {"S_NAME7", "응급의료관리대상"},
        {"S_STRING3", "귀가약"},
        {"S_STRING4", "서약서"},
    };
    return fields;
}

std::string DischargeSection(const FieldValues &values, const CodeNameLists &codes)
{
    return dischargeSection(Sheet(values, codes));
}

SectionText ReportText(const FieldValues &values, const CodeNameLists &codes, bool pregnant)
{
    const Sheet s(values, codes);
    SectionText t;
    const auto line = [&t](const std::string &text, int breaks = 2) { t.add(text).breaks(breaks); };
    const auto heading = [&t](const std::string &text) { t.section(text, "", 2, 0); };

    // 기본 정보. A zone the table lacks (0, or one above 19) prints empty.
    heading(banner("기 본 정 보"));
    line("【구 역】 : " + sheet::TextOf(kZone, s.number("S_CODE2")) + " " + s["S_STRING43"] +
         choice(s.mark("S_STRING51"), " CPR 공유여부】"));
    line("【도 착 시 간】 : " + common::FmtDateTimeHMS(s[value::record(2)]) +
         choice(s.mark("S_NAME8"), " CPR 여부】"));
    line("【진 료 시 간】 : " + common::FmtDateTimeHMS(s["S_CODE1"]) + " " +
         choice(s.mark("S_NAME12"), " 응급수술여부】"));
    const auto [visit, visitDetail] = visitType(s);
    line("【내 원 형 태】 : " + visit + " " + visitDetail);
    line("【의료기관종류】: " + s.group("213", "S_STRING32"));
    line("【내 원 수 단】: " + s.group("216", kArrivalMeans));
    heading("【환 자 상 태】 ");
    line(" 의식상태 : " + Consciousness(common::Trimmed(s["S_CODE13"])));
    line(" 활력징후 : [혈압] : " + s["S_CODE20"] + " mm  [맥박] : " + s["S_CODE18"] +
         " /분  [호흡] : " + s["S_CODE19"] + " /분  [체온] : " + s["S_CODE17"] +
         " ℃  [산소포화도] : " + s["S_STRING38"] + " %  [체중] : " + s["S_CODE21"] + " Kg");
    line("【발병일자시간】 : " + s["S_STRING9"]);
    line("【주증상1】 : " + s["S_STRING10"] + " " + s["S_STRING13"] + " " + s["S_STRING28"]);
    line("【증상2】 : " + s["S_STRING11"] + " " + s["S_STRING14"] + " " + s["S_STRING29"]);
    line("【증상3】 : " + s["S_STRING12"] + " " + s["S_STRING15"] + " " + s["S_STRING30"]);
    line("【증상】 : " + s["S_CODE12"]);
    const auto [disease, diseaseDetail] =
        withDetail(s, "S_CODE26", kDiseaseType, kDiseaseTypeWithDetail, "S_CODE27");
    line("【질병구분】 : " + disease + " " + diseaseDetail);
    line("【의도성여부】 : " + s.group("206", "S_STRING16"));
    line("【손상기전】 : " + s.group("207", "S_STRING17"), 3);

    // 내원 교육
    heading(banner("내 원 교 육"));
    line(choice(educated(s, 1), " 침상 낙상 방지】") + choice(educated(s, 2), " 보호자 1인 상주】"), 1);
    line(choice(educated(s, 3), " 귀중품 관리 및 도난방지】") + choice(educated(s, 4), " 접수안내】"), 3);

    // 퇴원 정보. The discharge type's text is its code's name in group "204".
    heading(banner("퇴 원 정 보"));
    line("【퇴원시간】 : " + s["S_CODE15"] + "【퇴원결정시간】 : " + s["S_STRING1"]);
    line("【질환분류】 : " + s.group("205", "S_NAME10") +
         "【진료과】 : " + codes.departments.nameOf(s["S_NAME9"]));
    line("【퇴원형태】 : " + s.group("204", "S_NAME5") + " " + choice(Sheet::marker(pregnant), " 임산부】"));
    t.add(dischargeSection(s));
    line(choice(s.mark("S_STRING45"), " 격리】") + choice(s.mark("S_STRING46"), " 음압】"));
    line(choice(s.mark("S_STRING40"), " 응급구역대상】"));
    line(std::string("【  선별료") + s.mark("S_STRING47") + " Y" + s.mark("S_STRING47", "N") + " N  】", 3);

    // 사고 정보
    heading(banner("사 고 정 보"));
    line("【사고종류】 : " + sheet::TextOf(kAccidentType, s.number("S_CODE7")));
    line("【비  고】 : " + s["S_CODE8"]);
    line("【발생일시】 : " + s["S_CODE9"]);
    line("【발생장소】 : " + s["S_CODE10"]);
    line("【제보자】 : " + s["S_CODE11"], 3);

    // 기타 정보
    heading(banner("기 타 정 보"));
    line("【1.긴급연락처】 : " + s["S_CODE22"]);
    line("【2.긴급연락처】 : " + s["S_CODE23"]);
    line("【3.긴급연락처】 : " + s["S_CODE24"]);
    line("【▶작성간호사】 : " + s["S_CODE16"]);
    line(choice(s.mark("S_CODE25"), " 퇴실처리 】"), 3);

    // 추가 정보
    heading(banner("추 가 정 보"));
    line("【교통사고담당자】 : " + s.group("212", kTrafficOfficer));
    heading("【교통사고보호장구】");
    line(std::string(s.mark("S_STRING19")) + " 안전밸트  " + s.mark("S_STRING20") + " 이동용좌석");
    line(std::string(s.mark("S_STRING21")) + " 전면에어백  " + s.mark("S_STRING22") + " 측면에어백");
    line(std::string(s.mark("S_STRING23")) + " 무릎및관절보호대");
    line(std::string(s.mark("S_STRING24")) + " 헬맷  " + s.mark("S_STRING25") + " 전혀착용않함");
    t.add(std::string(s.mark("S_STRING26")) + " 비해당  " + s.mark("S_STRING27") + " 미상");
    return t;
}

} // namespace medrec::reports::er_sheet

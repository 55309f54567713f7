#include "LongStay.h"

#include "Cp949.h"

#include <nlohmann/json.hpp>

#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <span>

namespace medrec::testing::long_stay {

namespace {

using nlohmann::json;
using std::chrono::days;
using std::chrono::sys_days;

constexpr const char *kName = "한서연";
constexpr const char *kResNo = "580214-2******";
constexpr const char *kSexAge = "F/66Y";
constexpr const char *kDept = "내과";
constexpr const char *kDoctor = "최영민";
constexpr const char *kWardRoom = "61/6105";
constexpr const char *kEmergencyTime = "1930";

const sys_days kEmergency = sys_days{std::chrono::year{2024} / 3 / 2};
const sys_days kAdmission = sys_days{std::chrono::year{2024} / 3 / 4};

// About twenty pages of each flowsheet: blood sugar fills a page line a day, body measurements
// a line for two entries, intake and output four lines a day.
constexpr int kStayDays = 850;
constexpr int kIntakeOutputDays = 116;

std::string digits(sys_days day)
{
    const std::chrono::year_month_day ymd{day};
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()));
    return text;
}

std::string dashed(sys_days day)
{
    const std::string d = digits(day);
    return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
}

// "HH:MM" of minutes after midnight.
std::string clock(int minutes)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60 % 24, minutes % 60);
    return text;
}

const std::string kDischarge = digits(kAdmission + days{kStayDays});

// Variation that is the same every run.
class Jitter
{
public:
    explicit Jitter(unsigned seed) : m_rng(seed) {}
    int between(int low, int high) { return low + int(m_rng() % unsigned(high - low + 1)); }
    std::string decimal(int lowTenths, int highTenths)
    {
        const int v = between(lowTenths, highTenths);
        return std::to_string(v / 10) + "." + std::to_string(v % 10);
    }
    const char *pick(std::span<const char *const> items) { return items[m_rng() % items.size()]; }

private:
    std::mt19937 m_rng;
};

// What one "MD_RECOD_L3" reply of the standard buffer carries: 65,532 bytes less its header
// and room for the status text. Every row goes out with all sixty fields, each value an entry
// of nine bytes beside its CP949 bytes.
class StandardReply
{
public:
    // Adds the row when it still fits; false (and nothing added) when the reply is full.
    bool add(json &rows, json row)
    {
        std::size_t bytes = kFields * kEntryBytes;
        for (const auto &item : row.items())
            bytes += text::cp949Width(item.value().get<std::string>());
        if (m_used + bytes > kCapacity)
            return false;
        m_used += bytes;
        rows.push_back(std::move(row));
        return true;
    }

private:
    static constexpr std::size_t kCapacity = 65532 - 24 - 512;
    static constexpr std::size_t kFields = 60;
    static constexpr std::size_t kEntryBytes = 9;
    std::size_t m_used = 0;
};

const std::array<const char *, 4> kNurses = {"이지은", "박소연", "김하늘", "정유진"};

const std::array<const char *, 8> kProgressNotes = {
    "S) 밤사이 기침 줄었고 가래 양 감소함. 식사 절반 정도 섭취.\r\n"
    "O) BT 36.9℃, BP 128/76mmHg, SpO2 96%(room air). 양측 하폐야 수포음 감소.\r\n"
    "A) 지역사회획득 폐렴, 호전 중. 제2형 당뇨병, 혈당 조절 불량.\r\n"
    "P) 항생제 유지, 흉부 X선 추적 예정. 인슐린 용량 조정.",
    "S) 식후 속쓰림 호소, 그 외 특이 호소 없음.\r\n"
    "O) 복부 부드러움, 압통 없음. 공복 혈당 182mg/dL.\r\n"
    "A) 위식도 역류 의심, 혈당 상승 추세.\r\n"
    "P) PPI 추가, 기저 인슐린 2단위 증량. 당뇨 교육 의뢰.",
    "S) 보행 시 숨참 호소(계단 한 층).\r\n"
    "O) RR 22회/분, SpO2 93%, 양측 발목 부종 1+.\r\n"
    "A) 체액 과다 가능성.\r\n"
    "P) 이뇨제 시작, 섭취량·배설량 측정 및 매일 체중 측정. 전해질 내일 재검.",
    "혈액검사 결과: WBC 8,900, CRP 2.1(이전 6.8), Cr 1.1, K 4.2. "
    "염증 수치 호전 중이며 신기능 안정적임. 현재 치료 유지.",
    "보호자 면담함. 현재 상태와 향후 치료 계획(재활치료 병행, 장기 입원 가능성) 설명함. "
    "보호자 이해하고 동의함.",
    "S) 특이 호소 없음. 수면 양호.\r\n"
    "O) 활력징후 안정. 혈당 120~190mg/dL 범위.\r\n"
    "A) 전반적으로 안정적.\r\n"
    "P) 현 치료 유지, 재활의학과 협진 의뢰.",
    "야간 당직: 22시경 저혈당 증상(식은땀, 떨림) 있어 혈당 측정 58mg/dL. "
    "50% 포도당 20mL 정주 후 15분 뒤 혈당 132mg/dL로 회복. 취침 전 간식 처방함.",
    "흉부 X선 추적: 우하엽 침윤 음영 감소. 경구 항생제로 전환 예정. 투약 기간 총 14일로 계획.",
};

const char *const kNightNote = kProgressNotes[6];

const std::array<const char *, 10> kWardNotes = {
    "활력징후 측정함. BP 124/78mmHg, PR 76회/분, RR 18회/분, BT 36.8℃.",
    "식전 혈당 168mg/dL 측정, 처방대로 속효성 인슐린 4단위 피하주사함.",
    "기침 시 가래 배출 격려함. 흡인 필요 없음. 체위 변경 2시간마다 시행함.",
    "보행 보조하에 병동 복도 2회 산책함. 어지러움 호소 없음.",
    "수액(N/S 1L) 60cc/hr로 주입 중, 주입 부위 발적·부종 없음.",
    "낙상 위험 재평가함(Morse 45점). 침상 난간 올리고 호출벨 위치 확인함.",
    "취침 전 투약함. 수면 중 특이 사항 없음.",
    "보호자에게 당뇨 식이 교육 시행함. 간식 섭취 주의 설명함.",
    "발뒤꿈치 피부 상태 확인함. 발적 없음, 욕창 예방 매트리스 적용 중.",
    "흉부 X선 촬영 위해 휠체어로 영상의학과 다녀옴.",
};

const std::array<const char *, 10> kEmergencyNotes = {
    "활력징후 측정: BP 142/88mmHg, PR 104회/분, RR 24회/분, BT 38.4℃, SpO2 92%.",
    "비강 캐뉼라로 산소 2L/분 적용함. 적용 후 SpO2 95%.",
    "혈액배양 2세트 채취 후 항생제(세프트리악손 2g) 정맥 투여함.",
    "객담 배출 격려함. 누런 가래 소량 배출됨.",
    "담당의 진찰 후 혈액검사 & 흉부 CT 처방 확인함. 이동 침대로 CT실 다녀옴.",
    "혈당 246mg/dL 측정, 처방대로 속효성 인슐린 6단위 피하주사함.",
    "입원 병실 배정 대기 중임을 환자와 보호자에게 설명함.",
    "해열제(아세트아미노펜 1g) 정맥 투여함. 30분 후 BT 37.6℃.",
    "배뇨 300mL 확인함. 섭취·배설량 측정 시작함.",
    "통증 호소 없음. 침상 안정 중이며 보호자 옆에 있음.",
};

const std::array<const char *, 3> kConsciousness = {"명료", "명료", "drowsy"};

// A daily round note, and every third night the duty doctor's.
json progressNotes()
{
    json rows = json::array();
    StandardReply reply;
    Jitter jitter(1);
    auto note = [](const std::string &date, const std::string &time, const char *text, const char *signer) {
        return json{{"S_STRING7", date},    {"S_STRING8", "1"}, {"S_STRING9", time}, {"S_STRING10", text},
                    {"S_STRING11", signer}, {"S_STRING12", ""}, {"S_STRING13", ""}};
    };
    for (int day = 0;; ++day) {
        const std::string date = digits(kAdmission + days{day});
        json round = note(date, clock(jitter.between(480, 560)), jitter.pick(kProgressNotes), kDoctor);
        if (day == 0)
            round.update({{"S_STRING1", kPatNo},
                          {"S_STRING2", kName},
                          {"S_STRING3", kResNo},
                          {"S_STRING4", kSexAge},
                          {"S_STRING5", kDoctor},
                          {"S_STRING6", kWardRoom},
                          {"S_STRING15", kDept},
                          {"S_STRING16", kDoctor},
                          {"S_STRING17", kDischarge}});
        if (!reply.add(rows, std::move(round)))
            return rows;
        if (day % 3 == 2 &&
            !reply.add(rows, note(date, clock(jitter.between(1320, 1420)), kNightNote, "박전공")))
            return rows;
    }
}

// Where a nursing record keeps a note's date, time, text, nurse and number.
struct NoteFields
{
    const char *date, *time, *text, *nurse, *number;
};

// A note every `minGap` to `maxGap` minutes from `firstMinute` of `firstDay`, the header on
// the first, the nurse of each eight-hour shift.
json nursingNotes(const NoteFields &f, sys_days firstDay, int firstMinute, int minGap, int maxGap,
                  std::span<const char *const> texts, Jitter jitter, const json &header)
{
    json rows = json::array();
    StandardReply reply;
    for (int minute = firstMinute, seq = 1;; minute += jitter.between(minGap, maxGap), ++seq) {
        char number[8];
        std::snprintf(number, sizeof number, "%02d", seq % 100);
        json note = {{f.date, digits(firstDay + days{minute / (24 * 60)})},
                     {f.time, clock(minute)},
                     {f.text, jitter.pick(texts)},
                     {f.nurse, kNurses[std::size_t(minute / 480 % 4)]},
                     {f.number, number}};
        if (seq == 1)
            note.update(header);
        if (!reply.add(rows, std::move(note)))
            return rows;
    }
}

// Day and night, every two to five hours.
json wardNursingNotes()
{
    const json header = {{"S_STRING1", kPatNo},   {"S_STRING2", kSexAge}, {"S_STRING3", kName},
                         {"S_STRING4", kResNo},   {"S_STRING5", kDept},   {"S_STRING6", kDoctor},
                         {"S_STRING7", kWardRoom}};
    return nursingNotes({"S_STRING8", "S_STRING11", "S_STRING12", "S_STRING13", "S_STRING14"}, kAdmission,
                        10 * 60 + 20, 120, 300, kWardNotes, Jitter(2), header);
}

// Every fifteen to forty minutes while the patient waits for a bed.
json emergencyNursingNotes()
{
    return nursingNotes({"S_STRING5", "S_STRING8", "S_STRING9", "S_STRING10", "S_STRING11"}, kEmergency,
                        19 * 60 + 30, 15, 40, kEmergencyNotes, Jitter(3), json::object());
}

// Every four hours.
json vitalSigns()
{
    json rows = json::array();
    StandardReply reply;
    Jitter jitter(4);
    for (int minute = 10 * 60;; minute += 4 * 60) {
        const bool stool = minute % (24 * 60) == 14 * 60 && jitter.between(0, 1) == 1;
        json row = {{"S_STRING1", dashed(kAdmission + days{minute / (24 * 60)}) + " " + clock(minute)},
                    {"S_STRING2", jitter.decimal(362, 378)},
                    {"S_STRING3", std::to_string(jitter.between(64, 96))},
                    {"S_STRING4", std::to_string(jitter.between(16, 22))},
                    {"S_STRING5", std::to_string(jitter.between(110, 150))},
                    {"S_STRING6", std::to_string(jitter.between(62, 92))},
                    {"S_STRING7", stool ? "1" : ""},
                    {"S_STRING8", stool ? "정상" : ""},
                    {"S_STRING9", std::to_string(jitter.between(92, 99))},
                    {"S_STRING10", jitter.pick(kConsciousness)}};
        if (!reply.add(rows, std::move(row)))
            return rows;
    }
}

// Before breakfast, lunch and supper, and at bedtime.
json bloodSugars()
{
    json rows = json::array();
    Jitter jitter(5);
    const std::array<int, 4> times = {6 * 60 + 30, 11 * 60 + 30, 17 * 60, 21 * 60 + 30};
    for (int day = 0, seq = 1; day < kStayDays; ++day)
        for (int time : times)
            rows.push_back({{"L_SEQNO1", seq++},
                            {"S_STRING7", dashed(kAdmission + days{day})},
                            {"S_STRING2", clock(time + jitter.between(0, 20))},
                            {"S_NUMVAL1", std::to_string(jitter.between(70, 280))}});
    return rows;
}

// Weight every morning and evening, the height at admission; the abdominal girth on a round
// of its own once a week.
json bodyMeasurements()
{
    json rows = json::array();
    Jitter jitter(6);
    auto add = [&rows](int day, int time, std::string weight, std::string height, std::string girth) {
        rows.push_back({{"L_SEQNO1", int(rows.size()) + 1},
                        {"S_STRING2", dashed(kAdmission + days{day}) + " " + clock(time)},
                        {"S_NUMVAL3", std::move(weight)},
                        {"S_NUMVAL5", std::move(height)},
                        {"S_NUMVAL6", std::move(girth)},
                        {"S_NUMVAL7", ""},
                        {"S_NUMVAL8", ""}});
    };
    for (int day = 0; day < kStayDays; ++day) {
        add(day, 6 * 60, jitter.decimal(571, 589), day == 0 ? "158.2" : "", "");
        if (day % 7 == 0)
            add(day, 10 * 60, "", "", jitter.decimal(860, 900));
        add(day, 18 * 60, jitter.decimal(571, 589), "", "");
    }
    return rows;
}

// Each shift's intake and output.
json intakeOutput()
{
    json rows = json::array();
    Jitter jitter(7);
    auto volume = [&jitter](int low, int high) { return std::to_string(jitter.between(low, high) * 10); };
    for (int day = 0, seq = 1; day < kIntakeOutputDays; ++day)
        for (int shift = 1; shift <= 3; ++shift)
            rows.push_back({{"L_SEQNO1", seq++},
                            {"S_STRING1", digits(kAdmission + days{day})},
                            {"S_NUMVAL13", std::to_string(shift)},
                            {"S_NUMVAL1", volume(0, 60)},
                            {"S_STRING3", std::to_string(jitter.between(0, 3))},
                            {"S_NUMVAL2", volume(20, 50)},
                            {"S_NUMVAL9", day < 3 && shift == 2 ? "320" : "0"},
                            {"S_NUMVAL10", volume(30, 90)},
                            {"S_NUMVAL6", std::to_string(jitter.between(1, 4))},
                            {"S_NUMVAL11", day < 10 ? volume(2, 8) : "0"},
                            {"S_NUMVAL12", "0"},
                            {"S_NUMVAL3", "0"},
                            {"S_NUMVAL8", shift == 2 ? volume(10, 25) : "0"},
                            {"S_NUMVAL7", shift == 2 ? "1" : "0"}});
    return rows;
}

json flowsheetRecord(const char *kind)
{
    return {{"kind", kind},
            {"columns", {kPatNo, kAdmissionDay, kDischarge, kDept, kDoctor, kWardRoom, "I", kDoctor}}};
}

json ioCheckReply(const char *type, const char *from, const char *to, const char *last, json rows)
{
    return {{"service", "MD_IOCHK_L1"},
            {"key",
             {{"S_TYPE1", type}, {"S_TYPE2", kPatNo}, {"S_TYPE3", from}, {"S_TYPE4", to}, {"S_TYPE5", last}}},
            {"rows", std::move(rows)}};
}

} // namespace

std::string Data()
{
    const std::string emergencyDate = std::string(kEmergencyDay) + kEmergencyTime;
    const json emergency = {
        {"date", emergencyDate},
        {"kind", "emergency"},
        {"department", "EM"},
        {"attending", "김도현"},
        {"records",
         {{{"kind", "MDNERECT"},
           {"columns", {kPatNo, kEmergencyDay, kEmergencyTime, "응급의학과", "김도현", kDoctor, "건강보험"}},
           {"content", emergencyNursingNotes()}}}}};
    const json admission = {
        {"date", std::string(kAdmissionDay) + "1000"},
        {"kind", "admission"},
        {"department", "IM"},
        {"ward", "61"},
        {"room", "6105"},
        {"discharge", kDischarge},
        {"attending", kDoctor},
        {"records",
         {{{"kind", "MDPGNOTT"},
           {"columns", {kPatNo, kAdmissionDay, kDischarge, kDept, kDoctor}},
           {"contentKey", {kAdmissionDay, "", "", ""}},
           {"content", progressNotes()}},
          {{"kind", "MDNRRECT"},
           {"columns", {kPatNo, kAdmissionDay, kDischarge, "61", "6105", kDept, "건강보험"}},
           {"content", wardNursingNotes()}},
          {{"kind", "MDVITALT"},
           {"columns", {kPatNo, kAdmissionDay, kDischarge, kDept, kDoctor, "I", kWardRoom}},
           {"contentKey", {kAdmissionDay, "", "", ""}},
           {"content", vitalSigns()}},
          flowsheetRecord("MDIOCHKT_BS"),
          flowsheetRecord("MDIOCHKT_WE"),
          flowsheetRecord("MDIOCHKT_IO")}}};
    const json patient = {{"number", kPatNo},
                          {"name", kName},
                          {"resNoFront", "580214"},
                          {"resNoBack", "2345671"},
                          {"birthDate", "19580214"},
                          {"sex", "F"},
                          {"mobileTel", "01048213307"},
                          {"zipCode", "03932"},
                          {"address", "서울특별시 마포구 월드컵북로 235, 804호"},
                          {"visits", {emergency, admission}}};
    const json replies = {
        {{"service", "MD_IPDLS_E1"},
         {"key", {{"S_TYPE2", kPatNo}}},
         {"rows",
          {{{"S_CODE1", kPatNo},
            {"S_CODE2", kName},
            {"S_CODE3", kAdmissionDay},
            {"S_CODE6", kDept},
            {"S_CODE22", "61"},
            {"S_CODE23", "6105"}}}}},
        ioCheckReply("7", kAdmissionDay, kDischarge.c_str(), "", bloodSugars()),
        ioCheckReply("K", "", kAdmissionDay, kDischarge.c_str(), bodyMeasurements()),
        ioCheckReply("P", kAdmissionDay, kDischarge.c_str(), "", intakeOutput()),
    };
    return json{{"patients", {patient}}, {"serviceReplies", replies}}.dump();
}

} // namespace medrec::testing::long_stay

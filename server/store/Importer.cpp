#include "Importer.h"

#include "Catalogue.h"
#include "Cp949.h"
#include "ImportNode.h"
#include "ReplyRows.h"
#include "Sqlite.h"
#include "StoredReplies.h"
#include "ValueChecks.h"
#include "codec/Limits.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <memory>
#include <regex>
#include <set>

namespace medrec::server::store {

namespace {

using import::ImportError;
using import::Node;
using import::excerpt;
using import::TextKind;

// Widths in CP949 bytes.
constexpr std::size_t kCodeBytes = 20;
constexpr std::size_t kNameBytes = 100;
constexpr std::size_t kKeyBytes = 100;
constexpr std::size_t kAddressBytes = 300;
constexpr std::size_t kTitlesBytes = 1000;
constexpr std::size_t kValueBytes = 16000;

// What one row may take: a record or stored reply of any length goes in as many replies as
// it needs, but each row must fit one reply of the standard buffer on its own, as the host
// sends it (ReplyRows: its non-empty texts, its integers, the count field). The 512 bytes
// kept back hold "STATLIN", the continuation field and the count field's entry.
constexpr std::size_t kRowBytes = 65532 - 24 - 512;

// Services served from their own tables; their data has its own place in the document.
const std::set<std::string, std::less<>> kCoreServices = {
    "MD_PMEDH_S1", "MD_RECOD_L1", "MD_RECOD_L2", "MD_RECOD_L3", "MD_RECOD_U1",
    "MD_PATBA_L2", "MD_DEPTC_L1", "MD_WDRMC_L1", "MD_MCOMC_L1"};

// "S_STRING12" -> 12 when the name is "S_STRING" followed by 1..60, else 0.
int contentFieldNumber(std::string_view name)
{
    constexpr std::string_view prefix = "S_STRING";
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return 0;
    const std::string_view digits = name.substr(prefix.size());
    if (!isDigits(digits) || digits.size() > 2 || digits[0] == '0')
        return 0;
    const int n = std::stoi(std::string(digits));
    return n >= 1 && n <= static_cast<int>(kContentFields) ? n : 0;
}

bool isFieldName(const std::string &name)
{
    static const std::regex pattern("[SL]_[A-Z]+[0-9]*");
    return std::regex_match(name, pattern);
}

bool isServiceName(const std::string &name)
{
    static const std::regex pattern("[A-Z]{2}_[A-Z0-9]{5}_[A-Z0-9]{2}");
    return std::regex_match(name, pattern);
}

class Importer
{
public:
    explicit Importer(sqlite3 *db) : m_db(db) {}

    void run(const Node &doc, const ImportOptions &options)
    {
        doc.requireObject({"departments", "wards", "commonCodes", "recordKinds", "patients", "serviceReplies"});
        if (options.replace)
            clearCatalogue();
        // Fixed order, so that what an item refers to is there before it.
        forEach(doc, "departments", [this](const Node &n) { department(n); });
        forEach(doc, "wards", [this](const Node &n) { ward(n); });
        forEach(doc, "commonCodes", [this](const Node &n) { commonCodeGroup(n); });
        forEach(doc, "recordKinds", [this](const Node &n) { recordKind(n); });
        forEach(doc, "patients", [this](const Node &n) { patient(n); });
        forEach(doc, "serviceReplies", [this](const Node &n) { serviceReply(n); });
    }

    const ImportSummary &summary() const { return m_summary; }

private:
    template <typename F>
    static void forEach(const Node &parent, std::string_view name, F each)
    {
        const std::size_t n = parent.arraySize(name);
        if (n == 0)
            return;
        const Node list = parent.member(name);
        for (std::size_t i = 0; i < n; ++i)
            each(list.element(i));
    }

    bool exists(std::string_view sql, std::initializer_list<std::string_view> params)
    {
        Statement st(m_db, sql);
        int i = 1;
        for (std::string_view p : params)
            st.bind(i++, p);
        return st.step();
    }

    void clearCatalogue()
    {
        for (const char *table : {"service_reply_fields", "service_replies", "record_content", "records", "visits",
                                  "patients", "record_kinds", "common_codes", "common_code_groups", "rooms", "wards",
                                  "departments"})
            execute(m_db, std::string("DELETE FROM ") + table);
    }

    void department(const Node &n)
    {
        n.requireObject({"code", "name"});
        const std::string code = n.text("code", kCodeBytes, true);
        const std::string name = n.text("name", kNameBytes, true);
        if (exists("SELECT 1 FROM departments WHERE code = ?1", {code}))
            n.member("code").fail("department " + excerpt(code) + " is already there");
        Statement st(m_db, "INSERT INTO departments (code, name, sort_order) "
                           "VALUES (?1, ?2, (SELECT coalesce(max(sort_order), 0) + 1 FROM departments))");
        st.bind(1, code).bind(2, name).run();
        ++m_summary.departments;
    }

    void ward(const Node &n)
    {
        n.requireObject({"code", "name", "rooms"});
        const std::string code = n.text("code", kCodeBytes, true);
        const std::string name = n.text("name", kNameBytes, true);
        if (exists("SELECT 1 FROM wards WHERE code = ?1", {code}))
            n.member("code").fail("ward " + excerpt(code) + " is already there");
        Statement st(m_db, "INSERT INTO wards (code, name, sort_order) "
                           "VALUES (?1, ?2, (SELECT coalesce(max(sort_order), 0) + 1 FROM wards))");
        st.bind(1, code).bind(2, name).run();
        ++m_summary.wards;

        const std::size_t rooms = n.arraySize("rooms");
        Statement room(m_db, "INSERT INTO rooms (ward_code, room_no, sort_order) VALUES (?1, ?2, ?3)");
        std::set<std::string> seen;
        for (std::size_t i = 0; i < rooms; ++i) {
            const Node r = n.member("rooms").element(i);
            const std::string no = r.asText(kCodeBytes);
            if (no.empty())
                r.fail("must not be empty");
            if (!seen.insert(no).second)
                r.fail("room " + excerpt(no) + " appears twice in this ward");
            room.reset();
            room.bind(1, code).bind(2, no).bind(3, static_cast<std::int64_t>(i + 1)).run();
            ++m_summary.rooms;
        }
    }

    void commonCodeGroup(const Node &n)
    {
        n.requireObject({"group", "subCode", "name", "entries"});
        const std::string group = n.text("group", kCodeBytes, true);
        std::string sub = n.text("subCode", kCodeBytes, false);
        if (sub.empty())
            sub = "000";
        const std::string name = n.text("name", kNameBytes, true);
        if (exists("SELECT 1 FROM common_code_groups WHERE group_code = ?1 AND sub_code = ?2", {group, sub}))
            n.member("group").fail("common-code group " + excerpt(group) + "/" + excerpt(sub) + " is already there");
        Statement st(m_db, "INSERT INTO common_code_groups (group_code, sub_code, name) VALUES (?1, ?2, ?3)");
        st.bind(1, group).bind(2, sub).bind(3, name).run();

        const std::size_t entries = n.arraySize("entries");
        std::set<std::string> seen;
        for (std::size_t i = 0; i < entries; ++i)
            commonCode(n.member("entries").element(i), group, sub, i, seen);
    }

    void commonCode(const Node &n, const std::string &group, const std::string &sub, std::size_t index,
                    std::set<std::string> &seen)
    {
        n.requireObject({"code", "name", "shortName", "seq", "texts", "counts"});
        const std::string code = n.text("code", kCodeBytes, true);
        if (!seen.insert(code).second)
            n.member("code").fail("code " + excerpt(code) + " appears twice in this group");
        const std::string name = n.text("name", kNameBytes, true);
        const std::string shortName = n.text("shortName", kNameBytes, false);
        const std::int64_t seq = n.has("seq") ? n.member("seq").asInteger(0, INT32_MAX)
                                              : static_cast<std::int64_t>(index + 1);
        std::array<std::string, 8> texts{};
        if (n.has("texts")) {
            const Node t = n.member("texts");
            t.requireObject({"S_STRING7", "S_STRING8", "S_STRING9", "S_STRING10", "S_STRING11", "S_STRING12",
                             "S_STRING13", "S_STRING14"});
            for (int f = 7; f <= 14; ++f)
                texts[static_cast<std::size_t>(f - 7)] = t.text("S_STRING" + std::to_string(f), kKeyBytes, false);
        }
        std::array<std::int64_t, 5> counts{};
        if (n.has("counts")) {
            const Node c = n.member("counts");
            c.requireObject({"L_CNT1", "L_CNT2", "L_CNT3", "L_CNT4", "L_CNT5"});
            for (int f = 1; f <= 5; ++f) {
                const std::string field = "L_CNT" + std::to_string(f);
                if (c.has(field))
                    counts[static_cast<std::size_t>(f - 1)] = c.member(field).asInteger(INT32_MIN, INT32_MAX);
            }
        }
        Statement st(m_db, R"SQL(
            INSERT INTO common_codes (group_code, sub_code, code, name, short_name, seq,
                text7, text8, text9, text10, text11, text12, text13, text14, cnt1, cnt2, cnt3, cnt4, cnt5)
            VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19))SQL");
        st.bind(1, group).bind(2, sub).bind(3, code).bind(4, name).bind(5, shortName).bind(6, seq);
        for (int i = 0; i < 8; ++i)
            st.bind(7 + i, texts[static_cast<std::size_t>(i)]);
        for (int i = 0; i < 5; ++i)
            st.bind(15 + i, counts[static_cast<std::size_t>(i)]);
        st.run();
        ++m_summary.commonCodes;
    }

    void recordKind(const Node &n)
    {
        n.requireObject({"code", "name", "formCode", "titles"});
        const std::string code = n.text("code", kCodeBytes, true);
        const std::string name = n.text("name", kNameBytes, true);
        const std::string formCode = n.text("formCode", kNameBytes, false);
        std::string titles = n.text("titles", kTitlesBytes, false);
        const auto bars = static_cast<std::size_t>(std::count(titles.begin(), titles.end(), '|'));
        if (bars >= kRecordColumns)
            n.member("titles").fail("has more than " + std::to_string(kRecordColumns)
                                    + " titles; the record list has ten columns");
        // The client's grid keeps the old title of every column the new line does not reach,
        // so a line always names all ten (empty ones included).
        titles.append(kRecordColumns - 1 - bars, '|');
        if (exists("SELECT 1 FROM record_kinds WHERE code = ?1", {code}))
            n.member("code").fail("record kind " + excerpt(code) + " is already there");
        Statement st(m_db, "INSERT INTO record_kinds (code, name, form_code, titles, sort_order) "
                           "VALUES (?1, ?2, ?3, ?4, (SELECT coalesce(max(sort_order), 0) + 1 FROM record_kinds))");
        st.bind(1, code).bind(2, name).bind(3, formCode).bind(4, titles).run();
        ++m_summary.recordKinds;
    }

    void patient(const Node &n)
    {
        n.requireObject({"number", "name", "resNoFront", "resNoBack", "birthDate", "sex", "homeTel", "mobileTel",
                         "zipCode", "address", "extra", "visits"});
        const std::string patno = n.text("number", kCodeBytes, true);
        if (!isPatientNumber(patno))
            n.member("number").fail(excerpt(patno)
                                    + " is not a patient number of eight digits (pad shorter ones with zeros, "
                                      "e.g. \"00001234\")");
        if (exists("SELECT 1 FROM patients WHERE patno = ?1", {patno}))
            n.member("number").fail("patient " + excerpt(patno) + " is already there");
        const std::string name = n.text("name", kNameBytes, true);
        const std::string resFront = digitsMember(n, "resNoFront", 6);
        const std::string resBack = digitsMember(n, "resNoBack", 7);
        const std::string birth = n.text("birthDate", kCodeBytes, false);
        if (!birth.empty() && !isDate(birth))
            n.member("birthDate").fail(excerpt(birth) + " is not a date YYYYMMDD");
        const std::string sex = n.text("sex", kCodeBytes, false);
        if (!sex.empty() && sex != "M" && sex != "F")
            n.member("sex").fail(excerpt(sex) + " is neither \"M\" nor \"F\"");
        const std::string homeTel = phoneMember(n, "homeTel");
        const std::string mobileTel = phoneMember(n, "mobileTel");
        const std::string zip = n.text("zipCode", kCodeBytes, false);
        const std::string address = n.text("address", kAddressBytes, false);

        static constexpr std::array<int, 7> kExtra = {7, 9, 12, 14, 15, 16, 17};
        std::array<std::string, 7> extra{};
        if (n.has("extra")) {
            const Node e = n.member("extra");
            e.requireObject({"S_STRING7", "S_STRING9", "S_STRING12", "S_STRING14", "S_STRING15", "S_STRING16",
                             "S_STRING17"});
            for (std::size_t i = 0; i < kExtra.size(); ++i)
                extra[i] = e.text("S_STRING" + std::to_string(kExtra[i]), kKeyBytes, false);
        }

        Statement st(m_db, R"SQL(
            INSERT INTO patients (patno, name, res_front, res_back, birth_date, sex, home_tel, mobile_tel,
                zip_code, address, extra7, extra9, extra12, extra14, extra15, extra16, extra17)
            VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17))SQL");
        int i = 1;
        for (const std::string *v : {&patno, &name, &resFront, &resBack, &birth, &sex, &homeTel, &mobileTel, &zip,
                                     &address})
            st.bind(i++, *v);
        for (const std::string &v : extra)
            st.bind(i++, v);
        st.run();
        ++m_summary.patients;

        forEach(n, "visits", [&](const Node &v) { visit(v, patno); });
    }

    static std::string digitsMember(const Node &n, std::string_view name, std::size_t length)
    {
        const std::string v = n.text(name, kCodeBytes, false);
        if (!v.empty() && (v.size() != length || !isDigits(v)))
            n.member(name).fail(excerpt(v) + " must be " + std::to_string(length) + " digits");
        return v;
    }

    static std::string phoneMember(const Node &n, std::string_view name)
    {
        const std::string v = n.text(name, kCodeBytes, false);
        for (char c : v) {
            if ((c < '0' || c > '9') && c != '-')
                n.member(name).fail(excerpt(v) + " may hold only digits and \"-\"");
        }
        return v;
    }

    void visit(const Node &n, const std::string &patno)
    {
        n.requireObject({"date", "kind", "department", "ward", "room", "discharge", "attending", "records"});
        const std::string at = n.text("date", kCodeBytes, true);
        if (!isDateTime(at))
            n.member("date").fail(excerpt(at) + " is not a date and time YYYYMMDDHHNN or YYYYMMDDHHNNSS");
        const std::string kindText = n.text("kind", kCodeBytes, true);
        std::string kind;
        if (kindText == "admission")
            kind = "I";
        else if (kindText == "outpatient")
            kind = "O";
        else if (kindText == "emergency")
            kind = "E";
        else
            n.member("kind").fail(excerpt(kindText) + " is none of \"admission\", \"outpatient\", \"emergency\"");

        const std::string dept = n.text("department", kCodeBytes, true);
        if (!exists("SELECT 1 FROM departments WHERE code = ?1", {dept}))
            n.member("department").fail("no department " + excerpt(dept));
        const std::string ward = n.text("ward", kCodeBytes, false);
        if (!ward.empty() && !exists("SELECT 1 FROM wards WHERE code = ?1", {ward}))
            n.member("ward").fail("no ward " + excerpt(ward));
        const std::string room = n.text("room", kCodeBytes, false);
        if (!room.empty()) {
            if (ward.empty())
                n.member("room").fail("a room needs its ward");
            if (!exists("SELECT 1 FROM rooms WHERE ward_code = ?1 AND room_no = ?2", {ward, room}))
                n.member("room").fail("ward " + excerpt(ward) + " has no room " + excerpt(room));
        }
        const std::string discharge = n.text("discharge", kCodeBytes, false);
        if (!discharge.empty()) {
            if (!isVisitDigits(discharge))
                n.member("discharge").fail(excerpt(discharge) + " is not a date YYYYMMDD or a date and time");
            if (discharge.substr(0, 8) < at.substr(0, 8))
                n.member("discharge").fail("discharge " + excerpt(discharge) + " lies before the visit " + excerpt(at));
        }
        const std::string attending = n.text("attending", kNameBytes, false);
        if (exists("SELECT 1 FROM visits WHERE patno = ?1 AND visit_at = ?2", {patno, at}))
            n.member("date").fail("the patient already has a visit at " + excerpt(at));

        Statement st(m_db, R"SQL(
            INSERT INTO visits (patno, visit_at, kind, dept_code, ward_code, room_no, discharge_at, attending)
            VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) RETURNING id)SQL");
        st.bind(1, patno).bind(2, at).bind(3, kind).bind(4, dept);
        if (ward.empty())
            st.bindNull(5);
        else
            st.bind(5, ward);
        st.bind(6, room).bind(7, discharge).bind(8, attending);
        if (!st.step())
            n.fail("the visit was not stored");
        const std::int64_t visitId = st.integer(0);
        st.run();
        ++m_summary.visits;

        forEach(n, "records", [&](const Node &r) { record(r, visitId, patno); });
    }

    void record(const Node &n, std::int64_t visitId, const std::string &patno)
    {
        n.requireObject({"kind", "columns", "contentKey", "content"});
        const std::string kind = n.text("kind", kCodeBytes, true);
        if (!exists("SELECT 1 FROM record_kinds WHERE code = ?1", {kind}))
            n.member("kind").fail("no record kind " + excerpt(kind) + " (list it under recordKinds)");

        const Node columnsNode = n.member("columns");
        const std::size_t count = columnsNode.requireArray();
        if (count == 0 || count > kRecordColumns)
            columnsNode.fail("must hold 1 to 10 texts, not " + std::to_string(count));
        std::array<std::string, kRecordColumns> columns{};
        for (std::size_t i = 0; i < count; ++i)
            columns[i] = columnsNode.element(i).asText(kKeyBytes);
        if (columns[0] != patno)
            columnsNode.element(0).fail("column 0 is the patient number: " + excerpt(patno) + ", not "
                                        + excerpt(columns[0]));

        const std::size_t rows = n.arraySize("content");
        std::optional<std::array<std::string, 4>> contentKey;
        if (n.has("contentKey")) {
            const Node k = n.member("contentKey");
            if (k.requireArray() != 4)
                k.fail("must hold four texts (the keys sent as S_STRING2 to S_STRING5)");
            std::array<std::string, 4> key;
            for (std::size_t i = 0; i < 4; ++i)
                key[i] = k.element(i).asText(kKeyBytes);
            if (rows == 0)
                k.fail("a content key without content rows");
            contentKey = key;
        } else if (rows > 0) {
            // The print run asks for a record's content with its columns 1 and 2.
            contentKey = std::array<std::string, 4>{columns[1], columns[2], "", ""};
        }
        if (contentKey) {
            const auto &k = *contentKey;
            if (exists("SELECT 1 FROM records WHERE kind_code = ?1 AND c0 = ?2 AND ck2 = ?3 AND ck3 = ?4 "
                       "AND ck4 = ?5 AND ck5 = ?6",
                       {kind, patno, k[0], k[1], k[2], k[3]}))
                n.fail("another record of kind " + excerpt(kind) + " of this patient has content under the keys "
                       + excerpt(k[0]) + ", " + excerpt(k[1]) + ", " + excerpt(k[2]) + ", " + excerpt(k[3]));
        }

        Statement st(m_db, R"SQL(
            INSERT INTO records (visit_id, kind_code, c0, c1, c2, c3, c4, c5, c6, c7, c8, c9, ck2, ck3, ck4, ck5)
            VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16) RETURNING id)SQL");
        st.bind(1, visitId).bind(2, kind);
        for (std::size_t i = 0; i < kRecordColumns; ++i)
            st.bind(3 + static_cast<int>(i), columns[i]);
        for (int i = 0; i < 4; ++i) {
            if (contentKey)
                st.bind(13 + i, (*contentKey)[static_cast<std::size_t>(i)]);
            else
                st.bindNull(13 + i);
        }
        if (!st.step())
            n.fail("the record was not stored");
        const std::int64_t recordId = st.integer(0);
        st.run();
        ++m_summary.records;

        if (rows > 0)
            content(n.member("content"), recordId, rows);
    }

    void content(const Node &list, std::int64_t recordId, std::size_t rows)
    {
        Statement st(m_db, "INSERT INTO record_content (record_id, row_no, field_no, value) VALUES (?1, ?2, ?3, ?4)");
        ReplyRows sent("S_STRING1", ReplyRows::Trim::TrailingEmpties, nullptr);
        for (std::size_t r = 0; r < rows; ++r) {
            const Node row = list.element(r);
            if (!row.value().is_object())
                row.fail(std::string("must be an object of fields S_STRING1 to S_STRING60, not ")
                         + row.value().type_name());
            std::array<std::optional<std::string>, kContentFields> values;
            for (const auto &item : row.value().items()) {
                const int field = contentFieldNumber(item.key());
                if (field == 0)
                    row.fail("unknown field \"" + item.key() + "\" (content fields are S_STRING1 to S_STRING60)");
                values[static_cast<std::size_t>(field - 1)] = row.member(item.key()).asText(kValueBytes,
                                                                                          TextKind::Multiline);
            }
            // A row of no fields still counts as a row.
            if (!values[0])
                values[0] = std::string();
            sent.addRow();
            for (std::size_t f = 0; f < kContentFields; ++f) {
                if (!values[f])
                    continue;
                sent.text("S_STRING" + std::to_string(f + 1), *values[f]);
                st.reset();
                st.bind(1, recordId)
                    .bind(2, static_cast<std::int64_t>(r))
                    .bind(3, static_cast<std::int64_t>(f + 1))
                    .bind(4, *values[f]);
                st.run();
            }
            checkRowFits(row, sent, r);
            ++m_summary.contentRows;
        }
    }

    // Rows of any number go in as many replies as they need; one row must fit one alone.
    static void checkRowFits(const Node &row, const ReplyRows &sent, std::size_t r)
    {
        const std::size_t bytes = sent.bytes(r, r + 1);
        if (bytes > kRowBytes)
            row.fail("the row takes " + tp::withThousands(bytes) + " bytes in a reply, more than one reply of the "
                     "standard buffer holds (" + tp::withThousands(kRowBytes) + " bytes besides the header and status)");
    }

    void serviceReply(const Node &n)
    {
        n.requireObject({"service", "key", "rows"});
        const std::string service = n.text("service", kCodeBytes, true);
        if (!isServiceName(service))
            n.member("service").fail(excerpt(service) + " is not a service name such as \"MD_ADINF_S2\"");
        if (kCoreServices.count(service) != 0)
            n.member("service").fail(excerpt(service)
                                     + " is served from its own tables; its data has its own place in the document");

        const Node keyNode = n.member("key");
        if (!keyNode.value().is_object() || keyNode.value().empty())
            keyNode.fail("must be an object of one or more key fields");
        ReplyKey key;
        for (const auto &item : keyNode.value().items()) {
            if (!isFieldName(item.key()))
                keyNode.fail("\"" + item.key() + "\" is not a field name such as \"S_PATNO\"");
            // An integer key field is asked for as an integer: its decimal text is the key.
            const Node field = keyNode.member(item.key());
            key[item.key()] = item.key().starts_with("L_") ? std::to_string(field.asInteger(INT32_MIN, INT32_MAX))
                                                   : field.asText(kKeyBytes);
        }
        if (exists("SELECT 1 FROM service_replies WHERE service = ?1 AND key_text = ?2", {service, replyKeyText(key)}))
            keyNode.fail("service " + excerpt(service) + " already has rows under this key");

        const Node rowsNode = n.member("rows");
        const std::size_t count = rowsNode.requireArray();
        std::vector<ReplyRow> rows;
        // The field its callers count rows by is the service's to know; the bytes kept back
        // for each row cover that field's entry when the row lacks it.
        ReplyRows sent({}, ReplyRows::Trim::TrailingEmpties, nullptr);
        for (std::size_t r = 0; r < count; ++r) {
            const Node row = rowsNode.element(r);
            if (!row.value().is_object() || row.value().empty())
                row.fail("must be an object of one or more fields");
            ReplyRow values;
            sent.addRow();
            for (const auto &item : row.value().items()) {
                if (!isFieldName(item.key()))
                    row.fail("\"" + item.key() + "\" is not a field name such as \"S_STRING1\" or \"L_CNT1\"");
                const Node field = row.member(item.key());
                if (item.key()[0] == 'L') {
                    const auto number = static_cast<std::int32_t>(field.asInteger(INT32_MIN, INT32_MAX));
                    sent.integer(item.key(), number);
                    values[item.key()] = std::to_string(number);
                } else {
                    std::string value = field.asText(kValueBytes, TextKind::Multiline);
                    sent.text(item.key(), value);
                    values[item.key()] = std::move(value);
                }
            }
            rows.push_back(std::move(values));
        }
        // Measured once every row is in: an integer field goes out in every row.
        for (std::size_t r = 0; r < count; ++r)
            checkRowFits(rowsNode.element(r), sent, r);
        addStoredReply(m_db, service, key, rows);
        ++m_summary.serviceReplies;
    }

    sqlite3 *m_db;
    ImportSummary m_summary;
};

// A first pass over the text that builds nothing: finds syntax errors and numbers no
// double holds ("1e400") without an exception, and refuses a key that an object already
// has (the import would otherwise keep the last one silently), naming where it stands
// ("patients[3].number").
class DocumentCheck : public nlohmann::json_sax<nlohmann::json>
{
public:
    const std::string &error() const { return m_error; }

    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t &) override { return value(); }
    bool string(string_t &) override { return value(); }
    bool binary(binary_t &) override { return value(); }
    bool start_object(std::size_t) override { return start(false); }
    bool start_array(std::size_t) override { return start(true); }
    bool end_object() override { return end(); }
    bool end_array() override { return end(); }

    bool key(string_t &name) override
    {
        Level &level = m_levels.back();
        level.key = name;
        if (!level.keys.insert(name).second) {
            m_error = path() + ": the key \"" + name + "\" stands twice in one object";
            return false;
        }
        return true;
    }

    bool parse_error(std::size_t, const std::string &, const nlohmann::json::exception &e) override
    {
        // "[json.exception.parse_error.101] parse error at line 1, ..." without its tag.
        std::string text = e.what();
        if (!text.empty() && text.front() == '[') {
            const std::size_t close = text.find("] ");
            if (close != std::string::npos)
                text.erase(0, close + 2);
        }
        m_error = "not a JSON document: " + text;
        return false;
    }

private:
    struct Level
    {
        bool array;
        std::set<std::string> keys;
        std::string key;       // objects: the member being read
        std::size_t index = 0; // arrays: the element being read
    };

    bool value()
    {
        if (!m_levels.empty() && m_levels.back().array)
            ++m_levels.back().index;
        return true;
    }
    bool start(bool array)
    {
        m_levels.push_back(Level{array, {}, {}, 0});
        return true;
    }
    bool end()
    {
        m_levels.pop_back();
        return value();
    }

    std::string path() const
    {
        std::string out;
        for (const Level &level : m_levels) {
            if (level.array)
                out += "[" + std::to_string(level.index) + "]";
            else
                out += (out.empty() ? "" : ".") + level.key;
        }
        return out.empty() ? "(document)" : out;
    }

    std::vector<Level> m_levels;
    std::string m_error;
};

} // namespace

ImportResult importJson(sqlite3 *db, std::string_view json, const ImportOptions &options)
{
    ImportResult result;
    nlohmann::json doc;
    DocumentCheck check;
    if (!nlohmann::json::sax_parse(json.begin(), json.end(), &check)) {
        result.error = check.error().empty() ? "not a JSON document" : check.error();
        return result;
    }
    try {
        doc = nlohmann::json::parse(json.begin(), json.end());
    } catch (const nlohmann::json::exception &e) {
        result.error = std::string("not a JSON document: ") + e.what();
        return result;
    }
    try {
        WriteTransaction tx(db);
        Importer importer(db);
        importer.run(Node(doc, ""), options);
        tx.commit();
        result.ok = true;
        result.summary = importer.summary();
    } catch (const ImportError &e) {
        result.error = e.what();
    } catch (const DbError &e) {
        result.error = std::string("database: ") + e.what();
    } catch (const std::exception &e) {
        result.error = e.what();
    }
    return result;
}

} // namespace medrec::server::store

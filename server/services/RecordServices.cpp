// The record catalogue and the print history: "MD_PMEDH_S1", "MD_RECOD_L1" to "_L3" and
// "MD_RECOD_U1".

#include "DomainServices.h"
#include "ServiceSupport.h"

#include "Catalogue.h"
#include "PrintHistory.h"
#include "ReplyRows.h"
#include "ValueChecks.h"

#include <array>

namespace medrec::server::services {

namespace {

std::string stringField(std::size_t n)
{
    return "S_STRING" + std::to_string(n);
}

// The visit date input of the catalogue services: a date or full date-time digits.
std::optional<std::string> visitDigits(ServiceContext &ctx, std::string_view field)
{
    auto digits = input(ctx, field, "내원일자", kMaxCodeBytes, Need::Required);
    if (digits && !store::isVisitDigits(*digits)) {
        refuse(ctx, "내원일자(" + std::string(field) + "): 날짜는 YYYYMMDD 또는 YYYYMMDDHHNN[SS] 형식이어야 합니다.");
        return std::nullopt;
    }
    return digits;
}

} // namespace

void serveVisitHistory(ServiceContext &ctx)
{
    const auto patno = input(ctx, "S_PATNO", "환자번호", kMaxCodeBytes, Need::Required);
    if (!patno)
        return;
    if (!input(ctx, "S_TYPE1", "조회구분", kMaxCodeBytes, Need::Optional))
        return;
    const auto from = input(ctx, "S_TYPE2", "조회시작일", kMaxCodeBytes, Need::Optional);
    if (!from)
        return;
    if (!from->empty() && !store::isDate(*from))
        return refuse(ctx, "조회시작일(S_TYPE2): 날짜는 YYYYMMDD 형식이어야 합니다.");

    const auto visits = store::listVisits(ctx.connection(), *patno, *from);
    ReplyRows rows = ctx.rowsFor("S_STRING1", false);
    for (const store::Visit &v : visits) {
        rows.addRow();
        const std::string *values[] = {&v.visitAt, &v.dischargeAt, &v.kind,   &v.deptCode,
                                       &v.deptName, &v.wardCode,   &v.roomNo, &v.attending};
        for (std::size_t i = 0; i < std::size(values); ++i)
            rows.text(stringField(i + 1), *values[i]);
    }
    ctx.replyRows(std::move(rows));
    succeedWithRows(ctx, visits.size());
}

void serveRecordKinds(ServiceContext &ctx)
{
    if (!input(ctx, "S_TYPE2", "조회구분", kMaxCodeBytes, Need::Optional))
        return;
    const auto patno = input(ctx, "S_PATNO", "환자번호", kMaxCodeBytes, Need::Required);
    if (!patno)
        return;
    const auto visit = visitDigits(ctx, "S_STRING1");
    if (!visit)
        return;

    const auto kinds = store::listRecordKinds(ctx.connection(), *patno, *visit);
    ReplyRows rows = ctx.rowsFor("S_STRING1", false);
    for (const store::RecordKind &k : kinds) {
        rows.addRow();
        rows.text("S_STRING1", k.name);
        rows.text("S_STRING2", k.code);
        rows.text("S_STRING3", k.formCode);
    }
    ctx.replyRows(std::move(rows));
    succeedWithRows(ctx, kinds.size());
}

namespace {

// The record kind code ("S_TYPE1") and patient number ("S_PATNO") the record services
// take; nullopt when either is refused (the call has failed with its status text).
struct KindAndPatient
{
    std::string kind, patno;
};

std::optional<KindAndPatient> kindAndPatient(ServiceContext &ctx)
{
    auto kind = input(ctx, "S_TYPE1", "기록지코드", kMaxCodeBytes, Need::Required);
    if (!kind)
        return std::nullopt;
    auto patno = input(ctx, "S_PATNO", "환자번호", kMaxCodeBytes, Need::Required);
    if (!patno)
        return std::nullopt;
    return KindAndPatient{std::move(*kind), std::move(*patno)};
}

} // namespace

void serveRecordList(ServiceContext &ctx)
{
    const auto key = kindAndPatient(ctx);
    if (!key)
        return;
    const auto visit = visitDigits(ctx, "S_STRING1");
    if (!visit)
        return;

    const auto records = store::listRecords(ctx.connection(), key->kind, key->patno, *visit);
    ReplyRows rows = ctx.rowsFor("S_STRING1", false);
    for (const store::RecordRow &row : records) {
        rows.addRow();
        // Columns 0..4 are S_STRING1..5, the title line S_STRING6, columns 5..9 S_STRING7..11.
        for (std::size_t c = 0; c < store::kRecordColumns; ++c) {
            if (c == 5)
                rows.text("S_STRING6", row.titles);
            rows.text(stringField(c < 5 ? c + 1 : c + 2), row.columns[c]);
        }
    }
    ctx.replyRows(std::move(rows));
    succeedWithRows(ctx, records.size());
}

void serveRecordContent(ServiceContext &ctx)
{
    const auto key = kindAndPatient(ctx);
    if (!key)
        return;
    std::array<std::string, 4> keys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        auto key = input(ctx, stringField(i + 2), "기록지 키", kMaxKeyBytes, Need::Optional);
        if (!key)
            return;
        keys[i] = std::move(*key);
    }

    const auto content = store::recordContent(ctx.connection(), key->kind, key->patno, keys);
    // The client counts the rows by "S_STRING1", which goes out in every row; the other
    // fields leave out their empty values after their last one.
    ReplyRows rows = ctx.rowsFor("S_STRING1", true);
    for (const store::ContentRow &row : content) {
        rows.addRow();
        for (std::size_t f = 0; f < store::kContentFields; ++f)
            rows.text(stringField(f + 1), row[f]);
    }
    ctx.replyRows(std::move(rows));
    succeedWithRows(ctx, content.size());
}

void servePrintHistory(ServiceContext &ctx)
{
    // The row must commit or vanish with the caller's transaction, never stand alone.
    if (!ctx.inTransaction()) {
        ctx.fail("출력 이력(MD_RECOD_U1)은 트랜잭션 안에서만 저장할 수 있습니다 (tpbegin 후 호출).", kUserCodeFault);
        return;
    }
    static constexpr std::array<std::string_view, 6> kFields = {"S_STRING1", "S_STRING2", "S_STRING3",
                                                                "S_STRING4", "S_STRING5", "S_STRING8"};
    const Request &request = ctx.request();
    const int rows = request.count(kFields[0]);
    if (rows == 0)
        return refuse(ctx, "출력 이력(S_STRING1): 저장할 값이 없습니다.");
    for (std::string_view field : kFields) {
        const int n = request.count(field);
        if (n != rows)
            return refuse(ctx, "출력 이력(" + std::string(field) + "): 값이 " + std::to_string(n) + "개로, S_STRING1의 "
                                   + std::to_string(rows) + "개와 맞지 않습니다.");
    }

    // Who printed, as the request names it; checked like every other input.
    const auto logUser = input(ctx, "LOG_USERNAME", "사용자", kMaxKeyBytes, Need::Optional);
    const auto logClient = logUser ? input(ctx, "LOG_CLTNAME", "단말", kMaxKeyBytes, Need::Optional) : std::nullopt;
    const auto logForm = logClient ? input(ctx, "LOG_FORMNAME", "화면", kMaxKeyBytes, Need::Optional) : std::nullopt;
    if (!logForm)
        return;

    const Identity &who = ctx.identity();
    std::vector<store::PrintHistoryEntry> entries;
    for (int r = 0; r < rows; ++r) {
        store::PrintHistoryEntry e;
        std::array<std::string *, 6> targets = {&e.patno, &e.key2, &e.key3, &e.key4, &e.key5, &e.kindCode};
        for (std::size_t i = 0; i < kFields.size(); ++i) {
            // The patient number and the record kind say what was printed; they cannot be empty.
            const Need need = i == 0 || i == 5 ? Need::Required : Need::Optional;
            auto value = inputAt(ctx, kFields[i], r, "출력 이력", kMaxKeyBytes, need);
            if (!value)
                return;
            *targets[i] = std::move(*value);
        }
        e.logUser = *logUser;
        e.logClient = *logClient;
        e.logForm = *logForm;
        e.sessionUser = who.user;
        e.sessionClient = who.client;
        e.workstation = who.workstation;
        entries.push_back(std::move(e));
    }

    // All rows of the call share one time, so they list together.
    const std::string now = store::localTimestamp();
    for (store::PrintHistoryEntry &e : entries) {
        e.printedAt = now;
        store::addPrintHistory(ctx.connection(), e);
        ctx.audit(e.patno);
    }
    if (!ctx.reply().addInteger("L_CNT1", rows))
        return;
    ctx.succeed("출력 이력 " + std::to_string(rows) + "건이 저장되었습니다.", kUserCodeOk);
}

} // namespace medrec::server::services

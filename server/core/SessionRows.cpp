// Rows beyond one reply: the reply of a list service carries as many whole rows as fit the
// caller's buffer and "L_ROWNEXT", the row the next reply starts at; the client asks again
// with "L_ROWFROM" set to it. Only a client that sent "L_ROWFROM" gets a reply split so;
// any other gets the whole answer or a refusal. The rest waits in the session, so every
// piece comes from the one reading the first call made.

#include "Session.h"

#include "Cp949.h"
#include "atmi.h"
#include "codec/FieldBuffer.h"

#include <algorithm>
#include <cstdint>

namespace medrec::server {

namespace {

constexpr const char *kRowFrom = "L_ROWFROM";
constexpr const char *kRowNext = "L_ROWNEXT";

// The request's fields that say what it asks: all but the row number and the LOG_ fields,
// which may differ between the calls of one answer.
std::string requestIdentity(const tp::FieldTable &fields, const Fbfr *request)
{
    const FLDID skip[] = {fields.id(kRowFrom), fields.id("LOG_USERNAME"), fields.id("LOG_CLTNAME"),
                          fields.id("LOG_FORMNAME")};
    std::string identity;
    for (const tp::fb::Entry &entry : tp::fb::list(request)) {
        if (std::find(std::begin(skip), std::end(skip), entry.id) != std::end(skip))
            continue;
        identity.append(reinterpret_cast<const char *>(&entry.id), sizeof entry.id);
        const auto length = static_cast<std::uint32_t>(entry.stored.size());
        identity.append(reinterpret_cast<const char *>(&length), sizeof length);
        identity.append(entry.stored);
    }
    return identity;
}

} // namespace

Session::RowAsk Session::askedRows(const Fbfr *request) const
{
    const tp::FieldTable &fields = *m_state->options.fields;
    const FLDID id = fields.id(kRowFrom);
    if (!m_state->options.continueRows || id == BADFLDID || fields.id(kRowNext) == BADFLDID)
        return {};
    const auto value = tp::fb::find(request, id, 0);
    if (!value)
        return {};
    const long from = tp::fb::toLong(*value);
    // A negative row number asks for nothing that exists: answered as a continuation, which
    // refuses it.
    return {true, from < 0 ? SIZE_MAX : static_cast<std::size_t>(from)};
}

std::optional<std::size_t> Session::packFirstRows(const tp::Frame &frame, const Fbfr *request, bool canContinue,
                                                  std::shared_ptr<const ReplyRows> rows, const ServiceContext &ctx,
                                                  Reply &reply)
{
    const std::size_t limit = tp::flavourMaxSize(frame.flavour);
    const std::size_t used = reply.usedBytes();
    const std::size_t marker = canContinue ? tp::fb::entrySize(sizeof(std::int32_t)) : 0;
    const std::size_t room = used + marker < limit ? limit - used - marker : 0;
    const std::size_t end = rows->pack(0, room, reply);
    if (end == rows->rows())
        return std::nullopt;
    if (!canContinue || end == 0)
        return used + rows->bytes(0, rows->rows());
    if (!reply.addInteger(kRowNext, static_cast<std::int32_t>(end)))
        return 0;
    m_pendingRows = PendingRows{frame.name, requestIdentity(*m_state->options.fields, request), std::move(rows),
                                end, ctx.status(), ctx.userCode()};
    return std::nullopt;
}

void Session::continueRows(const tp::Frame &frame, const Fbfr *request, std::size_t from)
{
    const tp::FieldTable &fields = *m_state->options.fields;
    const bool matches = m_pendingRows && m_pendingRows->service == frame.name &&
                         from < m_pendingRows->rows->rows() &&
                         m_pendingRows->request == requestIdentity(fields, request);
    const bool inTransaction = !(frame.flags & TPNOTRAN) && frame.transaction != 0;
    if (!matches) {
        m_pendingRows.reset();
        if (inTransaction)
            doom(Transaction::Doom::Failed, "service " + frame.name + " had no rows to continue");
        replyFailure(frame, TPESVCFAIL, "no rows of service " + frame.name + " to continue from row " +
                                            std::to_string(from),
                     "이어서 보낼 조회 결과가 없습니다 (서비스 " + frame.name + ", " +
                         (from == SIZE_MAX ? std::string("잘못된 행 번호") : std::to_string(from) + "행부터") +
                         "). 처음부터 다시 조회하십시오.",
                     -1);
        return;
    }
    PendingRows &pending = *m_pendingRows;
    const std::size_t limit = tp::flavourMaxSize(frame.flavour);
    Reply reply(fields, limit);
    if (fields.id("STATLIN") != BADFLDID)
        reply.setText("STATLIN", 0, pending.status);
    const std::size_t marker = tp::fb::entrySize(sizeof(std::int32_t));
    const std::size_t used = reply.usedBytes();
    const std::size_t end = pending.rows->pack(from, used + marker < limit ? limit - used - marker : 0, reply);
    if (end == from) {
        const std::size_t bytes = used + pending.rows->bytes(from, from + 1);
        m_pendingRows.reset();
        if (inTransaction)
            doom(Transaction::Doom::Failed, "the reply of service " + frame.name + " was too large");
        replyTooLarge(frame, bytes);
        return;
    }
    const long userCode = pending.userCode;
    const std::string status = pending.status;
    if (end < pending.rows->rows()) {
        reply.addInteger(kRowNext, static_cast<std::int32_t>(end));
        pending.next = end;
    } else {
        m_pendingRows.reset();
    }
    sendReply(frame, 0, userCode, {}, reply, status);
}

} // namespace medrec::server

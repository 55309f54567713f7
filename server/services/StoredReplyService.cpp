#include "StoredReplyService.h"

#include "ServiceSupport.h"

#include "ReplyRows.h"
#include "StoredReplies.h"

#include <charconv>
#include <optional>

namespace medrec::server::services {

namespace {

std::int32_t toInteger(const std::string &text)
{
    std::int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// An "L_" key field is an integer: its decimal text, as the import stores it ("7" for 7, sent
// as an integer or as digits); absent, the empty text. Text fields are checked text.
std::optional<std::string> keyValue(ServiceContext &ctx, const std::string &field)
{
    if (!field.starts_with("L_"))
        return input(ctx, field, "조회조건", kMaxKeyBytes, Need::Optional);
    if (!ctx.request().has(field))
        return std::string();
    const auto number = ctx.request().integer(field);
    if (!number) {
        refuse(ctx, "조회조건(" + field + "): 정수가 아닌 값이 들어 있습니다.");
        return std::nullopt;
    }
    return std::to_string(*number);
}

void serveStored(ServiceContext &ctx, const std::vector<std::string> &keyFields, const std::string &countField)
{
    store::ReplyKey key;
    for (const std::string &field : keyFields) {
        auto value = keyValue(ctx, field);
        if (!value)
            return;
        key[field] = std::move(*value);
    }
    const auto rows = store::storedReply(ctx.connection(), ctx.service(), key);

    // Every returned row carries the field the client counts by and every "L_" field (0 where
    // a row lacks it); the other texts leave out their empty values after their last one.
    ReplyRows reply = ctx.rowsFor(countField, true);
    for (const store::ReplyRow &row : rows) {
        reply.addRow();
        for (const auto &[name, value] : row) {
            if (name.starts_with("L_"))
                reply.integer(name, toInteger(value));
            else
                reply.text(name, value);
        }
    }
    ctx.replyRows(std::move(reply));
    succeedWithRows(ctx, rows.size());
}

} // namespace

ServiceHandler storedReplyService(std::vector<std::string> keyFields, std::string countField)
{
    return guarded([keyFields = std::move(keyFields), countField = std::move(countField)](ServiceContext &ctx) {
        serveStored(ctx, keyFields, countField);
    });
}

} // namespace medrec::server::services

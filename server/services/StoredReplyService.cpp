#include "StoredReplyService.h"

#include "ServiceSupport.h"

#include "StoredReplies.h"

#include <charconv>
#include <optional>
#include <set>

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

void serveStored(ServiceContext &ctx, const std::vector<std::string> &keyFields)
{
    store::ReplyKey key;
    for (const std::string &field : keyFields) {
        auto value = keyValue(ctx, field);
        if (!value)
            return;
        key[field] = std::move(*value);
    }
    const auto rows = store::storedReply(ctx.connection(), ctx.service(), key);

    std::set<std::string, std::less<>> fields;
    for (const store::ReplyRow &row : rows) {
        for (const auto &[name, value] : row)
            fields.insert(name);
    }
    Reply &reply = ctx.reply();
    for (const store::ReplyRow &row : rows) {
        for (const std::string &name : fields) {
            const auto it = row.find(name);
            const std::string value = it == row.end() ? std::string() : it->second;
            const bool ok = name.starts_with("L_") ? reply.addInteger(name, toInteger(value))
                                                   : reply.addText(name, value);
            if (!ok)
                return;
        }
    }
    succeedWithRows(ctx, rows.size());
}

} // namespace

ServiceHandler storedReplyService(std::vector<std::string> keyFields)
{
    return guarded([keyFields = std::move(keyFields)](ServiceContext &ctx) { serveStored(ctx, keyFields); });
}

} // namespace medrec::server::services

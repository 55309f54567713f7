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

// An integer field ("L_SEQNO1", sent as an integer) keys by its decimal text, as the import
// stores it; a text field by its checked text. An absent integer keys as empty text, which no
// stored key holds.
std::optional<std::string> keyValue(ServiceContext &ctx, const std::string &field)
{
    if (field.starts_with("L_")) {
        const auto number = ctx.request().integer(field);
        return number ? std::to_string(*number) : std::string();
    }
    return input(ctx, field, "조회조건", kMaxKeyBytes, Need::Optional);
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

#include "StoredReplyService.h"

#include "ServiceSupport.h"

#include "StoredReplies.h"

#include <charconv>
#include <set>

namespace medrec::server::services {

namespace {

std::int32_t toInteger(const std::string &text)
{
    std::int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void serveStored(ServiceContext &ctx, const std::vector<std::string> &keyFields)
{
    store::ReplyKey key;
    for (const std::string &field : keyFields) {
        auto value = input(ctx, field, "조회조건", kMaxKeyBytes, Need::Optional);
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

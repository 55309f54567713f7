#include "ServiceSupport.h"

#include "Cp949.h"
#include "Sqlite.h"

#include <stdexcept>

namespace medrec::server::services {

namespace {

std::string named(std::string_view label, std::string_view field)
{
    return std::string(label) + "(" + std::string(field) + ")";
}

} // namespace

std::optional<std::string> inputAt(ServiceContext &ctx, std::string_view field, int occurrence,
                                   std::string_view label, std::size_t maxBytes, Need need)
{
    const std::string_view raw = ctx.request().bytes(field, occurrence);
    if (!text::isValidCp949(raw)) {
        refuse(ctx, named(label, field) + ": 올바른 한글(CP949) 문자가 아닌 값이 들어 있습니다.");
        return std::nullopt;
    }
    if (raw.size() > maxBytes) {
        refuse(ctx, named(label, field) + ": 값이 너무 깁니다 (" + std::to_string(raw.size()) + "바이트, 최대 "
                        + std::to_string(maxBytes) + "바이트).");
        return std::nullopt;
    }
    if (need == Need::Required && raw.empty()) {
        refuse(ctx, named(label, field) + ": 값이 입력되지 않았습니다.");
        return std::nullopt;
    }
    return text::fromCp949(raw);
}

std::optional<std::string> input(ServiceContext &ctx, std::string_view field, std::string_view label,
                                 std::size_t maxBytes, Need need)
{
    return inputAt(ctx, field, 0, label, maxBytes, need);
}

void refuse(ServiceContext &ctx, std::string_view status)
{
    ctx.fail(status, kUserCodeRefused);
}

void succeedWithRows(ServiceContext &ctx, std::size_t rows)
{
    if (rows == 0)
        ctx.succeed("조회된 자료가 없습니다.", kUserCodeOk);
    else
        ctx.succeed(std::to_string(rows) + "건의 자료가 조회되었습니다.", kUserCodeOk);
}

ServiceHandler guarded(ServiceHandler serve)
{
    return [serve = std::move(serve)](ServiceContext &ctx) {
        try {
            serve(ctx);
        } catch (const store::DbError &e) {
            ctx.fail("데이터베이스 처리 중 오류가 발생했습니다 (" + ctx.service() + "): " + e.what(), kUserCodeFault);
        } catch (const std::invalid_argument &e) {
            ctx.fail("서비스 " + ctx.service() + "의 응답을 만들 수 없습니다: " + e.what(), kUserCodeFault);
        }
    };
}

ServiceHandler auditedBy(const std::string &field, ServiceHandler serve)
{
    if (field.empty())
        return serve;
    return [field, serve = std::move(serve)](ServiceContext &ctx) {
        serve(ctx);
        if (!ctx.failed())
            ctx.audit(ctx.request().text(field));
    };
}

} // namespace medrec::server::services

#include "BuiltinServices.h"

#include "ServiceRegistry.h"
#include "codec/FieldBuffer.h"

namespace medrec::server {

void registerBuiltinServices(ServiceRegistry &registry)
{
    registry.add("TP_PING", [](ServiceContext &ctx) {
        FLDID statlin = ctx.request().fieldId("STATLIN");
        for (const auto &entry : tp::fb::list(ctx.request().buffer())) {
            if (entry.id == statlin)
                continue; // the reply's own
            if (!ctx.reply().appendStored(entry.id, entry.stored)) {
                ctx.fail("TP_PING: 응답 버퍼가 가득 찼습니다.");
                return;
            }
        }
        ctx.succeed("OK");
    });
}

} // namespace medrec::server

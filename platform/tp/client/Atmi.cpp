// The atmi.h calls: the process's one session, its environment and buffers.

#include "atmi.h"

#include "ClientSession.h"
#include "Errors.h"
#include "FieldTables.h"
#include "TypedBuffer.h"
#include "codec/Environment.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

using namespace medrec::tp;
using medrec::tp::client::fail;

namespace {

// Module state of the library: the environment read by tuxreadenv and the session opened
// by tpinit. The recursive mutex lets an unsolicited-message handler call the
// informational functions while tpcall delivers to it.
struct Module
{
    std::recursive_mutex mutex;
    std::optional<SiteEnvironment> environment;
    std::unique_ptr<client::ClientSession> session;
    Unsolfunc *handler = nullptr;
};

Module &module()
{
    static Module m;
    return m;
}

std::string fixedName(const char *field)
{
    return std::string(field, strnlen(field, MAXTIDENT)); // at most 17 bytes, zero or not
}

client::ClientSession *joined()
{
    auto &m = module();
    if (!m.session) {
        fail(TPEPROTO, "not joined: tpinit has not been called");
        return nullptr;
    }
    if (!m.session->connected()) {
        fail(TPESYSTEM, "the connection to the service host was lost; the session has ended");
        return nullptr;
    }
    return m.session.get();
}

} // namespace

extern "C" {

int tuxreadenv(char *file, char *label)
{
    std::lock_guard lock(module().mutex);
    std::string path = file ? file : "";
    if (path.empty())
        return fail(TPENOENV, "no environment file named");
    std::string why;
    auto env = readEnvironmentFile(path, label ? label : "", &why);
    if (!env)
        return fail(TPENOENV, why);
    auto table = FieldTable::load(env->fieldTable, &why);
    if (!table)
        return fail(TPENOENV, why + " (named by " + path + ")");
    client::installFieldTable(std::make_shared<const FieldTable>(std::move(*table)));
    module().environment = std::move(env);
    client::clearError();
    return 0;
}

char *tpalloc(char *type, char *subtype, long size) { return client::allocate(type, subtype, size); }

char *tprealloc(char *ptr, long size) { return client::reallocate(ptr, size); }

void tpfree(char *ptr) { client::release(ptr); }

long tptypes(char *ptr, char *type, char *subtype)
{
    client::BufferInfo info;
    if (!client::lookup(ptr, info))
        return fail(TPEINVAL, "not a buffer allocated by tpalloc");
    if (type)
        std::strncpy(type, client::typeName(info.type), 8);
    if (subtype)
        subtype[0] = '\0';
    return static_cast<long>(info.size);
}

int tpinit(TPSTART_T *tpinfo)
{
    auto &m = module();
    std::lock_guard lock(m.mutex);
    if (m.session && m.session->connected())
        return fail(TPEPROTO, "already joined; call tpterm first");
    if (!m.environment)
        return fail(TPENOENV, "no site environment: tuxreadenv has not succeeded");
    if (tpinfo) {
        client::BufferInfo info;
        if (client::lookup(reinterpret_cast<char *>(tpinfo), info) && info.type != client::BufferType::Tpinit)
            return fail(TPEINVAL, "tpinit takes a TPINIT buffer");
    }
    std::string user = tpinfo ? fixedName(tpinfo->usrname) : std::string();
    std::string clientName = tpinfo ? fixedName(tpinfo->cltname) : std::string();
    long flags = tpinfo ? tpinfo->flags : 0;
    if (flags & ~long(TPU_SIG | TPU_DIP | TPU_IGN))
        return fail(TPEINVAL, "unknown tpinit flags");
    m.session = client::ClientSession::join(*m.environment, user, clientName, flags);
    if (!m.session)
        return -1;
    m.session->setUnsolicited(m.handler);
    return 0;
}

int tpterm(void)
{
    auto &m = module();
    std::lock_guard lock(m.mutex);
    if (m.session && m.session->insideHandler())
        return fail(TPEPROTO, "tpterm is not allowed inside the unsolicited-message handler");
    if (m.session) {
        m.session->term();
        m.session.reset();
    }
    client::clearError();
    return 0;
}

int tpcall(char *svc, char *idata, long ilen, char **odata, long *olen, long flags)
{
    (void)ilen; // field buffers know their own length
    std::lock_guard lock(module().mutex);
    // A call that gets no reply has no service code: -1, so its failure reaches the operator
    // by the notice channel, never by the channel an earlier reply chose (or by none).
    client::setUserCode(-1);
    auto *s = joined();
    return s ? s->call(svc, idata, odata, olen, flags) : -1;
}

int tpbegin(unsigned long timeout, long flags)
{
    std::lock_guard lock(module().mutex);
    auto *s = joined();
    return s ? s->begin(timeout, flags) : -1;
}

int tpcommit(long flags)
{
    std::lock_guard lock(module().mutex);
    auto *s = joined();
    return s ? s->commit(flags) : -1;
}

int tpabort(long flags)
{
    std::lock_guard lock(module().mutex);
    auto *s = joined();
    return s ? s->abort(flags) : -1;
}

Unsolfunc *tpsetunsol(Unsolfunc *disp)
{
    auto &m = module();
    std::lock_guard lock(m.mutex);
    if (disp == TPUNSOLERR) {
        fail(TPEINVAL, "TPUNSOLERR is not a handler");
        return TPUNSOLERR;
    }
    Unsolfunc *previous = m.handler;
    m.handler = disp;
    if (m.session)
        m.session->setUnsolicited(disp);
    client::clearError();
    return previous;
}

int tpchkunsol(void)
{
    std::lock_guard lock(module().mutex);
    auto *s = joined();
    return s ? s->checkUnsolicited() : -1;
}

int gettperrno(void) { return client::lastError(); }

long gettpurcode(void) { return client::userCode(); }

char *tpstrerror(int err) { return const_cast<char *>(client::errorText(err)); }

} // extern "C"

#include "ServiceClient.h"

#include "Cp949.h"
#include "codec/Environment.h"

#include <stdexcept>

namespace medrec::server::store::testing {

namespace {

FBFR *fb(char *data)
{
    return reinterpret_cast<FBFR *>(data);
}

FLDID id(const char *name)
{
    const FLDID f = Fldid(const_cast<char *>(name));
    if (f == BADFLDID)
        throw std::invalid_argument(std::string("no field ") + name);
    return f;
}

} // namespace

Buffer::Buffer(const char *type)
{
    m_data = tpalloc(const_cast<char *>(type), nullptr, 0);
    if (m_data == nullptr)
        throw std::runtime_error(std::string("tpalloc failed: ") + tpstrerror(gettperrno()));
}

Buffer::~Buffer()
{
    tpfree(m_data);
}

Buffer &Buffer::set(const char *field, const std::string &utf8, int occurrence)
{
    return setRaw(field, text::toCp949(utf8), occurrence);
}

Buffer &Buffer::setInteger(const char *field, std::int32_t value, int occurrence)
{
    if (Fchg(fb(m_data), id(field), occurrence, reinterpret_cast<char *>(&value), 0) == -1)
        throw std::runtime_error(std::string("Fchg ") + field + ": " + Fstrerror(getFerror()));
    return *this;
}

Buffer &Buffer::setRaw(const char *field, std::string_view bytes, int occurrence)
{
    std::string copy(bytes);
    if (Fchg(fb(m_data), id(field), occurrence, copy.data(), static_cast<FLDLEN>(copy.size())) == -1)
        throw std::runtime_error(std::string("Fchg ") + field + ": " + Fstrerror(getFerror()));
    return *this;
}

Buffer &Buffer::log(const std::string &user, const std::string &client, const std::string &form)
{
    return set("LOG_USERNAME", user).set("LOG_CLTNAME", client).set("LOG_FORMNAME", form);
}

std::string Buffer::text(const char *field, int occurrence) const
{
    return text::fromCp949(Fvals(fb(m_data), id(field), occurrence));
}

long Buffer::integer(const char *field, int occurrence) const
{
    return Fvall(fb(m_data), id(field), occurrence);
}

int Buffer::count(const char *field) const
{
    return Foccur(fb(m_data), id(field));
}

Outcome call(tp::client::ClientSession &session, const char *service, Buffer &buffer, long flags)
{
    Outcome out;
    long length = 0;
    out.rc = session.call(service, buffer.data(), &buffer.data(), &length, flags);
    out.error = out.rc == -1 ? gettperrno() : 0;
    out.userCode = gettpurcode();
    out.statlin = buffer.text("STATLIN");
    return out;
}

Outcome writeHistory(tp::client::ClientSession &session, const HistoryRow &row)
{
    Buffer b;
    b.set("S_STRING1", row.a1).set("S_STRING2", row.a2).set("S_STRING3", row.a3).set("S_STRING4", row.a4);
    b.set("S_STRING5", row.a5).set("S_STRING8", row.a6).log("MDUSER", "10.1.20.3", "MDG300F1");
    Outcome out;
    if (session.begin(10, 0) == -1) {
        out.rc = -1;
        out.error = gettperrno();
        out.statlin = std::string("tpbegin failed, ") + tpstrerror(out.error);
        return out;
    }
    out = call(session, "MD_RECOD_U1", b, 0);
    if (out.rc == -1) {
        session.abort(0);
        return out;
    }
    if (session.commit(0) == -1) {
        out.rc = -1;
        out.error = gettperrno();
        out.statlin = std::string("tpcommit failed, ") + tpstrerror(out.error);
        session.abort(0);
    }
    return out;
}

std::unique_ptr<tp::client::ClientSession> joinSession(const std::string &envFile, const std::string &user,
                                                       const std::string &client)
{
    std::string error;
    const auto env = tp::readEnvironmentFile(envFile, "", &error);
    if (!env)
        throw std::runtime_error("environment: " + error);
    auto session = tp::client::ClientSession::join(*env, user, client, TPU_IGN);
    if (!session)
        throw std::runtime_error(std::string("join failed: ") + tpstrerror(gettperrno()));
    return session;
}

} // namespace medrec::server::store::testing

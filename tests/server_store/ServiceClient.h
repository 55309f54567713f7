#pragma once

// Calling the domain services as the client does: a field buffer filled through fml.h with
// CP949 text, a call over a real session, and the reply read back. Several sessions may
// run on several threads (each thread sees its own tperrno and user return code).

#include "atmi.h"
#include "client/ClientSession.h"
#include "fml.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace medrec::server::store::testing {

class Buffer
{
public:
    // "FML" (65,532 bytes) or "FML32" (524,256 bytes), as the client allocates them.
    explicit Buffer(const char *type = "FML");
    ~Buffer();
    Buffer(const Buffer &) = delete;
    Buffer &operator=(const Buffer &) = delete;

    // Sets the field's occurrence to the UTF-8 text, sent as CP949.
    Buffer &set(const char *field, const std::string &utf8, int occurrence = 0);
    // Sets a number, as the client sends an integer field ("L_CNT1").
    Buffer &setInteger(const char *field, std::int32_t value, int occurrence = 0);
    // Sets raw bytes (for input that is not valid CP949).
    Buffer &setRaw(const char *field, std::string_view bytes, int occurrence = 0);
    // The LOG_ fields every request of the client carries.
    Buffer &log(const std::string &user, const std::string &client, const std::string &form);

    std::string text(const char *field, int occurrence = 0) const; // UTF-8
    long integer(const char *field, int occurrence = 0) const;
    int count(const char *field) const;

    char *&data() { return m_data; }

private:
    char *m_data = nullptr;
};

struct Outcome
{
    int rc = 0;          // tpcall's result
    int error = 0;       // gettperrno() when rc is -1
    long userCode = 0;   // gettpurcode()
    std::string statlin; // the reply's "STATLIN", UTF-8
};

Outcome call(tp::client::ClientSession &session, const char *service, Buffer &buffer, long flags = TPNOTRAN);

// One history row written as the print run writes it: begin, "MD_RECOD_U1", commit (abort
// when the call fails). rc is 0 only when the commit succeeded.
struct HistoryRow
{
    std::string a1, a2, a3 = "empty", a4 = "empty", a5 = "empty", a6;
};
Outcome writeHistory(tp::client::ClientSession &session, const HistoryRow &row);

std::unique_ptr<tp::client::ClientSession> joinSession(const std::string &envFile, const std::string &user,
                                                       const std::string &client);

} // namespace medrec::server::store::testing

#pragma once

// A client of the service host through the C API, as the program is one, on every system
// (the Windows build's tests too): the site environment file and a process session.

#include <string>
#include <vector>

namespace medrec::testing {

// The field table the tests and the demo use (data/fields.tbl).
std::string defaultFieldTablePath();
// Writes "<dir>/His.env" naming host, port and the field table, plus extra KEY=VALUE
// lines; returns its path.
std::string writeSiteEnvironment(const std::string &dir, const std::string &host, unsigned port,
                                 const std::string &fieldTable = defaultFieldTablePath(),
                                 const std::vector<std::string> &extraLines = {});

// tuxreadenv + tpinit through the C API with a TPINIT buffer (flags TPU_DIP), as the
// client does; tpterm on destruction.
class AtmiSession
{
public:
    AtmiSession(const std::string &envFile, const std::string &user, const std::string &client);
    ~AtmiSession();
    AtmiSession(const AtmiSession &) = delete;
    AtmiSession &operator=(const AtmiSession &) = delete;
    bool ok() const { return m_ok; }
    const std::string &error() const { return m_error; }

private:
    bool m_ok = false;
    std::string m_error;
};

} // namespace medrec::testing

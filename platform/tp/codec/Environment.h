#pragma once

// The site environment file read by tuxreadenv (syntax: docs/environment-file.md):
// KEY = VALUE lines, '#' or ';' comment lines, and [NAME] sections whose keys apply only when
// tuxreadenv's label is NAME. The keys: HOST (service host address, default 127.0.0.1),
// PORT (its TCP port, required), FIELD_TABLE (the field table, relative to the file's folder,
// required), CALL_TIMEOUT (seconds tpcall waits for a reply, default 60), CONNECT_TIMEOUT
// (seconds tpinit waits for the connection, default 10), and for an encrypted connection
// TLS_CA (the site's CA certificate, which signed the service host's), TLS_CERT and TLS_KEY
// (this workstation's certificate and key; both or neither), each relative to the file's
// folder like FIELD_TABLE. With TLS_CA the session speaks TLS 1.3, without it plain TCP.
// A value runs to the end of its line.
//
// Unknown keys, duplicate keys and malformed values are errors, so a typo never falls
// back silently to a default.

#include <optional>
#include <string>
#include <string_view>

namespace medrec::tp {

struct SiteEnvironment
{
    std::string host = "127.0.0.1";
    unsigned port = 0;
    std::string fieldTable; // as resolved: absolute, or relative to the working folder
    unsigned callTimeoutSeconds = 60;
    unsigned connectTimeoutSeconds = 10;
    // As resolved, like fieldTable; empty when not given.
    std::string tlsCa;
    std::string tlsCertificate;
    std::string tlsKey;
    // The site's revocation list: a host whose certificate it lists is not trusted.
    std::string tlsRevocationList;
};

// Parses the file's text. baseDir resolves a relative FIELD_TABLE ("" keeps it as is).
// nullopt with *error naming the line on failure.
std::optional<SiteEnvironment> parseEnvironment(std::string_view text, std::string_view label,
                                                const std::string &baseDir, std::string *error);

// Reads and parses the file.
std::optional<SiteEnvironment> readEnvironmentFile(const std::string &path, std::string_view label,
                                                   std::string *error);

} // namespace medrec::tp

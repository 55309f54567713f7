#pragma once

// A site's CA made by scripts/medrec-site-ca in a temporary folder, as a site makes it:
// the CA, its revocation list and the service host's certificate for 127.0.0.1 and
// localhost; workstation certificates issued and revoked on demand. Throws
// std::runtime_error with openssl's message when a step fails.

#include "TestSupport.h"

#include <string>
#include <vector>

namespace medrec::testing {

class SiteCertificates
{
public:
    explicit SiteCertificates(const std::string &site = "Test Hospital");

    struct Workstation
    {
        std::string certificate;
        std::string key;
    };
    // validFrom/validUntil (YYYYMMDDHHMMSSZ): an exact period, such as one long past.
    Workstation issue(const std::string &name, const std::string &validFrom = {}, const std::string &validUntil = {});
    // Revokes the name's certificate and writes the revocation list again.
    void revoke(const std::string &name);

    std::string ca() const { return m_dir.file("ca/ca.crt"); }
    std::string revocationList() const { return m_dir.file("ca/crl.pem"); }
    // --tls-cert, --tls-key, --tls-ca and --tls-crl for medrec-server.
    std::vector<std::string> serverArguments() const;
    // TLS_CA, TLS_CERT and TLS_KEY lines of a site environment file.
    std::vector<std::string> environmentLines(const Workstation &workstation) const;

private:
    void run(const std::vector<std::string> &args);
    TempDir m_dir;
};

} // namespace medrec::testing

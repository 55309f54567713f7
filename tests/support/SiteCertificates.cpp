#include "SiteCertificates.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace medrec::testing {

namespace {

std::string quoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

SiteCertificates::SiteCertificates(const std::string &site)
{
    run({"init", m_dir.file("ca"), site});
    run({"server", m_dir.file("ca"), "127.0.0.1", "localhost"});
}

void SiteCertificates::run(const std::vector<std::string> &args)
{
    std::string command = quoted(MEDREC_TEST_SITE_CA);
    for (const auto &a : args)
        command += " " + quoted(a);
    const std::string errors = m_dir.file("errors");
    command += " >/dev/null 2>" + quoted(errors);
    if (std::system(command.c_str()) != 0) {
        std::ifstream in(errors);
        std::stringstream text;
        text << in.rdbuf();
        throw std::runtime_error("medrec-site-ca " + args.front() + " failed: " + text.str());
    }
}

SiteCertificates::Workstation SiteCertificates::issue(const std::string &name, const std::string &validFrom,
                                                      const std::string &validUntil)
{
    std::vector<std::string> args = {"workstation", m_dir.file("ca"), name};
    if (!validFrom.empty())
        args.insert(args.end(), {"--valid", validFrom, validUntil});
    run(args);
    return {m_dir.file("ca/issued/" + name + ".crt"), m_dir.file("ca/issued/" + name + ".key")};
}

void SiteCertificates::revoke(const std::string &name) { run({"revoke", m_dir.file("ca"), name}); }

std::vector<std::string> SiteCertificates::serverArguments() const
{
    return {"--tls-cert", m_dir.file("ca/issued/server.crt"), "--tls-key", m_dir.file("ca/issued/server.key"),
            "--tls-ca",   ca(),                               "--tls-crl", revocationList()};
}

std::vector<std::string> SiteCertificates::environmentLines(const Workstation &workstation) const
{
    std::vector<std::string> lines = {"TLS_CA = " + ca()};
    if (!workstation.certificate.empty())
        lines.insert(lines.end(), {"TLS_CERT = " + workstation.certificate, "TLS_KEY = " + workstation.key});
    return lines;
}

} // namespace medrec::testing

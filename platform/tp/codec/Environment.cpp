#include "Environment.h"

#include "TextFile.h"
#include "system/Environment.h"

#include <charconv>
#include <filesystem>
#include <set>

namespace medrec::tp {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool parseUnsigned(std::string_view s, unsigned low, unsigned high, unsigned &out)
{
    unsigned v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size() || v < low || v > high)
        return false;
    out = v;
    return true;
}

std::string resolve(std::string_view value, const std::string &baseDir)
{
    std::filesystem::path p = platform::pathFromUtf8(std::string(value));
    if (p.is_relative() && !baseDir.empty())
        p = platform::pathFromUtf8(baseDir) / p;
    return platform::utf8FromPath(p);
}

} // namespace

std::optional<SiteEnvironment> parseEnvironment(std::string_view text, std::string_view label,
                                                const std::string &baseDir, std::string *error)
{
    auto fail = [error](int line, const std::string &why) -> std::optional<SiteEnvironment> {
        if (error)
            *error = "line " + std::to_string(line) + ": " + why;
        return std::nullopt;
    };
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    SiteEnvironment env;
    std::string section;
    std::set<std::string> seenGlobal, seenSection;
    bool havePort = false, haveTable = false;
    int lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        std::size_t eol = text.find('\n');
        std::string_view line = trim(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3)
                return fail(lineNo, "malformed section header");
            section = std::string(trim(line.substr(1, line.size() - 2)));
            seenSection.clear();
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return fail(lineNo, "expected KEY = VALUE");
        std::string key(trim(line.substr(0, eq)));
        std::string_view value = trim(line.substr(eq + 1));
        bool applies = section.empty() || section == label;
        auto &seen = section.empty() ? seenGlobal : seenSection;
        if (!seen.insert(key).second)
            return fail(lineNo, "key " + key + " given twice");

        if (key == "HOST") {
            if (value.empty())
                return fail(lineNo, "HOST is empty");
            if (applies)
                env.host = std::string(value);
        } else if (key == "PORT") {
            unsigned port = 0;
            if (!parseUnsigned(value, 1, 65535, port))
                return fail(lineNo, "PORT must be a number from 1 to 65535");
            if (applies) {
                env.port = port;
                havePort = true;
            }
        } else if (key == "FIELD_TABLE" || key == "TLS_CA" || key == "TLS_CERT" || key == "TLS_KEY" ||
                   key == "TLS_CRL") {
            if (value.empty())
                return fail(lineNo, key + " is empty");
            if (applies) {
                std::string &target = key == "FIELD_TABLE" ? env.fieldTable
                                      : key == "TLS_CA"    ? env.tlsCa
                                      : key == "TLS_CERT"  ? env.tlsCertificate
                                      : key == "TLS_KEY"   ? env.tlsKey
                                                           : env.tlsRevocationList;
                target = resolve(value, baseDir);
                haveTable = haveTable || key == "FIELD_TABLE";
            }
        } else if (key == "CALL_TIMEOUT" || key == "CONNECT_TIMEOUT") {
            unsigned seconds = 0;
            if (!parseUnsigned(value, 1, 86400, seconds))
                return fail(lineNo, key + " must be a number of seconds from 1 to 86400");
            if (applies)
                (key == "CALL_TIMEOUT" ? env.callTimeoutSeconds : env.connectTimeoutSeconds) = seconds;
        } else {
            return fail(lineNo, "unknown key " + key);
        }
    }
    if (!havePort)
        return fail(lineNo, "PORT is missing");
    if (!haveTable)
        return fail(lineNo, "FIELD_TABLE is missing");
    if (env.tlsCertificate.empty() != env.tlsKey.empty())
        return fail(lineNo, env.tlsKey.empty() ? "TLS_CERT is given without TLS_KEY" : "TLS_KEY is given without TLS_CERT");
    if (env.tlsCa.empty() && !env.tlsCertificate.empty())
        return fail(lineNo, "TLS_CERT and TLS_KEY need TLS_CA, the site's CA certificate");
    if (env.tlsCa.empty() && !env.tlsRevocationList.empty())
        return fail(lineNo, "TLS_CRL needs TLS_CA, the site's CA certificate");
    return env;
}

std::optional<SiteEnvironment> readEnvironmentFile(const std::string &path, std::string_view label,
                                                   std::string *error)
{
    const auto text = readWholeFile(path);
    if (!text) {
        if (error)
            *error = "environment file " + path + " cannot be opened";
        return std::nullopt;
    }
    std::string why;
    std::string base = platform::utf8FromPath(platform::pathFromUtf8(path).parent_path());
    auto env = parseEnvironment(*text, label, base, &why);
    if (!env && error)
        *error = "environment file " + path + ": " + why;
    return env;
}

} // namespace medrec::tp

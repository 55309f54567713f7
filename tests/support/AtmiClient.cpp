#include "AtmiClient.h"

#include "atmi.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace medrec::testing {

// Absolute with its drive on Windows, where a path from the root is taken on the drive of
// the file that names it.
std::string defaultFieldTablePath()
{
    return std::filesystem::absolute(MEDREC_TEST_FIELD_TABLE).string();
}

std::string writeSiteEnvironment(const std::string &dir, const std::string &host, unsigned port,
                                 const std::string &fieldTable, const std::vector<std::string> &extraLines)
{
    std::string path = dir + "/His.env";
    std::ofstream out(path, std::ios::trunc);
    out << "# written by the test fixture\n"
        << "HOST = " << host << "\n"
        << "PORT = " << port << "\n"
        << "FIELD_TABLE = " << fieldTable << "\n";
    for (const auto &line : extraLines)
        out << line << "\n";
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

AtmiSession::AtmiSession(const std::string &envFile, const std::string &user, const std::string &client)
{
    std::string file = envFile;
    char label[] = "";
    if (tuxreadenv(file.data(), label) == -1) {
        m_error = std::string("tuxreadenv failed, ") + tpstrerror(gettperrno());
        return;
    }
    char type[] = "TPINIT";
    auto *info = reinterpret_cast<TPSTART_T *>(tpalloc(type, nullptr, 512));
    if (!info) {
        m_error = std::string("tpalloc failed, ") + tpstrerror(gettperrno());
        return;
    }
    std::strncpy(info->usrname, user.c_str(), MAXTIDENT);
    std::strncpy(info->cltname, client.c_str(), MAXTIDENT);
    info->flags = TPU_DIP;
    int rc = tpinit(info);
    tpfree(reinterpret_cast<char *>(info));
    if (rc == -1) {
        m_error = std::string("tpinit failed, ") + tpstrerror(gettperrno());
        return;
    }
    m_ok = true;
}

AtmiSession::~AtmiSession()
{
    if (m_ok)
        tpterm();
}

} // namespace medrec::testing

#include "SessionFixture.h"

#include "codec/FieldTable.h"

#include <asio.hpp>

#include <fstream>
#include <stdexcept>

namespace medrec::testing {

namespace {

unsigned unusedPort()
{
    asio::io_context io;
    asio::ip::tcp::acceptor acceptor(io, {asio::ip::make_address("127.0.0.1"), 0});
    return acceptor.local_endpoint().port(); // closed again when the acceptor goes
}

} // namespace

LoopbackHost::LoopbackHost(server::ServiceRegistry registry)
{
    std::string error;
    auto fields = tp::FieldTable::load(MEDREC_FIELD_TABLE, &error);
    if (!fields)
        throw std::runtime_error("field table: " + error);
    server::ServerOptions options;
    options.databasePath = directory() + "/host.db";
    options.fields = std::make_shared<const tp::FieldTable>(std::move(*fields));
    options.threads = 2;
    m_server = std::make_unique<server::Server>(std::move(options), std::move(registry));
    if (!m_server->start(&error))
        throw std::runtime_error("server: " + error);
    m_environmentFile = writeEnvironment("His.env", m_server->port());
}

LoopbackHost::~LoopbackHost() { m_server->stop(); }

std::string LoopbackHost::deadEnvironmentFile() const { return writeEnvironment("Dead.env", unusedPort()); }

std::string LoopbackHost::writeEnvironment(const std::string &name, unsigned port) const
{
    const std::string path = directory() + "/" + name;
    std::ofstream out(path);
    out << "HOST = 127.0.0.1\nPORT = " << port << "\nFIELD_TABLE = " << MEDREC_FIELD_TABLE
        << "\nCONNECT_TIMEOUT = 2\n";
    return path;
}

} // namespace medrec::testing

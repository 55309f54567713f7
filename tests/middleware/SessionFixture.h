#pragma once

// A real service host on an ephemeral loopback port with a fresh SQLite file, and a site
// environment file pointing at it, for tests of the call layer.

#include "Server.h"
#include "ServiceRegistry.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace medrec::testing {

class LoopbackHost
{
public:
    explicit LoopbackHost(server::ServiceRegistry registry);
    ~LoopbackHost();

    const std::string &environmentFile() const { return m_environmentFile; }
    // An environment file naming a port nobody listens on.
    std::string deadEnvironmentFile() const;
    server::Server &server() { return *m_server; }
    std::string directory() const { return m_dir.path().toStdString(); }

private:
    std::string writeEnvironment(const std::string &name, unsigned port) const;

    QTemporaryDir m_dir;
    std::unique_ptr<server::Server> m_server;
    std::string m_environmentFile;
};

} // namespace medrec::testing

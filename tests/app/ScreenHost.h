#pragma once

// The service host the main-screen tests and tools run against: the real server core with
// the real domain handlers on a real SQLite file imported from a JSON data set, on an
// ephemeral loopback port. Every call is logged (service and its key inputs) before the
// handler runs; a test may put its own handler over a real one.

#include "ServiceRegistry.h"
#include "TestSupport.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace medrec::testing {

// One call as the host received it: the service and occurrence 0 of the inputs the screen
// sends ("S_TYPE1".."S_TYPE4", "S_PATNO", "S_STRING1") and the code group ("S_CODE1"), when
// present.
struct LoggedCall
{
    std::string service;
    std::map<std::string, std::string> inputs;
    std::string input(const std::string &field) const;
};

class CallLog
{
public:
    void add(LoggedCall call);
    std::vector<LoggedCall> calls() const;
    std::vector<LoggedCall> calls(const std::string &service) const;
    void clear();

private:
    mutable std::mutex m_mutex;
    std::vector<LoggedCall> m_calls;
};

// Makes the handler that serves a service from its real one.
using HandlerOverride = std::function<server::ServiceHandler(server::ServiceHandler real)>;
using Overrides = std::map<std::string, HandlerOverride>;

// Fails the call with "시험 장애 <service>" and the user return code when `when` holds for
// the request (always when it is empty); otherwise the real handler serves it.
HandlerOverride FailWith(long userCode, std::function<bool(const server::Request &)> when = {});

// The file a test data set lives in, read whole; throws std::runtime_error when unreadable.
std::string ReadFile(const std::string &path);

class ScreenHost
{
public:
    // Throws std::runtime_error when the server does not start or the import is refused.
    explicit ScreenHost(const std::string &json, Overrides overrides = {});
    ~ScreenHost();

    // The site environment file for the client.
    const std::string &environmentFile() const { return m_environment; }
    CallLog &log() { return *m_log; }
    InProcessServer &server() { return *m_server; }

private:
    std::shared_ptr<CallLog> m_log;
    std::unique_ptr<InProcessServer> m_server;
    std::string m_environment;
};

} // namespace medrec::testing

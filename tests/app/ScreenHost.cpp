#include "ScreenHost.h"

#include "Hooks.h"


#include <fstream>
#include <sstream>
#include <stdexcept>

namespace medrec::testing {

namespace {

const char *const kLoggedFields[] = {"S_TYPE1", "S_TYPE2", "S_TYPE3", "S_TYPE4", "S_PATNO", "S_STRING1", "S_CODE1"};

server::ServiceHandler logged(std::shared_ptr<CallLog> log, std::string service,
                              server::ServiceHandler handler)
{
    return [log = std::move(log), service = std::move(service),
            handler = std::move(handler)](server::ServiceContext &ctx) {
        LoggedCall call{service, {}};
        for (const char *field : kLoggedFields)
            if (ctx.request().has(field))
                call.inputs[field] = ctx.request().text(field);
        log->add(std::move(call));
        handler(ctx);
    };
}

} // namespace

std::string LoggedCall::input(const std::string &field) const
{
    const auto it = inputs.find(field);
    return it == inputs.end() ? std::string() : it->second;
}

void CallLog::add(LoggedCall call)
{
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
}

std::vector<LoggedCall> CallLog::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<LoggedCall> CallLog::calls(const std::string &service) const
{
    std::lock_guard lock(m_mutex);
    std::vector<LoggedCall> out;
    for (const LoggedCall &call : m_calls)
        if (call.service == service)
            out.push_back(call);
    return out;
}

void CallLog::clear()
{
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

HandlerOverride FailWith(long userCode, std::function<bool(const server::Request &)> when)
{
    return [userCode, when = std::move(when)](server::ServiceHandler real) -> server::ServiceHandler {
        return [userCode, when, real = std::move(real)](server::ServiceContext &ctx) {
            if (!when || when(ctx.request()))
                ctx.fail("시험 장애 " + ctx.service(), userCode);
            else
                real(ctx);
        };
    };
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScreenHost::ScreenHost(const std::string &json, Overrides overrides) : m_log(std::make_shared<CallLog>())
{
    auto registerHandlers = [this, overrides = std::move(overrides)](server::ServiceRegistry &registry) {
        server::ServiceRegistry real;
        server::hooks::registerDomainServices(real);
        for (const std::string &name : real.names()) {
            server::ServiceHandler handler = *real.find(name);
            if (const auto it = overrides.find(name); it != overrides.end())
                handler = it->second(std::move(handler));
            registry.add(name, logged(m_log, name, std::move(handler)));
        }
    };
    InProcessOptions options;
    options.threads = 2;
    options.prepareDatabase = server::hooks::prepareDatabase;
    m_server = std::make_unique<InProcessServer>(registerHandlers, std::move(options));
    medrec::testing::importDataSet(m_server->databasePath(), json);
    m_environment = m_server->writeEnvironment();
}

ScreenHost::~ScreenHost() = default;

} // namespace medrec::testing

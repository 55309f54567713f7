#pragma once

// A stand-in service host on a loopback port that answers the wire's frames as a test
// needs, for failures the real host does not make on demand: one that never answers,
// one that answers late, one that drops the connection. Serves one connection at a time
// on a thread of its own; stops on destruction.

#include <atomic>
#include <memory>
#include <thread>

namespace medrec::testing {

class ScriptedHost
{
public:
    enum class Behaviour {
        Answers, // replies to every request, echoing a call's data; a call of "TP_SILENT"
                 // gets its reply only just before the reply to the next request
        Silent,  // accepts the connection and never answers anything
        Drops    // answers the join, then closes the connection at the first call
    };

    explicit ScriptedHost(Behaviour behaviour);
    ~ScriptedHost();
    ScriptedHost(const ScriptedHost &) = delete;
    ScriptedHost &operator=(const ScriptedHost &) = delete;

    unsigned short port() const { return m_port; }
    // Calls received so far (of any service).
    int calls() const { return m_calls; }

private:
    struct Loop;
    std::unique_ptr<Loop> m_loop;
    std::atomic<int> m_calls{0};
    unsigned short m_port = 0;
    std::thread m_thread;
};

} // namespace medrec::testing

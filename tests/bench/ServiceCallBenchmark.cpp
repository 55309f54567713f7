// What a service call costs, from one run with the cases interleaved so that the machine's
// noise hits all of them alike: the real medrec-server program on loopback with a SQLite
// file, calls made as the client makes them (a fresh standard buffer, the inputs and the
// LOG_ fields, tpcall). Prints figures; asserts nothing.
//
//   service_call_benchmark [ROUNDS]
//   service_call_benchmark --only CASE CALLS    one case alone, for a profile (CASE: TP_PING,
//                                               MD_RECOD_L1, MD_PATBA_L2, history, Enter;
//                                               loadN: N workstations for CALLS ms); on one
//                                               core with MEDREC_BENCH_PIN=1
//
// MEDREC_BENCH_SERVER_WRAPPER, when set, is the command the server runs under (split at
// blanks), e.g. "valgrind --tool=callgrind --callgrind-out-file=/tmp/server.%p";
// MEDREC_BENCH_SERVER_ARGS adds options of its own (e.g. "--threads 2").

#include "BenchData.h"
#include "EchoPeer.h"
#include "ServiceClient.h"
#include "SiteCertificates.h"
#include "TestSupport.h"
#include "client/FieldTables.h"

#include "MDG300U1.h"
#include "Sqlite.h"
#include "OperatorPresenter.h"
#include "TuxCom.h"
#include "UltraGrid.h"

#include <sched.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

using namespace medrec;
using server::store::testing::Buffer;
using server::store::testing::joinSession;
using tp::client::ClientSession;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultRounds = 40;
// Services called when Enter opens a patient: search and display, the visit list, one
// record-kind list per visit, the newest visit's kinds and the first kind's records.
constexpr int kEnterCalls = 2 + 1 + bench::kVisits + 1 + 1;

double micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<std::string> words(const char *variable)
{
    std::vector<std::string> out;
    if (const char *w = std::getenv(variable)) {
        std::istringstream words(w);
        for (std::string word; words >> word;)
            out.push_back(word);
    }
    return out;
}

bool succeeded(ClientSession &session, const char *service, Buffer &b)
{
    const auto outcome = server::store::testing::call(session, service, b);
    if (outcome.rc != 0)
        std::cerr << service << " failed: " << outcome.statlin << "\n";
    return outcome.rc == 0;
}

// The calls of one workstation, each as the client makes it.
class Workstation
{
public:
    Workstation(const std::string &env, const std::string &name, std::vector<std::string> visits)
        : m_session(joinSession(env, name, "127.0.0.1")), m_name(name), m_visits(std::move(visits))
    {
    }

    bool ping()
    {
        Buffer b;
        b.set("S_PATNO", bench::kPatient).log(m_name, "127.0.0.1", "MDG300F1");
        return succeeded(*m_session, "TP_PING", b);
    }
    bool recordKinds()
    {
        Buffer b;
        b.set("S_TYPE2", "1").set("S_PATNO", bench::kPatient).set("S_STRING1", m_visits[m_next++ % m_visits.size()]);
        b.log(m_name, "127.0.0.1", "MDG300F1");
        return succeeded(*m_session, "MD_RECOD_L1", b) && b.count("S_STRING1") == 2;
    }
    // The patient searched by name, as the operator types it.
    bool patient()
    {
        Buffer b;
        b.set("S_TYPE1", "2").set("S_TYPE2", "").set("S_TYPE3", bench::kPatientName);
        b.log(m_name, "127.0.0.1", "MDG300F1");
        return succeeded(*m_session, "MD_PATBA_L2", b) && b.count("S_STRING1") == 1;
    }
    bool history()
    {
        const server::store::testing::HistoryRow row{bench::kPatient, std::to_string(m_next++), "empty", "empty",
                                                     "empty", "MDPGNOTT"};
        return server::store::testing::writeHistory(*m_session, row).rc == 0;
    }
    // The size of a TP_PING request on the wire (field buffer and frame header).
    std::size_t pingBytes()
    {
        Buffer b;
        b.set("S_PATNO", bench::kPatient).log(m_name, "127.0.0.1", "MDG300F1");
        return static_cast<std::size_t>(Fused(reinterpret_cast<FBFR *>(b.data()))) + 40;
    }

private:
    std::unique_ptr<ClientSession> m_session;
    std::string m_name;
    std::vector<std::string> m_visits;
    std::size_t m_next = 0;
};

// The real server with the benchmark's patient imported, and its site environment; over
// TLS when given the site's certificates and the workstation's.
struct BenchServer
{
    BenchServer(const medrec::testing::SiteCertificates *site = nullptr,
                const medrec::testing::SiteCertificates::Workstation &workstation = {})
        : process(options(site))
    {
        medrec::testing::importDataSet(process.databasePath(), bench::manyVisitsData());
        const auto lines = site ? site->environmentLines(workstation) : std::vector<std::string>{};
        env = medrec::testing::writeSiteEnvironment(process.directory(), "127.0.0.1", process.port(),
                                                    medrec::testing::defaultFieldTablePath(), lines);
    }
    static medrec::testing::ServerProcessOptions options(const medrec::testing::SiteCertificates *site)
    {
        medrec::testing::ServerProcessOptions o;
        o.extraArgs = words("MEDREC_BENCH_SERVER_ARGS");
        if (site) {
            const auto tls = site->serverArguments();
            o.extraArgs.insert(o.extraArgs.end(), tls.begin(), tls.end());
        }
        o.extraArgs.push_back("--quiet");
        o.wrapper = words("MEDREC_BENCH_SERVER_WRAPPER");
        return o;
    }
    medrec::testing::ServerProcess process;
    std::string env;
};

// Round trips on this virtual machine pay, at random, for the hypervisor waking a virtual
// core that had gone idle (tens of microseconds, more than a whole call). With the client,
// its threads and the server (forked after this) on one core, no wake-up crosses cores and
// the figures measure the software. Gives the mask to restore.
cpu_set_t pinToOneCore()
{
    cpu_set_t all;
    CPU_ZERO(&all);
    sched_getaffinity(0, sizeof all, &all);
    int first = 0;
    while (first < CPU_SETSIZE && !CPU_ISSET(first, &all))
        ++first;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    sched_setaffinity(0, sizeof one, &one);
    return all;
}

std::vector<std::string> visitList(const std::string &env)
{
    auto session = joinSession(env, "BENCH", "127.0.0.1");
    Buffer b("FML32");
    b.set("S_PATNO", bench::kPatient).set("S_TYPE1", "EB1").set("S_TYPE2", "20110101");
    b.log("BENCH", "127.0.0.1", "MDG300F1");
    std::vector<std::string> visits;
    if (succeeded(*session, "MD_PMEDH_S1", b))
        for (int i = 0; i < b.count("S_STRING1"); ++i)
            visits.push_back(b.text("S_STRING1", i));
    return visits;
}

// One latency case: a call made `batch` times in each round.
struct Case
{
    std::string label;
    int batch;
    std::function<bool()> once;
    std::vector<double> micros;
};

bool runBatch(Case &c)
{
    for (int i = 0; i < c.batch; ++i) {
        const auto start = Clock::now();
        if (!c.once())
            return false;
        c.micros.push_back(micros(Clock::now() - start));
    }
    return true;
}

// The main screen on the offscreen platform, opened on the benchmark's patient by Enter.
class Screen
{
public:
    explicit Screen(const std::string &env)
    {
        middleware::SetPresenter(std::make_unique<middleware::StderrPresenter>());
        middleware::SetCommandLine({"medrec", "BENCH", "USER"});
        setenv("MEDREC_ENV_FILE", env.c_str(), 1);
        m_form = std::make_unique<app::TMDG300F1>();
        if (m_form->sessionOpen())
            m_form->show();
    }
    ~Screen()
    {
        m_form.reset();
        middleware::TuxTerm();
    }
    bool ok() const { return m_form->sessionOpen(); }

    // Milliseconds from Enter to the filled record list; negative when it was not filled.
    double enter()
    {
        QLineEdit *edit = m_form->controls().ed_PatNo;
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(bench::kPatient + 4));
        const auto start = Clock::now();
        QTest::keyClick(edit, Qt::Key_Return);
        const double ms = micros(Clock::now() - start) / 1000;
        const auto &ui = m_form->controls();
        if (ui.ugd_History->rowCount() - ui.ugd_History->fixedRows() != bench::kVisits ||
            ui.ugd_RecodDt->cell(0, 1) != bench::kPatient)
            return -1;
        return ms;
    }

private:
    std::unique_ptr<app::TMDG300F1> m_form;
};

// Calls per second of `count` workstations calling "MD_RECOD_L1" for `phase`, each on a
// session and thread of its own; negative when a call failed.
double concurrentCalls(const std::string &env, const std::vector<std::string> &visits, int count,
                       std::chrono::milliseconds phase)
{
    std::vector<std::unique_ptr<Workstation>> stations;
    for (int i = 0; i < count; ++i)
        stations.push_back(std::make_unique<Workstation>(env, "WS" + std::to_string(i), visits));
    std::atomic<bool> go{false}, stop{false};
    std::atomic<long> calls{0}, failures{0};
    std::vector<std::thread> threads;
    for (auto &station : stations)
        threads.emplace_back([&, s = station.get()] {
            while (!go.load())
                std::this_thread::yield();
            while (!stop.load(std::memory_order_relaxed))
                (s->recordKinds() ? calls : failures)++;
        });
    const auto start = Clock::now();
    go = true;
    std::this_thread::sleep_for(phase);
    const long done = calls.load();
    const double seconds = micros(Clock::now() - start) / 1e6;
    stop = true;
    for (auto &t : threads)
        t.join();
    return failures.load() ? -1 : static_cast<double>(done) / seconds;
}

// Median milliseconds of a one-row commit on a bare WAL file with the given synchronous mode:
// what the server's full synchronisation costs on this disk.
double bareCommits(const std::string &path, const char *synchronous)
{
    using namespace server::store;
    Connection db(path, Connection::Mode::ReadWriteCreate);
    execute(db.get(), std::string("PRAGMA synchronous=") + synchronous);
    execute(db.get(), "CREATE TABLE t(v TEXT)");
    // The steady state of a running server: the WAL file has its size already and a commit
    // overwrites it after a checkpoint, rather than growing it each time.
    for (int i = 0; i < 200; ++i)
        execute(db.get(), "INSERT INTO t VALUES ('warm-up')");
    execute(db.get(), "PRAGMA wal_checkpoint(RESTART)");
    std::vector<double> each;
    for (int i = 0; i < 200; ++i) {
        const auto start = Clock::now();
        execute(db.get(), "BEGIN IMMEDIATE; INSERT INTO t VALUES ('row'); COMMIT;");
        each.push_back(micros(Clock::now() - start) / 1000);
    }
    return median(each);
}

int runOnly(const std::string &env, const std::vector<std::string> &visits, const std::string &name, int calls)
{
    if (name.rfind("load", 0) == 0) { // loadN: N workstations at once for CALLS ms
        const double rate = concurrentCalls(env, visits, std::atoi(name.c_str() + 4), std::chrono::milliseconds(calls));
        std::printf("%s: %.0f calls/s\n", name.c_str(), rate);
        return 0;
    }
    if (name == "Enter") {
        Screen screen(env);
        std::vector<double> ms;
        for (int i = 0; i < calls && screen.ok(); ++i)
            ms.push_back(screen.enter());
        std::printf("Enter: %d runs, median %.1f ms\n", calls, median(ms));
        return 0;
    }
    Workstation ws(env, "BENCH", visits);
    std::function<bool()> once = name == "TP_PING"       ? std::function<bool()>([&] { return ws.ping(); })
                                 : name == "MD_RECOD_L1" ? std::function<bool()>([&] { return ws.recordKinds(); })
                                 : name == "MD_PATBA_L2" ? std::function<bool()>([&] { return ws.patient(); })
                                 : name == "history"     ? std::function<bool()>([&] { return ws.history(); })
                                                         : std::function<bool()>();
    if (!once) {
        std::cerr << "unknown case " << name << "\n";
        return 2;
    }
    Case c{name, calls, once, {}};
    if (!runBatch(c))
        return 1;
    std::printf("%s: %d calls, median %.1f us\n", name.c_str(), calls, median(c.micros));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const bool only = argc > 3 && std::strcmp(argv[1], "--only") == 0;
    const int rounds = !only && argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
    try {
        const bool pinned = !only || std::getenv("MEDREC_BENCH_PIN") != nullptr;
        const cpu_set_t allCores = pinned ? pinToOneCore() : cpu_set_t{};
        medrec::tp::client::installFieldTable(medrec::testing::loadDefaultFieldTable());
        auto server = std::make_unique<BenchServer>();
        const std::string env = server->env;
        const auto visits = visitList(env);
        if (visits.size() != static_cast<std::size_t>(bench::kVisits)) {
            std::cerr << "the visit list came back with " << visits.size() << " visits\n";
            return 1;
        }
        if (only)
            return runOnly(env, visits, argv[2], std::max(1, std::atoi(argv[3])));

        medrec::testing::SiteCertificates site("Bench Hospital");
        const auto benchPc = site.issue("bench-pc");
        auto tlsServer = std::make_unique<BenchServer>(&site, benchPc);
        Workstation ws(env, "BENCH", visits);
        Workstation tlsWs(tlsServer->env, "BENCH", visits);
        // A whole session: connect (with the TLS handshake), tpinit, tpterm.
        auto connectOnce = [](const std::string &environment) {
            auto session = joinSession(environment, "BENCH", "127.0.0.1");
            return session && session->term() == 0;
        };
        bench::EchoPeer echo(ws.pingBytes());
        std::vector<Case> cases;
        cases.push_back({"raw TCP echo, " + std::to_string(echo.bytes()) + " bytes", 50, [&] { return echo.roundTrip(); }, {}});
        cases.push_back({"TP_PING", 50, [&] { return ws.ping(); }, {}});
        cases.push_back({"MD_RECOD_L1 (a visit's record kinds)", 50, [&] { return ws.recordKinds(); }, {}});
        cases.push_back({"MD_PATBA_L2 by name", 50, [&] { return ws.patient(); }, {}});
        cases.push_back({"print-history write (tpbegin, MD_RECOD_U1, tpcommit)", 5, [&] { return ws.history(); }, {}});
        cases.push_back({"TP_PING over TLS 1.3", 50, [&] { return tlsWs.ping(); }, {}});
        cases.push_back({"MD_RECOD_L1 over TLS 1.3", 50, [&] { return tlsWs.recordKinds(); }, {}});
        cases.push_back({"connect, tpinit, tpterm over plain TCP", 5, [&] { return connectOnce(env); }, {}});
        cases.push_back({"connect, TLS handshake, tpinit, tpterm", 5, [&] { return connectOnce(tlsServer->env); }, {}});

        Screen screen(env);
        if (!screen.ok())
            return 1;
        std::vector<double> enters;
        for (int round = -1; round < rounds; ++round) { // round -1 warms caches and connections
            for (Case &c : cases) {
                const std::size_t had = c.micros.size();
                if (!runBatch(c))
                    return 1;
                if (round < 0)
                    c.micros.resize(had);
            }
            const double ms = screen.enter();
            if (ms < 0) {
                std::cerr << "the record list was not filled\n";
                return 1;
            }
            if (round >= 0)
                enters.push_back(ms);
        }

        const double echoUs = median(cases[0].micros);
        const double pingUs = median(cases[1].micros);
        std::printf("service calls to medrec-server on loopback (4 worker threads), %d rounds with the cases "
                    "interleaved, client and server on one core; median of each:\n",
                    rounds);
        for (const Case &c : cases)
            std::printf("  %-56s %8.1f us  %6.2f x echo\n", c.label.c_str(), median(c.micros),
                        median(c.micros) / echoUs);
        std::printf("  goals: TP_PING %.2f x echo (<= 1.5), MD_RECOD_L1 %.2f x TP_PING (<= 2)\n", pingUs / echoUs,
                    median(cases[2].micros) / pingUs);
        std::printf("  TLS beside plain TCP: TP_PING %.2f x, MD_RECOD_L1 %.2f x (goal <= 1.3); the handshake adds "
                    "%.0f us to a session's start\n",
                    median(cases[5].micros) / pingUs, median(cases[6].micros) / median(cases[2].micros),
                    median(cases[8].micros) - median(cases[7].micros));

        const double enterMs = median(enters);
        const double budgetMs = kEnterCalls * pingUs / 1000;
        std::printf("Enter to a filled record list, patient with %d visits (%d service calls), %d runs: median "
                    "%.1f ms (min %.1f, max %.1f)\n",
                    bench::kVisits, kEnterCalls, rounds, enterMs, *std::min_element(enters.begin(), enters.end()),
                    *std::max_element(enters.begin(), enters.end()));
        std::printf("  %d x TP_PING = %.1f ms: Enter is %.2f x that, %+.1f ms beside it (goal <= +5 ms)\n",
                    kEnterCalls, budgetMs, enterMs / budgetMs, enterMs - budgetMs);

        // Throughput on every core, from a server started after the pin is lifted.
        sched_setaffinity(0, sizeof allCores, &allCores);
        server.reset();
        tlsServer.reset();
        server = std::make_unique<BenchServer>();
        tlsServer = std::make_unique<BenchServer>(&site, benchPc);
        const std::string loadEnv = server->env;
        constexpr int kLevels[] = {1, 4, 16, 64};
        constexpr int kLoadRounds = 3;
        std::vector<double> rates[std::size(kLevels)];
        for (int round = 0; round < kLoadRounds; ++round)
            for (std::size_t l = 0; l < std::size(kLevels); ++l) {
                const double rate = concurrentCalls(loadEnv, visits, kLevels[l], std::chrono::milliseconds(1000));
                if (rate < 0) {
                    std::cerr << "a concurrent call failed\n";
                    return 1;
                }
                rates[l].push_back(rate);
            }
        std::printf("workstations calling MD_RECOD_L1 at once, each on its own session and thread, every core, "
                    "%d rounds of 1 s per level (median):\n",
                    kLoadRounds);
        for (std::size_t l = 0; l < std::size(kLevels); ++l)
            std::printf("  %2d workstations: %8.0f calls/s\n", kLevels[l], median(rates[l]));
        std::printf("  goals: 16 workstations >= 20,000 calls/s; 64 no slower than 16 (%.2f x)\n",
                    median(rates[3]) / median(rates[2]));
        std::vector<double> tlsRates;
        for (int round = 0; round < kLoadRounds; ++round) {
            const double plain = concurrentCalls(loadEnv, visits, 16, std::chrono::milliseconds(1000));
            const double tls = concurrentCalls(tlsServer->env, visits, 16, std::chrono::milliseconds(1000));
            if (plain < 0 || tls < 0) {
                std::cerr << "a concurrent call failed\n";
                return 1;
            }
            rates[2].push_back(plain);
            tlsRates.push_back(tls);
        }
        std::printf("  16 workstations over TLS 1.3: %8.0f calls/s (%.2f x plain TCP in the same rounds; goal "
                    ">= 20,000 calls/s)\n",
                    median(tlsRates), median(tlsRates) / median(rates[2]));

        const double normal = bareCommits(server->process.directory() + "/normal.db", "NORMAL");
        const double full = bareCommits(server->process.directory() + "/full.db", "FULL");
        std::printf("one-row commits on a bare WAL file on this disk: synchronous=NORMAL %.3f ms, FULL %.3f ms "
                    "(median); the server's full synchronisation costs %.3f ms a write\n",
                    normal, full, full - normal);
        return 0;
    } catch (const std::exception &e) {
        std::cerr << "service_call_benchmark: " << e.what() << "\n";
        return 1;
    }
}

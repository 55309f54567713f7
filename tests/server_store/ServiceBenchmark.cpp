// Prints how fast the catalogue services answer on loopback (not a test: no thresholds).
//
//   1. A patient with 100 visits: the main screen's visit list, one "MD_PMEDH_S1" and one
//      "MD_RECOD_L1" per visit (101 calls), wall time per round.
//   2. 16 clients at once, each calling "MD_RECOD_L1" as fast as it can: calls per second.
//   3. Print-history rows written as the print run writes them (begin, "MD_RECOD_U1",
//      commit), one after the other: time per row with the server's full synchronisation.
//   4. What that synchronisation costs: one-row commits on a bare SQLite file in WAL mode
//      with synchronous=NORMAL and with synchronous=FULL.
//
// Runs the medrec-server program on a fresh database filled through the import.

#include "ServiceClient.h"
#include "TestSupport.h"

#include "Importer.h"
#include "Sqlite.h"
#include "client/FieldTables.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace medrec::server::store;
using namespace medrec::server::store::testing;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kVisits = 100;
constexpr int kRounds = 30;
constexpr int kClients = 16;
constexpr auto kLoadTime = std::chrono::seconds(3);

std::string visitDigits(int i)
{
    // One visit every nine days from 2011-01-03, at 09:30.
    std::tm day{};
    day.tm_year = 111;
    day.tm_mon = 0;
    day.tm_mday = 3 + 9 * i;
    day.tm_hour = 12;
    std::mktime(&day);
    char text[48];
    std::snprintf(text, sizeof text, "%04d%02d%02d0930", day.tm_year + 1900, day.tm_mon + 1, day.tm_mday);
    return text;
}

std::string benchmarkData()
{
    using nlohmann::json;
    json visits = json::array();
    for (int i = 0; i < kVisits; ++i) {
        const std::string at = visitDigits(i);
        json records = json::array();
        for (const char *kind : {"MDPGNOTT", "MDNRRECT", "MDVITALT"})
            records.push_back({{"kind", kind}, {"columns", {"00001234", at.substr(0, 8), "", "71", "7101"}}});
        visits.push_back({{"date", at}, {"kind", "admission"}, {"department", "GS"}, {"ward", "71"},
                          {"room", "7101"}, {"records", records}});
    }
    json doc = {
        {"departments", {{{"code", "GS"}, {"name", "외과"}}}},
        {"wards", {{{"code", "71"}, {"name", "71병동"}, {"rooms", {"7101"}}}}},
        {"recordKinds",
         {{{"code", "MDPGNOTT"}, {"name", "경과기록"}}, {{"code", "MDNRRECT"}, {"name", "간호기록"}},
          {{"code", "MDVITALT"}, {"name", "활력징후기록"}}}},
        {"patients", {{{"number", "00001234"}, {"name", "김민준"}, {"visits", visits}}}},
    };
    return doc.dump();
}

bool call(medrec::tp::client::ClientSession &s, const char *service, Buffer &b, int expectRows)
{
    const Outcome o = medrec::server::store::testing::call(s, service, b);
    return o.rc == 0 && b.count("S_STRING1") == expectRows;
}

// The visit list of the main screen: returns false when a call fails.
bool visitListRound(medrec::tp::client::ClientSession &s)
{
    Buffer list("FML32");
    list.set("S_PATNO", "00001234").set("S_TYPE1", "EB1").set("S_TYPE2", "20110101");
    list.log("BENCH", "127.0.0.1", "MDG300F1");
    if (!call(s, "MD_PMEDH_S1", list, kVisits))
        return false;
    for (int i = 0; i < kVisits; ++i) {
        Buffer kinds;
        kinds.set("S_TYPE2", "1").set("S_PATNO", "00001234").set("S_STRING1", list.text("S_STRING1", i));
        kinds.log("BENCH", "127.0.0.1", "MDG300F1");
        if (!call(s, "MD_RECOD_L1", kinds, 3))
            return false;
    }
    return true;
}

double millis(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

constexpr int kHistoryRows = 200;

// Median milliseconds of one history row, or a negative number when a write failed.
double historyWrites(medrec::tp::client::ClientSession &s)
{
    std::vector<double> each;
    for (int i = 0; i < kHistoryRows; ++i) {
        const HistoryRow row{"00001234", std::to_string(i), "empty", "empty", "empty", "MDPGNOTT"};
        const auto start = Clock::now();
        if (writeHistory(s, row).rc != 0)
            return -1;
        each.push_back(millis(Clock::now() - start));
    }
    std::sort(each.begin(), each.end());
    return each[each.size() / 2];
}

// Median milliseconds of a one-row commit on a WAL file with the given synchronous mode.
double bareCommits(const std::string &path, const char *synchronous)
{
    Connection db(path, Connection::Mode::ReadWriteCreate);
    execute(db.get(), std::string("PRAGMA synchronous=") + synchronous);
    execute(db.get(), "CREATE TABLE t(v TEXT)");
    // The steady state of a running server: the WAL file has its size already and a
    // commit overwrites it after a checkpoint, rather than growing it each time.
    for (int i = 0; i < kHistoryRows; ++i)
        execute(db.get(), "INSERT INTO t VALUES ('warm-up')");
    execute(db.get(), "PRAGMA wal_checkpoint(RESTART)");
    std::vector<double> each;
    for (int i = 0; i < kHistoryRows; ++i) {
        const auto start = Clock::now();
        execute(db.get(), "BEGIN IMMEDIATE; INSERT INTO t VALUES ('row'); COMMIT;");
        each.push_back(millis(Clock::now() - start));
    }
    std::sort(each.begin(), each.end());
    return each[each.size() / 2];
}

} // namespace

int main()
{
    medrec::tp::client::installFieldTable(medrec::testing::loadDefaultFieldTable());
    medrec::testing::ServerProcess server({"--quiet"});
    {
        Connection db(server.databasePath(), Connection::Mode::ReadWrite);
        const ImportResult r = importJson(db.get(), benchmarkData());
        if (!r.ok) {
            std::fprintf(stderr, "import failed: %s\n", r.error.c_str());
            return 1;
        }
    }
    const std::string env =
        medrec::testing::writeSiteEnvironment(server.directory(), "127.0.0.1", server.port());

    auto session = joinSession(env, "BENCH", "127.0.0.1");
    visitListRound(*session); // warm up connections and caches
    std::vector<double> rounds;
    for (int r = 0; r < kRounds; ++r) {
        const auto start = Clock::now();
        if (!visitListRound(*session)) {
            std::fprintf(stderr, "a call failed\n");
            return 1;
        }
        rounds.push_back(millis(Clock::now() - start));
    }
    std::sort(rounds.begin(), rounds.end());
    std::printf("visit list of a patient with %d visits (1 MD_PMEDH_S1 + %d MD_RECOD_L1 = %d calls), %d rounds:\n",
                kVisits, kVisits, kVisits + 1, kRounds);
    std::printf("  min %.1f ms, median %.1f ms, max %.1f ms; %.3f ms per call (median)\n", rounds.front(),
                rounds[rounds.size() / 2], rounds.back(), rounds[rounds.size() / 2] / (kVisits + 1));

    const double perRow = historyWrites(*session);
    if (perRow < 0) {
        std::fprintf(stderr, "a history write failed\n");
        return 1;
    }
    std::printf("print history, %d rows one after the other (begin, MD_RECOD_U1, commit): %.2f ms per row "
                "(median)\n",
                kHistoryRows, perRow);
    const double normal = bareCommits(server.directory() + "/normal.db", "NORMAL");
    const double full = bareCommits(server.directory() + "/full.db", "FULL");
    std::printf("one-row commits on a bare WAL file: synchronous=NORMAL %.3f ms, FULL %.3f ms (median); "
                "full synchronisation costs %.3f ms a write on this disk\n",
                normal, full, full - normal);
    session.reset();

    std::atomic<long> calls{0};
    std::atomic<long> failures{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            try {
                auto s = joinSession(env, "BENCH" + std::to_string(c), "127.0.0.1");
                int i = 0;
                while (!stop.load(std::memory_order_relaxed)) {
                    Buffer kinds;
                    kinds.set("S_TYPE2", "1").set("S_PATNO", "00001234").set("S_STRING1", visitDigits(i++ % kVisits));
                    if (call(*s, "MD_RECOD_L1", kinds, 3))
                        calls++;
                    else
                        failures++;
                }
            } catch (const std::exception &e) {
                std::fprintf(stderr, "client %d: %s\n", c, e.what());
                failures++;
            }
        });
    }
    const auto start = Clock::now();
    std::this_thread::sleep_for(kLoadTime);
    stop = true;
    for (auto &t : clients)
        t.join();
    const double seconds = millis(Clock::now() - start) / 1000.0;
    std::printf("%d clients calling MD_RECOD_L1 for %.1f s: %ld calls, %.0f calls/s, %ld failed\n", kClients, seconds,
                calls.load(), static_cast<double>(calls.load()) / seconds, failures.load());
    return failures.load() == 0 ? 0 : 1;
}

// How long the operator waits between Enter in the patient-number edit and a filled record
// list, for a patient with 100 visits: the real medrec-server program on loopback with a
// SQLite file, the screen on the offscreen platform. Prints figures; asserts nothing.
//
//   main_screen_benchmark [RUNS]

#include "MDG300U1.h"
#include "TestSupport.h"

#include "Importer.h"
#include "OperatorPresenter.h"
#include "TuxCom.h"
#include "UltraGrid.h"

#include <sqlite3.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <numeric>
#include <sstream>
#include <vector>

namespace {

constexpr int kVisits = 100;

// One patient whose visits each hold a nursing record and two progress notes.
std::string dataSet()
{
    std::ostringstream json;
    json << R"({"departments": [{"code": "GS", "name": "외과"}],
  "recordKinds": [
    {"code": "MDNRRECT", "name": "간호기록", "formCode": "KRV 82-NR-1-10", "titles": "등록번호|기록일자|기록시간|부서|작성자"},
    {"code": "MDPGNOTT", "name": "경과기록", "formCode": "KRV 82-MR-3-32", "titles": "등록번호|작성일자|순번|작성자"}],
  "patients": [{"number": "00007001", "name": "방문왕", "sex": "F", "birthDate": "19600101", "visits": [)";
    for (int v = 0; v < kVisits; ++v) {
        char date[16];
        // One visit a month from 2012 on, so none falls before the list's cut-off.
        std::snprintf(date, sizeof date, "%04d%02d15%02d30", 2012 + v / 12, v % 12 + 1, 9 + v % 8);
        const std::string day(date, 8);
        json << (v ? "," : "") << R"({"date": ")" << date
             << R"(", "kind": "outpatient", "department": "GS", "records": [)"
             << R"({"kind": "MDNRRECT", "columns": ["00007001", ")" << day
             << R"(", "0900", "외래", "간호사"]},)"
             << R"({"kind": "MDPGNOTT", "columns": ["00007001", ")" << day << R"(", "1", "의사"]},)"
             << R"({"kind": "MDPGNOTT", "columns": ["00007001", ")" << day << R"(", "2", "의사"]}]})";
    }
    json << "]}]}";
    return json.str();
}

bool import(const std::string &databasePath, const std::string &json)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(databasePath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_busy_timeout(db, 5000);
    const auto result = medrec::server::store::importJson(db, json);
    sqlite3_close(db);
    if (!result.ok)
        std::cerr << "import refused: " << result.error << "\n";
    return result.ok;
}

} // namespace

int main(int argc, char *argv[])
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    try {
        medrec::testing::ServerProcess server;
        if (!import(server.databasePath(), dataSet()))
            return 1;
        const std::string env =
            medrec::testing::writeSiteEnvironment(server.directory(), "127.0.0.1", server.port());
        medrec::middleware::SetPresenter(std::make_unique<medrec::middleware::StderrPresenter>());
        medrec::middleware::SetCommandLine({"medrec", "BENCH", "USER"});
        setenv("MEDREC_ENV_FILE", env.c_str(), 1);
        medrec::app::TMDG300F1 form;
        if (!form.sessionOpen())
            return 1;
        form.show();
        QLineEdit *edit = form.controls().ed_PatNo;

        std::vector<double> millis;
        for (int run = -1; run < runs; ++run) { // run -1 warms the caches up
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("7001"));
            const auto begin = std::chrono::steady_clock::now();
            QTest::keyClick(edit, Qt::Key_Return);
            const auto end = std::chrono::steady_clock::now();
            const auto &ui = form.controls();
            if (ui.ugd_History->rowCount() - ui.ugd_History->fixedRows() != kVisits ||
                ui.ugd_RecodDt->cell(0, 1) != "00007001") {
                std::cerr << "the record list was not filled\n";
                return 1;
            }
            if (run >= 0)
                millis.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
        }
        std::sort(millis.begin(), millis.end());
        const double mean =
            std::accumulate(millis.begin(), millis.end(), 0.0) / static_cast<double>(millis.size());
        // Patient search and display, the visit list, one record-kind call per visit, the
        // newest visit's kinds and the first kind's records.
        const int calls = 2 + 1 + kVisits + 1 + 1;
        std::printf("main screen, Enter to filled record list, patient with %d visits (%d service calls), "
                    "medrec-server on loopback, %d runs:\n",
                    kVisits, calls, runs);
        std::printf(
            "  min %.1f ms  median %.1f ms  mean %.1f ms  max %.1f ms  (%.2f ms per call at the median)\n",
            millis.front(), millis[millis.size() / 2], mean, millis.back(),
            millis[millis.size() / 2] / calls);
        medrec::middleware::TuxTerm();
        return 0;
    } catch (const std::exception &e) {
        std::cerr << "main_screen_benchmark: " << e.what() << "\n";
        return 1;
    }
}

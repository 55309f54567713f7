#include "PrintHistory.h"

#include "Hmdrecodt.h"

namespace medrec::reports {

int SavePrintHistory(const std::vector<HistoryRow> &rows, const std::string &kindCode)
{
    services::Hmdrecodt history;
    for (auto &field : history.historyInput)
        field.clear();
    for (const HistoryRow &row : rows) {
        const std::string values[] = {row.patientNo, row.key2, row.a3, row.a4, row.a5, kindCode};
        for (std::size_t i = 0; i < history.historyInput.size(); ++i)
            history.historyInput[i].push_back(values[i]);
    }
    return history.AddPrintHist(static_cast<int>(rows.size()));
}

} // namespace medrec::reports

#include "PrintHistory.h"

#include "Hmdrecodt.h"

namespace medrec::reports {

int SavePrintHistory(const HistoryRow &row, const std::string &kindCode)
{
    services::Hmdrecodt history;
    const std::string values[] = {row.patNo,      row.recordKey,  row.details[0],
                                  row.details[1], row.details[2], kindCode};
    for (std::size_t i = 0; i < history.historyInput.size(); ++i)
        history.historyInput[i] = {values[i]};
    return history.AddPrintHist(1);
}

} // namespace medrec::reports

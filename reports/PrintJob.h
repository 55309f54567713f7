#pragma once

// What a print block hands back to the print run: either a job (the filled reports, printed
// as one document, the summary labels and the history rows) or why nothing prints. The
// block never shows a box, writes the status line or prints: the print run does, from this.

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace medrec::engine {
class Report;
}

namespace medrec::reports {

// The main screen's printed-record summary labels.
struct PrintedSummary
{
    std::string patno, meddate, dschdate, patgubun, meddept, chadr;
    friend bool operator==(const PrintedSummary &, const PrintedSummary &) = default;
};

// One print-history row; the print run adds the record kind code. "empty" stands for no
// value.
struct HistoryRow
{
    std::string patientNo;
    std::string key2;
    std::string a3 = "empty", a4 = "empty", a5 = "empty";
    friend bool operator==(const HistoryRow &, const HistoryRow &) = default;
};

// A message to the operator: a plain message box, a status-line text, or nothing.
struct Notice
{
    enum class Channel { None, Box, Status };
    Channel channel = Channel::None;
    std::string text;

    static Notice box(std::string text) { return {Channel::Box, std::move(text)}; }
    static Notice status(std::string text) { return {Channel::Status, std::move(text)}; }
    static Notice none() { return {}; }
};

// The message of the first record kinds when their record has no rows.
inline const Notice kNothingToPrint = Notice::box("출력할  자료가 없습니다.");

struct NotPrinted
{
    enum class Reason {
        ServiceFailed, // the call layer holds the text; shown by the service's channel
        NothingFound,  // shown as `notice`
        Refused,       // bad data for this form; shown as `notice`
    };
    Reason reason = Reason::NothingFound;
    Notice notice;
};

class PrintJob
{
public:
    PrintJob();
    PrintJob(PrintJob &&) noexcept;
    PrintJob &operator=(PrintJob &&) noexcept;
    ~PrintJob();

    // Reports print in the order added, as one document: all of them or none.
    engine::Report &add(std::unique_ptr<engine::Report> report);
    const std::vector<std::unique_ptr<engine::Report>> &reports() const { return m_reports; }

    PrintedSummary summary;
    // No rows for the kinds that write none; several where one print records several.
    std::vector<HistoryRow> history;

private:
    std::vector<std::unique_ptr<engine::Report>> m_reports;
};

using BlockResult = std::variant<PrintJob, NotPrinted>;

// The data-class convention turned into the block's early exit: -1 a failed call, 0 no
// rows (told as `whenEmpty`), anything else goes on (nullopt).
std::optional<NotPrinted> Fetched(int result, Notice whenEmpty);

} // namespace medrec::reports

#pragma once

// What a print block hands back to the print run: either a job (the filled reports, printed
// as one document, and the summary labels) or why nothing prints. The block never shows a
// box, writes the status line or prints: the print run does, from this.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace medrec::engine {
class Report;
}

namespace medrec::reports {

// The main screen's printed-record summary labels. The frame sets `patno` (always the
// record's column 0); the block sets the others from the sources its kind names.
struct PrintedSummary
{
    std::string patno, meddate, dschdate, patgubun, meddept, chadr;
    // The caption over lb_meddate for this record; empty: the screen's own "입원일자/진료일자".
    std::string meddateCaption;
    friend bool operator==(const PrintedSummary &, const PrintedSummary &) = default;
};

// One print-history row (A1 to A5; the print run adds the record kind code as A6). "empty"
// stands for no value.
struct HistoryRow
{
    std::string patNo;      // A1: the record's column 0
    std::string recordKey;  // A2: its column 1
    std::array<std::string, 3> details{"empty", "empty", "empty"}; // A3 to A5: the cells the kind names
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
    // Set by the frame from the kind's registry row; none for the kinds that write none.
    std::optional<HistoryRow> history;
    // Said on the status line once the document went out (what the print left empty and why).
    std::string status;

private:
    std::vector<std::unique_ptr<engine::Report>> m_reports;
};

using BlockResult = std::variant<PrintJob, NotPrinted>;

// The data-class convention turned into the block's early exit: -1 a failed call, 0 no
// rows (told as `whenEmpty`), anything else goes on (nullopt).
std::optional<NotPrinted> Fetched(int result, Notice whenEmpty);

// What a fetch brought: the rows, or the block's early exit.
template <class T>
class Fetch
{
public:
    Fetch(T value) : m_outcome(std::move(value)) {}
    Fetch(NotPrinted stop) : m_outcome(std::move(stop)) {}

    explicit operator bool() const { return std::holds_alternative<T>(m_outcome); }
    T &operator*() { return std::get<T>(m_outcome); }
    T *operator->() { return &std::get<T>(m_outcome); }
    const NotPrinted &stop() const { return std::get<NotPrinted>(m_outcome); }

private:
    std::variant<T, NotPrinted> m_outcome;
};

} // namespace medrec::reports

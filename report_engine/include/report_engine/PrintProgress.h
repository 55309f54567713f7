#pragma once

#include <memory>

class QProgressDialog;
class QWidget;

// The print's progress window: it counts the pages as they are laid out, then as they are
// painted. Shown only where a widget application runs (not in the command-line tools); a
// window that is not shown takes the counts and does nothing.

namespace medrec::engine {

class PrintProgress {
public:
    explicit PrintProgress(QWidget* parent = nullptr, bool show = true);
    ~PrintProgress();
    PrintProgress(const PrintProgress&) = delete;
    PrintProgress& operator=(const PrintProgress&) = delete;

    // Laying out: the pages complete so far (their total is not known yet).
    void laidOut(int pages);
    // Painting: `done` of `total` pages sent.
    void printed(int done, int total);

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace medrec::engine

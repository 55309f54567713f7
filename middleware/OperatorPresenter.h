#pragma once

// The one interface through which operator messages reach a person: the program's own
// message box, the toolkit's plain box, the notice window, and status texts that have no
// status bar to go to. The window implementation is the default; tests install one that
// records the modal boxes instead of blocking, the batch program one that writes to
// standard error.

#include <memory>
#include <string>

namespace medrec::middleware {

class OperatorPresenter
{
public:
    virtual ~OperatorPresenter() = default;

    // The "Tarvin Message" box with one "확인" button; returns when it is closed.
    virtual void messageBox(const std::string &text) = 0;
    // The toolkit's standard modal box with one OK button.
    virtual void plainMessage(const std::string &text) = 0;
    // The notice window: appends the lines to the memo of the one open window.
    virtual void notice(const std::string &text) = 0;
    // A status text for which no status bar exists.
    virtual void status(const std::string &text) = 0;
};

// Real windows: TMessageForm, QMessageBox, TTuxMsgf1.
class WindowPresenter : public OperatorPresenter
{
public:
    void messageBox(const std::string &text) override;
    void plainMessage(const std::string &text) override;
    void notice(const std::string &text) override;
    void status(const std::string &) override {}
};

// Writes every channel to standard error, one line each, for programs without a window.
class StderrPresenter : public OperatorPresenter
{
public:
    void messageBox(const std::string &text) override;
    void plainMessage(const std::string &text) override;
    void notice(const std::string &text) override;
    void status(const std::string &text) override;
};

// The presenter in use (a WindowPresenter until another is installed).
OperatorPresenter &Presenter();
// Installs a presenter and returns the previous one.
std::unique_ptr<OperatorPresenter> SetPresenter(std::unique_ptr<OperatorPresenter> presenter);

} // namespace medrec::middleware

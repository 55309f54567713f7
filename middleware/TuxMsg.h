#pragma once

// Service failures reach the operator by the channel the service's user return code
// chooses: -1 the notice window, 1 the plain box, 0 the status line, anything else nothing.
// Also the handler for the middleware's unsolicited messages.

#include <QDialog>
#include <QEvent>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace medrec::middleware {

class TStatusBar;

// The notification posted to the main window for each unsolicited message.
inline constexpr QEvent::Type kUnsolicitedEvent = static_cast<QEvent::Type>(1028);

// The notice window: at most one exists; each notice adds its lines to the memo.
class TTuxMsgf1 : public QDialog
{
    Q_OBJECT

public:
    explicit TTuxMsgf1(QWidget *parent = nullptr);
    ~TTuxMsgf1() override;

    void addLines(const std::vector<std::string> &lines);
    QStringList memoLines() const;
    QLabel *messageLabel() const { return m_label; }
    QPushButton *confirmButton() const { return m_confirm; }

    // Creates the window if none is open, appends the text's lines and shows it, not modal.
    static void showNotice(const std::string &text);
    // The open notice window, or nullptr.
    static TTuxMsgf1 *current();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_label = nullptr;
    QPlainTextEdit *m_detail = nullptr;
    QPushButton *m_confirm = nullptr;
    QStringList m_lines;
};

// The memo lines of a notice text: split at line feeds, control characters dropped, the
// last line kept without a final line feed; an empty text gives none.
std::vector<std::string> NoticeLines(const std::string &text);

// Shows LastTuxMessage by the channel of the last reply's user return code; the status
// line is the bar's first panel (standard error when there is no bar).
void ShowTuxMessage(TStatusBar *statusBar);
// The same, the status line going to every status bar placed directly on the active
// window, or on the main window when none is active.
void ShowTuxMessageActive();

// Registers UnsolNotify with the middleware; on failure ends the session.
void SetUnsol();
extern "C" void UnsolNotify(char *data, long length, long flags);
// The data of the last unsolicited message.
std::string LastUnsolicitedMessage();

// The main window: the top-level widget of the component "MDG300F1" (class TMDG300F1).
QWidget *FindMainWindow();

} // namespace medrec::middleware

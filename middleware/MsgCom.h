#pragma once

// The program's own message box ("Tarvin Message") and the toolkit's plain box.

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace medrec::middleware {

class TMessageForm : public QDialog
{
    Q_OBJECT

public:
    enum class Type { Warning, Error, Information, Confirmation, Custom };
    enum class Button { Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help };
    enum class Result { None, Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll };

    // The buttons appear in the fixed order of Button whatever order they are asked in.
    TMessageForm(const QString &text, Type type, const std::vector<Button> &buttons, QWidget *parent = nullptr);

    Result result() const { return m_result; }
    QPushButton *button(Button which) const;
    QPushButton *defaultButton() const { return m_default; }
    QPushButton *escapeButton() const { return m_escape; }
    QLabel *textLabel() const { return m_text; }

    static QString caption(Button which);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *m_text = nullptr;
    QPushButton *m_default = nullptr;
    QPushButton *m_escape = nullptr;
    std::vector<std::pair<Button, QPushButton *>> m_buttons;
    Result m_result = Result::None;
};

// The "Tarvin Message" box, no icon, one "확인" button, centred; through the presenter.
void ShowMsg(const std::string &text);
// The toolkit's standard modal box with one OK button; through the presenter.
void PlainMessage(const std::string &text);

} // namespace medrec::middleware

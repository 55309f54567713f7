#include "OperatorPresenter.h"

#include "MsgCom.h"
#include "TuxMsg.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

#include <iostream>

namespace medrec::middleware {

namespace {

std::unique_ptr<OperatorPresenter> &installed()
{
    static std::unique_ptr<OperatorPresenter> presenter = std::make_unique<WindowPresenter>();
    return presenter;
}

QString displayText(const std::string &text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A modal box waits for the operator: it shows the normal cursor even inside a call's
// hourglass, which comes back when the box closes.
class NormalCursorWhileModal
{
public:
    NormalCursorWhileModal() : m_active(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_active)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursorWhileModal()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    NormalCursorWhileModal(const NormalCursorWhileModal &) = delete;
    NormalCursorWhileModal &operator=(const NormalCursorWhileModal &) = delete;

private:
    bool m_active;
};

void writeLine(const char *channel, const std::string &text)
{
    std::string flat = text;
    for (char &c : flat)
        if (c == '\r' || c == '\n')
            c = ' ';
    std::cerr << channel << ": " << flat << '\n';
}

} // namespace

void WindowPresenter::messageBox(const std::string &text)
{
    NormalCursorWhileModal cursor;
    TMessageForm form(displayText(text), TMessageForm::Type::Custom, {TMessageForm::Button::OK});
    form.exec();
}

void WindowPresenter::plainMessage(const std::string &text)
{
    NormalCursorWhileModal cursor;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), displayText(text), QMessageBox::Ok);
    box.exec();
}

void WindowPresenter::notice(const std::string &text) { TTuxMsgf1::showNotice(text); }

void StderrPresenter::messageBox(const std::string &text) { writeLine("message", text); }
void StderrPresenter::plainMessage(const std::string &text) { writeLine("message", text); }
void StderrPresenter::notice(const std::string &text) { writeLine("notice", text); }
void StderrPresenter::status(const std::string &text) { writeLine("status", text); }

OperatorPresenter &Presenter() { return *installed(); }

std::unique_ptr<OperatorPresenter> SetPresenter(std::unique_ptr<OperatorPresenter> presenter)
{
    auto previous = std::move(installed());
    installed() = presenter ? std::move(presenter) : std::make_unique<WindowPresenter>();
    return previous;
}

} // namespace medrec::middleware

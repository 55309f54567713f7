#include "TuxMsg.h"

#include "OperatorPresenter.h"
#include "TStatusBar.h"
#include "TuxCom.h"

#include <atmi.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstring>

namespace medrec::middleware {

namespace {

QPointer<TTuxMsgf1> &openNotice()
{
    static QPointer<TTuxMsgf1> window;
    return window;
}

std::string &unsolicitedData()
{
    static std::string data;
    return data;
}

void showOnStatusBar(TStatusBar *bar, const std::string &text)
{
    if (bar)
        bar->setPanelText(0, QString::fromStdString(text));
    else
        Presenter().status(text);
}

std::vector<TStatusBar *> statusBarsOf(QWidget *window)
{
    std::vector<TStatusBar *> bars;
    if (!window)
        return bars;
    for (auto *bar : window->findChildren<TStatusBar *>(QString(), Qt::FindDirectChildrenOnly))
        bars.push_back(bar);
    return bars;
}

// Shows the last service text by its channel; status goes to each of the bars.
void showByChannel(const std::vector<TStatusBar *> &bars)
{
    switch (LastUserReturnCode()) {
    case -1:
        Presenter().notice(TuxMessage());
        break;
    case 1:
        Presenter().plainMessage(LastTuxMessage());
        break;
    case 0:
        if (bars.empty())
            Presenter().status(LastTuxMessage());
        for (auto *bar : bars)
            showOnStatusBar(bar, LastTuxMessage());
        break;
    default:
        break;
    }
}

} // namespace

TTuxMsgf1::TTuxMsgf1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TuxMsgf1"));
    setWindowTitle(QStringLiteral("TuxMsgf1"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(367, 173);

    m_label = new QLabel(QString::fromUtf8(kDefaultTuxMessage), this);
    m_label->setObjectName(QStringLiteral("lb_msg"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    m_detail = new QPlainTextEdit(this);
    m_detail->setObjectName(QStringLiteral("me_Detail"));
    m_detail->setReadOnly(true);
    m_detail->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_confirm = new QPushButton(QStringLiteral("확인"), this);
    m_confirm->setObjectName(QStringLiteral("bbt_confirm"));
    connect(m_confirm, &QPushButton::clicked, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_detail, 1);
    layout->addWidget(m_confirm, 0, Qt::AlignHCenter);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TTuxMsgf1::~TTuxMsgf1() = default;

void TTuxMsgf1::closeEvent(QCloseEvent *event)
{
    // Closed means gone: the next notice opens a new window with an empty memo.
    if (openNotice() == this)
        openNotice() = nullptr;
    QDialog::closeEvent(event);
}

void TTuxMsgf1::addLines(const std::vector<std::string> &lines)
{
    for (const auto &line : lines) {
        const QString text = QString::fromStdString(line);
        m_lines << text;
        m_detail->appendPlainText(text);
    }
}

QStringList TTuxMsgf1::memoLines() const { return m_lines; }

TTuxMsgf1 *TTuxMsgf1::current() { return openNotice().data(); }

void TTuxMsgf1::showNotice(const std::string &text)
{
    auto &window = openNotice();
    if (window && !window->isVisible()) { // dismissed with Esc: hidden, on its way out
        window->deleteLater();
        window = nullptr;
    }
    if (!window)
        window = new TTuxMsgf1;
    window->addLines(NoticeLines(text));
    window->show();
    window->raise();
}

std::vector<std::string> NoticeLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            current.push_back(c);
        }
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

void ShowTuxMessage(TStatusBar *statusBar)
{
    std::vector<TStatusBar *> bars;
    if (statusBar)
        bars.push_back(statusBar);
    showByChannel(bars);
}

void ShowTuxMessageActive()
{
    QWidget *window = qApp ? QApplication::activeWindow() : nullptr;
    if (!window)
        window = FindMainWindow();
    showByChannel(statusBarsOf(window));
}

void SetUnsol()
{
    if (tpsetunsol(UnsolNotify) == TPUNSOLERR) {
        SetTuxMessage(std::string("tpsetunsol fail, ") + tpstrerror(gettperrno()));
        TuxTerm();
    }
}

extern "C" void UnsolNotify(char *data, long length, long)
{
    unsolicitedData().assign(data ? data : "", data ? static_cast<std::size_t>(std::max(0L, length)) : 0);
    if (QWidget *main = FindMainWindow())
        QCoreApplication::postEvent(main, new QEvent(kUnsolicitedEvent));
}

std::string LastUnsolicitedMessage() { return unsolicitedData(); }

QWidget *FindMainWindow()
{
    if (!qApp)
        return nullptr;
    // The window class is "T" followed by the main screen's component name.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (QStringLiteral("T") + w->objectName() == QLatin1String("TMDG300F1"))
            return w;
    return nullptr;
}

} // namespace medrec::middleware

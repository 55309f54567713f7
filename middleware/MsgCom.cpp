#include "MsgCom.h"

#include "OperatorPresenter.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace medrec::middleware {

namespace {

using Button = TMessageForm::Button;
using Result = TMessageForm::Result;

constexpr Button kOrder[] = {Button::Yes,    Button::No,  Button::OK,      Button::Cancel,
                             Button::Abort,  Button::Retry, Button::Ignore, Button::All,
                             Button::NoToAll, Button::YesToAll, Button::Help};

Result resultOf(Button b)
{
    switch (b) {
    case Button::Yes: return Result::Yes;
    case Button::No: return Result::No;
    case Button::OK: return Result::OK;
    case Button::Cancel: return Result::Cancel;
    case Button::Abort: return Result::Abort;
    case Button::Retry: return Result::Retry;
    case Button::Ignore: return Result::Ignore;
    case Button::All: return Result::All;
    case Button::NoToAll: return Result::NoToAll;
    case Button::YesToAll: return Result::YesToAll;
    case Button::Help: return Result::None;
    }
    return Result::None;
}

QStyle::StandardPixmap iconOf(TMessageForm::Type type)
{
    switch (type) {
    case TMessageForm::Type::Warning: return QStyle::SP_MessageBoxWarning;
    case TMessageForm::Type::Error: return QStyle::SP_MessageBoxCritical;
    case TMessageForm::Type::Information: return QStyle::SP_MessageBoxInformation;
    case TMessageForm::Type::Confirmation: return QStyle::SP_MessageBoxQuestion;
    case TMessageForm::Type::Custom: break;
    }
    return QStyle::SP_CustomBase;
}

} // namespace

QString TMessageForm::caption(Button which)
{
    switch (which) {
    case Button::Yes: return QStringLiteral("예");
    case Button::No: return QStringLiteral("아니오");
    case Button::OK: return QStringLiteral("확인");
    case Button::Cancel: return QStringLiteral("취소");
    case Button::Abort: return QStringLiteral("중지");
    case Button::Retry: return QStringLiteral("재시도");
    case Button::Ignore: return QStringLiteral("무시");
    case Button::All: return QStringLiteral("모두");
    case Button::NoToAll: return QStringLiteral("모두아님");
    case Button::YesToAll: return QStringLiteral("모두예");
    case Button::Help: return QStringLiteral("도움말");
    }
    return {};
}

TMessageForm::TMessageForm(const QString &text, Type type, const std::vector<Button> &buttons, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tarvin Message"));
    setFont(QApplication::font("QMessageBox"));

    auto *body = new QHBoxLayout;
    if (type != Type::Custom) {
        auto *icon = new QLabel(this);
        icon->setPixmap(style()->standardIcon(iconOf(type)).pixmap(32, 32));
        icon->setAlignment(Qt::AlignTop);
        body->addWidget(icon);
    }
    m_text = new QLabel(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen)
        m_text->setMaximumWidth(screen->availableGeometry().width() / 2);
    body->addWidget(m_text, 1);

    auto *row = new QHBoxLayout;
    row->addStretch();
    for (Button b : kOrder) {
        if (std::find(buttons.begin(), buttons.end(), b) == buttons.end())
            continue;
        auto *pb = new QPushButton(caption(b), this);
        pb->setAutoDefault(false);
        m_buttons.emplace_back(b, pb);
        row->addWidget(pb);
        connect(pb, &QPushButton::clicked, this, [this, b] {
            if (b == Button::Help)
                return;
            m_result = resultOf(b);
            done(static_cast<int>(m_result));
        });
    }
    row->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const Button defaultOrder[] = {Button::OK, Button::Yes, Button::Retry};
    for (Button b : defaultOrder)
        if ((m_default = button(b)))
            break;
    if (m_default) {
        m_default->setDefault(true);
        m_default->setFocus();
    }
    const Button escapeOrder[] = {Button::Cancel, Button::No, Button::OK};
    for (Button b : escapeOrder)
        if ((m_escape = button(b)))
            break;

    adjustSize();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

QPushButton *TMessageForm::button(Button which) const
{
    for (const auto &[b, pb] : m_buttons)
        if (b == which)
            return pb;
    return nullptr;
}

void TMessageForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_escape)
            m_escape->click();
        else
            reject();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_default) {
        m_default->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowMsg(const std::string &text) { Presenter().messageBox(text); }
void PlainMessage(const std::string &text) { Presenter().plainMessage(text); }

} // namespace medrec::middleware

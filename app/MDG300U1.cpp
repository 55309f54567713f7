#include "MDG300U1.h"

#include "SiteEnvironment.h"

#include "TStatusBar.h"
#include "TuxCom.h"
#include "TuxMsg.h"

#include <QEvent>

namespace medrec::app {

TMDG300F1::TMDG300F1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDG300F1"));
    setWindowTitle(QStringLiteral("MDG300F1 환자정보조회(NEW)"));
    resize(948, 690);
    m_stbMessage = new middleware::TStatusBar(this);
    m_stbMessage->setObjectName(QStringLiteral("stb_Message"));
    setStatusBar(m_stbMessage);
    FormCreate();
}

TMDG300F1::~TMDG300F1() = default;

void TMDG300F1::FormCreate()
{
    m_sessionOpen = middleware::TuxInit(SiteEnvironmentFile());
    if (!m_sessionOpen)
        middleware::TuxTerm();
}

bool TMDG300F1::event(QEvent *event)
{
    // Unsolicited messages are announced to the main window and deliberately ignored.
    if (event->type() == middleware::kUnsolicitedEvent)
        return true;
    return QMainWindow::event(event);
}

} // namespace medrec::app

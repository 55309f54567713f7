#include "OperatorInputHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace medrec::app {

namespace {

bool isOperatorInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

OperatorInputHold::OperatorInputHold(QWidget &window) : m_window(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

OperatorInputHold::~OperatorInputHold()
{
    // Input the blocked event loop has not delivered yet reaches the filter now.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

bool OperatorInputHold::eventFilter(QObject *watched, QEvent *event)
{
    if (!isOperatorInput(event->type()) || !watched->isWidgetType())
        return false;
    return static_cast<QWidget *>(watched)->window() == &m_window;
}

} // namespace medrec::app

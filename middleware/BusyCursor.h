#pragma once

// The hourglass while the screen waits: set on construction, restored on every exit path.

#include <QCursor>
#include <QGuiApplication>

namespace medrec::middleware {

class BusyCursor
{
public:
    BusyCursor()
    {
        if (qGuiApp)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor()
    {
        if (qGuiApp)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace medrec::middleware

#pragma once

// Holds the operator's input to one window while a run that blocks it is under way (the
// print run): clicks, keys, accelerators and wheel turns aimed at the window's widgets are
// dropped, not kept for later. Ending the hold first delivers what is still queued for the
// window (input that arrived while the run blocked the event loop) and drops that too, so a
// second click of an impatient operator never starts a second run afterwards. Other
// windows (message boxes the run shows) take input as usual.

#include <QObject>

class QWidget;

namespace medrec::app {

class OperatorInputHold : public QObject
{
public:
    // window must outlive the hold; a QApplication must exist.
    explicit OperatorInputHold(QWidget &window);
    ~OperatorInputHold() override;

    OperatorInputHold(const OperatorInputHold &) = delete;
    OperatorInputHold &operator=(const OperatorInputHold &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
};

} // namespace medrec::app

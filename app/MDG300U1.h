#pragma once

// The main screen: patient lookup, visit history, record kinds and records, and the print run.

#include <QMainWindow>

namespace medrec::middleware {
class TStatusBar;
}

namespace medrec::app {

class TMDG300F1 : public QMainWindow
{
public:
    // Creating the screen opens the middleware session; when that fails the operator has
    // seen one message box and sessionOpen() is false: the screen must not be shown.
    explicit TMDG300F1(QWidget *parent = nullptr);
    ~TMDG300F1() override;

    bool sessionOpen() const { return m_sessionOpen; }
    middleware::TStatusBar *statusBarPanel() const { return m_stbMessage; }

protected:
    bool event(QEvent *event) override;

private:
    void FormCreate();

    bool m_sessionOpen = false;
    middleware::TStatusBar *m_stbMessage = nullptr;
};

} // namespace medrec::app

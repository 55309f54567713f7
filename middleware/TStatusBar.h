#pragma once

// A status bar made of panels, the first of which carries the status texts.

#include <QStatusBar>

#include <vector>

class QLabel;

namespace medrec::middleware {

class TStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit TStatusBar(QWidget *parent = nullptr, int panels = 1);

    QString panelText(int index = 0) const;
    void setPanelText(int index, const QString &text);
    void setPanelText(const QString &text) { setPanelText(0, text); }

private:
    std::vector<QLabel *> m_panels;
};

} // namespace medrec::middleware

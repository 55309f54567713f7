#include "TStatusBar.h"

#include <QLabel>

namespace medrec::middleware {

TStatusBar::TStatusBar(QWidget *parent, int panels) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (int i = 0; i < std::max(1, panels); ++i) {
        auto *label = new QLabel(this);
        label->setAlignment(Qt::AlignCenter);
        addWidget(label, 1);
        m_panels.push_back(label);
    }
}

QString TStatusBar::panelText(int index) const
{
    return index >= 0 && index < static_cast<int>(m_panels.size()) ? m_panels[static_cast<std::size_t>(index)]->text()
                                                                    : QString();
}

void TStatusBar::setPanelText(int index, const QString &text)
{
    if (index >= 0 && index < static_cast<int>(m_panels.size()))
        m_panels[static_cast<std::size_t>(index)]->setText(text);
}

} // namespace medrec::middleware

#pragma once

// The main screen as a print block sees it.

#include "MDG300U1Controls.h"
#include "PrintContext.h"

#include <memory>

namespace medrec::app {

class ScreenPrintContext : public reports::PrintContext
{
public:
    ScreenPrintContext(QWidget &screen, const MDG300Controls &controls, services::Hmdrecodt &recodt)
        : m_screen(screen), m_ui(controls), m_recodt(recodt)
    {
    }

    std::string recordCell(int col) const override;
    std::string visitCell(int col) const override;
    std::string kindCell(int col) const override;
    reports::PatientPanels patient() const override;
    common::TUltraGrid &scratch(reports::ScratchGrid grid) override;
    services::Hmdrecodt &recodt() override { return m_recodt; }
    void setSummary(const reports::PrintedSummary &summary) override;
    middleware::TStatusBar *statusBar() override { return m_ui.stb_Message; }
    QWidget *window() override { return &m_screen; }

private:
    QWidget &m_screen;
    const MDG300Controls &m_ui;
    services::Hmdrecodt &m_recodt;
};

} // namespace medrec::app

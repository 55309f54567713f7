#pragma once

// The main screen, shown on the offscreen platform, with its session open against a
// ScreenHost loaded with the fixture data set (main-screen.json); modal boxes recorded;
// "today" fixed at 2024-03-05.

#include "MDG300U1.h"
#include "RecordingPresenter.h"
#include "ScreenHost.h"

#include "Clock.h"

#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace medrec::common {
class TMCC100F1;
}

namespace medrec::testing {

using Channel = RecordedMessage::Channel;
using Rows = std::vector<std::vector<std::string>>;

// The fixture data set.
std::string FixtureJson();

class MainScreenTest : public ::testing::Test
{
protected:
    void TearDown() override;

    // Starts the host (with the overrides, on the fixture data set or the given one) and the
    // screen; fails the test when the session does not open.
    void start(Overrides overrides = {}, const std::string &json = {});

    app::TMDG300F1 &screen() { return *m_screen; }
    const app::MDG300Controls &ui() const { return m_screen->controls(); }
    CallLog &calls() { return m_host->log(); }
    ScreenHost &host() { return *m_host; }
    RecordingPresenter &messages() { return *m_recorder; }

    // Keys into ed_PatNo as the operator types them.
    void typeKeys(const QString &text);
    // A text committed by the input method (how Hangul names arrive).
    void typeComposed(const QString &text);
    void pressEnter();
    // Clicks body row `row` (grid index) of a grid.
    void clickRow(common::TUltraGrid &grid, int row);

    // Runs `act` on the patient chooser once it is open (inside its modal loop); false
    // afterwards when it never opened.
    void whenChooserOpens(std::function<void(common::TMCC100F1 &)> act);
    bool chooserOpened() const { return m_chooserOpened; }

    std::string status() const;
    // Every status text the screen set, in order.
    const std::vector<std::string> &statusHistory() const { return m_statusHistory; }
    static std::string text(const QWidget *control);
    static Rows body(const common::TUltraGrid &grid, int columns);
    static std::vector<std::string> titles(const common::TUltraGrid &grid);

private:
    ScopedRecordingPresenter m_recorder;
    common::FixedToday m_today{
        common::Date{std::chrono::year{2024}, std::chrono::month{3}, std::chrono::day{5}}};
    std::unique_ptr<ScreenHost> m_host;
    std::unique_ptr<app::TMDG300F1> m_screen;
    std::vector<std::string> m_statusHistory;
    bool m_chooserOpened = false;
};

// The same, printing to PDF files in a folder of the test's own: the print button, the
// documents that went out and the print-history rows the server holds.
class PrintingScreenTest : public MainScreenTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    void print();
    // The documents that went out, as paths.
    std::vector<std::string> pdfFiles() const;
    int pdfCount() const;
    // A query over the server's print_history ("count(*)", "patno||kind_code", ...).
    std::string historyRows(const std::string &what = "count(*)");

    TempDir m_pdf;
};

// Expects the hourglass to be gone.
#define EXPECT_NORMAL_CURSOR() EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr)

} // namespace medrec::testing

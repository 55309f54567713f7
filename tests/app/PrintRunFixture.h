#pragma once

// The main screen printing to PDF files in a folder of the test's own (MEDREC_PRINT_TO),
// with the patient of the operation records found and its records listed.

#include "MainScreenFixture.h"

#include "TestSupport.h"
#include "UltraGrid.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

namespace medrec::testing {

inline std::string operationRecords() { return ReadFile(MEDREC_OPERATION_FIXTURE); }

class PrintRunTest : public PrintingScreenTest
{
protected:
    // Finds the patient of the operation records; its one visit lists them.
    void findPatient()
    {
        typeKeys("4321");
        pressEnter();
        ASSERT_EQ(text(ui().pn_PatName), "한지우");
        ASSERT_EQ(ui().ugd_RecodDt->cell(0, 1), "00004321");
        calls().clear();
    }

    // Nothing went out: the status line says why; no box, no PDF, no history row, no summary.
    void expectToldOnTheStatusLineOnly(const std::string &statusText)
    {
        EXPECT_EQ(status(), statusText);
        EXPECT_TRUE(messages().texts(Channel::Plain).empty());
        EXPECT_EQ(pdfCount(), 0);
        EXPECT_EQ(historyRows(), "0");
        EXPECT_EQ(text(ui().lb_patno), "");
        EXPECT_NORMAL_CURSOR();
    }
};

} // namespace medrec::testing

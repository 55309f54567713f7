#pragma once

// The main screen printing to PDF files in a folder of the test's own (MEDREC_PRINT_TO),
// with the patient of the operation records found and its records listed.

#include "MainScreenFixture.h"

#include "TestSupport.h"
#include "UltraGrid.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace medrec::testing {

inline std::string operationRecords() { return ReadFile(MEDREC_OPERATION_FIXTURE); }

class PrintRunTest : public MainScreenTest
{
protected:
    void SetUp() override { setenv("MEDREC_PRINT_TO", ("pdf:" + m_pdf.path()).c_str(), 1); }
    void TearDown() override
    {
        unsetenv("MEDREC_PRINT_TO");
        MainScreenTest::TearDown();
    }

    // Finds the patient of the operation records; its one visit lists them.
    void findPatient()
    {
        typeKeys("4321");
        pressEnter();
        ASSERT_EQ(text(ui().pn_PatName), "한지우");
        ASSERT_EQ(ui().ugd_RecodDt->cell(0, 1), "00004321");
        calls().clear();
    }
    void print() { QTest::mouseClick(ui().bbt_Print, Qt::LeftButton); }

    std::vector<std::string> pdfFiles() const
    {
        std::vector<std::string> files;
        for (const auto &entry : std::filesystem::directory_iterator(m_pdf.path()))
            if (entry.path().extension() == ".pdf")
                files.push_back(entry.path().string());
        return files;
    }
    int pdfCount() const { return static_cast<int>(pdfFiles().size()); }
    std::string historyRows(const std::string &what = "count(*)")
    {
        return host().server().queryText("SELECT " + what + " FROM print_history");
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

    TempDir m_pdf;
};

} // namespace medrec::testing

#include "MainScreenFixture.h"

#include "MCC100U1.h"
#include "TStatusBar.h"
#include "TuxCom.h"
#include "TuxMsg.h"
#include "UltraGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

namespace medrec::testing {

std::string FixtureJson()
{
    return ReadFile(MEDREC_APP_FIXTURE);
}

void MainScreenTest::start(Overrides overrides, const std::string &json)
{
    m_host = std::make_unique<ScreenHost>(json.empty() ? FixtureJson() : json, std::move(overrides));
    middleware::SetCommandLine({"medrec", "TEST", "USER"});
    setenv("MEDREC_ENV_FILE", m_host->environmentFile().c_str(), 1);
    m_screen = std::make_unique<app::TMDG300F1>();
    unsetenv("MEDREC_ENV_FILE");
    ASSERT_TRUE(m_screen->sessionOpen()) << (messages().log().empty() ? "" : messages().log()[0].text);
    QObject::connect(m_screen.get(), &app::TMDG300F1::statusTextChanged, m_screen.get(),
                     [this](const QString &text) { m_statusHistory.push_back(text.toStdString()); });
    m_screen->show();
    m_screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_screen.get()));
    calls().clear();
}

void MainScreenTest::TearDown()
{
    if (middleware::TTuxMsgf1 *notice = middleware::TTuxMsgf1::current())
        notice->close();
    m_screen.reset();
    middleware::TuxTerm();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_host.reset();
}

void PrintingScreenTest::SetUp() { setenv("MEDREC_PRINT_TO", ("pdf:" + m_pdf.path()).c_str(), 1); }

void PrintingScreenTest::TearDown()
{
    unsetenv("MEDREC_PRINT_TO");
    MainScreenTest::TearDown();
}

void PrintingScreenTest::print() { QTest::mouseClick(ui().bbt_Print, Qt::LeftButton); }

std::vector<std::string> PrintingScreenTest::pdfFiles() const
{
    std::vector<std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(m_pdf.path()))
        if (entry.path().extension() == ".pdf")
            files.push_back(entry.path().string());
    return files;
}

int PrintingScreenTest::pdfCount() const { return static_cast<int>(pdfFiles().size()); }

std::string PrintingScreenTest::historyRows(const std::string &what)
{
    return host().server().queryText("SELECT " + what + " FROM print_history");
}

void MainScreenTest::typeKeys(const QString &text)
{
    QTest::keyClicks(ui().ed_PatNo, text);
}

void MainScreenTest::typeComposed(const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(ui().ed_PatNo, &commit);
}

void MainScreenTest::pressEnter()
{
    QTest::keyClick(ui().ed_PatNo, Qt::Key_Return);
}

void MainScreenTest::clickRow(common::TUltraGrid &grid, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(0, row).center());
}

void MainScreenTest::whenChooserOpens(std::function<void(common::TMCC100F1 &)> act)
{
    m_chooserOpened = false;
    QTimer::singleShot(0, m_screen.get(), [this, act = std::move(act)] {
        auto *chooser = qobject_cast<common::TMCC100F1 *>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        m_chooserOpened = true;
        act(*chooser);
    });
}

std::string MainScreenTest::status() const
{
    return ui().stb_Message->panelText(0).toStdString();
}

std::string MainScreenTest::text(const QWidget *control)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text().toStdString();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text().toStdString();
    if (const auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText().toStdString();
    return {};
}

Rows MainScreenTest::body(const common::TUltraGrid &grid, int columns)
{
    Rows rows;
    for (int row = grid.fixedRows(); row < grid.rowCount(); ++row) {
        std::vector<std::string> cells;
        for (int col = 0; col < columns; ++col)
            cells.push_back(grid.cell(col, row));
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::vector<std::string> MainScreenTest::titles(const common::TUltraGrid &grid)
{
    std::vector<std::string> out;
    for (int col = 0; col < grid.colCount(); ++col)
        out.push_back(grid.cell(col, 0));
    return out;
}

} // namespace medrec::testing

#include "Cp949.h"
#include "GridOps.h"
#include "UltraGrid.h"

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace medrec::common;

namespace {

// A shown grid in the screens' look: silver column lines, a Korean fixed-pitch face.
class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_grid = std::make_unique<TUltraGrid>();
        m_grid->setFont(QFont(QStringLiteral("Noto Sans Mono CJK KR"), 9));
        m_grid->setGridLineWidth(0);
        m_grid->setColCount(3);
        m_grid->setRowCount(6);
        m_grid->setTitle("번호|이름|비고");
        for (int row = 1; row < 6; ++row)
            m_grid->setRowCells(row, {std::to_string(row), "환자" + std::to_string(row), ""});
        m_grid->resize(300, 200);
        m_grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_grid.get()));
    }

    QPoint centreOf(int col, int row) const { return m_grid->cellRect(col, row).center(); }

    std::unique_ptr<TUltraGrid> m_grid;
};

std::string joined(const std::vector<CellLayout::Line> &lines)
{
    std::string out;
    for (const auto &line : lines)
        out += line.text;
    return out;
}

} // namespace

TEST_F(GridTest, NumberColumnShowsGroupedDigitsRightAligned)
{
    m_grid->setColWidth(2, 120);
    m_grid->setColAlign(2, ColAlign::Right, true);
    m_grid->setCell(2, 1, "1234567.5");
    m_grid->setCell(2, 2, "미정");
    const CellLayout number = m_grid->cellLayout(2, 1);
    ASSERT_EQ(number.lines.size(), 1u);
    EXPECT_EQ(number.lines[0].text, "1,234,567.5");
    EXPECT_EQ(number.lines[0].origin.x() + number.lines[0].width, 120 - 3);
    EXPECT_EQ(number.lines[0].origin.y(), 3);
    EXPECT_EQ(m_grid->cellLayout(2, 2).text, "미정");

    // The format belongs to right-aligned columns only; the cell text itself is untouched.
    m_grid->setColAlign(2, ColAlign::Left, true);
    EXPECT_EQ(m_grid->cellLayout(2, 1).text, "1234567.5");
    EXPECT_EQ(m_grid->cell(2, 1), "1234567.5");
}

TEST_F(GridTest, AlignmentOffsets)
{
    m_grid->setColWidth(0, 100);
    m_grid->setCell(0, 1, "12");
    const int textWidth = m_grid->cellLayout(0, 1).lines.at(0).width;
    EXPECT_EQ(m_grid->cellLayout(0, 1).lines.at(0).origin.x(), 1);
    m_grid->setColAlign(0, ColAlign::Center);
    EXPECT_EQ(m_grid->cellLayout(0, 1).lines.at(0).origin.x(), (100 - textWidth) / 2);

    // Titles follow FixedAlignment and FixedFontBold, not the column's alignment.
    m_grid->setFixedAlignment(ColAlign::Right);
    const CellLayout title = m_grid->cellLayout(0, 0);
    EXPECT_TRUE(title.font.bold());
    EXPECT_EQ(title.lines.at(0).origin.x() + title.lines.at(0).width, 100 - 3);
    m_grid->setFixedFontBold(false);
    EXPECT_FALSE(m_grid->cellLayout(0, 0).font.bold());
}

TEST_F(GridTest, KoreanTextWrapsOnSyllablesInANarrowCell)
{
    std::string text;
    for (int i = 0; i < 4; ++i)
        text += "서울특별시강남구역삼";
    m_grid->setColWidth(1, 70);
    m_grid->setCell(1, 2, text);

    const CellLayout layout = m_grid->cellLayout(1, 2);
    EXPECT_TRUE(QFontInfo(layout.font).family().startsWith(QStringLiteral("Noto Sans Mono CJK")))
        << QFontInfo(layout.font).family().toStdString();
    EXPECT_FALSE(layout.fits);
    ASSERT_GT(layout.lines.size(), 2u);
    EXPECT_EQ(joined(layout.lines), text);
    const QFontMetrics metrics(layout.font);
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const auto &line = layout.lines[i];
        SCOPED_TRACE(line.text);
        EXPECT_EQ(medrec::text::cp949Width(line.text) % 2, 0u);
        EXPECT_EQ(QString::fromStdString(line.text).toStdString(), line.text); // valid UTF-8
        EXPECT_LT(1 + line.width, 70);
        EXPECT_EQ(line.origin, QPoint(1, 3 + static_cast<int>(i) * metrics.height()));
    }
    EXPECT_EQ(m_grid->hintText(1, 2).toStdString(), text);

    // Without Wrap only the first line is drawn; titles wrap regardless.
    m_grid->setWrap(false);
    EXPECT_EQ(m_grid->cellLayout(1, 2).lines.size(), 1u);
    m_grid->setColWidth(0, 40);
    m_grid->setTitle("환자번호입력");
    EXPECT_GT(m_grid->cellLayout(0, 0).lines.size(), 1u);
}

TEST_F(GridTest, CellNarrowerThanTwoLettersIsClippedNotWrapped)
{
    m_grid->setColWidth(1, 8);
    const CellLayout layout = m_grid->cellLayout(1, 1);
    EXPECT_FALSE(layout.fits);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].text, "환자1");
    EXPECT_EQ(layout.lines[0].origin, QPoint(1, 3));
    // A text that fits has no tool tip.
    m_grid->setColWidth(1, 120);
    EXPECT_TRUE(m_grid->hintText(1, 1).isEmpty());
}

TEST_F(GridTest, BandedAndSelectedColours)
{
    m_grid->setGridRowColor(QColor(230, 240, 255));
    m_grid->setGridRowFontColor(QColor(0, 0, 128));
    m_grid->setSelectedRowColor(QColor(0, 0, 160));
    m_grid->setSelectedRowFontColor(Qt::white);
    m_grid->setRowSelect(true);
    m_grid->setRow(3);

    EXPECT_EQ(m_grid->cellLayout(0, 1).background, QColor(230, 240, 255)); // odd row
    EXPECT_EQ(m_grid->cellLayout(0, 1).foreground, QColor(0, 0, 128));
    EXPECT_EQ(m_grid->cellLayout(0, 2).background, m_grid->palette().color(QPalette::Base)); // even row
    EXPECT_EQ(m_grid->cellLayout(2, 3).background, QColor(0, 0, 160)); // selection wins over banding
    EXPECT_EQ(m_grid->cellLayout(2, 3).foreground, QColor(Qt::white));

    // Without row selection only the current cell is selected.
    m_grid->setRowSelect(false);
    m_grid->setCurrentCell(1, 3);
    EXPECT_EQ(m_grid->cellLayout(1, 3).background, QColor(0, 0, 160));
    EXPECT_EQ(m_grid->cellLayout(0, 3).background, QColor(230, 240, 255));
}

TEST_F(GridTest, PaintsSilverColumnLinesAndSelection)
{
    m_grid->setSelectedRowColor(QColor(0, 0, 160));
    m_grid->setRowSelect(true);
    m_grid->setRow(2);
    QImage image(m_grid->viewport()->size(), QImage::Format_RGB32);
    m_grid->viewport()->render(&image);

    const QColor silver(192, 192, 192);
    const QRect first = m_grid->cellRect(0, 4);
    EXPECT_EQ(image.pixelColor(first.right(), first.center().y()), silver);
    const QRect last = m_grid->cellRect(1, 5); // the last row has a bottom line too
    EXPECT_EQ(image.pixelColor(last.center().x(), last.bottom()), silver);
    const QRect notLast = m_grid->cellRect(1, 4);
    EXPECT_NE(image.pixelColor(notLast.center().x(), notLast.bottom()), silver);
    const QRect selected = m_grid->cellRect(2, 2);
    EXPECT_EQ(image.pixelColor(selected.center()), QColor(0, 0, 160)); // an empty cell of the row
}

TEST_F(GridTest, ClickMovesTheCurrentRowUnlessRefused)
{
    m_grid->setRowSelect(true);
    QSignalSpy clicks(m_grid.get(), &TUltraGrid::clicked);
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, centreOf(1, 3));
    EXPECT_EQ(m_grid->row(), 3);
    EXPECT_EQ(m_grid->col(), 1);
    EXPECT_EQ(clicks.count(), 1);

    // A click on a title cell selects nothing.
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, centreOf(0, 0));
    EXPECT_EQ(m_grid->row(), 3);
    EXPECT_EQ(clicks.count(), 1);

    int asked = 0;
    m_grid->setOnBeforeColRowChange([&](int col, int row, int newCol, int newRow) {
        ++asked;
        EXPECT_EQ(col, 1);
        EXPECT_EQ(row, 3);
        EXPECT_EQ(newCol, 0);
        EXPECT_EQ(newRow, 5);
        return false;
    });
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, centreOf(0, 5));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(m_grid->row(), 3);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(GridTest, KeyboardMovesRaiseClickedAndEnterIsLeftToTheWindow)
{
    m_grid->setRowSelect(true);
    m_grid->setFocus();
    QSignalSpy clicks(m_grid.get(), &TUltraGrid::clicked);
    // Handlers of clicked() learn whether the keyboard made the move.
    std::vector<bool> byKeyboard;
    QObject::connect(m_grid.get(), &TUltraGrid::clicked, m_grid.get(),
            [&] { byKeyboard.push_back(m_grid->keyboardMove()); });
    QTest::keyClick(m_grid.get(), Qt::Key_Down);
    EXPECT_EQ(m_grid->row(), 2);
    QTest::keyClick(m_grid.get(), Qt::Key_End);
    EXPECT_EQ(m_grid->row(), 5);
    QTest::keyClick(m_grid.get(), Qt::Key_Down); // already at the end
    EXPECT_EQ(m_grid->row(), 5);
    EXPECT_EQ(clicks.count(), 2);
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, centreOf(1, 3));
    EXPECT_EQ(byKeyboard, (std::vector<bool>{true, true, false}));
    EXPECT_FALSE(m_grid->keyboardMove());

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(m_grid.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(GridTest, DoubleClicks)
{
    QSignalSpy clicks(m_grid.get(), &TUltraGrid::clicked);
    QSignalSpy doubles(m_grid.get(), &TUltraGrid::doubleClicked);
    QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, centreOf(1, 4));
    EXPECT_EQ(m_grid->row(), 4);
    EXPECT_EQ(doubles.count(), 1);

    // A title double-click sorts only with AllowSort, and then raises clicked().
    m_grid->setRowCells(1, {"9", "b", ""});
    const int before = static_cast<int>(clicks.count());
    QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, centreOf(0, 0));
    EXPECT_EQ(m_grid->cell(0, 1), "9");
    EXPECT_EQ(clicks.count(), before);

    m_grid->setAllowSort(true);
    m_grid->setColAlign(0, ColAlign::Right);
    QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, centreOf(0, 0));
    EXPECT_EQ(m_grid->cell(0, 1), "2");
    EXPECT_EQ(m_grid->cell(0, 5), "9");
    EXPECT_EQ(clicks.count(), before + 1);
    EXPECT_EQ(doubles.count(), 1);
    QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, centreOf(0, 0));
    EXPECT_EQ(m_grid->cell(0, 1), "9");
}

TEST_F(GridTest, ScrollsTheCurrentRowIntoViewAndKeepsTitles)
{
    m_grid->setRowCount(51);
    for (int row = 1; row <= 50; ++row)
        m_grid->setCell(0, row, std::to_string(row));
    m_grid->setRow(40);
    EXPECT_GT(m_grid->topRow(), 1);
    const QRect current = m_grid->cellRect(0, 40);
    EXPECT_TRUE(m_grid->viewport()->rect().contains(current)) << current.y();
    EXPECT_EQ(m_grid->cellRect(0, 0).top(), 0); // the title row stays on top
    EXPECT_EQ(m_grid->cellAt(current.center()), QPoint(0, 40));
    m_grid->setRow(1);
    EXPECT_EQ(m_grid->topRow(), 1);
}

TEST_F(GridTest, DeleteRowOnTheWidget)
{
    m_grid->setRow(5);
    m_grid->deleteRow(5);
    EXPECT_EQ(m_grid->rowCount(), 5);
    EXPECT_EQ(m_grid->row(), 4);
    EXPECT_THROW(m_grid->deleteRow(0), std::out_of_range);
}

TEST_F(GridTest, FitLastColumnFillsTheClientWidth)
{
    m_grid->setColWidth(0, 50);
    m_grid->setColWidth(1, 60);
    FitLastColumn(*m_grid, 3);
    EXPECT_EQ(m_grid->clientWidth(), m_grid->viewport()->width());
    EXPECT_EQ(50 + 60 + m_grid->colWidth(2), m_grid->viewport()->width());

    // With rows enough for a scroll bar the bar's width is left out.
    m_grid->setRowCount(40);
    QApplication::processEvents();
    FitLastColumn(*m_grid, 3);
    EXPECT_EQ(50 + 60 + m_grid->colWidth(2), m_grid->viewport()->width());

    FitLastColumn(*m_grid, 0); // not a column count: nothing happens
    FitLastColumn(*m_grid, 4);
    EXPECT_EQ(50 + 60 + m_grid->colWidth(2), m_grid->viewport()->width());
}

TEST(ScratchGrid, HiddenGridHoldsRows)
{
    // The print blocks' scratch tables are never shown.
    TUltraGrid scratch;
    scratch.setFixedRows(0);
    scratch.setColCount(60);
    scratch.setRowCount(3);
    scratch.setCell(59, 2, "마지막");
    scratch.setTitle("ignored|here");
    EXPECT_EQ(scratch.cell(59, 2), "마지막");
    EXPECT_EQ(scratch.cell(0, 0), "");
    SortGridRows(scratch, 0, 2, true, 59);
    EXPECT_EQ(scratch.cell(59, 0), "마지막");
    ClearGrid(scratch, 60);
    EXPECT_EQ(scratch.rowCount(), 1);
    EXPECT_EQ(scratch.cell(59, 0), "");
    EXPECT_FALSE(scratch.isVisible());
}

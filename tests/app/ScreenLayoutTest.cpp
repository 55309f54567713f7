// The form as shown: window, regions and their order, the history panel's placement, grid
// titles and widths, the hidden working controls, and the Korean face actually used.
#include "MainScreenFixture.h"

#include "TStatusBar.h"
#include "UltraGrid.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace medrec::testing {
namespace {

std::vector<int> widths(const common::TUltraGrid &grid)
{
    std::vector<int> out;
    for (int col = 0; col < grid.colCount(); ++col)
        out.push_back(grid.colWidth(col));
    return out;
}

QStringList items(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

TEST_F(MainScreenTest, TheFormAsShown)
{
    start();
    EXPECT_EQ(screen().objectName(), QStringLiteral("MDG300F1"));
    EXPECT_EQ(screen().windowTitle(), QStringLiteral("MDG300F1 환자정보조회(NEW)"));
    EXPECT_EQ(screen().size(), QSize(948, 690));

    // Regions top to bottom; the history panel directly below the two panels above.
    const QFrame *header = ui().pn_Header;
    const QFrame *info = ui().pn_PatInfo;
    const QFrame *history = ui().pn_History;
    EXPECT_EQ(info->y(), header->y() + header->height());
    EXPECT_EQ(history->y(), header->height() + info->height() - 4);
    EXPECT_EQ(history->x(), header->x());
    EXPECT_LE(history->geometry().bottom(), screen().centralWidget()->height());
    EXPECT_EQ(ui().stb_Message->panelText(0), QString());

    // Every visible control sits inside the window.
    for (const QWidget *w : screen().centralWidget()->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&screen()))
            continue;
        const QRect inWindow(w->mapTo(&screen(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(screen().rect().contains(inWindow)) << w->objectName().toStdString();
    }

    EXPECT_EQ(ui().pn_PatNoCaption->text(), QStringLiteral("환자번호입력"));
    EXPECT_EQ(ui().ed_PatNo->maxLength(), 40);
    EXPECT_EQ(ui().pn_PatName->toolTip(), QStringLiteral("환자번호"));
    EXPECT_EQ(ui().pn_Ward->toolTip(), QStringLiteral("병동-병실"));
    EXPECT_EQ(ui().bbt_MdHSearch->text(), QStringLiteral("조 회"));
    EXPECT_EQ(ui().bbt_Print->text(), QStringLiteral("기록지 출 력(&P)"));
    EXPECT_EQ(ui().pn_HistoryCaption->text(), QStringLiteral("기록지 발급이력"));
    EXPECT_FALSE(ui().pn_birthdate->isVisibleTo(&screen()));
    EXPECT_TRUE(ui().pn_Ward->isVisibleTo(&screen()));

    struct GridCase
    {
        const common::TUltraGrid *grid;
        std::vector<std::string> titles;
        std::vector<int> widths;
        std::vector<common::ColAlign> aligns;
    };
    using A = common::ColAlign;
    const GridCase grids[] = {
        {ui().ugd_History, {"순번", "내원일시", "퇴원일시"}, {63, 115, 108}, {A::Center, A::Left, A::Left}},
        {ui().ugd_RecodKnd,
         {"기록지 종류", "서식 코드", "재원일자", "기록지코드"},
         {156, 110, 72, 106},
         {A::Left, A::Left, A::Left, A::Left}},
        {ui().ugd_RecodDt,
         std::vector<std::string>(10),
         {77, 128, 134, 100, 74, 69, 64, 39, 83, 97},
         {A::Center, A::Center, A::Center, A::Center, A::Center, A::Left, A::Left, A::Left, A::Left,
          A::Left}},
    };
    for (const GridCase &g : grids) {
        SCOPED_TRACE(g.grid->objectName().toStdString());
        EXPECT_EQ(titles(*g.grid), g.titles);
        EXPECT_EQ(widths(*g.grid), g.widths);
        for (int col = 0; col < g.grid->colCount(); ++col)
            EXPECT_EQ(g.grid->data().colAlign(col), g.aligns[static_cast<std::size_t>(col)]) << col;
        EXPECT_TRUE(g.grid->rowSelect());
        EXPECT_EQ(g.grid->rowCount(), 2);
        // The grid shows all its columns without scrolling sideways.
        int used = 0;
        for (int width : g.widths)
            used += width;
        EXPECT_LE(used, g.grid->clientWidth());
    }

    // The hidden working controls of the print run.
    const std::pair<const common::TUltraGrid *, int> scratch[] = {
        {ui().ugd_AllList, 60}, {ui().ugd_List, 30}, {ui().ugd_PrintList, 27}, {ui().ugd_Temp, 30}};
    for (const auto &[grid, columns] : scratch) {
        EXPECT_EQ(grid->colCount(), columns) << grid->objectName().toStdString();
        EXPECT_FALSE(grid->isVisibleTo(&screen()));
    }
    EXPECT_EQ(items(ui().cboHome), (QStringList{QStringLiteral("무"), QStringLiteral("유")}));
    EXPECT_EQ(ui().cboHome->currentIndex(), 0);
    const QStringList areas = items(ui().combx_Location);
    ASSERT_EQ(areas.size(), 19);
    EXPECT_EQ(areas.front(), QStringLiteral("1구역"));
    EXPECT_EQ(areas[9], QStringLiteral("음압격리실"));
    EXPECT_EQ(areas.back(), QStringLiteral("소아응급환자진료구역"));
    for (const QComboBox *combo : screen().findChildren<QComboBox *>()) {
        EXPECT_FALSE(combo->isVisibleTo(&screen())) << combo->objectName().toStdString();
        if (combo != ui().cboHome && combo != ui().combx_Location) {
            EXPECT_EQ(combo->count(), 0) << combo->objectName().toStdString();
        }
    }
    EXPECT_EQ(screen().findChildren<QComboBox *>().size(), 42);

    // Korean text is drawn in the installed Noto face that stands in for the site's 굴림.
    for (const QWidget *w :
         {static_cast<const QWidget *>(ui().pn_PatName), static_cast<const QWidget *>(ui().ed_PatNo),
          static_cast<const QWidget *>(ui().ugd_History)})
        EXPECT_EQ(QFontInfo(w->font()).family(), QStringLiteral("Noto Sans CJK KR"))
            << w->objectName().toStdString();
    EXPECT_TRUE(QFontMetrics(ui().pn_PatName->font()).inFontUcs4(U'홍'));
}

TEST_F(MainScreenTest, TheHistoryPanelGrowsWithTheWindow)
{
    start();
    screen().resize(1200, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(ui().pn_History->width(), screen().centralWidget()->width());
    EXPECT_EQ(ui().pn_History->geometry().bottom() + 1, screen().centralWidget()->height());
    EXPECT_GT(ui().ugd_RecodDt->height(), 300);
}

} // namespace
} // namespace medrec::testing

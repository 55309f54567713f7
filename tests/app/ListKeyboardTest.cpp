// The main screen's lists and patient-number edit from the keyboard, keys delivered through
// the window system to whatever has the focus, as the operator's keys are.
#include "MainScreenFixture.h"

#include "UltraGrid.h"

#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace medrec::testing {
namespace {

class ListKeyboardTest : public MainScreenTest
{
protected:
    // Patient 00001234: visits 2017-09-15 (nursing record, progress notes) and 2015-03-02
    // (operation record, two progress notes); the search leaves the keyboard in the kinds.
    void findPatient()
    {
        start();
        typeKeys(QStringLiteral("1234"));
        pressEnter();
        ASSERT_EQ(focused(), ui().ugd_RecodKnd);
        ASSERT_EQ(ui().ugd_History->row(), 1);
        calls().clear();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(screen().windowHandle(), k, modifiers);
    }
    static QWidget *focused() { return QApplication::focusWidget(); }
    static std::string keyName(Qt::Key k) { return QKeySequence(k).toString().toStdString(); }

    Rows kinds() const { return body(*ui().ugd_RecodKnd, 4); }
    Rows records() const { return body(*ui().ugd_RecodDt, 3); }
};

const Rows kKinds2017 = {{"간호기록", "KRV 82-NR-1-10", "20170915", "MDNRRECT"},
                         {"경과기록", "KRV 82-MR-3-32", "20170915", "MDPGNOTT"}};
const Rows kKinds2015 = {{"수술기록", "KRV 82-OP-2-40", "20150302", "MDOPRECT"},
                         {"경과기록", "KRV 82-MR-3-32", "20150302", "MDPGNOTT"}};

TEST_F(ListKeyboardTest, KeysWalkTheVisitListAndRefillTheListsToItsRight)
{
    findPatient();
    key(Qt::Key_Backtab);
    ASSERT_EQ(focused(), ui().ugd_History);
    const struct
    {
        Qt::Key key;
        int row;
        const Rows &kinds;
        std::string firstRecord;
    } steps[] = {
        {Qt::Key_Down, 2, kKinds2015, "20150303"}, {Qt::Key_Up, 1, kKinds2017, "20170915"},
        {Qt::Key_End, 2, kKinds2015, "20150303"},  {Qt::Key_Home, 1, kKinds2017, "20170915"},
        {Qt::Key_PageDown, 2, kKinds2015, "20150303"}, {Qt::Key_PageUp, 1, kKinds2017, "20170915"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(keyName(step.key));
        calls().clear();
        key(step.key);
        EXPECT_EQ(ui().ugd_History->row(), step.row);
        EXPECT_EQ(kinds(), step.kinds);
        EXPECT_EQ(ui().ugd_RecodKnd->row(), 1);
        EXPECT_EQ(screen().selectedRecordKind(), step.kinds[0][3]);
        EXPECT_EQ(ui().ugd_RecodDt->cell(1, 1), step.firstRecord);
        EXPECT_EQ(calls().calls("MD_RECOD_L1").size(), 1u);
        EXPECT_EQ(calls().calls("MD_RECOD_L2").size(), 1u);
        // The keys stay where the operator is typing them.
        EXPECT_EQ(focused(), ui().ugd_History);
    }
    // At the end of the list a key that moves nothing asks nothing.
    calls().clear();
    key(Qt::Key_Up);
    EXPECT_TRUE(calls().calls().empty());
    EXPECT_NORMAL_CURSOR();
}

TEST_F(ListKeyboardTest, KeysWalkTheKindListAndRefillTheRecords)
{
    findPatient();
    key(Qt::Key_Down);
    EXPECT_EQ(ui().ugd_RecodKnd->row(), 2);
    EXPECT_EQ(screen().selectedRecordKind(), "MDPGNOTT");
    EXPECT_EQ(records(), (Rows{{"00001234", "20170915", "1"}}));
    EXPECT_EQ(titles(*ui().ugd_RecodDt)[1], "작성일자");
    EXPECT_EQ(status(), "1건의 자료가 조회되었습니다.");

    key(Qt::Key_Home);
    EXPECT_EQ(screen().selectedRecordKind(), "MDNRRECT");
    EXPECT_EQ(records(), (Rows{{"00001234", "20170915", "0910"}}));
    EXPECT_EQ(titles(*ui().ugd_RecodDt)[1], "기록일자");
    key(Qt::Key_End);
    EXPECT_EQ(screen().selectedRecordKind(), "MDPGNOTT");
    EXPECT_EQ(calls().calls("MD_RECOD_L2").size(), 3u);
    EXPECT_EQ(focused(), ui().ugd_RecodKnd);
    EXPECT_NORMAL_CURSOR();
}

TEST_F(ListKeyboardTest, KeysMoveTheSelectedRecord)
{
    findPatient();
    key(Qt::Key_Backtab);
    key(Qt::Key_Down); // the 2015 visit
    key(Qt::Key_Tab);
    key(Qt::Key_Down); // its progress notes
    ASSERT_EQ(screen().selectedRecordKind(), "MDPGNOTT");
    ASSERT_EQ(records(), (Rows{{"00001234", "20150302", "1"}, {"00001234", "20150303", "2"}}));
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), ui().ugd_RecodDt);
    calls().clear();
    const struct
    {
        Qt::Key key;
        int row;
    } steps[] = {{Qt::Key_Down, 2}, {Qt::Key_Up, 1},       {Qt::Key_End, 2},
                 {Qt::Key_Home, 1}, {Qt::Key_PageDown, 2}, {Qt::Key_PageUp, 1}};
    for (const auto &step : steps) {
        SCOPED_TRACE(keyName(step.key));
        key(step.key);
        EXPECT_EQ(ui().ugd_RecodDt->row(), step.row);
    }
    // Choosing a record asks the service nothing and leaves the lists to its left alone.
    EXPECT_TRUE(calls().calls().empty());
    EXPECT_EQ(ui().ugd_History->row(), 2);
    EXPECT_EQ(ui().ugd_RecodKnd->row(), 2);
}

TEST_F(ListKeyboardTest, TabMovesBetweenTheListsAndOnToThePrintButton)
{
    findPatient();
    key(Qt::Key_Backtab);
    EXPECT_EQ(focused(), ui().ugd_History);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), ui().ugd_RecodKnd);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), ui().ugd_RecodDt);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), ui().bbt_Print);
    key(Qt::Key_Backtab);
    EXPECT_EQ(focused(), ui().ugd_RecodDt);
    // Moving the focus lists nothing anew.
    EXPECT_TRUE(calls().calls().empty());
}

TEST_F(ListKeyboardTest, CtrlASelectsThePatientNumberAsInAnyTextField)
{
    start();
    ui().ed_PatNo->setFocus();
    typeKeys(QStringLiteral("1234"));
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(ui().ed_PatNo->selectedText(), QStringLiteral("1234"));
    EXPECT_EQ(ui().ed_PatNo->text(), QStringLiteral("1234"));
    // Typing replaces the selection; letters are still dropped.
    key(Qt::Key_A);
    key(Qt::Key_5);
    EXPECT_EQ(ui().ed_PatNo->text(), QStringLiteral("5"));
}

} // namespace
} // namespace medrec::testing

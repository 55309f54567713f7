#include "MCC100U1.h"
#include "UltraGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace medrec::common;
using namespace std::chrono_literals;

namespace {

constexpr Date kDay{2011y, std::chrono::March, 5d};

std::vector<PatientCandidate> candidates()
{
    return {
        {"00001234", "홍길동", "760305", "1234567", "19760305", "M", "A1", "내과"},
        {"00005678", "홍길순", "050304", "4234567", "20050304", "F", "", "소아과"},
        {"00009999", "홍아기", "110201", "3234567", "20110201", "M", "B7", "신생아"},
    };
}

class ChooserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dialog = std::make_unique<TMCC100F1>();
        m_dialog->setCandidates(candidates(), kDay);
        m_dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    }

    TUltraGrid &list() const { return *m_dialog->ugd_List(); }

    std::unique_ptr<TMCC100F1> m_dialog;
};

} // namespace

TEST_F(ChooserTest, FormAndCandidateList)
{
    EXPECT_EQ(m_dialog->objectName(), "MCC100F1");
    EXPECT_EQ(m_dialog->windowTitle(), "환자조회");
    EXPECT_EQ(m_dialog->size(), QSize(396, 195));
    EXPECT_TRUE(m_dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(m_dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(m_dialog->palette().color(QPalette::Window), QColor(128, 0, 64));
    EXPECT_TRUE(m_dialog->bbt_Confirm()->isDefault());
    EXPECT_EQ(m_dialog->bbt_Confirm()->text(), "선택");
    EXPECT_EQ(m_dialog->bbt_Cancel()->text(), "취소(&X)");
    EXPECT_FALSE(m_dialog->ugd_PatList()->isVisible());
    EXPECT_FALSE(m_dialog->ugd_OutPatList()->isVisible());

    EXPECT_EQ(list().colCount(), 6); // "합본번호" is cut off
    EXPECT_EQ(list().rowCount(), 4);
    EXPECT_EQ(list().rowCells(0),
              (std::vector<std::string>{"환자번호", "환자명", "Sex/Age", "주민등록번호", "", "진료과"}));
    EXPECT_EQ(list().rowCells(1),
              (std::vector<std::string>{"00001234", "홍길동", "M/35세", "760305-1234567", "A1", "내과"}));
    EXPECT_EQ(list().cell(2, 2), "F/6Y 0M");
    EXPECT_EQ(list().cell(2, 3), "M/33일");
    EXPECT_EQ(list().colWidth(4), 0);
    EXPECT_EQ(list().row(), 1);
    EXPECT_TRUE(list().hasFocus());
}

TEST_F(ChooserTest, ConfirmWithoutAClickReturnsTheFirstCandidate)
{
    QTest::keyClick(&list(), Qt::Key_Return); // the list has the focus; Enter is the dialog's
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    const ChooserResult &chosen = m_dialog->chooserResult();
    EXPECT_TRUE(chosen.chosen);
    EXPECT_EQ(chosen.patientNo, "00001234");
    EXPECT_EQ(chosen.name, "홍길동");
    EXPECT_EQ(chosen.sexAge, "M/35세");
    EXPECT_EQ(chosen.further[0], "A1");
    EXPECT_EQ(chosen.further[1], "내과");
    for (std::size_t k = 2; k < chosen.further.size(); ++k)
        EXPECT_EQ(chosen.further[k], "") << k;
}

TEST_F(ChooserTest, EscapeReturnsNoChoice)
{
    QTest::keyClick(&list(), Qt::Key_Escape);
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_FALSE(m_dialog->chooserResult().chosen);
    EXPECT_EQ(m_dialog->chooserResult().patientNo, "");
}

TEST_F(ChooserTest, ClickedRowIsTheOneConfirmed)
{
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, list().cellRect(1, 3).center());
    QTest::mouseClick(m_dialog->bbt_Confirm(), Qt::LeftButton);
    EXPECT_TRUE(m_dialog->chooserResult().chosen);
    EXPECT_EQ(m_dialog->chooserResult().patientNo, "00009999");
}

TEST_F(ChooserTest, KeyboardMoveThenEnter)
{
    QTest::keyClick(&list(), Qt::Key_Down);
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_EQ(m_dialog->chooserResult().patientNo, "00005678");
}

TEST_F(ChooserTest, DoubleClickConfirmsThatRow)
{
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, list().cellRect(0, 2).center());
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_dialog->chooserResult().name, "홍길순");
}

TEST_F(ChooserTest, CancelButtonAndReshowResetTheChoice)
{
    QTest::keyClick(&list(), Qt::Key_Down);
    QTest::mouseClick(m_dialog->bbt_Cancel(), Qt::LeftButton);
    EXPECT_FALSE(m_dialog->chooserResult().chosen);

    m_dialog->show(); // shown again: row 1 again
    EXPECT_EQ(list().row(), 1);
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_EQ(m_dialog->chooserResult().patientNo, "00001234");
}

TEST(Chooser, EmptyListConfirmsNothing)
{
    TMCC100F1 dialog;
    dialog.setCandidates({}, kDay);
    dialog.show();
    QTest::mouseClick(dialog.bbt_Confirm(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.chooserResult().chosen);
}

TEST(Chooser, Placement)
{
    const QSize size(396, 195);
    struct Case
    {
        const char *what;
        QRect edit;
        QPoint expected;
    };
    const std::vector<Case> cases{
        {"below, left edges aligned", QRect(100, 60, 150, 22), QPoint(100, 82)},
        {"left edge at 687 still below", QRect(687, 60, 150, 22), QPoint(687, 82)},
        {"beyond 687: right edges aligned", QRect(700, 60, 250, 22), QPoint(700 + 250 - 396, 82)},
        {"top beyond 570: above the edit", QRect(100, 560, 150, 22), QPoint(100, 560 - 195)},
        {"both", QRect(800, 600, 200, 20), QPoint(800 + 200 - 396, 600 - 195)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ChooserPosition(c.edit, size), c.expected);
    }
}

TEST(Chooser, ChoosePatientRunsModallyAndClearsTheReference)
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    edit->setGeometry(20, 10, 120, 22);
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QPointer<TMCC100F1> open;
    QPoint placedAt;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(open);
        placedAt = open->pos();
        QTest::keyClick(open->ugd_List(), Qt::Key_Down);
        QTest::keyClick(open->ugd_List(), Qt::Key_Return);
    });
    const ChooserResult chosen = ChoosePatient(open, edit, candidates(), kDay);
    EXPECT_TRUE(chosen.chosen);
    EXPECT_EQ(chosen.patientNo, "00005678");
    EXPECT_TRUE(open.isNull());
    EXPECT_EQ(placedAt, edit->mapToGlobal(QPoint(0, edit->height())));

    // While one chooser is open a second search only raises it.
    open = new TMCC100F1(&window);
    const ChooserResult again = ChoosePatient(open, edit, candidates(), kDay);
    EXPECT_FALSE(again.chosen);
    EXPECT_FALSE(open.isNull());
    delete open.data();
}

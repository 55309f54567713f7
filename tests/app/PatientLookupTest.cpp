// Typing into the patient-number edit and resolving it into one patient, on the shown
// screen against the real service host.
#include "MainScreenFixture.h"

#include "MCC100U1.h"
#include "SearchPatient.h"
#include "UltraGrid.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace medrec::testing {
namespace {

TEST(PatientText, ClassifiesWhatWasTyped)
{
    using Kind = app::PatientQuery::Kind;
    struct Case
    {
        const char *text;
        Kind kind;
        const char *type;
        const char *number;
        const char *name;
    };
    const Case cases[] = {
        {"", Kind::Empty, "", "", ""},
        {"   ", Kind::Empty, "", "", ""},
        {"123", Kind::ShortNumber, "", "", ""},
        {"1234", Kind::ByNumber, "1", "00001234", ""},
        {" 1234 ", Kind::ByNumber, "1", "00001234", ""},
        {"0012", Kind::ByNumber, "1", "00000012", ""},
        {"12345678", Kind::ByNumber, "1", "12345678", ""},
        {"123456789", Kind::ByNumber, "1", "123456789", ""},
        {"김", Kind::ShortName, "", "", ""},
        {"%", Kind::ShortName, "", "", ""},
        {"김민", Kind::ByName, "2", "", "김민"},
        {"12.5", Kind::ByName, "2", "", "12.5"},
        {"12%", Kind::ByName, "2", "", "12%"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const app::PatientQuery q = app::ClassifyPatientText(c.text);
        EXPECT_EQ(q.kind, c.kind);
        EXPECT_EQ(q.type, c.type);
        EXPECT_EQ(q.number, c.number);
        EXPECT_EQ(q.name, c.name);
    }
    EXPECT_EQ(app::SearchType("1", "1"), "1");
    EXPECT_EQ(app::SearchType("1", "2"), "2");
    EXPECT_EQ(app::SearchType("2", "1"), "4");
    EXPECT_EQ(app::SearchType("2", "2"), "5");
}

TEST_F(MainScreenTest, OnlyDigitsPercentQuoteAndPointAreTyped)
{
    start();
    struct Case
    {
        QString keys;
        const char *shown;
    };
    const Case cases[] = {
        {QStringLiteral("1a2B3"), "123"},
        {QStringLiteral("12%'.-+ x"), "12%'."},
        {QStringLiteral("/*,;9"), "9"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys.toStdString());
        ui().ed_PatNo->clear();
        typeKeys(c.keys);
        EXPECT_EQ(text(ui().ed_PatNo), c.shown);
    }
    // Backspace edits; keys that type nothing (Home, Delete) still move and delete.
    ui().ed_PatNo->clear();
    typeKeys(QStringLiteral("12345"));
    QTest::keyClick(ui().ed_PatNo, Qt::Key_Backspace);
    QTest::keyClick(ui().ed_PatNo, Qt::Key_Home);
    QTest::keyClick(ui().ed_PatNo, Qt::Key_Delete);
    EXPECT_EQ(text(ui().ed_PatNo), "234");
    // A Hangul name arrives through the input method.
    ui().ed_PatNo->clear();
    typeComposed(QStringLiteral("홍길동"));
    EXPECT_EQ(text(ui().ed_PatNo), "홍길동");
    EXPECT_TRUE(calls().calls().empty());
}

TEST_F(MainScreenTest, TooShortInputIsRefusedWithoutACall)
{
    start();
    struct Case
    {
        QString typed;
        bool composed;
        const char *message;
    };
    const Case cases[] = {
        {QStringLiteral("123"), false, "등록번호를 4글자이상 입력하세요"},
        {QStringLiteral("김"), true, "환자명을 2글자이상 입력하세요"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ui().ed_PatNo->clear();
        messages().clear();
        c.composed ? typeComposed(c.typed) : typeKeys(c.typed);
        ui().ugd_History->setFocus();
        pressEnter();
        EXPECT_EQ(messages().texts(Channel::Plain), std::vector<std::string>{c.message});
        EXPECT_EQ(text(ui().ed_PatNo), c.typed.toStdString());
        EXPECT_EQ(screen().focusWidget(), ui().ed_PatNo);
        EXPECT_TRUE(calls().calls().empty());
        EXPECT_NORMAL_CURSOR();
    }
}

TEST_F(MainScreenTest, FourDigitsArePaddedAndTheWholeChainFills)
{
    start();
    typeKeys(QStringLiteral("1234"));
    pressEnter();

    EXPECT_EQ(text(ui().ed_PatNo), "00001234");
    const auto patients = calls().calls("MD_PATBA_L2");
    ASSERT_EQ(patients.size(), 2u);
    EXPECT_EQ(patients[0].input("S_TYPE1"), "1");
    EXPECT_EQ(patients[0].input("S_TYPE2"), "00001234");
    EXPECT_EQ(patients[0].input("S_TYPE3"), "");
    EXPECT_EQ(patients[1].input("S_TYPE1"), "3");
    EXPECT_EQ(patients[1].input("S_TYPE2"), "00001234");

    // The patient.
    EXPECT_EQ(text(ui().pn_PatName), "홍길동");
    EXPECT_FALSE(ui().pn_Ward->isVisible());
    EXPECT_EQ(text(ui().pn_Ward), "M/48세");
    EXPECT_EQ(text(ui().pn_ResNo), "760305-1234567");
    EXPECT_EQ(text(ui().pn_SexAge), "M/48세");
    EXPECT_EQ(text(ui().pn_TelNo), "(집)02-1234-5678 (HP)010-9876-5432");
    EXPECT_EQ(text(ui().pn_ZipCd), "06236");
    EXPECT_EQ(text(ui().pn_Address), " 서울특별시 강남구 테헤란로 123");
    EXPECT_EQ(text(ui().pn_birthdate), "19760305");
    EXPECT_EQ(text(ui().pn_Insu), "");
    EXPECT_EQ(text(ui().pn_WardRoom), "");

    // The visit list: the service and the per-visit record-kind questions.
    const auto history = calls().calls("MD_PMEDH_S1");
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].input("S_PATNO"), "00001234");
    EXPECT_EQ(history[0].input("S_TYPE1"), "EB1");
    EXPECT_EQ(history[0].input("S_TYPE2"), "20110101");
    std::vector<std::string> asked;
    for (const LoggedCall &call : calls().calls("MD_RECOD_L1"))
        asked.push_back(call.input("S_STRING1"));
    EXPECT_EQ(asked, (std::vector<std::string>{"201709150900", "201601051200", "201503021030", "20170915"}));

    // Three visits, one without records: two rows, newest first, the count on the status
    // line until the next step takes it over.
    EXPECT_EQ(body(*ui().ugd_History, 3),
              (Rows{{"1", "2017-09-15 09:00", ""}, {"2", "2015-03-02 10:30", ""}}));
    EXPECT_EQ(ui().ugd_History->row(), 1);
    const auto &statuses = statusHistory();
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "2건의 자료가 조회되었습니다."), statuses.end());

    // The newest visit's record kinds, and the first kind's records.
    EXPECT_EQ(body(*ui().ugd_RecodKnd, 4), (Rows{{"간호기록", "KRV 82-NR-1-10", "20170915", "MDNRRECT"},
                                                 {"경과기록", "KRV 82-MR-3-32", "20170915", "MDPGNOTT"}}));
    EXPECT_EQ(ui().ugd_RecodKnd->row(), 1);
    EXPECT_EQ(screen().selectedRecordKind(), "MDNRRECT");
    const auto records = calls().calls("MD_RECOD_L2");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].input("S_TYPE1"), "MDNRRECT");
    EXPECT_EQ(records[0].input("S_PATNO"), "00001234");
    EXPECT_EQ(records[0].input("S_STRING1"), "20170915");
    EXPECT_EQ(body(*ui().ugd_RecodDt, 10), (Rows{{"00001234", "20170915", "0910", "응급실", "김간호", "E",
                                                  "완료", "비고1", "박확인", "서명1"}}));
    EXPECT_EQ(status(), "1건의 자료가 조회되었습니다.");
    EXPECT_EQ(screen().focusWidget(), ui().ugd_RecodKnd);
    EXPECT_EQ(screen().typingFlag(), 1);
    EXPECT_TRUE(messages().log().empty());
    EXPECT_NORMAL_CURSOR();
}

TEST_F(MainScreenTest, ChangingOneDigitEmptiesThePatientAndEveryGrid)
{
    start();
    typeKeys(QStringLiteral("1234"));
    pressEnter();
    ASSERT_EQ(text(ui().pn_PatName), "홍길동");
    ASSERT_EQ(ui().ugd_RecodDt->cell(0, 1), "00001234");

    ui().ed_PatNo->setFocus();
    QTest::keyClick(ui().ed_PatNo, Qt::Key_End);
    QTest::keyClick(ui().ed_PatNo, Qt::Key_Backspace);
    typeKeys(QStringLiteral("5"));
    EXPECT_EQ(text(ui().ed_PatNo), "00001235");

    EXPECT_EQ(text(ui().pn_PatName), "");
    EXPECT_EQ(text(ui().pn_Ward), "");
    for (const QLabel *panel :
         {ui().pn_ResNo, ui().pn_SexAge, ui().pn_TelNo, ui().pn_ZipCd, ui().pn_Address, ui().pn_birthdate})
        EXPECT_EQ(text(panel), "") << panel->objectName().toStdString();
    for (const common::TUltraGrid *grid : {ui().ugd_History, ui().ugd_RecodKnd, ui().ugd_RecodDt}) {
        SCOPED_TRACE(grid->objectName().toStdString());
        EXPECT_EQ(grid->rowCount(), 2);
        EXPECT_EQ(body(*grid, grid->colCount()), Rows{std::vector<std::string>(grid->colCount())});
    }
    EXPECT_EQ(status(), "");
    // The search button now finds no patient to list.
    ui().bbt_MdHSearch->click();
    EXPECT_EQ(messages().texts(Channel::Plain),
              std::vector<std::string>{"환자가 선택되지 않았습니다.\r\n환자를 선택해주세요!"});
}

TEST_F(MainScreenTest, ASharedNameOpensTheChooserAndConfirmingTakesTheFirst)
{
    start();
    typeComposed(QStringLiteral("김민준"));
    bool normalCursorWhileOpen = false;
    int candidates = 0;
    whenChooserOpens([&](common::TMCC100F1 &chooser) {
        normalCursorWhileOpen = QGuiApplication::overrideCursor() == nullptr;
        candidates = chooser.ugd_List()->rowCount() - chooser.ugd_List()->fixedRows();
        chooser.bbt_Confirm()->click();
    });
    pressEnter();

    ASSERT_TRUE(chooserOpened());
    EXPECT_EQ(candidates, 2);
    EXPECT_TRUE(normalCursorWhileOpen);
    const auto patients = calls().calls("MD_PATBA_L2");
    ASSERT_GE(patients.size(), 2u);
    EXPECT_EQ(patients[0].input("S_TYPE1"), "2");
    EXPECT_EQ(patients[0].input("S_TYPE2"), "");
    EXPECT_EQ(patients[0].input("S_TYPE3"), "김민준");
    EXPECT_EQ(patients[1].input("S_TYPE1"), "3");
    EXPECT_EQ(patients[1].input("S_TYPE2"), "00002001");

    EXPECT_EQ(text(ui().ed_PatNo), "00002001");
    EXPECT_EQ(text(ui().pn_PatName), "김민준");
    EXPECT_EQ(text(ui().pn_SexAge), "M/44세");
    EXPECT_EQ(body(*ui().ugd_History, 2), (Rows{{"1", "2020-02-03 14:00"}}));
    EXPECT_EQ(screen().selectedRecordKind(), "MDPGNOTT");
    EXPECT_NORMAL_CURSOR();
}

TEST_F(MainScreenTest, EscapeInTheChooserChoosesNoneAndFocusesTheEdit)
{
    start();
    typeComposed(QStringLiteral("김민준"));
    ui().ugd_History->setFocus();
    whenChooserOpens([](common::TMCC100F1 &chooser) { QTest::keyClick(&chooser, Qt::Key_Escape); });
    pressEnter();

    ASSERT_TRUE(chooserOpened());
    EXPECT_EQ(calls().calls().size(), 1u);
    EXPECT_EQ(text(ui().ed_PatNo), "김민준");
    EXPECT_EQ(text(ui().pn_PatName), "");
    EXPECT_EQ(screen().focusWidget(), ui().ed_PatNo);
    EXPECT_TRUE(ui().pn_Ward->isVisibleTo(&screen()));
    EXPECT_TRUE(messages().log().empty());
    EXPECT_NORMAL_CURSOR();
}

TEST_F(MainScreenTest, AnUnknownNumberEmptiesTheReceivingControls)
{
    start();
    typeKeys(QStringLiteral("9999"));
    pressEnter();
    EXPECT_EQ(
        messages().texts(Channel::Plain),
        std::vector<std::string>{"해당 환자는 존재하지 않습니다. 환자명 또는 등록번호를 다시입력하십시오."});
    EXPECT_EQ(text(ui().ed_PatNo), "");
    EXPECT_EQ(text(ui().pn_PatName), "");
    EXPECT_EQ(text(ui().pn_Ward), "");
    EXPECT_EQ(calls().calls().size(), 1u);
    EXPECT_EQ(screen().focusWidget(), ui().ed_PatNo);
    EXPECT_NORMAL_CURSOR();

    // With no number at all the search button asks for one.
    messages().clear();
    ui().bbt_MdHSearch->click();
    EXPECT_EQ(messages().texts(Channel::Plain), std::vector<std::string>{"환자번호를 기입해주세요."});
}

TEST_F(MainScreenTest, TheBirthDateGoesWithItsPatient)
{
    start();
    typeKeys(QStringLiteral("1234"));
    pressEnter();
    ASSERT_EQ(text(ui().pn_birthdate), "19760305");

    // Another number that finds nobody: no panel keeps the previous patient, the hidden
    // birth date included (a note printed next would show it).
    ui().ed_PatNo->setFocus();
    ui().ed_PatNo->selectAll();
    typeKeys(QStringLiteral("9999"));
    pressEnter();
    EXPECT_EQ(text(ui().pn_PatName), "");
    EXPECT_EQ(text(ui().pn_birthdate), "");
}

} // namespace
} // namespace medrec::testing

// The visit, record-kind, record and room lists of the main screen against the real host.
#include "MainScreenFixture.h"

#include "ReplyRows.h"

#include "CodeCombos.h"
#include "UltraGrid.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

namespace medrec::testing {
namespace {

// Visits answered oldest first, so that the screen's own ordering shows.
HandlerOverride OldestFirst()
{
    return [](server::ServiceHandler) -> server::ServiceHandler {
        return [](server::ServiceContext &ctx) {
            for (const char *visit : {"201503021030", "201601051200", "201709150900"})
                ctx.reply().addText("S_STRING1", visit);
            ctx.succeed("3건의 자료가 조회되었습니다.");
        };
    };
}

// The real record kinds plus one row whose code is empty.
HandlerOverride WithAnEmptyCode()
{
    return [](server::ServiceHandler real) -> server::ServiceHandler {
        return [real](server::ServiceContext &ctx) {
            real(ctx);
            server::ReplyRows rows = *ctx.rows();
            rows.addRow();
            rows.text("S_STRING1", "코드 없는 기록지");
            rows.text("S_STRING2", "");
            rows.text("S_STRING3", "KRV 00");
            ctx.replyRows(std::move(rows));
        };
    };
}

TEST_F(MainScreenTest, VisitsAreSortedNewestFirstWithTheirNumbers)
{
    start({{"MD_PMEDH_S1", OldestFirst()}});
    typeKeys(QStringLiteral("1234"));
    pressEnter();
    // Numbered in the service's order, then ordered newest first: the numbers move along.
    EXPECT_EQ(body(*ui().ugd_History, 2), (Rows{{"2", "2017-09-15 09:00"}, {"1", "2015-03-02 10:30"}}));
    EXPECT_EQ(ui().ugd_History->row(), 1);
    EXPECT_EQ(ui().ugd_RecodKnd->cell(2, 1), "20170915");
}

TEST_F(MainScreenTest, APatientWithoutVisitsSinceTheCutOffSaysSo)
{
    start();
    typeKeys(QStringLiteral("3001"));
    pressEnter();
    EXPECT_EQ(text(ui().pn_PatName), "이서연");
    EXPECT_EQ(status(), "해당 자료가 한건도 존재하지 않습니다.");
    EXPECT_EQ(body(*ui().ugd_History, 3), (Rows{{"", "", ""}}));
    EXPECT_TRUE(calls().calls("MD_RECOD_L1").empty());
    EXPECT_NORMAL_CURSOR();
}

TEST_F(MainScreenTest, ClickingAVisitListsItsKindsAndTheFirstKindsRecords)
{
    start();
    typeKeys(QStringLiteral("1234"));
    pressEnter();
    calls().clear();

    clickRow(*ui().ugd_History, 2);
    EXPECT_EQ(body(*ui().ugd_RecodKnd, 4), (Rows{{"수술기록", "KRV 82-OP-2-40", "20150302", "MDOPRECT"},
                                                 {"경과기록", "KRV 82-MR-3-32", "20150302", "MDPGNOTT"}}));
    EXPECT_EQ(screen().selectedRecordKind(), "MDOPRECT");
    EXPECT_EQ(body(*ui().ugd_RecodDt, 7),
              (Rows{{"00001234", "20150303", "1", "20150302", "외과", "이정훈", "충수절제술"}}));
    const auto kinds = calls().calls("MD_RECOD_L1");
    ASSERT_EQ(kinds.size(), 1u);
    EXPECT_EQ(kinds[0].input("S_TYPE2"), "1");
    EXPECT_EQ(kinds[0].input("S_STRING1"), "20150302");
    EXPECT_NORMAL_CURSOR();
}

TEST_F(MainScreenTest, TheRecordGridsTitlesFollowTheService)
{
    start();
    typeKeys(QStringLiteral("1234"));
    pressEnter();
    const std::vector<std::string> nursing = {"등록번호", "기록일자", "기록시간", "부서",   "작성자",
                                              "구분",     "상태",     "비고",     "확인자", "서명"};
    EXPECT_EQ(titles(*ui().ugd_RecodDt), nursing);

    // A kind with a shorter title line leaves no title of the longer one behind.
    clickRow(*ui().ugd_RecodKnd, 2);
    EXPECT_EQ(screen().selectedRecordKind(), "MDPGNOTT");
    EXPECT_EQ(titles(*ui().ugd_RecodDt),
              (std::vector<std::string>{"등록번호", "작성일자", "순번", "작성자", "", "", "", "", "", ""}));
    EXPECT_EQ(body(*ui().ugd_RecodDt, 4), (Rows{{"00001234", "20170915", "1", "최의사"}}));
    EXPECT_EQ(status(), "1건의 자료가 조회되었습니다.");

    clickRow(*ui().ugd_RecodKnd, 1);
    EXPECT_EQ(titles(*ui().ugd_RecodDt), nursing);
    EXPECT_NORMAL_CURSOR();
}

TEST_F(MainScreenTest, AKindRowWithAnEmptyCodeDoesNothing)
{
    start({{"MD_RECOD_L1", WithAnEmptyCode()}});
    typeKeys(QStringLiteral("1234"));
    pressEnter();
    ASSERT_EQ(ui().ugd_RecodKnd->rowCount(), 4);
    ASSERT_EQ(ui().ugd_RecodKnd->cell(0, 3), "코드 없는 기록지");
    const Rows records = body(*ui().ugd_RecodDt, 10);
    const std::string shown = status();
    calls().clear();

    clickRow(*ui().ugd_RecodKnd, 3);
    EXPECT_EQ(ui().ugd_RecodKnd->row(), 3);
    EXPECT_TRUE(calls().calls().empty());
    EXPECT_EQ(screen().selectedRecordKind(), "MDNRRECT");
    EXPECT_EQ(body(*ui().ugd_RecodDt, 10), records);
    EXPECT_EQ(status(), shown);
}

TEST_F(MainScreenTest, AnEmptyVisitRowAsksNothing)
{
    start();
    clickRow(*ui().ugd_History, 1);
    EXPECT_TRUE(calls().calls().empty());
    EXPECT_EQ(status(), "");
}

TEST_F(MainScreenTest, TheRoomsOfTheChosenWard)
{
    start();
    common::FillWardCombo(ui().combx_RoomCd, ui().combx_Room);
    ASSERT_EQ(ui().combx_Room->count(), 3);

    ui().combx_Room->setCurrentIndex(ui().combx_Room->findText(QStringLiteral("71병동")));
    screen().combx_RoomChange();
    EXPECT_EQ(text(ui().combx_RoomCd), "71");
    QStringList rooms;
    for (int i = 0; i < ui().combx_roomno->count(); ++i)
        rooms << ui().combx_roomno->itemText(i);
    EXPECT_EQ(rooms, (QStringList{QString(), QStringLiteral("7101"), QStringLiteral("7102")}));
    EXPECT_EQ(calls().calls("MD_WDRMC_L1").back().input("S_TYPE1"), "71");

    // A ward without rooms empties the room list and says so.
    ui().combx_Room->setCurrentIndex(ui().combx_Room->findText(QStringLiteral("52병동")));
    screen().combx_RoomChange();
    EXPECT_EQ(ui().combx_roomno->count(), 0);
    EXPECT_EQ(status(), "조회된 자료가 없습니다.");

    // The empty first item is no ward: nothing is asked.
    calls().clear();
    ui().combx_Room->setCurrentIndex(0);
    screen().combx_RoomChange();
    EXPECT_TRUE(calls().calls().empty());
    EXPECT_NORMAL_CURSOR();
}

} // namespace
} // namespace medrec::testing

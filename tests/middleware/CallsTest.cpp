// The call layer against a real service host on loopback: session start, calls, outputs,
// transactions and the channels failures take.
#include "SessionFixture.h"

#include "Cp949.h"
#include "DataClassCall.h"
#include "MDG300U1.h"
#include "MsgCom.h"
#include "RecordingPresenter.h"
#include "TStatusBar.h"
#include "TuxCom.h"
#include "TuxMsg.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <QStatusBar>
#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

using namespace medrec;
using namespace medrec::middleware;
namespace mt = medrec::testing;
using Channel = mt::RecordedMessage::Channel;

namespace {

// What the host saw of the last call, for identity checks.
struct Seen
{
    std::mutex mutex;
    server::Identity identity;
    int echoes = 0; // calls of T_ECHO that reached the host
};

Seen &seen()
{
    static Seen s;
    return s;
}

server::ServiceRegistry testServices()
{
    server::ServiceRegistry r;
    r.add("T_ROWS", [](server::ServiceContext &c) {
        for (const char *v : {"하나", "둘", "셋"})
            c.reply().addText("S_STRING1", v);
        c.succeed("3건");
    });
    r.add("T_NUMBERS", [](server::ServiceContext &c) {
        c.reply().addInteger("L_CNT1", -5);
        c.reply().addReal("D_VALUE1", 2.5);
        c.reply().addReal("D_VALUE1", 0.1);
        c.reply().addText("S_STRING1", "x");
    });
    // Status text in S_STRING1, user return code in L_CNT1, failure when S_STRING2 is "fail".
    r.add("T_OUTCOME", [](server::ServiceContext &c) {
        const std::string status = c.request().text("S_STRING1");
        const long code = c.request().integer("L_CNT1").value_or(0);
        if (c.request().text("S_STRING2") == "fail")
            c.fail(status, code);
        else
            c.succeed(status, code);
    });
    r.add("T_ECHO", [](server::ServiceContext &c) {
        {
            std::lock_guard lock(seen().mutex);
            seen().identity = c.identity();
            ++seen().echoes;
        }
        for (int i = 0; i < c.request().count("S_STRING1"); ++i)
            c.reply().addBytes("S_STRING2", c.request().bytes("S_STRING1", i));
    });
    // L_CNT2 occurrences of S_STRING1, each L_CNT1 bytes long.
    r.add("T_BIG", [](server::ServiceContext &c) {
        const int bytes = c.request().integer("L_CNT1").value_or(0);
        const int rows = c.request().integer("L_CNT2").value_or(1);
        for (int i = 0; i < rows; ++i)
            if (!c.reply().addText("S_STRING1", std::string(static_cast<std::size_t>(bytes), 'x')))
                return;
    });
    // Writes S_STRING1 as a row of t.
    r.add("T_WRITE", [](server::ServiceContext &c) {
        sqlite3_exec(c.db(), "CREATE TABLE IF NOT EXISTS t(v TEXT)", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(c.db(), "INSERT INTO t VALUES(?)", -1, &insert, nullptr);
        const std::string value = c.request().text("S_STRING1");
        sqlite3_bind_text(insert, 1, value.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_finalize(insert);
        if (value == "break")
            sqlite3_exec(c.db(), "ROLLBACK", nullptr, nullptr, nullptr); // the commit then has nothing to commit
    });
    // Answers later than a client with a one-second call time-out waits.
    r.add("T_SLOW", [](server::ServiceContext &c) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        c.succeed("late");
    });
    r.add("T_NOTIFY", [](server::ServiceContext &c) { c.notify(c.request().text("S_STRING1")); });
    // A notice too long for any buffer of the client.
    r.add("T_NOTIFY_HUGE", [](server::ServiceContext &c) {
        c.reply().addText("S_STRING1", c.notify(std::string(600000, 'x')) ? "sent" : "refused");
    });
    return r;
}

class CallLayer : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_host = new mt::LoopbackHost(testServices()); }
    static void TearDownTestSuite()
    {
        delete s_host;
        s_host = nullptr;
    }

    void SetUp() override
    {
        SetCommandLine({"medrec", "DR", "KIM"});
        SetHostAddressLookup(nullptr);
        ASSERT_TRUE(TuxInit(s_host->environmentFile())) << LastTuxMessage();
    }
    void TearDown() override
    {
        FmlFree();
        TuxTerm();
    }

    // One plain call with the inputs; true when it succeeded. The buffers stay for reading.
    static bool call(const std::string &service, const std::string &fields, const std::vector<InputValue> &inputs)
    {
        FmlAlloc(FlavourForService(service));
        SetFieldList(fields);
        SetInputs(0, inputs);
        return TuxCall(service);
    }

    static mt::LoopbackHost *s_host;
    mt::ScopedRecordingPresenter m_recorder;
};

mt::LoopbackHost *CallLayer::s_host = nullptr;

// Rows of the host's table t holding the value (none before the first T_WRITE makes t); -1
// when the database cannot be read.
int rowsHolding(const std::string &database, const std::string &value)
{
    sqlite3 *db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *query = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM t WHERE v = ?", -1, &query, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(query, 1, value.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(query) == SQLITE_ROW)
                count = sqlite3_column_int(query, 0);
        } else if (std::string(sqlite3_errmsg(db)).rfind("no such table", 0) == 0) {
            count = 0;
        }
        sqlite3_finalize(query);
    }
    sqlite3_close(db);
    return count;
}

int echoes()
{
    std::lock_guard lock(seen().mutex);
    return seen().echoes;
}

TEST_F(CallLayer, RowsBecomeElementsAndTheFirstOutputCounts)
{
    services::ServiceResult rows, absent;
    const int n = services::RunQuery({"T_ROWS", "", {}, {{"S_STRING1", &rows}, {"S_STRING9", &absent}}});
    EXPECT_EQ(n, 3);
    EXPECT_EQ(rows, (services::ServiceResult{"하나", "둘", "셋"}));
    EXPECT_EQ(absent, (services::ServiceResult{""}));
    EXPECT_EQ(TuxMessage(), "3건");
    EXPECT_FALSE(HasRequestBuffer());
}

TEST_F(CallLayer, AFieldTheReplyLacksGivesOneEmptyElementAndZero)
{
    services::ServiceResult absent{"stale", "rows"};
    EXPECT_EQ(services::RunQuery({"T_ROWS", "", {}, {{"S_STRING9", &absent}}}), 0);
    EXPECT_EQ(absent, (services::ServiceResult{""}));
}

TEST_F(CallLayer, NumbersReadAsTheirShortestText)
{
    ASSERT_TRUE(call("T_NUMBERS", "", {}));
    EXPECT_EQ(GetOutput("L_CNT1"), (ServiceResult{"-5"}));
    EXPECT_EQ(GetOutput("D_VALUE1"), (ServiceResult{"2.5", "0.1"}));
    EXPECT_EQ(GetOutputSeq("L_CNT1"), (ServiceResult{"-5"}));
    EXPECT_EQ(GetOutputSeq("D_VALUE1"), (ServiceResult{"2.5", "0.1"}));
    // A real field the reply lacks is unreadable: "-1" and the field error text.
    EXPECT_EQ(GetOutput("F_VALUE1"), (ServiceResult{"-1"}));
    EXPECT_FALSE(TuxMessage().empty());
    // An unknown field name reads as one empty element.
    EXPECT_EQ(GetOutput("NO_SUCH_FIELD"), (ServiceResult{""}));
}

TEST_F(CallLayer, KoreanTextSurvivesBothWays)
{
    const std::string name = "홍길동 서울특별시 강남구 테헤란로 123";
    // 2,047 syllables and one letter: 4,095 CP949 bytes, the longest the sequential reader holds.
    std::string longest;
    for (int i = 0; i < 2047; ++i)
        longest += "가";
    longest += "a";
    ASSERT_EQ(text::cp949Width(longest), 4095u);
    std::string longer = longest + "나다라마바사아자차카타파하"; // past the scratch area

    FmlAlloc(Flavour::Standard);
    SetFieldList("S_STRING1");
    SetInputs(0, {name});
    SetInputs(1, {longest});
    SetInputs(2, {longer});
    ASSERT_TRUE(TuxCall("T_ECHO")) << LastTuxMessage();
    const ServiceResult byIndex = GetOutput("S_STRING2");
    const ServiceResult inOrder = GetOutputSeq("S_STRING2");
    const ServiceResult expected{name, longest, longer};
    EXPECT_EQ(byIndex, expected);
    EXPECT_EQ(inOrder, expected);
}

TEST_F(CallLayer, IdentityIsStampedOnEveryRequest)
{
    ASSERT_TRUE(call("T_ECHO", "", {}));
    std::lock_guard lock(seen().mutex);
    EXPECT_EQ(seen().identity.user, "DRKIM");
    EXPECT_EQ(seen().identity.logUser, "DRKIM");
    EXPECT_EQ(seen().identity.logClient, TuxClientName());
}

TEST_F(CallLayer, KoreanUserNamesJoinInCp949CutAtACharacter)
{
    struct Case
    {
        std::string first, second, joined;
    };
    // Nine syllables take 18 bytes: the ninth does not fit the 17-byte name field.
    const Case cases[] = {{"홍길동", "의사", "홍길동의사"}, {"가나다라마", "바사아자", "가나다라마바사아"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.joined);
        TuxTerm();
        SetCommandLine({"medrec", c.first, c.second});
        ASSERT_TRUE(TuxInit(s_host->environmentFile()));
        ASSERT_TRUE(call("T_ECHO", "", {}));
        std::lock_guard lock(seen().mutex);
        EXPECT_EQ(seen().identity.user, c.joined);
    }
}

TEST_F(CallLayer, TheThirteenthArgumentStandsInForAnUnknownAddress)
{
    TuxTerm();
    std::vector<std::string> args{"medrec", "A", "B"};
    for (int i = 3; i <= 12; ++i)
        args.push_back("x" + std::to_string(i));
    args.push_back("WS-013");
    SetCommandLine(args);
    SetHostAddressLookup([] { return std::string(); });
    ASSERT_TRUE(TuxInit(s_host->environmentFile()));
    EXPECT_EQ(TuxClientName(), "");
    ASSERT_TRUE(call("T_ECHO", "", {}));
    std::lock_guard lock(seen().mutex);
    EXPECT_EQ(seen().identity.logClient, "WS-013");
    EXPECT_EQ(seen().identity.logUser, "AB");
}

TEST_F(CallLayer, UserReturnCodesChooseTheChannel)
{
    TStatusBar bar;
    struct Case
    {
        long code;
        Channel channel;
        bool shown;
    };
    const Case cases[] = {{-1, Channel::Notice, true}, {1, Channel::Plain, true}, {0, Channel::Status, true}, {7, Channel::Plain, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        m_recorder->clear();
        bar.setPanelText(QString());
        EXPECT_FALSE(call("T_OUTCOME", "S_STRING1;L_CNT1;S_STRING2", {std::string("진료과 오류"), std::int32_t(c.code), std::string("fail")}));
        ShowTuxMessage(&bar);
        const bool onBar = bar.panelText() == "진료과 오류";
        const auto log = m_recorder->log();
        if (!c.shown) {
            EXPECT_TRUE(log.empty());
            EXPECT_FALSE(onBar);
        } else if (c.channel == Channel::Status) {
            EXPECT_TRUE(onBar);
            EXPECT_TRUE(log.empty());
        } else {
            ASSERT_EQ(log.size(), 1u);
            EXPECT_EQ(log[0].channel, c.channel);
            EXPECT_EQ(log[0].text, "진료과 오류");
            EXPECT_FALSE(onBar);
        }
    }
    if (auto *notice = TTuxMsgf1::current())
        notice->close();
}

TEST_F(CallLayer, AFailureWithoutStatusShowsTheDefaultText)
{
    TStatusBar bar;
    EXPECT_FALSE(call("T_OUTCOME", "S_STRING1;L_CNT1;S_STRING2", {std::string(), std::int32_t(1), std::string("fail")}));
    EXPECT_FALSE(HasRequestBuffer());
    ShowTuxMessage(&bar);
    EXPECT_EQ(m_recorder->texts(Channel::Plain), (std::vector<std::string>{kDefaultTuxMessage}));

    EXPECT_TRUE(call("T_OUTCOME", "S_STRING1;L_CNT1", {std::string(), std::int32_t(0)}));
    ShowTuxMessage(&bar);
    EXPECT_EQ(bar.panelText().toStdString(), kDefaultTuxMessage);
}

TEST_F(CallLayer, TwoNoticesInARowShareOneWindow)
{
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(call("T_OUTCOME", "S_STRING1;L_CNT1;S_STRING2", {std::string("첫 줄\r\n둘째 줄"), std::int32_t(-1), std::string("fail")}));
        ShowTuxMessage(nullptr);
    }
    ASSERT_NE(TTuxMsgf1::current(), nullptr);
    EXPECT_EQ(TTuxMsgf1::current()->memoLines(), (QStringList{"첫 줄", "둘째 줄", "첫 줄", "둘째 줄"}));
    TTuxMsgf1::current()->close();
}

TEST_F(CallLayer, ATransactionCommitsItsWrite)
{
    FmlAlloc(Flavour::Standard);
    SetFieldList("S_STRING1");
    SetInputs(0, {std::string("keep")});
    ASSERT_TRUE(TuxTranCall("T_WRITE")) << LastTuxMessage();
    EXPECT_TRUE(m_recorder->log().empty());
    EXPECT_EQ(rowsHolding(s_host->directory() + "/host.db", "keep"), 1) << "the committed row is in the database";
}

TEST_F(CallLayer, ARequestOneByteTooLargeIsNotSentAndNamesTheField)
{
    SetFormNameSource([] { return std::string("MDG300F1"); });
    TuxTerm();
    SetHostAddressLookup([] { return std::string("10.1.2.3"); });
    ASSERT_TRUE(TuxInit(s_host->environmentFile()));
    // The room the three identity stamps take after the inputs: entry header, text, zero.
    std::size_t stamps = 0;
    for (const std::string &v : {TuxUserName(), TuxClientName(), std::string("MDG300F1")})
        stamps += 8 + v.size() + 1;
    // One S_STRING1 that fills the standard buffer, with the stamps, to its last byte.
    const std::size_t fits = static_cast<std::size_t>(kStandardBufferSize) - 24 - 8 - 1 - stamps;

    const int before = echoes();
    EXPECT_FALSE(call("T_ECHO", "S_STRING1", {std::string(fits + 1, 'x')}));
    EXPECT_EQ(TuxMessage(), "request not sent: field LOG_FORMNAME, occurrence 0: no space left in the field "
                            "buffer for the change");
    EXPECT_FALSE(HasRequestBuffer());
    EXPECT_EQ(echoes(), before) << "nothing went out";

    EXPECT_TRUE(call("T_ECHO", "S_STRING1", {std::string(fits, 'x')})) << LastTuxMessage();
    EXPECT_EQ(GetOutput("S_STRING2"), (ServiceResult{std::string(fits, 'x')}));
    EXPECT_EQ(echoes(), before + 1);
    SetFormNameSource(nullptr);
}

TEST_F(CallLayer, AHistoryRowThatDoesNotFitOpensNoTransactionAndWritesNothing)
{
    const std::string tooLong(static_cast<std::size_t>(kStandardBufferSize), 'x');
    EXPECT_EQ(services::RunUpdate("T_WRITE", "S_STRING1", {{std::string("first")}, {tooLong}}), -1);
    EXPECT_EQ(TuxMessage().rfind("request not sent: field S_STRING1, occurrence 1: no space left", 0), 0u)
        << TuxMessage();
    EXPECT_FALSE(HasRequestBuffer());
    EXPECT_EQ(rowsHolding(s_host->directory() + "/host.db", "first"), 0);
}

TEST_F(CallLayer, InputsThatCannotBePlacedRefuseTheCall)
{
    struct Case
    {
        const char *name;
        std::string fields;
        std::vector<InputValue> inputs;
        std::string message;
    };
    const std::vector<Case> cases{
        {"letters after the digits", "S_STRING1;L_CNT1", {std::string("a"), std::string("12a")},
         "request not sent: field L_CNT1: \"12a\" is not a whole number"},
        {"no digits", "L_CNT1", {std::string("")}, "field L_CNT1: \"\" is not a whole number"},
        {"a blank first", "L_CNT1", {std::string(" 12")}, "field L_CNT1: \" 12\" is not a whole number"},
        {"a fraction", "L_CNT1", {std::string("1.5")}, "field L_CNT1: \"1.5\" is not a whole number"},
        {"past 32 bits", "L_CNT1", {std::string("4294967296")}, "field L_CNT1: \"4294967296\" is not a whole number"},
        {"past a short", "H_VALUE1", {std::int32_t(40000)}, "field H_VALUE1: 40000 does not fit a short field"},
        {"a name the table does not know", "S_STRING1;S_STRNG2", {std::string("a"), std::string("b")},
         "item 1 of the field list \"S_STRING1;S_STRNG2\" (\"S_STRNG2\") is not a field of the field table"},
        {"more values than names", "S_STRING1", {std::string("a"), std::string("b")},
         "item 1 of the field list \"S_STRING1\" (\"\") is not a field of the field table"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int before = echoes();
        EXPECT_FALSE(call("T_ECHO", c.fields, c.inputs));
        EXPECT_NE(TuxMessage().find(c.message), std::string::npos) << TuxMessage();
        EXPECT_FALSE(HasRequestBuffer());
        EXPECT_EQ(echoes(), before) << "nothing went out";
    }
    // Whole numbers in either form still go.
    EXPECT_TRUE(call("T_ECHO", "S_STRING1;L_CNT1;L_CNT2", {std::string("a"), std::string("-12"), std::int32_t(7)}))
        << LastTuxMessage();
}

TEST_F(CallLayer, ACallThatTimesOutShowsTheLibraryText)
{
    std::ifstream in(s_host->environmentFile());
    std::stringstream text;
    text << in.rdbuf() << "CALL_TIMEOUT = 1\n";
    const std::string impatient = s_host->directory() + "/Impatient.env";
    std::ofstream(impatient) << text.str();
    TuxTerm();
    ASSERT_TRUE(TuxInit(impatient)) << LastTuxMessage();

    TStatusBar bar;
    services::ServiceResult rows;
    EXPECT_EQ(services::RunQuery({"T_SLOW", "", {}, {{"S_STRING1", &rows}}}), -1);
    EXPECT_EQ(TuxMessage().rfind("tpcall failed, TPETIME", 0), 0u) << TuxMessage();
    ShowTuxMessage(&bar);
    ASSERT_EQ(m_recorder->texts(Channel::Notice).size(), 1u);
    EXPECT_EQ(m_recorder->texts(Channel::Notice)[0], TuxMessage());
    if (auto *notice = TTuxMsgf1::current())
        notice->close();
}

TEST_F(CallLayer, StatusTextsGoToTheWindowsOwnStatusBarsOnly)
{
    // A plain status bar on the same window is no TStatusBar: it is left alone.
    QWidget window;
    window.setObjectName(QStringLiteral("MDG300F1"));
    auto *plain = new QStatusBar(&window);
    auto *own = new TStatusBar(&window);
    EXPECT_EQ(window.findChildren<TStatusBar *>(), (QList<TStatusBar *>{own}));
    EXPECT_EQ(qobject_cast<TStatusBar *>(plain), nullptr);
    QDialog dialog;
    EXPECT_EQ(qobject_cast<TMessageForm *>(&dialog), nullptr);
    EXPECT_EQ(qobject_cast<TTuxMsgf1 *>(&dialog), nullptr);

    EXPECT_FALSE(call("T_OUTCOME", "S_STRING1;L_CNT1;S_STRING2", {std::string("상태 글"), std::int32_t(0), std::string("fail")}));
    ShowTuxMessageActive();
    EXPECT_EQ(own->panelText(), "상태 글");
    EXPECT_TRUE(plain->currentMessage().isEmpty());
    EXPECT_TRUE(plain->findChildren<QLabel *>().isEmpty());
}

TEST_F(CallLayer, AFailedCommitShowsErrorThenTheLibraryText)
{
    FmlAlloc(Flavour::Standard);
    SetFieldList("S_STRING1");
    SetInputs(0, {std::string("break")});
    EXPECT_FALSE(TuxTranCall("T_WRITE"));
    EXPECT_EQ(m_recorder->texts(Channel::Plain), (std::vector<std::string>{"error"}));
    EXPECT_EQ(TuxMessage().rfind("tpcommit failed, ", 0), 0u) << TuxMessage();
    EXPECT_GT(TuxMessage().size(), std::string("tpcommit failed, ").size());
    EXPECT_FALSE(HasRequestBuffer());
}

TEST_F(CallLayer, AReplyLargerThanTheStandardBufferFailsWithAClearText)
{
    services::ServiceResult rows;
    const int n = services::RunQuery({"T_BIG", "L_CNT1;L_CNT2", {std::int32_t(4000), std::int32_t(20)}, {{"S_STRING1", &rows}}});
    EXPECT_EQ(n, -1);
    EXPECT_NE(LastTuxMessage(), kDefaultTuxMessage);
    EXPECT_FALSE(TuxMessage().empty());
    // The same answer fits once it is small enough.
    EXPECT_EQ(services::RunQuery({"T_BIG", "L_CNT1;L_CNT2", {std::int32_t(4000), std::int32_t(10)}, {{"S_STRING1", &rows}}}), 10);
}

TEST_F(CallLayer, ANoticeTooLongForTheClientIsRefusedAndTheSessionGoesOn)
{
    ASSERT_TRUE(call("T_NOTIFY_HUGE", "", {})) << LastTuxMessage();
    EXPECT_EQ(GetOutput("S_STRING1"), (ServiceResult{"refused"}));
    FmlFree();
    services::ServiceResult rows;
    EXPECT_EQ(services::RunQuery({"T_ROWS", "", {}, {{"S_STRING1", &rows}}}), 3);
}

TEST_F(CallLayer, EveryAllocationResetsTheMessage)
{
    SetTuxMessage("old");
    FmlAlloc(Flavour::Large);
    EXPECT_EQ(TuxMessage(), kDefaultTuxMessage);
    FmlFree();
    EXPECT_FALSE(TuxCall("T_ROWS")); // no request buffer
    EXPECT_EQ(TuxMessage().rfind("tpalloc failed, ", 0), 0u);
}

TEST(LostHost, ACallWithoutAReplyReachesTheNoticeWindow)
{
    auto host = std::make_unique<mt::LoopbackHost>(testServices());
    mt::ScopedRecordingPresenter recorder;
    SetCommandLine({"medrec", "DR", "LEE"});
    ASSERT_TRUE(TuxInit(host->environmentFile()));
    // A reply whose code would show nothing at all.
    FmlAlloc(Flavour::Standard);
    SetFieldList("S_STRING1;L_CNT1");
    SetInputs(0, {std::string("x"), std::int32_t(7)});
    ASSERT_TRUE(TuxCall("T_OUTCOME"));
    FmlFree();
    EXPECT_EQ(LastUserReturnCode(), 7);

    host.reset(); // the service host goes away
    services::ServiceResult rows;
    EXPECT_EQ(services::RunQuery({"T_ROWS", "", {}, {{"S_STRING1", &rows}}}), -1);
    EXPECT_EQ(TuxMessage().rfind("tpcall failed, TPESYSTEM", 0), 0u) << "the library's own text: " << TuxMessage();
    ShowTuxMessage(nullptr);
    EXPECT_EQ(recorder->texts(Channel::Notice), (std::vector<std::string>{TuxMessage()}));
    if (auto *notice = TTuxMsgf1::current())
        notice->close();
    TuxTerm();
}

TEST(SessionStart, NoServerListeningGivesTpinitFailed)
{
    mt::LoopbackHost host{server::ServiceRegistry()};
    mt::ScopedRecordingPresenter recorder;
    EXPECT_FALSE(TuxInit(host.deadEnvironmentFile()));
    const auto boxes = recorder->texts(Channel::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("tpinit failed, ", 0), 0u) << boxes[0];
    EXPECT_GT(boxes[0].size(), std::string("tpinit failed, ").size());
}

TEST(SessionStart, AMissingEnvironmentFileShowsOneBoxAndTheScreenCloses)
{
    mt::ScopedRecordingPresenter recorder;
    setenv("MEDREC_ENV_FILE", "/nonexistent/His.env", 1);
    app::TMDG300F1 screen;
    EXPECT_FALSE(screen.sessionOpen());
    EXPECT_FALSE(screen.isVisible());
    ASSERT_EQ(recorder->log().size(), 1u);
    EXPECT_EQ(recorder->log()[0].channel, Channel::MessageBox);
    EXPECT_EQ(recorder->log()[0].text,
              "환경 화일이 지워졌거나 손상되었습니다.\r\n\r\n전산실 담당자에게 문의하시기 바랍니다.");
    unsetenv("MEDREC_ENV_FILE");
}

// Counts the notifications the main window receives.
class NotificationCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == kUnsolicitedEvent)
            ++count;
        return false;
    }
};

TEST(Unsolicited, AServerNoticeReachesTheMainWindow)
{
    mt::LoopbackHost host(testServices());
    mt::ScopedRecordingPresenter recorder;
    setenv("MEDREC_ENV_FILE", host.environmentFile().c_str(), 1);
    app::TMDG300F1 screen;
    unsetenv("MEDREC_ENV_FILE");
    ASSERT_TRUE(screen.sessionOpen()) << recorder->log().size();
    NotificationCounter counter;
    screen.installEventFilter(&counter);

    FmlAlloc(Flavour::Standard);
    SetFieldList("S_STRING1");
    SetInputs(0, {std::string("전산 점검 안내")});
    ASSERT_TRUE(TuxCall("T_NOTIFY")) << LastTuxMessage();
    FmlFree();
    QCoreApplication::sendPostedEvents(&screen);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(text::fromCp949(LastUnsolicitedMessage()), "전산 점검 안내");
    EXPECT_TRUE(recorder->log().empty());
    TuxTerm();
}

} // namespace

// Field lists, notice lines and the message windows, without a server.
#include "FieldList.h"
#include "MsgCom.h"
#include "RecordingPresenter.h"
#include "ServiceFlavour.h"
#include "TuxCom.h"
#include "TuxMsg.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace medrec::middleware;

TEST(FieldList, BothSpellingsGiveTheSameNames)
{
    for (const char *list : {"S_TYPE1;S_PATNO", "S_TYPE1;S_PATNO;"}) {
        SCOPED_TRACE(list);
        EXPECT_EQ(FieldListItem(list, 0), "S_TYPE1");
        EXPECT_EQ(FieldListItem(list, 1), "S_PATNO");
        EXPECT_EQ(FieldListItem(list, 2), "");
    }
}

TEST(FieldList, EmptyNamesCountAndNothingIsTrimmed)
{
    EXPECT_EQ(FieldListItem("A;;C", 1), "");
    EXPECT_EQ(FieldListItem("A;;C", 2), "C");
    EXPECT_EQ(FieldListItem(" A ;B", 0), " A ");
    EXPECT_EQ(FieldListItem("", 0), "");
    EXPECT_EQ(FieldListItem("A", -1), "");
}

TEST(ServiceFlavour, LongAnswersUseTheLargeBuffer)
{
    EXPECT_EQ(FlavourForService("MD_PMEDH_S1"), Flavour::Large);
    EXPECT_EQ(FlavourForService("MD_WDRMC_L1"), Flavour::Large);
    EXPECT_EQ(FlavourForService("MH_HDREC_S1"), Flavour::Large);
    EXPECT_EQ(FlavourForService("MD_RECOD_L3"), Flavour::Standard);
    EXPECT_EQ(FlavourForService("MD_PATBA_L2"), Flavour::Standard);
}

TEST(ClientAddress, BytesAreWrittenUnsignedWithoutLeadingZeros)
{
    const unsigned char address[4] = {192, 168, 0, 5};
    EXPECT_EQ(FormatIPv4(address), "192.168.0.5");
    const unsigned char high[4] = {255, 10, 1, 200};
    EXPECT_EQ(FormatIPv4(high), "255.10.1.200");
}

TEST(NoticeLines, SplitAtLineFeedsAndDropControlCharacters)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(NoticeLines("첫째 줄\n둘째 줄"), (Lines{"첫째 줄", "둘째 줄"}));
    EXPECT_EQ(NoticeLines("첫째 줄\r\n둘째 줄"), (Lines{"첫째 줄", "둘째 줄"}));
    EXPECT_EQ(NoticeLines("a\tb\n"), (Lines{"ab"}));
    EXPECT_EQ(NoticeLines("a\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(NoticeLines(""), Lines{});
}

TEST(NoticeWindow, TwoNoticesAddFourLinesToOneWindow)
{
    TTuxMsgf1::showNotice("가\n나");
    TTuxMsgf1 *first = TTuxMsgf1::current();
    ASSERT_NE(first, nullptr);
    TTuxMsgf1::showNotice("다\r\n라");
    EXPECT_EQ(TTuxMsgf1::current(), first);
    EXPECT_EQ(first->memoLines(), (QStringList{"가", "나", "다", "라"}));
    EXPECT_EQ(first->objectName(), "TuxMsgf1");
    EXPECT_EQ(first->windowTitle(), "TuxMsgf1");
    EXPECT_EQ(first->messageLabel()->text(), QString::fromUtf8(kDefaultTuxMessage));
    EXPECT_TRUE(first->windowFlags() & Qt::WindowStaysOnTopHint);

    first->confirmButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TTuxMsgf1::current(), nullptr);
    TTuxMsgf1::showNotice("새 창");
    ASSERT_NE(TTuxMsgf1::current(), nullptr);
    EXPECT_EQ(TTuxMsgf1::current()->memoLines(), (QStringList{"새 창"}));
    TTuxMsgf1::current()->close();
}

TEST(MessageForm, ButtonsFollowTheFixedOrderWithTheirCaptions)
{
    using B = TMessageForm::Button;
    TMessageForm form("x", TMessageForm::Type::Warning, {B::Help, B::Cancel, B::Yes, B::OK});
    EXPECT_EQ(form.windowTitle(), "Tarvin Message");
    std::vector<QString> order;
    for (auto *pb : form.findChildren<QPushButton *>())
        order.push_back(pb->text());
    EXPECT_EQ(order, (std::vector<QString>{"예", "확인", "취소", "도움말"}));
    EXPECT_EQ(form.defaultButton(), form.button(B::OK));
    EXPECT_EQ(form.escapeButton(), form.button(B::Cancel));
}

TEST(MessageForm, DefaultAndEscapeButtonsFallBackInOrder)
{
    using B = TMessageForm::Button;
    struct Case
    {
        std::vector<B> buttons;
        B defaultButton;
        B escapeButton;
    };
    const Case cases[] = {
        {{B::Yes, B::No}, B::Yes, B::No},
        {{B::Retry, B::Abort}, B::Retry, B::Retry},
        {{B::OK}, B::OK, B::OK},
    };
    for (const auto &c : cases) {
        TMessageForm form("x", TMessageForm::Type::Custom, c.buttons);
        EXPECT_EQ(form.defaultButton(), form.button(c.defaultButton));
        const B escape = c.escapeButton;
        if (escape == B::Retry)
            EXPECT_EQ(form.escapeButton(), nullptr); // none of Cancel, No, OK
        else
            EXPECT_EQ(form.escapeButton(), form.button(escape));
    }
}

TEST(MessageForm, ParagraphsKeepTheirEmptyLine)
{
    TMessageForm form("첫 문단\r\n\r\n둘째 문단", TMessageForm::Type::Custom, {TMessageForm::Button::OK});
    EXPECT_EQ(form.textLabel()->text(), "첫 문단\n\n둘째 문단");
    medrec::testing::ScopedRecordingPresenter recorder;
    ShowMsg("첫 문단\r\n\r\n둘째 문단");
    ASSERT_EQ(recorder->log().size(), 1u);
    EXPECT_EQ(recorder->log()[0].text, "첫 문단\r\n\r\n둘째 문단");
}

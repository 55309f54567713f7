// One click prints once: a double-click on the print button, clicks and its accelerator
// that arrive while a print run blocks the screen, through the real screen and host.
#include "PrintRunFixture.h"

#include "TuxCom.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <memory>

namespace medrec::testing {
namespace {

class PrintOnceTest : public PrintRunTest
{
protected:
    // Posts a mouse event to the print button at its centre, as the window system queues
    // one: delivered once the event loop runs again.
    void post(QEvent::Type type, ulong timestamp)
    {
        QPushButton &button = *ui().bbt_Print;
        const QPointF at = QRectF(button.rect()).center();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        auto event = std::make_unique<QMouseEvent>(type, at, button.mapToGlobal(at), Qt::LeftButton, held,
                                                   Qt::NoModifier);
        event->setTimestamp(timestamp);
        QCoreApplication::postEvent(&button, event.release());
    }
    void postClick(ulong timestamp)
    {
        post(QEvent::MouseButtonPress, timestamp);
        post(QEvent::MouseButtonRelease, timestamp + 1);
    }

    // The print button's centre in its window, for input through the window system.
    QPoint buttonInWindow() const
    {
        QPushButton &button = *ui().bbt_Print;
        return button.mapTo(button.window(), button.rect().center());
    }

    void expectPrints(int n)
    {
        EXPECT_TRUE(messages().log().empty()) << messages().log()[0].text;
        EXPECT_EQ(pdfCount(), n);
        EXPECT_EQ(historyRows(), std::to_string(n));
        EXPECT_NORMAL_CURSOR();
    }
};

TEST_F(PrintOnceTest, ADoubleClickPostedOnThePrintButtonPrintsOnce)
{
    start({}, operationRecords());
    findPatient();
    // A double-click as Qt delivers it: press, release, press, double-click, release, all
    // queued before the first click's run starts.
    post(QEvent::MouseButtonPress, 1000);
    post(QEvent::MouseButtonRelease, 1040);
    post(QEvent::MouseButtonPress, 1120);
    post(QEvent::MouseButtonDblClick, 1120);
    post(QEvent::MouseButtonRelease, 1160);
    QCoreApplication::processEvents();
    expectPrints(1);

    // A second, deliberate click after the run prints again.
    print();
    expectPrints(2);
}

TEST_F(PrintOnceTest, ADoubleClickThroughTheWindowSystemPrintsOnceEvenWhenTheRunEndedBeforeTheSecondClick)
{
    start({}, operationRecords());
    findPatient();
    // Delivered at once: the first click's run is over before the second press arrives;
    // Qt recognises the second press as the double-click's.
    QTest::mouseDClick(screen().windowHandle(), Qt::LeftButton, {}, buttonInWindow());
    expectPrints(1);
    QTest::mouseClick(screen().windowHandle(), Qt::LeftButton, {}, buttonInWindow());
    expectPrints(2);
}

TEST_F(PrintOnceTest, ClicksQueuedWhileARunBlocksTheScreenAreNotReplayed)
{
    start({}, operationRecords());
    findPatient();
    // Seconds apart, so no double-click: the second and third arrive while the first's run
    // blocks the event loop.
    postClick(1000);
    postClick(4000);
    postClick(7000);
    QCoreApplication::processEvents();
    expectPrints(1);
}

TEST_F(PrintOnceTest, TheButtonAndItsAcceleratorDoNothingWhileARunIsUnderWay)
{
    start({}, operationRecords());
    findPatient();
    QSignalSpy clicked(ui().bbt_Print, &QPushButton::clicked);
    // While the run's first service call is under way, the operator clicks the button, presses
    // Alt+P, and queues another click.
    bool pressed = false;
    middleware::SetFormNameSource([&] {
        if (!pressed) {
            pressed = true;
            QTest::mouseClick(ui().bbt_Print, Qt::LeftButton);
            QTest::keyClick(&screen(), Qt::Key_P, Qt::AltModifier);
            postClick(90000);
        }
        return std::string("MDG300F1");
    });
    print();
    middleware::SetFormNameSource(nullptr);
    ASSERT_TRUE(pressed);
    expectPrints(1);
    EXPECT_EQ(clicked.count(), 1);

    // After the run the accelerator prints, once (the window active again after the progress
    // window, as a window manager makes it).
    screen().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen()));
    QTest::keyClick(&screen(), Qt::Key_P, Qt::AltModifier);
    ASSERT_TRUE(clicked.wait()) << "Alt+P did not click the print button";
    expectPrints(2);
}

} // namespace
} // namespace medrec::testing

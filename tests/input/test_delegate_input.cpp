// The input layer plugged into the application delegate: its tables, its
// flags, the commands it sends and the lock after a mode change.
#if __has_include("core/AppDelegate.h")
#include "TestWait.h"
#include "../core/AppTestSupport.h"

#include "core/CommandLine.h"
#include "kit/MouseGestureRecognizer.h"
#include "input/VizoInputArming.h"

#include <bramble/BrHotKey.h>

#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace {

struct DelegateInput : AppFixture
{
    QWidget window;

    void SetUp() override
    {
        app = std::make_unique<AppDelegate>();
        app->setInputArming(std::make_unique<VizoInputArming>());
        app->setupModel();
        app->setPacketWriter([this](const QByteArray &payload) { sent << payload; });
        app->setCloseAllUIPauseMs(0);
        app->setTerminateHandler([] {});
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        BrHotKey::disableAllHotKeys();
    }
    bool armed(const char *name)
    {
        return app->dicShortcutHandlers().value(name) &&
               app->dicShortcutHandlers().value(name)->enabled();
    }
};

} // namespace

TEST_F(DelegateInput, TablesAreFilledAndArmedForTheEdition)
{
    EXPECT_EQ(app->dicShortcutHandlers().size(), 56);
    EXPECT_EQ(app->dicMouseGestures().size(), 15);
    ASSERT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);

    app->updateHotKeys();
    EXPECT_FALSE(armed("CameraMode.ZoomIn")) << "no edition known yet";
    EXPECT_TRUE(armed("TTS.SpeedUp"));

    settings()->setVizoVersion(0);
    app->updateHotKeys();
    app->updateMouseGestures();
    ASSERT_TRUE(armed("CameraMode.ZoomIn"));
    app->dicShortcutHandlers().value("CameraMode.ZoomIn")->eventKeyDown()(false);
    app->dicShortcutHandlers().value("CameraMode.ZoomIn")->eventKeyUp()();
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x20, 0x00, 0x00}), bytesOf({0x20, 0x00, 0x02})}));

    // The delegate's own delivery of the picture's mouse events.
    sent.clear();
    QWidget picture;
    picture.resize(800, 600);
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(400, 300), QPointF(400, 300),
                     QPointF(400, 300), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(401, 300), QPointF(401, 300),
                   QPointF(401, 300), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    app->deliverMouseEvent(AppDelegate::CaptureMouseEvent::MouseDown, &picture, down);
    app->deliverMouseEvent(AppDelegate::CaptureMouseEvent::MouseUp, &picture, up);
    waitMs(50);
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x20, 0x04, 0x00})}));
}

TEST_F(DelegateInput, AModeChangeLocksKeysAndGestures)
{
    ASSERT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
    settings()->setVizoVersion(0);
    settings()->setCameraMode(1);
    app->updateHotKeys();
    app->updateMouseGestures();
    app->dicShortcutHandlers().value("DistanceViewMode")->eventKeyDown()(false);
    EXPECT_TRUE(app->disableHotKeys());
    EXPECT_TRUE(app->disableMouseGestures());
    EXPECT_TRUE(armed("TTS.SpeedDown"));
    EXPECT_FALSE(armed("CameraMode.ZoomIn"));
    EXPECT_FALSE(app->dicMouseGestures().value("MouseGestureOpenMenu")->enabled);
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x20, 0x01, 0x00})}));
}
TEST(CommandLineKeys, TheCommandLineAsksForTheKeyList)
{
    EXPECT_TRUE(CommandLine::parse({"vizo-viewer", "--list-hotkeys"}).listHotKeys);
    EXPECT_FALSE(CommandLine::parse({"vizo-viewer", "--list-hotkeys=1"}).ok());
    EXPECT_FALSE(CommandLine::parse({"vizo-viewer"}).listHotKeys);
}
#else
#include <gtest/gtest.h>
TEST(DelegateInput, NeedsTheApplicationCore)
{
    FAIL() << "the application core is not built";
}
#endif

// A page keeps the keyboard and the mouse while it is open, whatever device
// reports recompute meanwhile.
#include "PageTestSupport.h"

#include "kit/PageService.h"
#include "kit/MouseGestureRecognizer.h"
#include "input/VizoInputArming.h"
#include "pages/VizoPages.h"

#include <bramble/BrHotKey.h>

#include <QGuiApplication>
#include <QTest>
#include <QWidget>

namespace {

struct PageInputHold : PageFixture
{
    QWidget mainWindow;

    void SetUp() override
    {
        app = std::make_unique<AppDelegate>();
        app->setInputArming(std::make_unique<VizoInputArming>());
        app->setupModel();
        app->setPacketWriter([this](const QByteArray &payload) { sent << payload; });
        app->setCloseAllUIPauseMs(0);
        app->setTerminateHandler([] {});
        settings()->setVizoVersion(0);
        mainWindow.show();
        mainWindow.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    }
    void TearDown() override
    {
        PageFixture::TearDown();
        BrHotKey::disableAllHotKeys();
    }
    bool armed(const char *name)
    {
        auto key = app->dicShortcutHandlers().value(QLatin1String(name));
        return key && key->enabled();
    }
    bool gestureOn(const char *name)
    {
        auto gesture = app->dicMouseGestures().value(QLatin1String(name));
        return gesture && gesture->enabled;
    }
    static bool keysOn(const ModalWindowController *page)
    {
        return page->hotKeyReturn()->isRegistered() && page->hotKeyEsc()->isRegistered() &&
               page->hotKeyBackspace()->isRegistered();
    }
};

} // namespace

TEST_F(PageInputHold, ReportsNeitherTakeThePageKeysNorWakeTheMainWindow)
{
    app->updateHotKeys();
    app->updateMouseGestures();
    ASSERT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
    ASSERT_TRUE(armed("CameraMode.ZoomIn"));
    ASSERT_TRUE(gestureOn("MouseGestureOpenMenu"));

    bool ran = false;
    QMetaObject::invokeMethod(
        app.get(),
        [&] {
            auto *page = qobject_cast<ModalWindowController *>(app->stackUI().top());
            if (!page)
                return;
            ran = true;
            EXPECT_TRUE(keysOn(page));
            // OCR left: the device gives input back, meant for the main window.
            report({0x26, 0x04, 1});
            EXPECT_TRUE(keysOn(page)) << "after an OCR mode report";
            EXPECT_FALSE(armed("CameraMode.ZoomIn"));
            EXPECT_FALSE(gestureOn("MouseGestureOpenMenu"));
            // Locked, nothing answers; unlocked, the page has its keys again.
            report({0x26, 0x10, 1});
            EXPECT_FALSE(page->hotKeyReturn()->enabled());
            report({0x26, 0x10, 0});
            EXPECT_TRUE(keysOn(page)) << "after the functions were unlocked";
            EXPECT_FALSE(armed("CameraMode.ZoomIn"));

            // A box over the page owns Return while it is up.
            QString text;
            bool boxHadReturn = false;
            answerNextBox(&text, [&](ModalWindowController *box) {
                boxHadReturn = box->hotKeyReturn()->isRegistered();
                report({0x26, 0x04, 1});
                boxHadReturn = boxHadReturn && box->hotKeyReturn()->isRegistered();
                box->onReturnKeyDown();
            });
            AppDelegate::instance()->showMessageBox(QStringLiteral("Note"));
            EXPECT_TRUE(boxHadReturn);
            EXPECT_TRUE(keysOn(page)) << "after the box";

            page->hotKeyEsc()->eventKeyDown()(false);
        },
        Qt::QueuedConnection);
    VizoPages::doContrastSetting(*AppDelegate::instance());

    ASSERT_TRUE(ran) << "the contrast page did not open";
    EXPECT_FALSE(app->pageService().isPageOpen());
    EXPECT_TRUE(armed("CameraMode.ZoomIn"));
    EXPECT_TRUE(gestureOn("MouseGestureOpenMenu"));
}

TEST_F(PageInputHold, AMessageBoxKeepsItsKeysThroughReports)
{
    app->updateHotKeys();
    ASSERT_TRUE(armed("CameraMode.ZoomIn"));
    bool boxHadReturn = false;
    bool mainArmed = true;
    answerNextBox(nullptr, [&](ModalWindowController *box) {
        report({0x26, 0x04, 1});
        boxHadReturn = box->hotKeyReturn()->isRegistered();
        mainArmed = armed("CameraMode.ZoomIn");
        box->onReturnKeyDown();
    });
    AppDelegate::instance()->showMessageBox(QStringLiteral("Note"));
    EXPECT_TRUE(boxHadReturn);
    EXPECT_FALSE(mainArmed);
    EXPECT_TRUE(armed("CameraMode.ZoomIn"));
}

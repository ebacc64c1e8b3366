// The image and OCR windows: borrowing the picture, arming by mode,
// quitting, their own menu.
#include "TestWait.h"
#include "AppTestSupport.h"
#include "RecordingMenu.h"

#include "kit/ImageModeCaptureViewController.h"
#include "kit/OCRModeCaptureViewController.h"
#include "core/MainWindowController.h"
#include "kit/MessageBoxController.h"

#include <QPushButton>

namespace {
const QByteArray kSpeakSpace = bytesOf({0x25, 0x06, ' ', 0});
const QByteArray kFindPositionEnd = bytesOf({0x20, 0x0A});
const QByteArray kOcrExit = bytesOf({0x23, 0x0B});
const QByteArray kMenuOpened = bytesOf({0x24, 0x00});
const QByteArray kMenuClosed = bytesOf({0x24, 0x01});
} // namespace

struct CaptureWindows : AppFixture
{
    QWidget *picture = nullptr;

    void SetUp() override
    {
        AppFixture::SetUp();
        AppDelegate::setMenuFactory([](QWidget *parent) { return new RecordingMenu(parent, 300); });
        withWindow();
        picture = new QWidget(app->captureViewContainer());
        picture->setGeometry(app->captureViewContainer()->rect());
        app->mainWindowController()->setCaptureView(picture);
    }
    void TearDown() override
    {
        AppDelegate::setMenuFactory({});
        AppFixture::TearDown();
    }
    void open(CaptureWindowController &window)
    {
        window.setCaptureView(picture);
        window.loadWindow();
    }
};

TEST_F(CaptureWindows, LoadingBorrowsThePictureWithKeysOff)
{
    ImageModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    EXPECT_EQ(sent, (QList<QByteArray>{kSpeakSpace}));
    EXPECT_EQ(picture->parentWidget(), window.captureViewContainer());
    EXPECT_EQ(picture->geometry(), window.captureViewContainer()->rect());
    EXPECT_FALSE(window.enableHotKeyEsc());
    EXPECT_FALSE(window.enableHotKeyBackspace());
    EXPECT_FALSE(window.buttonOK()->isEnabled());
    EXPECT_EQ(window.labelHeader()->text(), QStringLiteral("Stored image"));
    // The footer is at the bottom, the picture above it up to the top.
    EXPECT_EQ(window.captureViewContainer()->geometry().bottom() + 1, window.footerContainer()->y());
    EXPECT_EQ(window.captureViewContainer()->y(), 0);
    ASSERT_NE(window.menuController(), nullptr);
    EXPECT_TRUE(window.menuController()->isHidden());
    EXPECT_EQ(window.menuController()->width(), app->menuController()->width());
    window.closeWindow();
    EXPECT_EQ(picture->parentWidget(), app->captureViewContainer());
    EXPECT_EQ(picture->geometry(), app->captureViewContainer()->rect());
}

TEST_F(CaptureWindows, ImageWindowArmsByMode)
{
    ImageModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    app->setDisableHotKeys(true);
    settings()->setVizoMode(2);
    window.vizoModeChanged();
    EXPECT_EQ(settings()->vizoHotKeyMode(), 1);
    EXPECT_EQ(settings()->vizoMouseGestureMode(), 7);
    EXPECT_FALSE(app->disableHotKeys());
    EXPECT_TRUE(window.buttonOK()->isEnabled());
    EXPECT_TRUE(window.enableHotKeyEsc());
    EXPECT_TRUE(window.enableHotKeyBackspace());
    EXPECT_FALSE(window.enableHotKeyReturn());

    settings()->setVizoMode(1);
    window.vizoModeChanged();
    EXPECT_EQ(settings()->vizoHotKeyMode(), 2);
    EXPECT_EQ(settings()->vizoMouseGestureMode(), 8);
    settings()->setVizoMode(5);
    window.vizoModeChanged();
    EXPECT_EQ(settings()->vizoHotKeyMode(), 3);
    EXPECT_EQ(settings()->vizoMouseGestureMode(), 9);
    settings()->setVizoMode(4);
    window.vizoModeChanged();
    EXPECT_EQ(settings()->vizoHotKeyMode(), 3);
    EXPECT_FALSE(window.isClosed());
    window.closeWindow();
}

TEST_F(CaptureWindows, OcrWindowIgnoresImageMode)
{
    OCRModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    EXPECT_EQ(window.labelHeader()->text(), QStringLiteral("Stored text"));
    settings()->setVizoHotKeyMode(0);
    settings()->setVizoMode(2);
    window.vizoModeChanged();
    EXPECT_EQ(settings()->vizoHotKeyMode(), 0);
    EXPECT_FALSE(window.buttonOK()->isEnabled());
    settings()->setVizoMode(1);
    window.vizoModeChanged();
    EXPECT_EQ(settings()->vizoHotKeyMode(), 2);
    window.closeWindow();
}

TEST_F(CaptureWindows, ImageWindowQuitsInCameraPreviewInOrder)
{
    ImageModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    settings()->setVizoMode(5);
    settings()->setOcrPlayed(true);
    sent.clear();
    window.onEscKeyDown();
    EXPECT_EQ(sent, (QList<QByteArray>{kFindPositionEnd, kOcrExit, kSpeakSpace}));
    EXPECT_EQ(settings()->vizoMode(), 0);
    EXPECT_FALSE(settings()->ocrPlayed());
    EXPECT_TRUE(window.isClosed());
    EXPECT_EQ(picture->parentWidget(), app->captureViewContainer());
}

TEST_F(CaptureWindows, ModeZeroQuitsWithoutOcrExit)
{
    ImageModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    sent.clear();
    settings()->setVizoMode(0);
    window.vizoModeChanged();
    EXPECT_TRUE(window.isClosed());
    EXPECT_EQ(sent, (QList<QByteArray>{kSpeakSpace}));
    EXPECT_EQ(app->stackUI().count(), 0);
}

TEST_F(CaptureWindows, OcrWindowQuitSendsOnlyFindPositionEnd)
{
    OCRModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    settings()->setVizoMode(5);
    sent.clear();
    window.closeUI();
    EXPECT_EQ(sent, (QList<QByteArray>{kFindPositionEnd, kSpeakSpace}));
    EXPECT_EQ(settings()->vizoMode(), 5);
}

TEST_F(CaptureWindows, EscWithTheOwnMenuOpenClosesOnlyTheMenu)
{
    OCRModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    settings()->setVizoMode(1);
    window.vizoModeChanged();
    ASSERT_EQ(settings()->vizoHotKeyMode(), 2);
    sent.clear();

    const QRect containerBefore = window.captureViewContainer()->geometry();
    app->openMenu();
    EXPECT_EQ(sent, (QList<QByteArray>{kMenuOpened}));
    EXPECT_TRUE(window.isVizoMenuOpen());
    EXPECT_FALSE(app->menuOpened());
    EXPECT_FALSE(window.buttonOK()->isEnabled());
    const int m = window.menuController()->width();
    EXPECT_EQ(window.captureViewContainer()->geometry(),
              QRect(containerBefore.x() + m, containerBefore.y(), containerBefore.width() - m, containerBefore.height()));
    EXPECT_EQ(picture->geometry(), QRect(-m, 0, containerBefore.width(), containerBefore.height()));
    auto *menu = static_cast<RecordingMenu *>(window.menuController());
    EXPECT_TRUE(menu->keysEnabled);
    // Re-arming the hot keys disarms the menu's own keys; the window, given
    // its keys back, gives the menu its keys back too.
    menu->keysEnabled = false;
    window.enableHotKeys();
    EXPECT_TRUE(menu->keysEnabled);

    // Opening again does nothing.
    app->openMenu();
    EXPECT_EQ(sent.size(), 1);

    sent.clear();
    window.onEscKeyDown();
    EXPECT_EQ(sent, (QList<QByteArray>{kMenuClosed}));
    EXPECT_FALSE(window.isClosed());
    EXPECT_FALSE(window.isVizoMenuOpen());
    EXPECT_TRUE(window.buttonOK()->isEnabled());
    EXPECT_EQ(window.captureViewContainer()->geometry(), containerBefore);
    EXPECT_EQ(picture->geometry(), window.captureViewContainer()->rect());
    // The main menu re-reads the settings changed in the window's menu.
    EXPECT_TRUE(static_cast<RecordingMenu *>(app->menuController())->calls.contains("reloadSettings"));

    // closeMenu with the window's menu closed sends nothing.
    sent.clear();
    app->closeMenu();
    EXPECT_TRUE(sent.isEmpty());
    window.closeWindow();
}

TEST_F(CaptureWindows, ModeReportPassesAMessageBoxToTheImageWindow)
{
    ImageModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    MessageBoxController box{*AppDelegate::instance()};
    box.loadWindow();
    app->setMenuOpened(true);
    report({0x26, 0x07, 1});
    EXPECT_EQ(settings()->vizoMode(), 2);
    EXPECT_EQ(settings()->vizoHotKeyMode(), 1);
    EXPECT_TRUE(window.buttonOK()->isEnabled());
    EXPECT_FALSE(box.isClosed());
    app->setMenuOpened(false);
    box.closeWindow();
    window.closeWindow();
}

TEST_F(CaptureWindows, PictureReturnsIntoTheMainWindowsOpenMenuLayout)
{
    app->mainWindowController()->setResizable(true);
    app->window()->resize(1600, 900);
    waitMs(5);
    app->mainWindowController()->resetMainView();
    app->openMenu();
    ImageModeCaptureViewController window{*AppDelegate::instance()};
    open(window);
    window.closeWindow();
    EXPECT_EQ(picture->parentWidget(), app->captureViewContainer());
    EXPECT_EQ(app->captureViewContainer()->geometry(), QRect(300, 0, 1300, 900));
    EXPECT_EQ(picture->geometry(), QRect(-300, 0, 1600, 900));
    app->closeMenu();
}

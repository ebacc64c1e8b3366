// The main window's geometry, the menu's opening and closing, closing every
// window, mode reports past message boxes, activation.
#include "TestWait.h"
#include "AppTestSupport.h"
#include "RecordingMenu.h"

#include "core/MainWindowController.h"
#include "kit/MessageBoxController.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

struct Lifecycle : AppFixture
{
    RecordingMenu *menu = nullptr;

    void SetUp() override
    {
        AppFixture::SetUp();
        AppDelegate::setMenuFactory([this](QWidget *parent) { return menu = new RecordingMenu(parent, 300); });
        withWindow();
        settings()->setVizoVersion(0);
    }
    void TearDown() override
    {
        AppDelegate::setMenuFactory({});
        AppFixture::TearDown();
    }
    // A resizable 1600 x 900 window with a picture in the container.
    QWidget *picture = nullptr;
    void sizeWindow(int w = 1600, int h = 900)
    {
        app->mainWindowController()->setResizable(true);
        app->window()->resize(w, h);
        waitMs(5);
        app->mainWindowController()->resetMainView();
        picture = new QWidget(app->captureViewContainer());
        picture->setGeometry(app->captureViewContainer()->rect());
        app->mainWindowController()->setCaptureView(picture);
    }
};

TEST_F(Lifecycle, ScaleFactorFollowsTheScreenWidth)
{
    const int width = QGuiApplication::primaryScreen()->geometry().width();
    EXPECT_FLOAT_EQ(AppDelegate::instance()->scaleFactor(), float(width / 1680.0 * 2.5));
}

TEST_F(Lifecycle, MainWindowStartsOnTheAvailableAreaWithTheMenuHidden)
{
    // The platform may move the window by its frame; its size is the area's.
    EXPECT_EQ(app->window()->size(), QGuiApplication::primaryScreen()->availableGeometry().size());
    EXPECT_EQ(app->rcMainView(), app->window()->rect());
    EXPECT_EQ(app->captureViewContainer()->geometry(), app->rcMainView());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isHidden());
    EXPECT_EQ(menu->height(), app->window()->height());
    EXPECT_FALSE(app->mainWindowController()->isResizable());
}

TEST_F(Lifecycle, OpeningTheMenuNarrowsTheContainerAndShiftsThePicture)
{
    sizeWindow();
    app->openMenu();
    EXPECT_EQ(app->captureViewContainer()->geometry(), QRect(300, 0, 1300, 900));
    EXPECT_EQ(picture->geometry(), QRect(-300, 0, 1600, 900));
    EXPECT_EQ(menu->calls, (QStringList{"buildVizoMenu", "reloadSettings", "reloadMenuLabel", "show", "setDefaultTab"}));
    EXPECT_TRUE(app->menuOpened());
    EXPECT_EQ(app->stackUI().top(), menu);
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x24, 0x00})}));

    // Twice: one MenuOpened only.
    app->openMenu();
    EXPECT_EQ(sent.size(), 1);

    app->closeMenu();
    EXPECT_EQ(app->captureViewContainer()->geometry(), QRect(0, 0, 1600, 900));
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 1600, 900));
    EXPECT_FALSE(app->menuOpened());
    EXPECT_EQ(app->stackUI().count(), 0);
    EXPECT_EQ(sent.last(), bytesOf({0x24, 0x01}));
    EXPECT_TRUE(menu->isHidden());

    // Closed already: nothing.
    sent.clear();
    app->closeMenu();
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(Lifecycle, NoMenuInFullScreenOcrPreview)
{
    settings()->setVizoMode(3);
    app->openMenu();
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_FALSE(app->menuOpened());
    EXPECT_TRUE(menu->calls.isEmpty());
    EXPECT_EQ(app->stackUI().count(), 0);
}

TEST_F(Lifecycle, ResizeNeverShrinksTheContainer)
{
    sizeWindow(1200, 800);
    app->window()->resize(1500, 700);
    waitMs(5);
    EXPECT_EQ(app->rcMainView(), QRect(0, 0, 1500, 800));
    app->window()->resize(900, 600);
    waitMs(5);
    EXPECT_EQ(app->rcMainView(), QRect(0, 0, 1500, 800));
    EXPECT_EQ(app->captureViewContainer()->geometry(), QRect(0, 0, 1500, 800));
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 1500, 800));

    // With the menu open the rule of the open menu is applied again and the
    // menu trees re-read their size.
    app->openMenu();
    menu->calls.clear();
    app->window()->resize(1700, 900);
    waitMs(5);
    EXPECT_EQ(app->captureViewContainer()->geometry(), QRect(300, 0, 1400, 900));
    EXPECT_EQ(picture->geometry(), QRect(-300, 0, 1700, 900));
    EXPECT_TRUE(menu->calls.contains("updateUIState"));
}

TEST_F(Lifecycle, CloseAllUIClosesTopmostFirstWithPauses)
{
    app->setCloseAllUIPauseMs(200);
    std::vector<std::string> order;
    RecordingWindow a, b, c;
    a.name = "a";
    b.name = "b";
    c.name = "c";
    a.log = b.log = c.log = &order;
    a.loadWindow();
    b.loadWindow();
    c.loadWindow();
    QElapsedTimer timer;
    timer.start();
    app->closeAllUI();
    EXPECT_GE(timer.elapsed(), 600);
    EXPECT_EQ(order, (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(app->stackUI().count(), 0);
}

TEST_F(Lifecycle, CloseAllUIClosesTheMenuToo)
{
    app->openMenu();
    RecordingWindow page;
    page.loadWindow();
    app->closeAllUI();
    EXPECT_EQ(app->stackUI().count(), 0);
    EXPECT_FALSE(app->menuOpened());
    EXPECT_TRUE(menu->calls.contains("closeUI"));
}

TEST_F(Lifecycle, ModeReportReachesTheWindowBelowMessageBoxes)
{
    RecordingWindow window;
    window.loadWindow();
    MessageBoxController box{*AppDelegate::instance()};
    box.loadWindow();
    // Menu closed: the mode changes, no window is told.
    report({0x26, 0x07, 1});
    EXPECT_EQ(settings()->vizoMode(), 2);
    EXPECT_EQ(window.modeChangedCalls, 0);
    // Menu open (the device's mode reports refresh only then).
    app->setMenuOpened(true);
    report({0x26, 0x07, 0});
    EXPECT_EQ(window.modeChangedCalls, 1);
    app->setMenuOpened(false);
    box.closeWindow();
    window.closeWindow();
}

TEST_F(Lifecycle, ModeReportStopsAtTheMenu)
{
    RecordingWindow window;
    window.loadWindow();
    app->openMenu();
    report({0x26, 0x04, 0});
    EXPECT_EQ(window.modeChangedCalls, 0);
    app->closeMenu();
    window.closeWindow();
}

TEST_F(Lifecycle, MenuColourAndBatteryRefreshOnlyWhileOpen)
{
    report({0x26, 0x01, 3});
    report({0x25, 0x04, '5', '0', '%'});
    EXPECT_FALSE(menu->calls.contains("updateMenuColor"));
    EXPECT_FALSE(menu->calls.contains("updateBatteryInfo"));
    app->openMenu();
    report({0x26, 0x01, 2});
    report({0x25, 0x04, '4', '0', '%'});
    EXPECT_TRUE(menu->calls.contains("updateMenuColor"));
    EXPECT_TRUE(menu->calls.contains("updateBatteryInfo"));
    report({0x26, 0x0D, 9});
    EXPECT_EQ(menu->ttsVolume, 9);
}

TEST_F(Lifecycle, MenuKeyCloseSendsNoMenuClosedWhileASubMenuIsOpen)
{
    app->openMenu();
    menu->expanded = true;
    sent.clear();
    report({0x26, 0x05, 1});
    // Only the menu's own closing says so.
    EXPECT_EQ(sent.count(bytesOf({0x24, 0x01})), 1);
    EXPECT_TRUE(menu->calls.contains("closeUI"));

    app->openMenu();
    menu->expanded = false;
    sent.clear();
    report({0x26, 0x05, 1});
    EXPECT_EQ(sent.count(bytesOf({0x24, 0x01})), 2);
    EXPECT_FALSE(app->menuOpened());
}

TEST_F(Lifecycle, ActivationBringsBackTheTopWindowsKeys)
{
    RecordingWindow lower, upper;
    lower.loadWindow();
    upper.loadWindow();
    const int lowerBefore = lower.enableHotKeysCalls;
    const int upperBefore = upper.enableHotKeysCalls;
    app->applicationDidBecomeActive();
    EXPECT_EQ(lower.enableHotKeysCalls, lowerBefore);
    EXPECT_EQ(upper.enableHotKeysCalls, upperBefore + 1);
    upper.closeWindow();
    lower.closeWindow();
}

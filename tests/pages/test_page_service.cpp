// How every page gets the keyboard and mouse and gives them back.
#include "AppTestSupport.h"

#include "kit/PageService.h"

struct PageServiceTest : AppFixture
{
    struct Seen
    {
        bool hotKeysOff;
        bool gesturesOff;
        int gestureMode;
    };
    Seen seen() const
    {
        return {app->disableHotKeys(), app->disableMouseGestures(),
                AppDelegate::instance()->settings()->vizoMouseGestureMode()};
    }
};

TEST_F(PageServiceTest, APageRunsWithItsGestureSetAndLeavesModesAtZero)
{
    settings()->setVizoHotKeyMode(2);
    RecordingWindow outer, inner;
    Seen inOuter{}, inInner{}, backInOuter{};
    QMetaObject::invokeMethod(
        app.get(),
        [&] {
            inOuter = seen();
            QMetaObject::invokeMethod(
                app.get(),
                [&] {
                    inInner = seen();
                    inner.closeWindow();
                },
                Qt::QueuedConnection);
            app->pageService().runPage(inner, {});
            backInOuter = seen();
            EXPECT_TRUE(app->pageService().isPageOpen());
            outer.closeWindow();
        },
        Qt::QueuedConnection);
    app->pageService().runPage(outer, {5, false});

    EXPECT_TRUE(inOuter.hotKeysOff);
    EXPECT_FALSE(inOuter.gesturesOff);
    EXPECT_EQ(inOuter.gestureMode, 5);
    EXPECT_TRUE(inInner.gesturesOff);
    // The nested page gives its opener's state back, not the main window's.
    EXPECT_TRUE(backInOuter.hotKeysOff);
    EXPECT_FALSE(backInOuter.gesturesOff);
    EXPECT_EQ(backInOuter.gestureMode, 5);

    EXPECT_FALSE(app->pageService().isPageOpen());
    EXPECT_FALSE(app->disableHotKeys());
    EXPECT_FALSE(app->disableMouseGestures());
    EXPECT_EQ(settings()->vizoMouseGestureMode(), 0);
    EXPECT_EQ(settings()->vizoHotKeyMode(), 0);
}

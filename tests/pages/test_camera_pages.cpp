// The pages over the live picture: contrast, the four markers, the
// auto-scroll range and the distance view direction.
#include "PageTestSupport.h"

#include "pages/AutoScrollPositionController.h"
#include "pages/ContrastController.h"
#include "pages/DistanceViewDirectionController.h"
#include "pages/MarkerPageController.h"
#include "pages/VizoPages.h"

#include <QPushButton>
#include <QSlider>

#include <memory>

namespace {
QByteArray setContrast(int target, int value)
{
    return bytesOf({0x06, target, value & 0xFF, value >> 8});
}
QByteArray marker(int action)
{
    return bytesOf({0x07, 0x03, action});
}
QByteArray move(int direction)
{
    return bytesOf({0x20, 0x03, direction});
}
} // namespace

using CameraPages = PageFixture;

TEST_F(CameraPages, ContrastSendsEachChangeAndCancelSendsTheOpeningValueOnce)
{
    settings()->setCameraMode(0);
    settings()->setSelectedColorSlotForDistanceViewMode(3); // grey scale: target 3
    settings()->options()->setContrastForDistance(1);
    {
        ContrastController page{*AppDelegate::instance()};
        page.loadWindow();
        EXPECT_EQ(page.slider()->value(), 1);
        key(&page, Qt::Key_Left);
        key(&page, Qt::Key_Left); // at 0: nothing
        key(&page, Qt::Key_Right, QEvent::KeyPress, true);
        key(&page, Qt::Key_Right);
        page.slider()->setValue(7); // the mouse on the slider
        EXPECT_EQ(commands(), (QList<QByteArray>{setContrast(3, 0), setContrast(3, 1),
                                                 setContrast(3, 2), setContrast(3, 7)}));
        sent.clear();
        page.onEscKeyDown();
        EXPECT_EQ(commands(), (QList<QByteArray>{setContrast(3, 1)}));
        EXPECT_EQ(settings()->options()->contrastForDistance(), 1);
    }
    // Near view, a coloured slot: target 6; OK stores and sends nothing more.
    sent.clear();
    settings()->setCameraMode(1);
    settings()->options()->setContrastForNear(39);
    ContrastController page{*AppDelegate::instance()};
    page.loadWindow();
    key(&page, Qt::Key_Right); // at 39: nothing
    key(&page, Qt::Key_Left);
    page.onReturnKeyDown();
    EXPECT_EQ(commands(), (QList<QByteArray>{setContrast(6, 38)}));
    EXPECT_EQ(settings()->options()->contrastForNear(), 38);
    EXPECT_EQ(settings()->options()->contrastForDistance(), 1);
}

TEST_F(CameraPages, MarkersStepByTheirOrientation)
{
    for (int mode = 0; mode < 4; ++mode) {
        sent.clear();
        std::unique_ptr<MarkerPageController> page(MarkerPageController::create(*AppDelegate::instance(), mode));
        page->loadWindow();
        const bool vertical = mode == 1 || mode == 3;
        EXPECT_EQ(page->isVertical(), vertical);
        for (int k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
            key(page.get(), k);
        key(page.get(), vertical ? Qt::Key_Right : Qt::Key_Up, QEvent::KeyPress, true);
        mode % 2 ? page->onEscKeyDown() : page->onReturnKeyDown();
        const QList<QByteArray> expected =
            vertical ? QList<QByteArray>{marker(0), marker(3), marker(2), marker(2), marker(1)}
                     : QList<QByteArray>{marker(0), marker(2), marker(3), marker(2), marker(0x0A)};
        EXPECT_EQ(commands(), expected) << "marker mode " << mode;
        EXPECT_TRUE(page->isClosed());
    }
    EXPECT_EQ(MarkerPageController::create(*AppDelegate::instance(), 4), nullptr);
}

TEST_F(CameraPages, RangePageConfirmsStartThenEndAndCancelsFromEitherStep)
{
    withWindow();
    auto *picture = new QWidget(app->captureViewContainer());
    {
        AutoScrollPositionController page{*AppDelegate::instance()};
        page.setCaptureView(picture);
        page.loadWindow();
        EXPECT_EQ(picture->parentWidget(), page.startPositionController()->captureViewContainer());
        // Press moves, repeats send nothing, the release stops.
        key(&page, Qt::Key_Left);
        key(&page, Qt::Key_Left, QEvent::KeyPress, true);
        key(&page, Qt::Key_Left, QEvent::KeyRelease);
        key(&page, Qt::Key_Up);
        key(&page, Qt::Key_Up, QEvent::KeyRelease);
        page.onReturnKeyDown();
        EXPECT_EQ(picture->parentWidget(), page.endPositionController()->captureViewContainer());
        page.onReturnKeyDown();
        EXPECT_TRUE(page.isConfirmed());
        EXPECT_EQ(commands(), (QList<QByteArray>{bytesOf({0x08, 0x05, 0x06}), move(3), move(0x0A),
                                                 move(1), move(0x0A), bytesOf({0x08, 0x05, 0x07}),
                                                 bytesOf({0x08, 0x05, 0x08})}));
    }
    EXPECT_EQ(picture->parentWidget(), app->captureViewContainer());
    for (bool fromEnd : {false, true}) {
        sent.clear();
        AutoScrollPositionController page{*AppDelegate::instance()};
        page.loadWindow();
        if (fromEnd)
            page.onReturnKeyDown();
        page.onEscKeyDown();
        EXPECT_FALSE(page.isConfirmed());
        EXPECT_EQ(commands().last(), bytesOf({0x08, 0x05, 0x09}));
        EXPECT_EQ(commands().size(), fromEnd ? 3 : 2);
    }
}

TEST_F(CameraPages, DirectionPageBeginsMovesAndStopsAHeldMoveOnClosing)
{
    {
        DistanceViewDirectionController page{*AppDelegate::instance()};
        page.loadWindow();
        key(&page, Qt::Key_Right);
        key(&page, Qt::Key_Right, QEvent::KeyRelease);
        key(&page, Qt::Key_Down);
        page.step()->buttonOK()->click(); // still held: stopped first
        EXPECT_EQ(commands(), (QList<QByteArray>{bytesOf({0x08, 0x08, 1}), move(2), move(0x0A),
                                                 move(0), move(0x0A), bytesOf({0x08, 0x08, 2})}));
    }
    sent.clear();
    DistanceViewDirectionController page{*AppDelegate::instance()};
    page.loadWindow();
    page.onBackspaceKeyDown();
    EXPECT_EQ(commands(), (QList<QByteArray>{bytesOf({0x08, 0x08, 1}), bytesOf({0x08, 0x08, 0})}));
}

TEST_F(CameraPages, EntryPointsArmThePageGestureSet)
{
    QList<int> gestureModes;
    auto closeNext = [&](std::function<void(ModalWindowController *)> close) {
        QMetaObject::invokeMethod(
            app.get(),
            [&, close] {
                gestureModes << settings()->vizoMouseGestureMode();
                close(qobject_cast<ModalWindowController *>(app->stackUI().top()));
            },
            Qt::QueuedConnection);
    };
    auto esc = [](ModalWindowController *w) { w->onEscKeyDown(); };
    closeNext(esc);
    VizoPages::doMarkerSetting(*AppDelegate::instance(), 2);
    closeNext(esc);
    EXPECT_FALSE(VizoPages::doAutoScrollRangeSetting(*AppDelegate::instance()));
    closeNext([](ModalWindowController *w) {
        w->onReturnKeyDown();
        w->onReturnKeyDown();
    });
    EXPECT_TRUE(VizoPages::doAutoScrollRangeSetting(*AppDelegate::instance()));
    closeNext(esc);
    VizoPages::doDistanceViewDirectionSetting(*AppDelegate::instance());
    VizoPages::doMarkerSetting(*AppDelegate::instance(), 4); // no such marker: nothing opens
    EXPECT_EQ(gestureModes, (QList<int>{3, 5, 5, 6}));
    EXPECT_EQ(settings()->vizoMouseGestureMode(), 0);
    EXPECT_TRUE(app->stackUI().count() == 0);
}

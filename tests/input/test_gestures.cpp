// Mouse gestures: the recognizers' geometry and report order, the wheel
// zoom bursts, and the gesture map from capture-view events to payloads.
#include "TestWait.h"
#include "InputTestModel.h"

#include "input/CameraMoveGestureRecognizer.h"
#include "input/SwipeGestureRecognizer.h"
#include "input/VizoGestureMap.h"

#include <gtest/gtest.h>

#include <lumen/LumenCaptureView.h>
#include <lumen/LumenFrameFeed.h>
#include <lumen/LumenViewController.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace {

QMouseEvent mouse(QEvent::Type type, QPointF p, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    return QMouseEvent(type, p, p, p, button, held, mods);
}

QWheelEvent wheelEvent(int angle)
{
    return QWheelEvent(QPointF(400, 300), QPointF(400, 300), QPoint(), QPoint(0, angle),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
}

MouseGestureEvent at(QPointF p, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    MouseGestureEvent e;
    e.position = p;
    e.modifiers = mods;
    return e;
}

struct Drag
{
    QWidget *view;
    MouseGestureRecognizer &r;
    QPointF start;
    void down() { r.mouseDown(view, at(start)); }
    void to(double dx, double dy) { r.mouseDragged(view, at(start + QPointF(dx, dy))); }
    void release(double dx, double dy) { r.mouseUp(view, at(start + QPointF(dx, dy))); }
};

class Recognizers : public ::testing::Test
{
protected:
    Recognizers()
    {
        view.resize(800, 600);
        move.visibleFrame = [] { return QRectF(0, 0, 1440, 900); }; // unit 300
        move.eventDirectionChanged = [this](int d) { log.append(QStringLiteral("dir %1").arg(d)); };
        move.eventDistanceLevelChanged = [this](int l) {
            log.append(QStringLiteral("level %1").arg(l));
        };
    }
    QWidget view;
    CameraMoveGestureRecognizer move;
    QStringList log;
};

} // namespace

TEST_F(Recognizers, ClickIsUnderTenPoints)
{
    MouseGestureRecognizer r;
    int left = 0, right = 0;
    r.eventLeftButtonClicked = [&](const MouseGestureEvent &) { ++left; };
    r.eventRightButtonClicked = [&](const MouseGestureEvent &) { ++right; };
    Drag d{&view, r, {100, 100}};
    d.down();
    d.release(7, 7); // 9.9 points
    d.down();
    d.release(10, 0);
    r.rightMouseDown(&view, at({5, 5}));
    r.rightMouseUp(&view, at({6, 5}));
    EXPECT_EQ(left, 1);
    EXPECT_EQ(right, 1);
}

TEST_F(Recognizers, DeadZoneThenDirectionThenLevel)
{
    Drag d{&view, move, {400, 300}};
    d.down();
    d.to(51, 0);
    EXPECT_TRUE(log.isEmpty());
    d.to(52, 0);
    EXPECT_EQ(log, (QStringList{"dir 3", "level 0"}));
    d.to(60, -30); // 26.6 degrees: up-right
    EXPECT_EQ(log.mid(2), (QStringList{"dir 10", "dir 5"}));
    d.release(60, -30);
    EXPECT_EQ(log.last(), "dir 10");
    EXPECT_FALSE(move.isDraggingMode);
}

TEST_F(Recognizers, LevelsFromTheVisibleFrame)
{
    EXPECT_EQ(move.calcLevel(300), 0);
    EXPECT_EQ(move.calcLevel(400), 1);
    EXPECT_EQ(move.calcLevel(600), 1);
    EXPECT_EQ(move.calcLevel(601), 2);

    view.resize(1600, 600);
    Drag d{&view, move, {100, 300}};
    d.down();
    d.to(100, 0);
    d.to(400, 0);
    d.to(601, 0);
    d.to(350, 0);
    d.to(30, 0); // back inside the dead zone: nothing
    d.release(30, 0);
    EXPECT_EQ(log, (QStringList{"dir 3", "level 0", "level 1", "level 2", "level 1", "dir 10"}));
}

TEST_F(Recognizers, SectorsAndTheirBoundaries)
{
    using R = MouseGestureRecognizer;
    const QList<QPair<double, int>> rows = {
        {90, R::Up},           {-90, R::Down},        {180, R::Left},        {-180, R::Left},
        {0, R::Right},         {22.5, R::UpRight},    {67.5, R::UpRight},    {112.5, R::UpLeft},
        {157.5, R::UpLeft},    {-157.5, R::DownLeft}, {-112.5, R::DownLeft}, {-67.5, R::DownRight},
        {-22.5, R::DownRight}, {-45, R::DownRight},   {22.4, R::Right},      {157.6, R::Left},
    };
    for (const auto &row : rows)
        EXPECT_EQ(R::directionForAngle(row.first), row.second) << row.first;
    // Screen y grows downwards: dragging towards the top is up.
    EXPECT_EQ(R::directionForAngle(R::angleBetween({0, 0}, {0, -100})), R::Up);
}

TEST_F(Recognizers, EdgePressesStartNoDrag)
{
    for (double x : {0.0, 51.0, 749.0, 800.0}) {
        Drag d{&view, move, {x, 300}};
        d.down();
        d.to(0, 200);
        d.release(0, 200);
    }
    EXPECT_TRUE(log.isEmpty());
    Drag inside{&view, move, {748, 300}};
    inside.down();
    inside.to(0, 100);
    EXPECT_EQ(log.first(), "dir 1");
}

TEST_F(Recognizers, ReleasingARequiredModifierEndsTheDrag)
{
    move.commandKey = true;
    move.mouseDown(&view, at({400, 300}, Qt::ControlModifier));
    move.mouseDragged(&view, at({300, 300}, Qt::ControlModifier));
    move.mouseDragged(&view, at({290, 300}));
    move.mouseDragged(&view, at({280, 300}, Qt::ControlModifier));
    EXPECT_EQ(log, (QStringList{"dir 2", "level 0", "dir 10"}));
    EXPECT_FALSE(move.isDraggingMode);
}

TEST_F(Recognizers, SwipesAtTheReleaseOnly)
{
    SwipeGestureRecognizer swipe;
    QStringList swipes;
    swipe.eventSwipeUp = [&](double) { swipes << "up"; };
    swipe.eventSwipeDownLeft = [&](double) { swipes << "down-left"; };
    Drag d{&view, swipe, {400, 300}};
    d.down();
    d.to(0, -200);
    EXPECT_TRUE(swipes.isEmpty());
    d.release(0, -60);
    d.down();
    d.release(-60, 0); // no block for left
    d.down();
    d.release(0, -51);
    d.down();
    d.release(-50, 50);
    Drag edge{&view, swipe, {20, 300}};
    edge.down();
    edge.release(0, -100);
    EXPECT_EQ(swipes, (QStringList{"up", "down-left"}));
}

TEST(WheelZoom, OneStartPerBurstAndOneStopAfterTheQuietTime)
{
    QStringList sent;
    int changes = 0;
    VizoWheelZoom zoom([&](int a) { sent << QString::number(a); }, [&] { ++changes; });
    zoom.wheel(0.5);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_FALSE(zoom.running());

    QElapsedTimer clock;
    zoom.wheel(1);
    waitMs(100);
    zoom.wheel(-2); // same burst: keeps zooming in
    waitMs(100);
    zoom.wheel(1);
    clock.start();
    EXPECT_TRUE(zoom.running());
    EXPECT_EQ(sent, QStringList{"0"});
    waitFor([&] { return sent.size() >= 2; });
    EXPECT_GE(clock.elapsed(), VizoWheelZoom::kStopDelayMs);
    EXPECT_EQ(sent, (QStringList{"0", "2"}));
    EXPECT_FALSE(zoom.running());
    EXPECT_EQ(changes, 4);

    zoom.setStopDelay(50);
    zoom.wheel(-1);
    waitMs(150);
    EXPECT_EQ(sent, (QStringList{"0", "2", "1", "2"}));
}

namespace {

class GestureMap : public ::testing::Test
{
protected:
    GestureMap()
    {
        view.resize(800, 600);
        model.version = 0;
        state.vizoVersion = 0;
        map.setupMouseGestures();
        map.updateMouseGestures(state);
        static_cast<CameraMoveGestureRecognizer *>(map.recognizer("MouseGestureCameraMove"))
            ->visibleFrame = [] { return QRectF(0, 0, 1440, 900); };
    }
    VizoInputHooks hooks()
    {
        VizoInputHooks h = rec.hooks();
        // The wheel zoom re-arms through the delegate, which asks the map.
        h.updateMouseGestures = [this] {
            rec.log.append("update-gestures");
            map.updateMouseGestures(state);
        };
        return h;
    }
    void click(QPointF p, Qt::MouseButton button = Qt::LeftButton)
    {
        if (button == Qt::LeftButton) {
            map.mouseDown(&view, mouse(QEvent::MouseButtonPress, p));
            map.mouseUp(&view, mouse(QEvent::MouseButtonRelease, p));
        } else {
            map.rightMouseDown(&view, mouse(QEvent::MouseButtonPress, p, button));
            map.rightMouseUp(&view, mouse(QEvent::MouseButtonRelease, p, button));
        }
        waitMs(20);
    }
    void drag(QPointF from, QPointF to)
    {
        map.mouseDown(&view, mouse(QEvent::MouseButtonPress, from));
        map.mouseDragged(&view, mouse(QEvent::MouseMove, to));
        map.mouseUp(&view, mouse(QEvent::MouseButtonRelease, to));
        waitMs(20);
    }

    QWidget view;
    InputTestModel model;
    InputTestRecorder rec;
    VizoInputState state;
    VizoInputContext context{model, hooks()};
    VizoGestureMap map{context};
};

} // namespace

TEST_F(GestureMap, FifteenGesturesInOrder)
{
    const QStringList expected = {"MouseGestureOpenMenu",
                                  "MouseGestureCloseMenu",
                                  "MouseGestureCameraModeOpenColorModeSetting",
                                  "MouseGestureCameraMove",
                                  "MouseGestureImageMove",
                                  "MouseGestureHorzLineMarker",
                                  "MouseGestureVertLineMarker",
                                  "MouseGestureHorzWindowMarker",
                                  "MouseGestureVertWindowMarker",
                                  "MouseGestureCameraModeNextColor",
                                  "MouseGestureImageModeNextColor",
                                  "MouseGestureOCRModeNextColor",
                                  "MouseGestureCameraModeZoomStart",
                                  "MouseGestureImageModeZoomStart",
                                  "MouseGestureOCRModeZoomStart"};
    EXPECT_EQ(map.names(), expected);
}

TEST_F(GestureMap, CameraModeClickDragAndMenu)
{
    click({400, 300});
    EXPECT_EQ(rec.sent(), QStringList{"20 04 00"});
    EXPECT_EQ(model.nextColorCalls, 1);
    rec.log.clear();
    drag({400, 300}, {400, 200});
    EXPECT_EQ(rec.sent(), (QStringList{"20 03 00", "20 03 0b 00", "20 03 0a"}))
        << "a drag is no click";
    rec.log.clear();
    click({400, 300}, Qt::RightButton);
    EXPECT_EQ(rec.log, QStringList{"open-menu"});
}

TEST_F(GestureMap, DuringAWheelBurstClicksAndDragsDoNothing)
{
    map.scrollWheel(&view, wheelEvent(120));
    waitMs(20);
    EXPECT_EQ(rec.sent(), QStringList{"20 00 00"});
    click({400, 300});
    drag({400, 300}, {600, 300});
    map.scrollWheel(&view, wheelEvent(-240));
    waitMs(20);
    EXPECT_EQ(rec.sent(), QStringList{"20 00 00"});
    EXPECT_EQ(model.nextColorCalls, 0);
    waitMs(VizoWheelZoom::kStopDelayMs + 200);
    EXPECT_EQ(rec.sent(), (QStringList{"20 00 00", "20 00 02"}));
    rec.log.clear();
    click({400, 300});
    EXPECT_EQ(rec.sent(), QStringList{"20 04 00"}) << "armed again after the burst";
}

TEST_F(GestureMap, MenuOpenLeavesOnlyTheRightClick)
{
    state.menuOpened = true;
    map.updateMouseGestures(state);
    click({400, 300});
    drag({400, 300}, {600, 300});
    map.scrollWheel(&view, wheelEvent(120));
    waitMs(20);
    EXPECT_TRUE(rec.log.isEmpty());
    click({400, 300}, Qt::RightButton);
    EXPECT_EQ(rec.log, QStringList{"close-menu"});
}

TEST_F(GestureMap, MarkerPagesAndImageMode)
{
    state.vizoMouseGestureMode = 1;
    map.updateMouseGestures(state);
    drag({400, 300}, {400, 240});
    drag({400, 300}, {340, 300});
    drag({400, 300}, {400, 380});
    EXPECT_EQ(rec.sent(), (QStringList{"07 03 02", "07 03 03"}));

    rec.log.clear();
    state.vizoMouseGestureMode = 4;
    map.updateMouseGestures(state);
    drag({400, 300}, {340, 300});
    drag({400, 300}, {470, 300});
    EXPECT_EQ(rec.sent(), (QStringList{"07 03 03", "07 03 02"}));

    rec.log.clear();
    state.vizoMouseGestureMode = 7;
    map.updateMouseGestures(state);
    drag({400, 300}, {460, 240});
    click({400, 300});
    EXPECT_EQ(rec.sent(), (QStringList{"21 06 05", "21 06 0a", "21 04 00"}))
        << "image moves send no speed";
}

TEST_F(GestureMap, ValleyRightClickOpensTheSelectedSlotPage)
{
    state.vizoVersion = 1;
    map.updateMouseGestures(state);
    model.camera = 0;
    model.selected[0] = 2;
    click({400, 300}, Qt::RightButton);
    EXPECT_EQ(rec.log, QStringList{"page 0 2"});
}

TEST_F(GestureMap, TheCaptureViewDeliversEveryEventThroughTheMainQueue)
{
    LumenViewController camera(std::make_shared<LumenFrameFeed>());
    LumenCaptureView *picture = camera.captureView();
    picture->resize(800, 600);
    int afterDown = 0;
    map.installOn(picture, [&] { ++afterDown; });

    auto send = [&](QEvent::Type type, QPointF p, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, p, picture->mapToGlobal(p), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &event);
    };
    send(QEvent::MouseButtonPress, {400, 300}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(afterDown, 1);
    EXPECT_TRUE(rec.log.isEmpty()) << "delivery is posted, not immediate";
    send(QEvent::MouseMove, {400, 200}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {400, 200}, Qt::LeftButton, Qt::NoButton);
    waitMs(50);
    EXPECT_EQ(rec.sent(), (QStringList{"20 03 00", "20 03 0b 00", "20 03 0a"}));

    rec.log.clear();
    send(QEvent::MouseButtonPress, {300, 300}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, {302, 301}, Qt::RightButton, Qt::NoButton);
    QWheelEvent wheel(QPointF(400, 300), picture->mapToGlobal(QPointF(400, 300)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(picture, &wheel);
    waitMs(50);
    EXPECT_EQ(rec.log.mid(0, 2), (QStringList{"open-menu", "send 20 00 01"}));
}

TEST_F(Recognizers, APostedCopyOfAQtEventKeepsItsPosition)
{
    // A delegate that clones events and delivers them later: later events of
    // the same device overwrite a clone's window position, not its own.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(400, 300), QPointF(400, 300),
                      QPointF(400, 300), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    std::unique_ptr<QMouseEvent> copy(static_cast<QMouseEvent *>(press.clone()));
    QMouseEvent later(QEvent::MouseMove, QPointF(1, 2), QPointF(3, 4), QPointF(5, 6), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &later);
    move.mouseDown(&view, *copy);
    EXPECT_TRUE(move.isDraggingMode);
    EXPECT_EQ(move.ptStart, QPointF(400, 300));
}

TEST_F(GestureMap, DisarmingADragStopsTheCamera)
{
    map.mouseDown(&view, mouse(QEvent::MouseButtonPress, {400, 300}));
    map.mouseDragged(&view, mouse(QEvent::MouseMove, {500, 300}));
    waitMs(20);
    map.scrollWheel(&view, wheelEvent(120)); // the burst disarms the move
    waitMs(20);
    map.mouseUp(&view, mouse(QEvent::MouseButtonRelease, {500, 300}));
    waitMs(20);
    EXPECT_EQ(rec.sent(), (QStringList{"20 03 03", "20 03 0b 00", "20 00 00", "20 03 0a"}));
}

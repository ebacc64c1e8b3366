// The controller as the application uses it: device lookup errors, frames
// pushed by the program, stale frames dropped, the picture stretched, and
// the mouse reported in view coordinates.
#include "TestWait.h"
#include "LumenCpuCanvas.h"
#include "LumenFeedSource.h"
#include "LumenFrameSlot.h"
#include "LumenTestFrames.h"
#include "LumenV4l2Source.h"

#include <lumen/LumenViewController.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

using lumentest::near;

namespace {

QImage solid(QRgb colour, QSize size = QSize(16, 8))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Lets queued repaints run and returns what the view shows.
QImage shown(QWidget *view)
{
    QCoreApplication::processEvents();
    return view->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(LumenDevice, AMissingDeviceRaisesAReadableError)
{
    // There is no camera on the test machines; a name no driver reports
    // makes sure of that elsewhere.
    for (const QString &name : {QStringLiteral("FX3"), QStringLiteral("No Such Camera 42")}) {
        if (name == QLatin1String("FX3") && !LumenV4l2Source::find(name).path.isEmpty())
            continue;
        try {
            LumenViewController controller(name);
            FAIL() << "created a controller for a missing device";
        } catch (const LumenError &error) {
            EXPECT_TRUE(error.reason().contains(name)) << error.reason().toStdString();
            EXPECT_TRUE(error.reason().contains(QStringLiteral("No video capture device")));
            EXPECT_STREQ(error.what(), error.reason().toStdString().c_str());
        }
    }
}

TEST(LumenDevice, NodesThatAreNotCaptureDevicesAreSkipped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A plain file named like a device node: QUERYCAP fails on it.
    QFile fake(dir.filePath(QStringLiteral("video0")));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a device");
    fake.close();
    const auto found = LumenV4l2Source::find(QStringLiteral("FX3"), dir.path());
    EXPECT_TRUE(found.path.isEmpty());
    EXPECT_TRUE(found.reason.contains(QStringLiteral("\"FX3\""))) << found.reason.toStdString();

    const auto none = LumenV4l2Source::find(QStringLiteral("FX3"), dir.filePath("absent"));
    EXPECT_TRUE(none.path.isEmpty());
    EXPECT_FALSE(none.reason.isEmpty());
}

TEST(LumenDevice, AudioIsRefused)
{
    EXPECT_THROW(LumenViewController(QStringLiteral("FX3"), QStringLiteral("Microphone")),
                 LumenError);
}

TEST(LumenSlot, OnlyTheNewestOfManyFramesIsShownAndTheRestAreReleased)
{
    auto slot = std::make_shared<LumenFrameSlot>();
    int wakes = 0;
    slot->setWake([&] { ++wakes; });
    std::vector<std::uint64_t> presented;
    slot->setPresented([&](std::uint64_t sequence, std::int64_t) { presented.push_back(sequence); });

    LumenPreviewLayer layer;
    LumenCpuCanvas canvas(slot, &layer, nullptr);
    canvas.resize(32, 16);

    auto released = std::make_shared<int>(0);
    for (int i = 0; i < 10; ++i) {
        auto frame = std::make_shared<LumenFrame>();
        frame->image = solid(qRgb(i * 20, 0, 255 - i * 20));
        frame->size = frame->image.size();
        frame->keeper = std::shared_ptr<const void>(nullptr, [released](const void *) { ++*released; });
        slot->publish(std::move(frame));
    }
    // One wake for the whole burst: repaints coalesce.
    EXPECT_EQ(wakes, 1);
    // Nine stale frames were dropped before anything painted.
    EXPECT_EQ(*released, 9);
    EXPECT_EQ(slot->droppedCount(), 9u);

    const QImage picture = canvas.grab().toImage();
    QCoreApplication::processEvents();
    ASSERT_EQ(presented.size(), 1u);
    EXPECT_EQ(presented[0], 10u);
    EXPECT_TRUE(near(picture.pixel(16, 8), qRgb(180, 0, 75), 1));
    // The shown frame was released once converted for drawing... or kept
    // only by the canvas: never by the slot.
    EXPECT_FALSE(slot->take());

    // A repaint without a new frame shows the same picture and reports
    // nothing new.
    canvas.grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(presented.size(), 1u);

    // After the paint, the next frame wakes the view again.
    auto next = std::make_shared<LumenFrame>();
    next->image = solid(qRgb(0, 255, 0));
    next->size = next->image.size();
    slot->publish(next);
    EXPECT_EQ(wakes, 2);
}

TEST(LumenFeed, WhenDecodingFallsBehindTheNewestFrameIsDecodedNextAndNoneQueue)
{
    auto slot = std::make_shared<LumenFrameSlot>();
    auto feed = std::make_shared<LumenFrameFeed>();
    LumenFeedSource source(feed, slot);
    ASSERT_TRUE(source.start());
    // The first frame's publication holds its thread (which is still the
    // decoding thread) until the test has pushed more frames.
    std::mutex mutex;
    std::condition_variable changed;
    bool firstOut = false, release = false;
    slot->setWake([&] {
        std::unique_lock lock(mutex);
        firstOut = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
    });
    const auto jpegOfWidth = [](int width) {
        return lumentest::toJpeg(lumentest::quadrants(width, 32));
    };
    std::thread capture([&] {
        EXPECT_TRUE(feed->pushFrame(LumenPixelFormat::Mjpeg, QSize(), jpegOfWidth(64)));
    });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return firstOut; }));
    }
    // Busy: these return at once; bytes that are no JPEG at all are
    // refused even so.
    EXPECT_FALSE(feed->pushFrame(LumenPixelFormat::Mjpeg, QSize(), QByteArray("not a picture")));
    for (int width : {80, 96, 112})
        EXPECT_TRUE(feed->pushFrame(LumenPixelFormat::Mjpeg, QSize(), jpegOfWidth(width)));
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
    capture.join(); // the decoding thread took the waiting frame before it returned

    // The first frame and the newest; 80 and 96 were never decoded.
    EXPECT_EQ(slot->publishedCount(), 2u);
    const LumenFramePtr newest = slot->take();
    ASSERT_TRUE(newest);
    EXPECT_EQ(newest->size, QSize(112, 32));
    slot->setWake(nullptr);
    source.stop();
}

TEST(LumenView, PushedFramesAreShownNewestFirstAndStretched)
{
    auto feed = std::make_shared<LumenFrameFeed>();
    LumenViewController controller(feed);
    QWidget *view = controller.view();
    ASSERT_EQ(view, controller.captureView());
    EXPECT_FALSE(controller.captureView()->usesOpenGL()); // offscreen: CPU path
    view->resize(300, 100);
    view->show();

    for (int i = 0; i < 20; ++i)
        feed->pushImage(solid(qRgb(10 * i, 10 * i, 10 * i)));
    feed->pushImage(lumentest::quadrants(20, 10));

    // 20x10 stretched to 300x100: each quadrant fills a corner of the view.
    QImage picture = shown(view);
    ASSERT_EQ(picture.size(), QSize(300, 100));
    EXPECT_TRUE(near(picture.pixel(2, 2), qRgb(255, 0, 0), 1));
    EXPECT_TRUE(near(picture.pixel(297, 2), qRgb(0, 255, 0), 1));
    EXPECT_TRUE(near(picture.pixel(2, 97), qRgb(0, 0, 255), 1));
    EXPECT_TRUE(near(picture.pixel(297, 97), qRgb(255, 255, 255), 1));
    EXPECT_TRUE(near(picture.pixel(140, 45), qRgb(255, 0, 0), 1));
    EXPECT_TRUE(near(picture.pixel(160, 55), qRgb(255, 255, 255), 1));

    // Keeping the aspect ratio letterboxes it instead.
    controller.captureView()->previewLayer()->setVideoGravity(LumenVideoGravity::ResizeAspect);
    picture = shown(view);
    EXPECT_TRUE(near(picture.pixel(2, 2), qRgb(0, 0, 0), 1));
    EXPECT_TRUE(near(picture.pixel(52, 2), qRgb(255, 0, 0), 1));

    // The preview handler receives that layer.
    LumenPreviewLayer *received = nullptr;
    controller.setEventSetupVideoPreview([&](LumenPreviewLayer *layer) {
        received = layer;
        layer->setVideoGravity(LumenVideoGravity::Resize);
    });
    ASSERT_TRUE(waitFor([&] { return received != nullptr; }));
    EXPECT_EQ(received, controller.captureView()->previewLayer());
    picture = shown(view);
    EXPECT_TRUE(near(picture.pixel(2, 2), qRgb(255, 0, 0), 1));
}

TEST(LumenView, RawYuyvAndMjpegFramesAreConverted)
{
    auto feed = std::make_shared<LumenFrameFeed>();
    LumenViewController controller(feed);
    QWidget *view = controller.view();
    view->resize(64, 32);
    view->show();

    const QImage source = lumentest::quadrants(64, 32);
    ASSERT_TRUE(feed->pushFrame(LumenPixelFormat::Yuyv, source.size(), lumentest::toYuyv(source)));
    QImage picture = shown(view);
    EXPECT_TRUE(near(picture.pixel(5, 5), qRgb(255, 0, 0), 4));
    EXPECT_TRUE(near(picture.pixel(60, 28), qRgb(255, 255, 255), 4));

    ASSERT_TRUE(feed->pushFrame(LumenPixelFormat::Mjpeg, source.size(),
                                lumentest::toJpeg(solid(qRgb(0, 0, 255), QSize(64, 32)))));
    picture = shown(view);
    EXPECT_TRUE(near(picture.pixel(30, 15), qRgb(0, 0, 255), 12));

    // Malformed frames are refused and the picture stays.
    EXPECT_FALSE(feed->pushFrame(LumenPixelFormat::Yuyv, QSize(64, 32), QByteArray(100, 0)));
    EXPECT_FALSE(feed->pushFrame(LumenPixelFormat::Yuyv, QSize(63, 32), QByteArray(64 * 32 * 2, 0)));
    EXPECT_FALSE(feed->pushFrame(LumenPixelFormat::Mjpeg, QSize(64, 32), QByteArray("nope")));
    picture = shown(view);
    EXPECT_TRUE(near(picture.pixel(30, 15), qRgb(0, 0, 255), 12));
}

TEST(LumenView, AStoppedSessionShowsNoMoreFrames)
{
    auto feed = std::make_shared<LumenFrameFeed>();
    LumenViewController controller(feed);
    QWidget *view = controller.view();
    view->resize(16, 8);
    view->show();
    feed->pushImage(solid(qRgb(255, 0, 0)));
    EXPECT_TRUE(near(shown(view).pixel(8, 4), qRgb(255, 0, 0), 1));

    ASSERT_TRUE(controller.session()->isRunning());
    controller.session()->stopRunning();
    controller.session()->stopRunning();
    EXPECT_FALSE(controller.session()->isRunning());
    feed->pushImage(solid(qRgb(0, 255, 0)));
    EXPECT_TRUE(near(shown(view).pixel(8, 4), qRgb(255, 0, 0), 1));

    EXPECT_TRUE(controller.session()->startRunning());
    feed->pushImage(solid(qRgb(0, 255, 0)));
    EXPECT_TRUE(near(shown(view).pixel(8, 4), qRgb(0, 255, 0), 1));
}

TEST(LumenView, AViewAdoptedByAWindowOutlivesItsController)
{
    auto feed = std::make_shared<LumenFrameFeed>();
    QWidget window;
    {
        LumenViewController controller(feed);
        controller.captureView()->setParent(&window);
    }
    // The view is still there; frames pushed now go nowhere, safely.
    ASSERT_EQ(window.findChildren<LumenCaptureView *>().size(), 1);
    feed->pushImage(solid(qRgb(1, 2, 3)));
    QCoreApplication::processEvents();
}

TEST(LumenView, MouseHandlersReceiveTheViewAndViewCoordinates)
{
    auto feed = std::make_shared<LumenFrameFeed>();
    LumenViewController controller(feed);
    LumenCaptureView *view = controller.captureView();
    view->resize(200, 100);
    view->show();

    std::vector<std::pair<QString, QPointF>> calls;
    const auto record = [&](const char *name) {
        return [&calls, view, name](LumenCaptureView *v, QMouseEvent *e) {
            EXPECT_EQ(v, view);
            calls.emplace_back(QString::fromLatin1(name), e->position());
        };
    };
    view->setEventMouseDown(record("down"));
    view->setEventMouseDragged(record("dragged"));
    view->setEventMouseUp(record("up"));
    view->setEventRightMouseDown(record("rightDown"));
    view->setEventRightMouseDragged(record("rightDragged"));
    view->setEventRightMouseUp(record("rightUp"));
    view->setEventScrollWheel([&](LumenCaptureView *v, QWheelEvent *e) {
        EXPECT_EQ(v, view);
        calls.emplace_back(QStringLiteral("wheel%1").arg(e->angleDelta().y()), e->position());
    });

    // The picture is drawn by a child widget: events that land on it must
    // still reach the view's handlers.
    QWidget *target = view->findChild<QWidget *>();
    ASSERT_NE(target, nullptr);
    const auto send = [&](QEvent::Type type, QPointF pos, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {30, 40}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {35, 45}, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseMove, {60, 60}, Qt::NoButton, Qt::NoButton); // no drag: not reported
    send(QEvent::MouseButtonPress, {150, 80}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseMove, {140, 70}, Qt::NoButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, {130, 60}, Qt::RightButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, {5, 5}, Qt::MiddleButton, Qt::MiddleButton); // no handler
    // Qt routes wheel events past mouse-transparent children itself.
    QWheelEvent wheel({70, 30}, view->mapToGlobal(QPointF(70, 30)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);

    const std::vector<std::pair<QString, QPointF>> expected = {
        {"down", {10, 20}},      {"dragged", {30, 40}},      {"up", {35, 45}},
        {"rightDown", {150, 80}}, {"rightDragged", {140, 70}}, {"rightUp", {130, 60}},
        {"wheel-120", {70, 30}},
    };
    ASSERT_EQ(calls.size(), expected.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].first, expected[i].first) << i;
        EXPECT_EQ(calls[i].second, expected[i].second) << calls[i].first.toStdString();
    }

    // An absent handler is skipped.
    view->setEventMouseDown(nullptr);
    send(QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(calls.size(), expected.size());
}

// The CPU picture on a real X server: frames go to the window through
// memory shared with the server, outside Qt's painting, so the window has
// to redraw itself when uncovered or resized, and must not swallow the
// mouse the view's handlers listen to.
#include "TestEnvironment.h"
#include "TestWait.h"
#include "LumenTestFrames.h"

#include <lumen/LumenViewController.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <thread>

#include <gtest/gtest.h>

using lumentest::near;

namespace {

// What is visible on screen at the window's place (another window on top
// shows up here, unlike in a grab of the window itself).
QImage onScreen(const QWidget &window)
{
    QCoreApplication::processEvents();
    const QRect r = window.geometry();
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

bool showsQuadrants(const QImage &shot)
{
    const int w = shot.width(), h = shot.height();
    return w > 20 && h > 20 && near(shot.pixel(10, 10), qRgb(255, 0, 0), 10) &&
           near(shot.pixel(w - 10, 10), qRgb(0, 255, 0), 10) &&
           near(shot.pixel(10, h - 10), qRgb(0, 0, 255), 10) &&
           near(shot.pixel(w - 10, h - 10), qRgb(255, 255, 255), 10);
}

bool allNear(const QImage &shot, QRgb colour)
{
    const int w = shot.width(), h = shot.height();
    return w > 20 && h > 20 && near(shot.pixel(10, 10), colour, 6) &&
           near(shot.pixel(w - 10, h - 10), colour, 6) && near(shot.pixel(w / 2, h / 2), colour, 6);
}

class SharedMemoryView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(onX11()) << "the test runner starts these tests on Xvfb";
        qputenv("LUMEN_RENDERER", "cpu");
        controller = std::make_unique<LumenViewController>(feed);
        window.setGeometry(0, 0, 320, 240);
        controller->captureView()->setParent(&window);
        controller->view()->setGeometry(window.rect());
        controller->view()->show();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override { qunsetenv("LUMEN_RENDERER"); }

    void resizeTo(QSize size)
    {
        window.resize(size);
        controller->view()->setGeometry(window.rect());
    }

    std::shared_ptr<LumenFrameFeed> feed = std::make_shared<LumenFrameFeed>();
    QWidget window;
    std::unique_ptr<LumenViewController> controller;
};

} // namespace

TEST_F(SharedMemoryView, FramesOfEveryKindReachTheScreenAndStayThroughCoverAndResize)
{
    ASSERT_EQ(controller->captureView()->rendererName(), QStringLiteral("X11 shared memory"));
    const QImage source = lumentest::quadrants(320, 240);

    // Same size as the view: converted straight into the server's memory.
    ASSERT_TRUE(feed->pushFrame(LumenPixelFormat::Yuyv, source.size(), lumentest::toYuyv(source)));
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(onScreen(window)); }, 5000));

    QImage grey(320, 240, QImage::Format_RGB32);
    grey.fill(qRgb(90, 90, 90));
    feed->pushImage(grey);
    ASSERT_TRUE(waitFor([&] { return allNear(onScreen(window), qRgb(90, 90, 90)); }, 5000));

    ASSERT_TRUE(feed->pushFrame(LumenPixelFormat::Mjpeg, source.size(), lumentest::toJpeg(source)));
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(onScreen(window)); }, 5000));

    // Covered by another window and uncovered: the picture comes back
    // without a new frame.
    QWidget cover;
    cover.setAutoFillBackground(true);
    QPalette palette = cover.palette();
    palette.setColor(QPalette::Window, QColor(250, 250, 0));
    cover.setPalette(palette);
    cover.setGeometry(window.geometry());
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    ASSERT_TRUE(waitFor([&] { return allNear(onScreen(window), qRgb(250, 250, 0)); }, 5000));
    cover.hide();
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(onScreen(window)); }, 5000));

    // A bigger view: the last picture is drawn again at the new size.
    resizeTo(QSize(400, 300));
    ASSERT_TRUE(waitFor([&] { return onScreen(window).size() == QSize(400, 300) &&
                                 showsQuadrants(onScreen(window)); }, 5000));

    // A smaller frame is stretched over the whole view, YUYV and a plain
    // picture alike. Grey in between, so each must reach the screen itself.
    const auto showGrey = [&] {
        feed->pushImage(grey);
        return waitFor([&] { return allNear(onScreen(window), qRgb(90, 90, 90)); }, 5000);
    };
    ASSERT_TRUE(showGrey());
    ASSERT_TRUE(feed->pushFrame(LumenPixelFormat::Yuyv, QSize(64, 32),
                                lumentest::toYuyv(lumentest::quadrants(64, 32))));
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(onScreen(window)); }, 5000));
    ASSERT_TRUE(showGrey());
    feed->pushImage(lumentest::quadrants(64, 32));
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(onScreen(window)); }, 5000));
}

TEST_F(SharedMemoryView, MjpegFramesReachTheScreenExactlyAsAWholeDecodeGivesThem)
{
    // Pushed from a capture thread, so that drawing runs beside decoding:
    // split at a restart marker, or drawn band by band behind the decoder.
    resizeTo(QSize(640, 480));
    const QImage picture = lumentest::busyPicture(640, 480);
    for (const int restartRows : {1, 0}) {
        SCOPED_TRACE(restartRows ? "restart markers" : "no restart markers");
        const QByteArray jpeg = lumentest::toJpeg(picture, {2, 1, restartRows, 0, 90});
        const QImage expected = lumentest::viaWholeFramePlanes(jpeg);
        ASSERT_EQ(expected.size(), QSize(640, 480));
        QImage black(640, 480, QImage::Format_RGB32);
        black.fill(Qt::black);
        feed->pushImage(black); // something else on screen first
        std::thread capture([&] {
            EXPECT_TRUE(feed->pushFrame(LumenPixelFormat::Mjpeg, QSize(640, 480), jpeg));
        });
        const bool shown = waitFor([&] { return onScreen(window) == expected; }, 5000);
        capture.join();
        EXPECT_TRUE(shown);
    }
}

TEST_F(SharedMemoryView, TheMouseReachesTheViewsHandlersThroughThePicture)
{
    ASSERT_FALSE(requiredProgram("xdotool").isEmpty());
    QList<QPoint> downs, drags, ups;
    int wheels = 0;
    LumenCaptureView *view = controller->captureView();
    view->setEventMouseDown([&](LumenCaptureView *, QMouseEvent *e) { downs << e->position().toPoint(); });
    view->setEventMouseDragged([&](LumenCaptureView *, QMouseEvent *e) { drags << e->position().toPoint(); });
    view->setEventMouseUp([&](LumenCaptureView *, QMouseEvent *e) { ups << e->position().toPoint(); });
    view->setEventScrollWheel([&](LumenCaptureView *, QWheelEvent *) { ++wheels; });
    feed->pushImage(lumentest::quadrants(320, 240));
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(onScreen(window)); }, 5000));

    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    const auto xdotool = [](const QStringList &args) {
        return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
    };
    const QString x = QString::number(origin.x() + 100), y = QString::number(origin.y() + 80);
    ASSERT_TRUE(xdotool({"mousemove", x, y}));
    ASSERT_TRUE(xdotool({"mousedown", "1"}));
    ASSERT_TRUE(xdotool({"mousemove", QString::number(origin.x() + 150), y}));
    ASSERT_TRUE(xdotool({"mouseup", "1"}));
    ASSERT_TRUE(xdotool({"click", "4"}));

    ASSERT_TRUE(waitFor([&] { return ups.size() == 1 && wheels >= 1; }, 5000));
    ASSERT_EQ(downs.size(), 1);
    EXPECT_LE((downs[0] - QPoint(100, 80)).manhattanLength(), 2);
    ASSERT_FALSE(drags.isEmpty());
    EXPECT_LE((drags.last() - QPoint(150, 80)).manhattanLength(), 2);
    EXPECT_LE((ups[0] - QPoint(150, 80)).manhattanLength(), 2);
}

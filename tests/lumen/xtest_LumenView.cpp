// The capture view on a real X server: program-supplied frames must reach
// the screen, through OpenGL where the server offers it.
#include "TestWait.h"
#include "LumenTestFrames.h"

#include <lumen/LumenViewController.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using lumentest::near;

namespace {

QImage screenShot(QWidget *window)
{
    QCoreApplication::processEvents();
    return window->screen()
        ->grabWindow(window->winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// True when at least one of the four corners shows the expected colours.
bool showsQuadrants(const QImage &shot)
{
    const int w = shot.width(), h = shot.height();
    return near(shot.pixel(10, 10), qRgb(255, 0, 0), 8) &&
           near(shot.pixel(w - 10, 10), qRgb(0, 255, 0), 8) &&
           near(shot.pixel(10, h - 10), qRgb(0, 0, 255), 8) &&
           near(shot.pixel(w - 10, h - 10), qRgb(255, 255, 255), 8);
}

} // namespace

class LumenScreen : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override { qputenv("LUMEN_RENDERER", GetParam()); }
    void TearDown() override { qunsetenv("LUMEN_RENDERER"); }
};

// "gl" insists on the shader path even on a software rasterizer; "auto"
// is what users get.
INSTANTIATE_TEST_SUITE_P(Renderers, LumenScreen, ::testing::Values("gl", "cpu", "painter", "auto"));

TEST_P(LumenScreen, PushedFramesAppearOnScreenStretched)
{
    auto feed = std::make_shared<LumenFrameFeed>();
    LumenViewController controller(feed);
    QWidget window;
    window.resize(480, 200);
    controller.captureView()->setParent(&window);
    controller.view()->setGeometry(window.rect());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // No graphics device here: "auto" and "cpu" draw through X11 shared
    // memory, "gl" insists on OpenGL (Mesa's software rasterizer).
    const QByteArray asked(GetParam());
    const QString expected = asked == "gl"        ? QStringLiteral("OpenGL")
                             : asked == "painter" ? QStringLiteral("QPainter")
                                                  : QStringLiteral("X11 shared memory");
    ASSERT_EQ(controller.captureView()->rendererName().toStdString(), expected.toStdString());
    EXPECT_EQ(controller.captureView()->usesOpenGL(), asked == "gl");

    // YUYV: the shader path when OpenGL is in use.
    const QImage source = lumentest::quadrants(64, 32);
    const QByteArray yuyv = lumentest::toYuyv(source);
    ASSERT_TRUE(feed->pushFrame(LumenPixelFormat::Yuyv, source.size(), yuyv));
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(screenShot(&window)); }, 5000));

    // A plain picture next: the previous one must be replaced.
    QImage grey(32, 32, QImage::Format_RGB32);
    grey.fill(qRgb(90, 90, 90));
    feed->pushImage(grey);
    ASSERT_TRUE(waitFor([&] { return near(screenShot(&window).pixel(240, 100), qRgb(90, 90, 90), 4); }, 5000));

    // MJPEG, decoded on the pushing thread.
    ASSERT_TRUE(feed->pushFrame(LumenPixelFormat::Mjpeg, source.size(),
                                lumentest::toJpeg(lumentest::quadrants(64, 32))));
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(screenShot(&window)); }, 5000));

    // A grey JPEG: one plane, no colour.
    QImage greyPage(48, 32, QImage::Format_Grayscale8);
    greyPage.fill(150);
    ASSERT_TRUE(feed->pushFrame(LumenPixelFormat::Mjpeg, greyPage.size(), lumentest::toJpeg(greyPage)));
    ASSERT_TRUE(waitFor(
        [&] { return near(screenShot(&window).pixel(240, 100), qRgb(150, 150, 150), 4); }, 5000));

    // Lent to another window (as full-screen windows do): still drawn.
    QWidget other;
    other.resize(300, 300);
    controller.captureView()->setParent(&other);
    controller.view()->setGeometry(other.rect());
    controller.view()->show();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    feed->pushFrame(LumenPixelFormat::Yuyv, source.size(), yuyv);
    ASSERT_TRUE(waitFor([&] { return showsQuadrants(screenShot(&other)); }, 5000));
}

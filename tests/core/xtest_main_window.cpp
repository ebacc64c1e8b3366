// On a real X server: the ready main window shows the virtual device's
// moving picture; the waiting screen quits from the keyboard.
#include "TestEnvironment.h"
#include "TestWait.h"
#include "AppTestSupport.h"

#include "core/MainWindowController.h"
#include "sim/SimulatedDevice.h"
#include "kit/SplashController.h"

#include <bramble/BrDispatch.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace {
// Distinct colours in a coarse grid over the image: a blank area has one or two.
int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}
} // namespace

TEST(MainWindowOnX11, ReadyWindowShowsTheMovingPicture)
{
    ASSERT_TRUE(onX11()) << "the test runner starts these tests on Xvfb";
    ASSERT_TRUE(SimulatedDevice::isAvailable());
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    CommandLineOptions options;
    options.simulate = true;
    AppDelegate app(options);
    app.setTerminateHandler([] {});
    bool watchdog = false;
    QObject guard;
    brPostMainAfter(30000, [&] {
        watchdog = true;
        AppDelegate::closeSplash();
    }, &guard);
    ASSERT_TRUE(app.applicationDidFinishLaunching());
    ASSERT_FALSE(watchdog) << "start-up did not complete";
    ASSERT_TRUE(app.simulatedDevice() && !app.simulatedDevice()->portPath().isEmpty());
    ASSERT_NE(app.captureView(), nullptr);
    waitMs(1500);

    QWidget *container = app.captureViewContainer();
    const QRect area(container->mapToGlobal(QPoint(0, 0)), container->size());
    QScreen *screen = QGuiApplication::primaryScreen();
    const QImage first = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    waitMs(700);
    const QImage second = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    // A screenshot to look at, only on failure: saving loads Qt's image
    // plugins (and libjpeg), which the leak checker is better without.
    const auto screenshot = [screen] {
        QTemporaryFile file(QDir::temp().filePath("vizo-main-window-XXXXXX.png"));
        file.setAutoRemove(false);
        if (!file.open() || !screen->grabWindow(0).save(&file, "PNG"))
            return std::string("(none)");
        return file.fileName().toStdString();
    };

    ASSERT_FALSE(first.isNull());
    EXPECT_GT(distinctColours(first), 20) << "the picture area looks blank; screenshot: " << screenshot();
    EXPECT_NE(first, second) << "the picture does not move; screenshot: " << screenshot();
}

// The waiting screen's Quit button answers every key a keyboard user tries
// on a focused button, on a bare X server (no window manager).
TEST(SplashOnX11, QuitAnswersReturnEnterAndSpace)
{
    ASSERT_TRUE(onX11()) << "the test runner starts these tests on Xvfb";
    ASSERT_FALSE(requiredProgram("xdotool").isEmpty());
    AppDelegate app;
    app.setupModel();
    for (const char *key : {"Return", "KP_Enter", "space"}) {
        SCOPED_TRACE(key);
        SplashController splash{app};
        splash.setWaiting(true, QStringLiteral("/dev/ttyACM0"));
        bool quit = false;
        splash.eventQuit = [&] {
            quit = true;
            splash.closeWindow();
        };
        bool pressed = false;
        QMetaObject::invokeMethod(
            &splash,
            [&] {
                if (waitFor([&] { return splash.isActiveWindow(); }))
                    pressed = QProcess::execute(QStringLiteral("xdotool"), {"key", key}) == 0;
                if (!waitFor([&] { return quit; }, 3000))
                    splash.closeWindow();
            },
            Qt::QueuedConnection);
        splash.runModal();
        EXPECT_TRUE(pressed) << "the waiting screen did not become active";
        EXPECT_TRUE(quit);
    }
}

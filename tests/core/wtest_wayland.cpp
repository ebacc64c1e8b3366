// The viewer as a Wayland client of a headless compositor (weston, started
// by tests/support/under-weston): start-up reaches the main window with the
// virtual camera's picture and armed hot keys, a hot key reaches the port as
// its command, the menu opens and its row is spoken, a page opens and
// closes, F1 lists the keys, a second copy is noted in the status line, and
// Ctrl+Q ends with HostClosing.
//
// weston's headless back end has no seat, hence no keyboard and no window
// activation: the compositor cannot send keys. They are given to the main
// window as Qt key events, which is where the compositor's would arrive.
#include "AppTestSupport.h"

#include "core/HelpOverlay.h"
#include "sim/SimulatedDevice.h"
#include "core/StatusStrip.h"
#include "core/ViewerControls.h"
#include "input/VizoInputArming.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrHotKey.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QSet>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

void sendKey(QWidget *window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWindow *target = window->windowHandle();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(target, &release);
}

bool sentStartingWith(const QList<QByteArray> &sent, std::initializer_list<int> prefix)
{
    const QByteArray head = bytesOf(prefix);
    for (const QByteArray &payload : sent) {
        if (payload.startsWith(head))
            return true;
    }
    return false;
}

int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

bool armed(AppDelegate &app, const char *name)
{
    const auto key = app.dicShortcutHandlers().value(QString::fromLatin1(name));
    return key && key->enabled();
}

} // namespace

TEST(Wayland, StartsTakesKeysAndQuits)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"))
        << "the test runner starts this test under weston";
    ASSERT_FALSE(BrHotKey::grabsSystemWide());
    ASSERT_TRUE(SimulatedDevice::isAvailable());
    const QString viewer = qEnvironmentVariable("VIZO_VIEWER");
    ASSERT_FALSE(viewer.isEmpty());

    CommandLineOptions options;
    options.simulate = true;
    AppDelegate app(options);
    app.setInputArming(std::make_unique<VizoInputArming>());
    QList<QByteArray> sent;
    app.setPacketObserver([&sent](const QByteArray &payload) { sent << payload; });
    int terminations = 0;
    app.setTerminateHandler([&terminations] { ++terminations; });

    bool watchdog = false;
    QElapsedTimer startUp;
    startUp.start();
    {
        QObject guard;
        brPostMainAfter(30000, [&watchdog] {
            watchdog = true;
            AppDelegate::closeSplash();
        }, &guard);
        ASSERT_TRUE(app.applicationDidFinishLaunching());
    }
    ASSERT_FALSE(watchdog) << "start-up did not complete";
    std::printf("start-up to the main window: %lld ms\n", static_cast<long long>(startUp.elapsed()));
    EXPECT_EQ(AppDelegate::splash(), nullptr);
    EXPECT_EQ(AppDelegate::instance()->settings()->options()->info_sw(), "1.0.0-sim");
    EXPECT_TRUE(armed(app, "OpenMenu")) << "the main window's hot keys are not armed";
    EXPECT_TRUE(armed(app, "CameraMode.ZoomIn"));

    // The picture moves in the main window.
    ASSERT_NE(app.captureView(), nullptr);
    QWidget *window = app.window();
    ASSERT_TRUE(window && window->isVisible());
    waitMs(1200);
    const QImage first = app.captureView()->grab().toImage();
    waitMs(700);
    const QImage second = app.captureView()->grab().toImage();
    EXPECT_GT(distinctColours(first), 20) << "the picture area looks blank";
    EXPECT_NE(first, second) << "the picture does not move";

    // A hot key: Ctrl+Up zooms in.
    sent.clear();
    sendKey(window, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_TRUE(waitFor([&] { return sentStartingWith(sent, {0x20, 0x00}); }, 3000))
        << "Ctrl+Up sent no zoom command";

    // The menu key opens the menu; the device reads its row.
    sent.clear();
    sendKey(window, Qt::Key_F10);
    ASSERT_TRUE(waitFor([&] { return app.menuOpened(); }, 3000)) << "F10 did not open the menu";
    EXPECT_TRUE(sentStartingWith(sent, {0x24, 0x00}));
    EXPECT_TRUE(waitFor([&] { return sentStartingWith(sent, {0x25, 0x06}); }, 3000))
        << "no menu row was spoken";
    sent.clear();
    sendKey(window, Qt::Key_Down);
    EXPECT_TRUE(waitFor([&] { return sentStartingWith(sent, {0x25, 0x06}); }, 3000))
        << "the next row was not spoken";
    sendKey(window, Qt::Key_F10);
    EXPECT_TRUE(waitFor([&] { return !app.menuOpened(); }, 3000)) << "F10 did not close the menu";

    // A page from a fresh menu (the colour page: Return, Down, Return), a
    // window of its own above the main window. It runs a loop of its own
    // until it closes: its keys come from a timer meanwhile.
    sendKey(window, Qt::Key_F10);
    ASSERT_TRUE(waitFor([&] { return app.menuOpened(); }, 3000));
    waitMs(400);
    sendKey(window, Qt::Key_Return);
    waitMs(400);
    sendKey(window, Qt::Key_Down);
    waitMs(400);
    QString pageSeen;
    bool pageStuck = false;
    int ticks = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto *page = qobject_cast<ModalWindowController *>(app.stackUI().top());
        if (!page || !page->isRunningModal() || !page->isVisible())
            return;
        pageSeen = page->objectName();
        if (++ticks > 25) {
            pageStuck = true;
            page->closeWindow();
            return;
        }
        if (ticks == 3)
            sendKey(page, Qt::Key_Escape);
    });
    driver.start(200);
    sendKey(window, Qt::Key_Return);
    waitFor([&] { return !pageSeen.isEmpty() && !qobject_cast<ModalWindowController *>(app.stackUI().top()); },
            8000);
    driver.stop();
    EXPECT_EQ(pageSeen, QStringLiteral("ColorSettingController")) << "Return on the row opened no page";
    EXPECT_FALSE(pageStuck) << "Esc did not close the page";
    sendKey(window, Qt::Key_F10);
    EXPECT_TRUE(waitFor([&] { return !app.menuOpened(); }, 3000));

    // F1 shows the keys armed now; Esc closes the list.
    sendKey(window, Qt::Key_F1);
    EXPECT_TRUE(app.viewerControls()->helpOverlay()->isVisible());
    sendKey(window, Qt::Key_Escape);
    EXPECT_FALSE(app.viewerControls()->helpOverlay()->isVisible());

    // A second copy: it ends at once; this one cannot come to the front by
    // itself here, so its status line says what happened.
    QProcess secondCopy;
    // It ends from inside its start-up: leak reports there are noise.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    secondCopy.setProcessEnvironment(env);
    secondCopy.start(viewer, {QStringLiteral("--simulate")});
    ASSERT_TRUE(waitFor([&] { return secondCopy.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(secondCopy.exitCode(), 0) << secondCopy.readAllStandardError().toStdString();
    StatusStrip *strip = app.viewerControls()->statusStrip();
    EXPECT_TRUE(waitFor([&] { return strip->text().contains(QStringLiteral("started again")); }, 5000))
        << strip->text().toStdString();

    // Ctrl+Q: the camera is told first, as when the program quits.
    sendKey(window, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([&] { return terminations > 0; }, 3000)) << "Ctrl+Q did not quit";
    app.applicationWillTerminate();
    EXPECT_EQ(sent.last(), bytesOf({0x40, 0x00}));
    EXPECT_TRUE(waitFor([&] { return app.simulatedDevice()->hostSaidClosing(); }, 5000));
}

// The whole viewer against the virtual device over a pseudo-terminal: from
// launch to ready, shutdown, the device going away; and the program itself
// (command line, one copy at a time).
#include "TestWait.h"
#include "AppTestSupport.h"

#include "core/MainWindowController.h"
#include "sim/SimulatedDevice.h"
#include "core/SingleInstance.h"
#include "kit/SplashController.h"
#include "core/StatusStrip.h"
#include "core/ViewerControls.h"

#include <bramble/BrDispatch.h>
#include <bramble/BrNotificationCenter.h>

#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>

namespace {

QString viewerPath()
{
    // The build tells where it put the program (and builds it first).
    return qEnvironmentVariable("VIZO_VIEWER");
}

struct EndToEnd : ::testing::Test
{
    QTemporaryDir runtimeDir;
    std::unique_ptr<AppDelegate> app;
    QList<QByteArray> sent;
    QStringList announced;
    QObject observer;
    bool ready = false;
    int terminations = 0;

    void SetUp() override
    {
        ASSERT_TRUE(SimulatedDevice::isAvailable());
        ASSERT_TRUE(runtimeDir.isValid());
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
        CommandLineOptions options;
        options.simulate = true;
        options.exitOnUnplug = true;
        start(options);
    }
    void start(const CommandLineOptions &options)
    {
        app = std::make_unique<AppDelegate>(options);
        app->setPacketObserver([this](const QByteArray &payload) { sent << payload; });
        app->setTerminateHandler([this] { ++terminations; });
        QObject::connect(app.get(), &AppDelegate::ready, [this] { ready = true; });
        BrNotificationCenter::defaultCenter().observe("ImageFileListDownloaded", &observer, [this] { announced << "image"; });
        BrNotificationCenter::defaultCenter().observe("OCRFileListDownloaded", &observer, [this] { announced << "ocr"; });
    }
    void TearDown() override
    {
        app.reset();
        waitMs(10);
    }

    // Runs launch; it returns when the splash has closed. A watchdog closes
    // the splash should start-up never complete, so the test fails instead
    // of hanging.
    bool launch()
    {
        bool watchdogFired = false;
        QObject guard;
        brPostMainAfter(30000, [&watchdogFired] {
            watchdogFired = true;
            AppDelegate::closeSplash();
        }, &guard);
        const bool launched = app->applicationDidFinishLaunching();
        return launched && !watchdogFired;
    }
};

} // namespace

TEST_F(EndToEnd, LaunchToReadyThenShutdown)
{
    ASSERT_TRUE(launch());
    ASSERT_TRUE(app->simulatedDevice() && !app->simulatedDevice()->portPath().isEmpty());
    EXPECT_TRUE(ready);
    EXPECT_EQ(AppDelegate::splash(), nullptr);
    EXPECT_EQ(AppDelegate::instance()->settings()->vizoVersion(), 0);
    // The device's option file replaced the defaults ("0.0").
    EXPECT_EQ(AppDelegate::instance()->settings()->options()->info_sw(), "1.0.0-sim");
    EXPECT_TRUE(app->mainWindowController()->isResizable());
    EXPECT_NE(app->captureView(), nullptr);

    ASSERT_TRUE(waitFor([&] { return announced.size() == 2; }, 20000));
    EXPECT_EQ(announced, (QStringList{"image", "ocr"}));
    EXPECT_EQ(AppDelegate::instance()->settings()->imageFileItemArray().size(), 12);
    EXPECT_EQ(AppDelegate::instance()->settings()->ocrFileItemArray().size(), 5);
    // No link speed: the virtual device is a pseudo-terminal, not USB.
    EXPECT_EQ(sent, (QList<QByteArray>{bytesOf({0x30, 0x04}), bytesOf({0x30, 0x01, 1}), bytesOf({0x30, 0x01, 2})}));

    app->applicationWillTerminate();
    EXPECT_EQ(sent.last(), bytesOf({0x40, 0x00}));
    EXPECT_TRUE(waitFor([&] { return app->simulatedDevice()->hostSaidClosing(); }, 5000));
    EXPECT_EQ(terminations, 0);
}

TEST_F(EndToEnd, DeviceGoneShowsTheMessageAndTerminates)
{
    ASSERT_TRUE(launch());
    ASSERT_TRUE(app->simulatedDevice() && !app->simulatedDevice()->portPath().isEmpty());
    QString shown;
    QMetaObject::invokeMethod(app.get(), [this] { app->simulatedDevice()->stop(); }, Qt::QueuedConnection);
    // The box appears from the link's failure report; answer it.
    std::function<void()> answer = [&] {
        auto *box = qobject_cast<ModalWindowController *>(app->stackUI().top());
        if (!box || !box->isRunningModal()) {
            QMetaObject::invokeMethod(app.get(), answer, Qt::QueuedConnection);
            return;
        }
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("labelMessage")))
            shown = label->text();
        box->onReturnKeyDown();
    };
    QMetaObject::invokeMethod(app.get(), answer, Qt::QueuedConnection);
    ASSERT_TRUE(waitFor([&] { return terminations > 0; }, 20000));
    EXPECT_EQ(shown, "The USB connection has been disconnected.\nApplication will be terminated.");
    EXPECT_EQ(terminations, 1);
}

TEST_F(EndToEnd, DeviceSaysGoodbyeThenClosesItsPortOneBox)
{
    ASSERT_TRUE(launch());
    int boxes = 0;
    QString shown;
    std::function<void()> answer = [&] {
        auto *box = qobject_cast<ModalWindowController *>(app->stackUI().top());
        if (!box || !box->isRunningModal()) {
            QMetaObject::invokeMethod(app.get(), answer, Qt::QueuedConnection);
            return;
        }
        ++boxes;
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("labelMessage")))
            shown = label->text();
        // The port closes while the box is up.
        app->simulatedDevice()->stop();
        waitMs(1500);
        box->onReturnKeyDown();
    };
    QMetaObject::invokeMethod(app.get(), answer, Qt::QueuedConnection);
    app->eventDispatcher()->onPacket(bytesOf({0x26, 0x1B}), 1, 1);
    ASSERT_TRUE(waitFor([&] { return terminations > 0; }, 20000));
    waitMs(300);
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(shown.startsWith("The USB connection of Vizo Viewer has been disconnected"));
    EXPECT_EQ(app->stackUI().count(), 0);
}

namespace {

int countEntries(const char *folder)
{
    return int(QDir(QString::fromLatin1(folder)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

// The camera on the awaited path: the virtual device's terminal linked
// there, as a plugged-in camera's port appears.
struct PluggedCamera
{
    std::unique_ptr<SimulatedDevice> device = std::make_unique<SimulatedDevice>(0);
    QString link;

    explicit PluggedCamera(const QString &path) : link(path)
    {
        QString error;
        if (device->start(&error))
            QFile::link(device->portPath(), link);
    }
    ~PluggedCamera() { unplug(); }
    void unplug()
    {
        QFile::remove(link);
        if (device)
            device->stop();
        device.reset();
    }
};

} // namespace

// Without the camera the splash waits for it; after each unplug the viewer
// shows its box, waits again, and sets everything up afresh when the camera
// is back, leaving no thread or descriptor of the old connection behind.
TEST_F(EndToEnd, WaitsForTheCameraAndComesBackAfterEachUnplug)
{
    app.reset();
    waitMs(10);
    const QString port = runtimeDir.filePath("camera");
    CommandLineOptions options;
    options.port = port;
    start(options);

    std::unique_ptr<PluggedCamera> camera;
    QString waitingNote;
    QStringList waitingStatus;
    // Plugs the camera in once the splash is waiting for it.
    std::function<void()> plugWhenWaiting = [&] {
        SplashController *splash = AppDelegate::splash();
        if (!splash || !splash->isWaiting() || !splash->isRunningModal()) {
            brPostMainAfter(50, plugWhenWaiting, app.get());
            return;
        }
        waitingNote = splash->noteText();
        waitingStatus << app->viewerControls()->statusStrip()->text();
        camera.reset(); // the old one's link goes before the new one's is made
        camera = std::make_unique<PluggedCamera>(port);
    };
    brPostMainAfter(50, plugWhenWaiting, app.get());
    // Answers every box (the unplug's, and the missing video device's two
    // seconds after each start) and plugs the camera in again after the
    // unplug's.
    QStringList shown;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<ModalWindowController *>(app->stackUI().top());
        if (!box || !box->isRunningModal() || box == AppDelegate::splash())
            return;
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("labelMessage")))
            shown << label->text();
        box->onReturnKeyDown();
        if (shown.last().startsWith("The USB connection"))
            brPostMainAfter(50, plugWhenWaiting, app.get());
    });
    answerer.start(30);
    ASSERT_TRUE(launch());
    ASSERT_TRUE(ready);
    EXPECT_EQ(waitingNote, "Waiting for the camera: plug it in and switch it on");
    // No view, zoom or colours of a camera that is not there.
    EXPECT_EQ(waitingStatus, QStringList{"Waiting for the camera"});
    EXPECT_TRUE(waitFor([&] { return app->viewerControls()->statusStrip()->text().startsWith("Connected  ·  Near view"); }))
        << app->viewerControls()->statusStrip()->text().toStdString();
    EXPECT_EQ(app->connectionCount(), 1);
    const int contrast = AppDelegate::instance()->settings()->options()->contrastForNear();
    waitMs(300);
    const int threads = countEntries("/proc/self/task");
    const int descriptors = countEntries("/proc/self/fd");

    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        ready = false;
        waitingNote.clear();
        waitingStatus.clear();
        VizoSettings *before = AppDelegate::instance()->settings();
        shown.clear();
        QMetaObject::invokeMethod(app.get(), [&] { camera->unplug(); }, Qt::QueuedConnection);
        ASSERT_TRUE(waitFor([&] { return ready; }, 30000));
        EXPECT_TRUE(shown.contains("The USB connection has been disconnected.\nApplication will be terminated."));
        EXPECT_EQ(waitingNote, "Waiting for the camera: plug it in and switch it on");
        EXPECT_EQ(waitingStatus, QStringList{"Waiting for the camera"});
        EXPECT_EQ(terminations, 0);
        EXPECT_EQ(app->connectionCount(), round + 1);
        // A new model, filled from the device's reports and option file again.
        EXPECT_NE(AppDelegate::instance()->settings(), before);
        EXPECT_EQ(AppDelegate::instance()->settings()->vizoVersion(), 0);
        EXPECT_EQ(AppDelegate::instance()->settings()->options()->contrastForNear(), contrast);
        EXPECT_NE(app->captureView(), nullptr);
    }
    waitMs(300);
    EXPECT_EQ(countEntries("/proc/self/task"), threads);
    EXPECT_EQ(countEntries("/proc/self/fd"), descriptors);

    app->applicationWillTerminate();
    EXPECT_TRUE(waitFor([&] { return camera->device && camera->device->hostSaidClosing(); }, 5000));
}

TEST(Program, BadOptionOrNoDisplayExitsTwo)
{
    QProcess viewer;
    viewer.start(viewerPath(), {"--no-such-option"});
    ASSERT_TRUE(viewer.waitForFinished(20000));
    EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(viewer.exitCode(), 2);
    EXPECT_TRUE(viewer.readAllStandardError().contains("Usage: vizo-viewer"));

    viewer.start(viewerPath(), {"--help"});
    ASSERT_TRUE(viewer.waitForFinished(20000));
    EXPECT_EQ(viewer.exitCode(), 0);
    EXPECT_TRUE(viewer.readAllStandardOutput().contains("--simulate"));

    // No display at all: one line and status 2, not Qt's abort.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    viewer.setProcessEnvironment(env);
    viewer.start(viewerPath(), {"--simulate"});
    ASSERT_TRUE(viewer.waitForFinished(20000));
    EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(viewer.exitCode(), 2);
    EXPECT_EQ(viewer.readAllStandardError(),
              "vizo-viewer: no display: run it in a desktop session, or under xvfb-run\n");

    // X11 asked for in a Wayland session without XWayland: the same.
    env.insert("WAYLAND_DISPLAY", "wayland-vizo-none");
    viewer.setProcessEnvironment(env);
    viewer.start(viewerPath(), {"--platform", "xcb", "--simulate"});
    ASSERT_TRUE(viewer.waitForFinished(20000));
    EXPECT_EQ(viewer.exitCode(), 2);
    EXPECT_TRUE(viewer.readAllStandardError().startsWith("vizo-viewer: no display"));
}

TEST(Program, SecondCopyRaisesTheFirstAndEnds)
{
    ASSERT_TRUE(SimulatedDevice::isAvailable());
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(viewerPath(), {"--simulate"});
    ASSERT_TRUE(first.waitForStarted(10000));
    // The first copy holds the lock once it has launched.
    ASSERT_TRUE(waitFor([&] { return QFile::exists(runtime.filePath("vizo-viewer.lock")); }, 20000));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(viewerPath(), {"--simulate"});
    ASSERT_TRUE(second.waitForFinished(20000));
    // It raised the first copy's window and ended without an error.
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains("its window was raised"));
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    if (!first.waitForFinished(10000)) {
        first.kill();
        first.waitForFinished(5000);
    }
}

// A copy started while the first holds the lock but does not listen yet
// waits for it instead of reporting it as silent.
TEST(Program, RaiseWaitsForACopyStillStarting)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    std::atomic<bool> raised = false;
    std::unique_ptr<QThread> first(QThread::create([&] {
        QThread::msleep(300);
        SingleInstance instance;
        if (!instance.claim())
            return;
        QEventLoop loop;
        instance.eventRaise = [&] {
            raised = true;
            loop.quit();
        };
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
    }));
    first->start();
    EXPECT_TRUE(SingleInstance().raiseRunningCopy(5000));
    EXPECT_TRUE(raised);
    first->wait();
    qunsetenv("XDG_RUNTIME_DIR");
}

// A normal start on a pseudo-terminal says nothing on standard output and
// keeps the expected link diagnostics back; --verbose shows them.
TEST(Program, LinkDiagnosticsOnlyWhenAskedFor)
{
    const auto run = [](const QStringList &arguments, const QString &rules, const QByteArray &until) {
        QTemporaryDir runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        if (!rules.isEmpty())
            env.insert("QT_LOGGING_RULES", rules);
        QProcess viewer;
        viewer.setProcessEnvironment(env);
        viewer.start(viewerPath(), arguments);
        QByteArray err;
        const bool reached = waitFor([&] {
            err += viewer.readAllStandardError();
            return err.contains(until);
        }, 30000);
        viewer.terminate();
        viewer.waitForFinished(10000);
        err += viewer.readAllStandardError();
        EXPECT_TRUE(reached) << err.toStdString();
        return std::pair{viewer.readAllStandardOutput(), err};
    };
    // Hot keys armed for the edition: the option file has arrived, so the
    // link has long been set up.
    const auto [out, err] = run({"--simulate"}, "vizo.input.debug=true", "OpenMenu");
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_FALSE(err.contains("vizo.link")) << err.toStdString();

    const auto [verboseOut, verboseErr] = run({"--simulate", "--verbose"}, {}, "Error setting read latency");
    EXPECT_TRUE(verboseOut.isEmpty()) << verboseOut.toStdString();
    EXPECT_TRUE(verboseErr.contains("vizo.link: New output baud rate is 115200"));
    EXPECT_TRUE(verboseErr.contains("HotKeyFilePath: "));
}

// The real viewer binary against the camera as the kernel shows it (a
// umockdev testbed): found by udev without --port, its link speed read from
// the USB device, its video streamed from the V4L2 node, unplugged and
// plugged again by uevents, and the serial link at its real speed.
#include "CameraTestbed.h"
#include "TestWait.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

int countEntries(const QString &path)
{
    return int(QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

// The viewer as a user starts it, inside the testbed (it inherits the
// preload and UMOCKDEV_DIR), on the X server of the test run.
struct Viewer
{
    QTemporaryDir runtime;
    QProcess process;
    QByteArray err;

    bool start(const QStringList &arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("VIZO_VIEWER"), arguments);
        return process.waitForStarted(10000);
    }
    ~Viewer()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(15000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    const QByteArray &readErr()
    {
        err += process.readAllStandardError();
        return err;
    }
    bool running() const { return process.state() == QProcess::Running; }
    QString proc(const char *what) const
    {
        return QStringLiteral("/proc/%1/%2").arg(process.processId()).arg(QLatin1String(what));
    }
};

// Runs xdotool without the test's preloads; true when it succeeded. What it
// printed goes to `output`.
bool xdotool(const QStringList &arguments, QString *output = nullptr)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_PRELOAD"));
    QProcess xdotool;
    xdotool.setProcessEnvironment(env);
    xdotool.start(QStringLiteral("xdotool"), arguments);
    const bool ok =
        xdotool.waitForFinished(5000) && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    return ok;
}

// Presses Return on the X server, as the user answers the viewer's box;
// not into the main window or the waiting screen, where Return would press
// Quit.
void pressReturn()
{
    QString focused;
    if (!xdotool({QStringLiteral("getwindowfocus"), QStringLiteral("getwindowname")}, &focused)
        || focused == QLatin1String("Vizo Viewer"))
        return;
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
}

// Presses `key` in the viewer's main window, focused first: no window
// manager here gives it the focus.
bool keyToViewer(const char *key)
{
    const bool focused = waitFor(
        [] {
            return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                            QStringLiteral("^Vizo Viewer$"), QStringLiteral("windowfocus")});
        },
        10000);
    waitMs(200);
    return focused && xdotool({QStringLiteral("key"), QString::fromLatin1(key)});
}

// Whether a box whose message starts with `firstLine` (its window title) is
// on screen.
bool boxShown(const char *firstLine)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                    QString::fromLatin1(firstLine)});
}

// Waits for `done`, answering whatever box the viewer shows meanwhile.
bool waitAnswering(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (waitFor(done, 700))
            return true;
        pressReturn();
    }
    return done();
}

// The viewer asked for the option file and both lists: its start-up chain
// has run.
bool startUpDone(CameraTestbed &bed)
{
    return bed.traced(QStringLiteral("host:   RequestOptionFile"))
           && bed.traced(QStringLiteral("host:   RequestFileList 1"))
           && bed.traced(QStringLiteral("host:   RequestFileList 2"));
}

// Pixels of the screen that show the node's green band (sampled).
int greenOnScreen()
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    int green = 0;
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4) {
            const QRgb p = shot.pixel(x, y);
            green += qGreen(p) > 140 && qRed(p) < 90 && qBlue(p) < 90;
        }
    return green;
}

// A good part of the picture area, in samples of greenOnScreen().
constexpr int kBandSeen = 2000;

} // namespace

// The viewer finds the camera by udev alone and announces the link speed
// the USB device reports: high speed (480 Mb/s) only.
TEST(CameraTestbed, FoundByUdevWithItsLinkSpeed)
{
    const struct
    {
        const char *product;
        const char *speed;
        const char *announced; // nullptr: nothing
    } cases[] = {
        {"f8f8", "480", "host:   HostConnectedUsb2"},
        {"f9f9", "12", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.speed);
        CameraTestbed bed;
        CameraTestbed::Camera camera;
        camera.product = QString::fromLatin1(c.product);
        camera.speed = QString::fromLatin1(c.speed);
        QString error;
        ASSERT_TRUE(bed.plug(camera, &error)) << error.toStdString();
        Viewer viewer;
        ASSERT_TRUE(viewer.start());
        waitAnswering([&] { return startUpDone(bed) || !viewer.running(); }, 60000);
        EXPECT_TRUE(startUpDone(bed))
            << bed.trace().filter(QStringLiteral("host:")).join(QLatin1Char('\n')).toStdString()
            << viewer.readErr().toStdString();
        if (c.announced) {
            EXPECT_TRUE(bed.traced(QString::fromLatin1(c.announced)));
        } else {
            EXPECT_FALSE(bed.traced(QStringLiteral("host:   HostConnectedUsb")));
        }
        EXPECT_TRUE(bed.device()->device().state().hostLink == (c.announced ? 2 : 0));
    }
}

// Unplugged by remove events while streaming, the viewer says so and
// waits; plugged in again by add events, it connects afresh and shows the
// picture again, three times over, with no
// threads or descriptors left behind.
// Unplugged and plugged again by uevents, streaming, the last two times with
// a setting page open: the box, waiting, then connected with video, and no
// thread or descriptor left behind.
TEST(CameraTestbed, UnplugAndPlugAgainByUevents)
{
    CameraTestbed bed;
    QString error;
    ASSERT_TRUE(bed.plug({}, &error)) << error.toStdString();
    Viewer viewer;
    ASSERT_TRUE(viewer.start());
    waitAnswering([&] { return startUpDone(bed) || !viewer.running(); }, 60000);
    ASSERT_TRUE(startUpDone(bed)) << viewer.readErr().toStdString();
    ASSERT_TRUE(waitFor([&] { return bed.video().framesDelivered() >= 5; }, 20000));
    int threads = 0;
    int descriptors = 0;

    for (int round = 0; round <= 3; ++round) {
        SCOPED_TRACE(round);
        viewer.readErr();
        const qsizetype seen = viewer.err.size();
        if (round >= 2) {
            // The camera goes while the menu and the contrast page are
            // open, as when its battery runs out under a user.
            ASSERT_TRUE(keyToViewer("F10"));
            ASSERT_TRUE(waitFor([&] { return bed.traced(QStringLiteral("host:   MenuOpened")); }, 10000));
            xdotool({QStringLiteral("key"), QStringLiteral("Down")});
            waitMs(300);
            xdotool({QStringLiteral("key"), QStringLiteral("Return")});
            waitMs(1000);
        }
        bed.unplug();
        EXPECT_TRUE(waitAnswering([&] { return viewer.readErr().mid(seen).contains("waiting for the camera"); }, 30000))
            << viewer.err.mid(seen).toStdString();
        ASSERT_TRUE(bed.plug({}, &error)) << error.toStdString();
        waitAnswering([&] { return startUpDone(bed) || !viewer.running(); }, 60000);
        ASSERT_TRUE(startUpDone(bed)) << viewer.readErr().mid(seen).toStdString();
        EXPECT_TRUE(viewer.readErr().mid(seen).contains("the camera is there; connecting"));
        // The picture is back too.
        EXPECT_TRUE(waitAnswering([&] { return bed.video().framesDelivered() >= 5; }, 20000));
        EXPECT_EQ(viewer.process.state(), QProcess::Running);
        if (round == 0) {
            // Counted after one whole cycle, so that what the first
            // reconnection creates once is not taken for growth.
            waitMs(1000);
            threads = countEntries(viewer.proc("task"));
            descriptors = countEntries(viewer.proc("fd"));
            ASSERT_GT(threads, 0) << viewer.readErr().mid(seen).toStdString();
        }
    }
    // What ends late (a thread finishing its last read) may take a moment;
    // a leak never settles.
    EXPECT_TRUE(waitFor([&] { return countEntries(viewer.proc("task")) == threads; }, 5000))
        << countEntries(viewer.proc("task")) << " threads, " << threads << " before";
    EXPECT_TRUE(waitFor([&] { return countEntries(viewer.proc("fd")) == descriptors; }, 5000))
        << countEntries(viewer.proc("fd")) << " descriptors, " << descriptors << " before";
}

// The unchanged capture code streams from the node: YUYV and MJPEG at
// 1920x1080, a small picture it scales up, and frames keep coming (every
// buffer goes back to the node). A node without either format leaves the
// no-picture notice and a running viewer.
TEST(CameraTestbed, VideoFromTheCaptureNodeReachesTheScreen)
{
    const struct
    {
        const char *name;
        CaptureNode::Format format;
        bool picture;
        bool late = false; // the node comes a second after the serial port
    } cases[] = {
        {"YUYV", {V4L2_PIX_FMT_YUYV, {V4L2_PIX_FMT_YUYV}, {1920, 1080}}, true},
        {"MJPEG chosen by S_FMT", {V4L2_PIX_FMT_NV12, {V4L2_PIX_FMT_NV12, V4L2_PIX_FMT_MJPEG}, {1920, 1080}}, true},
        {"YUYV scaled up", {V4L2_PIX_FMT_YUYV, {V4L2_PIX_FMT_YUYV}, {640, 480}}, true},
        {"neither", {V4L2_PIX_FMT_H264, {V4L2_PIX_FMT_H264}, {1920, 1080}}, false},
        {"YUYV, the node late", {V4L2_PIX_FMT_YUYV, {V4L2_PIX_FMT_YUYV}, {1920, 1080}}, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CameraTestbed bed;
        CameraTestbed::Camera camera;
        camera.format = c.format;
        camera.video = !c.late;
        QString error;
        ASSERT_TRUE(bed.plug(camera, &error)) << error.toStdString();
        Viewer viewer;
        ASSERT_TRUE(viewer.start());
        waitAnswering([&] { return startUpDone(bed) || !viewer.running(); }, 60000);
        ASSERT_TRUE(startUpDone(bed)) << viewer.readErr().toStdString();
        if (c.late) {
            // The notice stands in for the picture until the node's event
            // (well before the no-picture box, two seconds after start-up).
            waitMs(500);
            EXPECT_LT(greenOnScreen(), kBandSeen / 10);
            ASSERT_TRUE(bed.plugVideo(camera, &error)) << error.toStdString();
        }
        if (c.picture) {
            // Two seconds of frames: far more than the node's four buffers.
            EXPECT_TRUE(waitFor([&] { return bed.video().framesDelivered() >= 20; }, 20000))
                << bed.video().framesDelivered() << " frames\n" << viewer.readErr().toStdString();
            EXPECT_TRUE(waitFor([&] { return greenOnScreen() > kBandSeen; }, 10000))
                << greenOnScreen() << viewer.readErr().toStdString();
        } else {
            EXPECT_TRUE(waitAnswering([&] { return viewer.readErr().contains("offers neither YUYV nor MJPEG"); }, 20000))
                << viewer.readErr().toStdString();
            EXPECT_EQ(bed.video().framesDelivered(), 0);
            EXPECT_LT(greenOnScreen(), kBandSeen / 10);
        }
        EXPECT_TRUE(viewer.running());
    }
}

// At the camera's real speed, a list of a few hundred long names arrives
// while the device has an image open; the viewer stays in image mode while
// it arrives (the zoom key does not move the camera), and the device's
// return to the camera, queued behind the list, gives the keys back to the
// camera. Then the device says it is switching off and goes away: one box,
// then waiting.
TEST(CameraTestbed, SlowLinkListWhileAnImageIsOpenThenTheDeviceLeaves)
{
    CameraTestbed bed;
    CameraTestbed::Camera camera;
    camera.baud = 115200;
    camera.state.fillCard(3, 2);
    QString error;
    ASSERT_TRUE(bed.plug(camera, &error)) << error.toStdString();
    Viewer viewer;
    ASSERT_TRUE(viewer.start());
    waitAnswering([&] { return startUpDone(bed) || !viewer.running(); }, 60000);
    ASSERT_TRUE(startUpDone(bed)) << viewer.readErr().toStdString();
    ASSERT_TRUE(waitFor([&] { return bed.traced(QStringLiteral("device: FileListData 2/2 2")); }, 20000));
    EXPECT_EQ(bed.device()->control(QStringLiteral("mode image")), QStringLiteral("ok mode image"));
    ASSERT_TRUE(waitFor([&] { return bed.traced(QStringLiteral("device: ImageModeChanged 1")); }, 10000));
    waitMs(500);
    EXPECT_TRUE(bed.device()->control(QStringLiteral("files images 300 200")).startsWith(QStringLiteral("ok")));
    EXPECT_EQ(bed.device()->control(QStringLiteral("mode camera")), QStringLiteral("ok mode camera"));
    // 300 names of 200 characters: about 60 kB, five seconds on the wire.
    ASSERT_TRUE(waitFor([&] { return bed.traced(QStringLiteral("device: FileListData 3/")); }, 10000));
    EXPECT_TRUE(keyToViewer("ctrl+Up"));
    ASSERT_TRUE(waitFor([&] { return bed.traced(QStringLiteral("device: ImageModeChanged 0")); }, 20000));
    EXPECT_FALSE(bed.traced(QStringLiteral("host:   CameraZoom")));
    // The list was whole before the mode changed back.
    const QStringList trace = bed.trace();
    qsizetype lastListFrame = -1;
    for (qsizetype i = 0; i < trace.size(); ++i)
        if (QRegularExpression(QStringLiteral("^device: FileListData (\\d+)/\\1 1 ")).match(trace[i]).hasMatch())
            lastListFrame = i;
    ASSERT_GE(lastListFrame, 0);
    EXPECT_GT(trace.indexOf(QStringLiteral("device: ImageModeChanged 0 crc=ok")), lastListFrame);
    waitMs(500);
    EXPECT_TRUE(keyToViewer("ctrl+Up"));
    EXPECT_TRUE(waitFor([&] { return bed.traced(QStringLiteral("host:   CameraZoom")); }, 10000))
        << bed.trace().filter(QStringLiteral("host:")).join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(viewer.readErr().contains("file list")) << viewer.err.toStdString();

    const qsizetype seen = viewer.readErr().size();
    EXPECT_EQ(bed.device()->control(QStringLiteral("disconnecting")), QStringLiteral("ok disconnecting"));
    const char leaving[] = "The USB connection of Vizo Viewer has been disconnected from the Vizo device.";
    ASSERT_TRUE(waitFor([&] { return boxShown(leaving); }, 20000));
    // It switches off: its port hangs up while the box is up, which is the
    // same loss, not a second box.
    bed.unplug();
    waitMs(1500);
    EXPECT_FALSE(boxShown("The USB connection has been disconnected."));
    pressReturn();
    EXPECT_TRUE(waitFor([&] { return viewer.readErr().mid(seen).contains("waiting for the camera"); }, 20000))
        << viewer.err.mid(seen).toStdString();
    EXPECT_FALSE(boxShown(leaving));
    EXPECT_TRUE(viewer.running());
}

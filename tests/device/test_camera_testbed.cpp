// The real viewer binary against the camera as the kernel shows it (a
// umockdev testbed): found by udev without --port, its link speed read from
// the USB device, unplugged and plugged again by uevents.
#include "CameraTestbed.h"
#include "TestWait.h"

#include <QDir>
#include <QProcess>
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

// Presses Return on the X server, as the user answers the viewer's box. The
// helper runs without the test's preloads.
void pressReturn()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_PRELOAD"));
    QProcess xdotool;
    xdotool.setProcessEnvironment(env);
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
    xdotool.waitForFinished(5000);
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
            << bed.trace().join(QLatin1Char('\n')).toStdString() << viewer.readErr().toStdString();
        if (c.announced) {
            EXPECT_TRUE(bed.traced(QString::fromLatin1(c.announced)));
        } else {
            EXPECT_FALSE(bed.traced(QStringLiteral("host:   HostConnectedUsb")));
        }
        EXPECT_TRUE(bed.device()->device().state().hostLink == (c.announced ? 2 : 0));
    }
}

// Unplugged by a remove event, the viewer says so and waits; plugged in
// again by an add event, it connects afresh, three times over, with no
// threads or descriptors left behind.
TEST(CameraTestbed, UnplugAndPlugAgainByUevents)
{
    CameraTestbed bed;
    QString error;
    ASSERT_TRUE(bed.plug({}, &error)) << error.toStdString();
    Viewer viewer;
    ASSERT_TRUE(viewer.start());
    waitAnswering([&] { return startUpDone(bed) || !viewer.running(); }, 60000);
    ASSERT_TRUE(startUpDone(bed)) << viewer.readErr().toStdString();
    // Let the missing picture's box come and go before counting.
    waitAnswering([] { return false; }, 3000);
    const int threads = countEntries(viewer.proc("task"));
    const int descriptors = countEntries(viewer.proc("fd"));
    ASSERT_GT(threads, 0);

    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        viewer.readErr();
        const qsizetype seen = viewer.err.size();
        bed.unplug();
        EXPECT_TRUE(waitAnswering([&] { return viewer.readErr().mid(seen).contains("waiting for the camera"); }, 30000))
            << viewer.err.mid(seen).toStdString();
        ASSERT_TRUE(bed.plug({}, &error)) << error.toStdString();
        waitAnswering([&] { return startUpDone(bed) || !viewer.running(); }, 60000);
        ASSERT_TRUE(startUpDone(bed)) << viewer.readErr().mid(seen).toStdString();
        EXPECT_TRUE(viewer.readErr().mid(seen).contains("the camera is there; connecting"));
        EXPECT_EQ(viewer.process.state(), QProcess::Running);
    }
    waitAnswering([] { return false; }, 3000);
    EXPECT_EQ(countEntries(viewer.proc("task")), threads);
    EXPECT_EQ(countEntries(viewer.proc("fd")), descriptors);
}

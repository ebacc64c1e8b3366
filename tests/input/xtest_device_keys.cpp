// End to end on a real X server: the zoom-in combination of the shipped hot
// key file, pressed with xdotool, reaches the virtual device over the
// serial link as CameraZoom 0 at the press and CameraZoom 2 at the release.
#if __has_include("sim/VizoSimulator.h") && __has_include("link/VizoProtocolChannel.h")
#include "TestEnvironment.h"
#include "TestWait.h"
#include "InputTestModel.h"
#include "XdotoolKeys.h"

#include "input/VizoInput.h"
#include "link/VizoProtocolChannel.h"
#include "settings/VizoSettings.h"
#include "sim/VizoSimulator.h"

#include <bramble/BrHotKey.h>
#include <bramble/BrKeyMap.h>

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

#include <mutex>

namespace {

struct DeviceLog
{
    std::mutex mutex;
    QStringList zoomCommands;

    QStringList zoom()
    {
        std::lock_guard lock(mutex);
        return zoomCommands;
    }
};

} // namespace

TEST(DeviceKeys, TheDeviceZoomsWhileTheShippedKeyIsHeld)
{
    ASSERT_TRUE(onX11()) << "the test runner starts these tests on Xvfb";
    ASSERT_FALSE(requiredProgram("xdotool").isEmpty());

    DeviceLog log;
    VizoSimulator sim;
    sim.eventTrace = [&log](const QString &line) {
        if (line.startsWith(QLatin1String("host:")) && line.contains(QLatin1String("CameraZoom"))) {
            std::lock_guard lock(log.mutex);
            log.zoomCommands << line.mid(5).trimmed().section(QLatin1Char(' '), 0, 1);
        }
    };
    QString error;
    ASSERT_TRUE(sim.openPort(&error)) << error.toStdString();
    sim.start();

    VizoProtocolChannel channel;
    ASSERT_TRUE(channel.open(sim.portPath()));
    channel.eventPacket = [](const QByteArray &, std::uint16_t, std::uint16_t) {};
    channel.startRead();

    QWidget window;
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    VizoSettings settings;
    settings.setVizoVersion(0);
    InputTestRecorder rec;
    VizoInputHooks hooks = rec.hooks();
    hooks.send = [&channel](const QByteArray &payload) { channel.writeVizoPacket(payload); };
    VizoInput input(settings, hooks);
    const QVariantMap file = VizoHotKeyMap::loadHotKeyFile("en");
    input.hotKeys().setupHotKeys(file);
    input.updateHotKeys(VizoInputFlags());
    const QString keys = xdotoolCombination(file.value("CameraMode.ZoomIn").toMap());

    ASSERT_EQ(QProcess::execute("xdotool", {"keydown", keys}), 0);
    waitMs(800);
    ASSERT_EQ(QProcess::execute("xdotool", {"keyup", keys}), 0);
    waitFor([&] { return log.zoom().size() >= 2; });
    EXPECT_EQ(log.zoom(), (QStringList{"CameraZoom 0", "CameraZoom 2"})) << keys.toStdString();

    BrHotKey::disableAllHotKeys();
    channel.stopRead();
    sim.stop();
}
#else
#include <gtest/gtest.h>
TEST(DeviceKeys, NeedsTheVirtualDeviceAndTheLink)
{
    FAIL() << "the virtual device or the link is not built";
}
#endif

// The shipped zoom-in combination pressed on a real X server: the grab
// fires the handlers and the device gets CameraZoom start, then stop at the
// release, also after holding the key past the repeat start.
#include "TestEnvironment.h"
#include "TestWait.h"
#include "InputTestModel.h"
#include "XdotoolKeys.h"

#include "input/VizoInput.h"
#include "settings/VizoSettings.h"

#include <bramble/BrHotKey.h>
#include <bramble/BrKeyMap.h>

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

namespace {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

TEST(HotKeysOnX11, ZoomInStartsAtThePressAndStopsAtTheRelease)
{
    ASSERT_TRUE(onX11()) << "the test runner starts these tests on Xvfb";
    ASSERT_FALSE(requiredProgram("xdotool").isEmpty());

    QWidget window;
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    VizoSettings settings;
    settings.setVizoVersion(0);
    InputTestRecorder rec;
    VizoInputFlags flags;
    VizoInput input(settings, rec.hooks());
    const QVariantMap file = VizoHotKeyMap::loadHotKeyFile("en");
    input.hotKeys().setupHotKeys(file);
    input.setupMouseGestures();
    input.updateHotKeys(flags);
    ASSERT_TRUE(input.hotKeys().hotKey("CameraMode.ZoomIn")->enabled());

    const QString keys = xdotoolCombination(file.value("CameraMode.ZoomIn").toMap());
    ASSERT_FALSE(keys.isEmpty());

    ASSERT_TRUE(xdotool({"key", keys}));
    waitMs(300);
    EXPECT_EQ(rec.sent(), (QStringList{"20 00 00", "20 00 02"})) << keys.toStdString();

    rec.log.clear();
    ASSERT_TRUE(xdotool({"keydown", keys}));
    waitMs(1500); // past the repeat start: repeats are ignored by the zoom key
    ASSERT_TRUE(xdotool({"keyup", keys}));
    waitMs(300);
    EXPECT_EQ(rec.sent(), (QStringList{"20 00 00", "20 00 02"}));

    // Disarmed keys are not grabbed: nothing reaches the handlers.
    rec.log.clear();
    flags.disableHotKeys = true;
    input.updateHotKeys(flags);
    ASSERT_TRUE(xdotool({"key", keys}));
    waitMs(300);
    EXPECT_TRUE(rec.sent().isEmpty());
    BrHotKey::disableAllHotKeys();
}

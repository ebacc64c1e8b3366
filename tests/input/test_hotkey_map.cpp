// The shipped hot key files, the arming of real hot keys, and the handlers
// over the real settings model.
#include "TestWait.h"
#include "InputTestModel.h"

#include "input/VizoHotKeyMap.h"
#include "input/VizoInput.h"
#include "input/VizoInputNames.h"
#include "input/VizoSettingsInputModel.h"
#include "settings/VizoColorMode.h"
#include "settings/VizoColorSlot.h"
#include "settings/VizoOptions.h"
#include "settings/VizoSettings.h"

#include <bramble/BrHotKey.h>
#include <bramble/BrKeyMap.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSet>
#include <QTest>
#include <QWidget>

namespace {

struct Combination
{
    quint16 keyCode;
    bool ctrl, alt, meta, shift;
    bool operator==(const Combination &) const = default;
};

Combination combinationOf(const QVariantMap &record)
{
    return {quint16(record.value("KeyCode").toUInt()), record.value("CommandKey").toBool(),
            record.value("OptionKey").toBool(), record.value("ControlKey").toBool(),
            record.value("ShiftKey").toBool()};
}

QString describe(const Combination &c)
{
    return brDescribeKeyCombination(c.keyCode, c.ctrl, c.alt, c.meta, c.shift);
}

// Keys that other parts grab bare: the modal windows' Return, Esc and
// Backspace, and the open menu's Left, Right and Tab.
const QList<quint16> kReservedBareKeys = {36, 53, 51, 123, 124, 48};

} // namespace

class HotKeyFiles : public ::testing::TestWithParam<const char *>
{
};

TEST_P(HotKeyFiles, EveryActionHasAPressableCombination)
{
    const QVariantMap file = VizoHotKeyMap::loadHotKeyFile(GetParam());
    ASSERT_FALSE(file.isEmpty());
    for (const QString &name : file.keys())
        EXPECT_TRUE(VizoInputNames::hotKeyActions().contains(name))
            << "unknown action " << name.toStdString();
    for (const QString &name : VizoInputNames::hotKeyActions()) {
        ASSERT_TRUE(file.contains(name)) << name.toStdString();
        const Combination c = combinationOf(file.value(name).toMap());
        EXPECT_TRUE(brKeyMappingForKeyCode(c.keyCode).has_value()) << name.toStdString();
        EXPECT_FALSE(c.meta) << name.toStdString() << ": Super belongs to the desktop";
        EXPECT_FALSE(c.ctrl && c.alt) << name.toStdString() << ": Ctrl+Alt belongs to the desktop";
        const bool modified = c.ctrl || c.alt || c.shift || c.meta;
        EXPECT_FALSE(!modified && kReservedBareKeys.contains(c.keyCode))
            << name.toStdString() << " takes a key that windows and menus use";
    }
}

TEST_P(HotKeyFiles, NoTwoArmedActionsShareACombination)
{
    const QVariantMap file = VizoHotKeyMap::loadHotKeyFile(GetParam());
    const VizoCaptureTop tops[] = {VizoCaptureTop::None, VizoCaptureTop::MenuClosed,
                                   VizoCaptureTop::MenuOpen};
    int states = 0;
    for (int edition : {0, 1, 2, 255})
        for (int mode = 0; mode <= 5; ++mode)
            for (int keyMode = 0; keyMode <= 3; ++keyMode)
                for (int flags = 0; flags < 64; ++flags)
                    for (VizoCaptureTop top : tops) {
                        VizoInputState s;
                        s.vizoVersion = edition;
                        s.vizoMode = mode;
                        s.vizoHotKeyMode = keyMode;
                        s.cameraMode = flags & 1;
                        s.ocrFieldMode = (flags >> 1) & 1;
                        s.ocrPlayed = flags & 4;
                        s.autoScrollPlayed = flags & 8;
                        s.menuOpened = flags & 16;
                        s.disableHotKeys = flags & 32;
                        s.captureTop = top;
                        QHash<QString, QString> taken; // combination -> action
                        for (const QString &name : VizoHotKeyRules::arming(s).armed) {
                            const QString keys = describe(combinationOf(file.value(name).toMap()));
                            ASSERT_FALSE(taken.contains(keys))
                                << name.toStdString() << " and " << taken.value(keys).toStdString()
                                << " both on " << keys.toStdString() << " (edition " << edition
                                << ", mode " << mode << ", key mode " << keyMode << ", flags "
                                << flags << ")";
                            taken.insert(keys, name);
                        }
                        ++states;
                    }
    EXPECT_GT(states, 10000);
}

INSTANTIATE_TEST_SUITE_P(Languages, HotKeyFiles, ::testing::Values("en", "fr"));

TEST(HotKeyFileChoice, OnlyExactlyFrenchPicksTheFrenchFile)
{
    EXPECT_EQ(VizoHotKeyMap::hotKeyFileName("fr"), "VizoHotKeys_fr");
    EXPECT_EQ(VizoHotKeyMap::hotKeyFileName("fr-CA"), "VizoHotKeys");
    EXPECT_EQ(VizoHotKeyMap::hotKeyFileName("en-US"), "VizoHotKeys");
    EXPECT_EQ(VizoHotKeyMap::hotKeyFileName(""), "VizoHotKeys");
}

TEST(HotKeyList, OneLinePerActionWithItsCombination)
{
    const QStringList lines = VizoHotKeyMap::listHotKeysText(VizoHotKeyMap::loadHotKeyFile("en"))
                                  .split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), VizoInputNames::hotKeyActions().size());
    EXPECT_TRUE(lines.contains(QRegularExpression("^CameraMode\\.ZoomIn +Ctrl\\+Up$")))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.first().startsWith("OpenMenu "));
    // A missing entry reads as key code 0 without modifiers.
    EXPECT_TRUE(
        VizoHotKeyMap::listHotKeysText({}).contains(QRegularExpression("TTS\\.SpeedDown +A\n")));
}

namespace {

class HotKeyMapTest : public ::testing::Test
{
protected:
    HotKeyMapTest()
    {
        VizoInputHooks h = rec.hooks();
        h.enableMenuHotKeys = [this] { rec.log.append("menu-keys"); };
        h.refreshModalWindows = [this] { rec.log.append("refresh"); };
        context = std::make_unique<VizoInputContext>(model, h);
        map = std::make_unique<VizoHotKeyMap>(*context);
        map->setupHotKeys(VizoHotKeyMap::loadHotKeyFile("en"));
    }
    ~HotKeyMapTest() override { BrHotKey::disableAllHotKeys(); }

    QSet<QString> enabled() const
    {
        QSet<QString> out;
        for (auto it = map->dicShortcutHandlers().begin(); it != map->dicShortcutHandlers().end();
             ++it)
            if (it.value()->enabled())
                out.insert(it.key());
        return out;
    }

    InputTestModel model;
    InputTestRecorder rec;
    std::unique_ptr<VizoInputContext> context;
    std::unique_ptr<VizoHotKeyMap> map;
};

} // namespace

TEST_F(HotKeyMapTest, ArmsExactlyTheComputedSetAndRefreshes)
{
    EXPECT_EQ(map->dicShortcutHandlers().size(), VizoInputNames::hotKeyActions().size());
    EXPECT_TRUE(enabled().isEmpty()) << "nothing is armed at set-up";
    EXPECT_DOUBLE_EQ(BrHotKey::keyRepeatStartInterval(), 0.5);

    VizoInputState s;
    s.vizoVersion = 0;
    const VizoHotKeyArming arming = map->updateHotKeys(s);
    EXPECT_EQ(enabled(), QSet<QString>(arming.armed.begin(), arming.armed.end()));
    EXPECT_TRUE(enabled().contains("CameraMode.ZoomIn"));
    EXPECT_EQ(map->hotKey("CameraMode.ZoomIn")->description(), "Ctrl+Up");

    s.menuOpened = true;
    map->updateHotKeys(s);
    EXPECT_EQ(enabled(),
              (QSet<QString>{"CloseMenu", "CloseMenu2", "TTS.SpeedUp", "TTS.SpeedDown"}));
    EXPECT_EQ(rec.log, QStringList{"menu-keys"});

    rec.log.clear();
    s.menuOpened = false;
    s.vizoHotKeyMode = 1;
    map->updateHotKeys(s);
    EXPECT_EQ(rec.log, QStringList{"refresh"});
    EXPECT_TRUE(enabled().contains("ImageMode.ZoomIn"));
    EXPECT_FALSE(enabled().contains("CameraMode.ZoomIn"));

    s.disableAllFunctions = true;
    map->updateHotKeys(s);
    EXPECT_TRUE(enabled().isEmpty());
}

TEST_F(HotKeyMapTest, AKeyDisarmedWhileHeldSendsItsRelease)
{
    VizoInputState s;
    s.vizoVersion = 0;
    map->updateHotKeys(s);
    map->hotKey("CameraMode.MoveUp")->eventKeyDown()(false);
    map->hotKey("CameraMode.ZoomIn")->eventKeyDown()(false);
    map->hotKey("CameraMode.ZoomIn")->eventKeyUp()();
    map->hotKey("CameraMode.FindPosition")->eventKeyDown()(false);
    s.menuOpened = true; // the moves and zooms are disarmed while held
    map->updateHotKeys(s);
    EXPECT_EQ(rec.sent(),
              (QStringList{"20 03 00", "20 00 00", "20 00 02", "20 09", "20 0a", "20 03 0a"}));
    // A release that still arrives later sends nothing more.
    map->hotKey("CameraMode.MoveUp")->eventKeyUp()();
    map->updateHotKeys(s);
    EXPECT_EQ(rec.sent().size(), 6);
}

TEST_F(HotKeyMapTest, AKeyPressReachesTheHandlers)
{
    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
    VizoInputState s;
    s.vizoVersion = 0;
    map->updateHotKeys(s);
    QTest::keyPress(window.windowHandle(), Qt::Key_Up, Qt::ControlModifier);
    waitMs(50);
    QTest::keyRelease(window.windowHandle(), Qt::Key_Up, Qt::ControlModifier);
    waitMs(50);
    EXPECT_EQ(rec.sent(), (QStringList{"20 00 00", "20 00 02"}));
}

TEST(HandlersOverSettings, EasyColorContrastAndSteppingUseTheModel)
{
    VizoSettings settings;
    VizoSettingsInputModel model(settings);
    InputTestRecorder rec;
    VizoInputContext context(model, rec.hooks());
    settings.setCameraMode(1);
    settings.setSelectedColorSlotForNearViewMode(3);
    VizoHotKeyActions::easyColorChange(context);
    EXPECT_EQ(settings.selectedColorSlotForNearViewMode(), 0);
    VizoHotKeyActions::easyColorChange(context);
    EXPECT_EQ(settings.selectedColorSlotForNearViewMode(), 3);

    settings.options()->setContrastForNear(38);
    VizoHotKeyActions::stepContrast(context, true); // slot 3 is grey scale
    VizoHotKeyActions::stepContrast(context, true);
    EXPECT_EQ(settings.options()->contrastForNear(), 39);
    EXPECT_EQ(settings.iSendContrastCnt(), 1);

    settings.setCameraMode(0);
    settings.setSelectedColorSlotForDistanceViewMode(6); // green on black
    settings.options()->setContrastForDistance(1);
    VizoHotKeyActions::stepContrast(context, false);
    EXPECT_EQ(rec.sent(), (QStringList{"20 0b 00", "20 0b 01", "06 05 27 00", "06 04 00 00"}));

    model.calcNextColor(); // slot 7 is disabled: 6 -> 0
    EXPECT_EQ(settings.selectedColorSlotForDistanceViewMode(), 0);
    EXPECT_EQ(model.slotTextColor(0, 8), -1);
}

TEST(InputLayer, PlayArmsPauseAtOnceThroughTheSettings)
{
    VizoSettings settings;
    settings.setVizoVersion(0);
    settings.setVizoMode(1);
    InputTestRecorder rec;
    VizoInputFlags flags;
    VizoInput *input = nullptr;
    VizoInputHooks hooks = rec.hooks();
    hooks.updateHotKeys = [&] { input->updateHotKeys(flags); };
    VizoInput layer(settings, hooks);
    input = &layer;
    layer.hotKeys().setupHotKeys(VizoHotKeyMap::loadHotKeyFile("en"));
    layer.setupMouseGestures();
    layer.updateHotKeys(flags);
    BrHotKey *play = layer.hotKeys().hotKey("OCRMode.Play");
    BrHotKey *pause = layer.hotKeys().hotKey("OCRMode.Pause");
    ASSERT_TRUE(play->enabled());
    ASSERT_FALSE(pause->enabled());
    play->eventKeyDown()(false);
    EXPECT_TRUE(settings.ocrPlayed());
    EXPECT_FALSE(play->enabled());
    EXPECT_TRUE(pause->enabled());
    EXPECT_EQ(rec.sent(), QStringList{"23 02"});

    EXPECT_EQ(layer.updateMouseGestures(flags),
              (QStringList{"MouseGestureOpenMenu", "MouseGestureOCRModeNextColor",
                           "MouseGestureOCRModeZoomStart"}));
    flags.disableAllFunctions = true;
    EXPECT_TRUE(layer.updateHotKeys(flags).armed.isEmpty());
    BrHotKey::disableAllHotKeys();
}

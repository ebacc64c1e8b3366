// Hot keys through the application key filter (the offscreen platform).
#include <bramble/BrHotKey.h>
#include <bramble/BrPropertyList.h>

#include "TestWait.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr quint16 kVK_A = 0x00;
constexpr quint16 kVK_B = 0x0B;
constexpr quint16 kVK_1 = 0x12;
constexpr quint16 kVK_Keypad1 = 0x53;
constexpr quint16 kVK_UpArrow = 0x7E;
constexpr quint16 kVK_F5 = 0x60;

struct Call
{
    bool down;
    bool repeat;
    qint64 at;
};

// Records the handler calls of one hot key with their times.
struct Recorder
{
    explicit Recorder(BrHotKey &hotKey, const QElapsedTimer &clock)
    {
        hotKey.setEventKeyDown([this, &clock](bool repeat) { calls.push_back({true, repeat, clock.elapsed()}); });
        hotKey.setEventKeyUp([this, &clock] { calls.push_back({false, false, clock.elapsed()}); });
    }
    int count(bool down, bool repeat) const
    {
        int n = 0;
        for (const Call &c : calls)
            n += c.down == down && (!down || c.repeat == repeat);
        return n;
    }
    std::vector<Call> calls;
};

class BrHotKeyTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_window = new QWidget;
        s_window->resize(200, 100);
        s_window->show();
        s_window->activateWindow();
    }
    static void TearDownTestSuite()
    {
        delete s_window;
        s_window = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(waitFor([] { return QGuiApplication::applicationState() == Qt::ApplicationActive; }, 5000))
            << "the test window did not become active";
        BrHotKey::disableAllHotKeys();
        BrHotKey::hotKeyRepeatStartInterval(1.0);
        BrHotKey::hotKeyRepeatRate(0.05);
        clock.start();
    }
    void TearDown() override
    {
        BrHotKey::disableAllHotKeys();
        waitMs(20);
    }

    static void send(QEvent::Type type, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool autoRepeat = false,
                     quint32 scanCode = 0)
    {
        QKeyEvent event(type, key, mods, scanCode, 0, 0, QString(), autoRepeat);
        QCoreApplication::sendEvent(s_window->windowHandle(), &event);
    }
    static void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { send(QEvent::KeyPress, key, mods); }
    static void release(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { send(QEvent::KeyRelease, key, mods); }

    static std::unique_ptr<BrHotKey> makeHotKey(quint16 keyCode, bool command = false, bool shift = false)
    {
        auto hotKey = std::make_unique<BrHotKey>();
        hotKey->setKeyCode(keyCode);
        hotKey->setCommandKey(command);
        hotKey->setShiftKey(shift);
        return hotKey;
    }

    QElapsedTimer clock;
    static inline QWidget *s_window = nullptr;
};

} // namespace

TEST_F(BrHotKeyTest, EnablingTwiceChangesNothing)
{
    auto hotKey = makeHotKey(kVK_F5);
    hotKey->setEnabled(true);
    ASSERT_TRUE(hotKey->isRegistered());
    const quint32 id = hotKey->keyID();
    EXPECT_NE(id, 0u);
    hotKey->setEnabled(true);
    EXPECT_EQ(hotKey->keyID(), id);
    EXPECT_EQ(BrHotKey::dispatchTable(), QList<BrHotKey *>{hotKey.get()});
    hotKey->setEnabled(false);
    EXPECT_FALSE(hotKey->isRegistered());
    EXPECT_TRUE(BrHotKey::dispatchTable().isEmpty());
    // Registered again under the same id.
    hotKey->setEnabled(true);
    EXPECT_EQ(hotKey->keyID(), id);
}

TEST_F(BrHotKeyTest, TapGivesOneDownAndOneUp)
{
    auto hotKey = makeHotKey(kVK_UpArrow, true);
    Recorder rec(*hotKey, clock);
    hotKey->setEnabled(true);
    press(Qt::Key_Up, Qt::ControlModifier);
    // Platform auto-repeat while held does not start new presses.
    send(QEvent::KeyRelease, Qt::Key_Up, Qt::ControlModifier, true);
    send(QEvent::KeyPress, Qt::Key_Up, Qt::ControlModifier, true);
    waitMs(100);
    release(Qt::Key_Up, Qt::ControlModifier);
    waitMs(1300); // beyond the start interval: no repeat may come
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_TRUE(rec.calls[0].down);
    EXPECT_FALSE(rec.calls[0].repeat);
    EXPECT_FALSE(rec.calls[1].down);
    EXPECT_FALSE(BrHotKey::isKeyPressed());
}

TEST_F(BrHotKeyTest, ModifiersMustMatchExactly)
{
    auto ctrlUp = makeHotKey(kVK_UpArrow, true);
    Recorder rec(*ctrlUp, clock);
    ctrlUp->setEnabled(true);
    for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::NoModifier),
                                       Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier),
                                       Qt::KeyboardModifiers(Qt::MetaModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
        press(Qt::Key_Up, mods);
        release(Qt::Key_Up, mods);
    }
    press(Qt::Key_Down, Qt::ControlModifier);
    release(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_TRUE(rec.calls.empty());
    // Releasing Ctrl before the key still ends the press.
    press(Qt::Key_Up, Qt::ControlModifier);
    release(Qt::Key_Up);
    EXPECT_EQ(rec.count(true, false), 1);
    EXPECT_EQ(rec.count(false, false), 1);
}

TEST_F(BrHotKeyTest, ShiftedAndKeypadKeysAreTold)
{
    auto shift1 = makeHotKey(kVK_1, false, true);
    auto keypad1 = makeHotKey(kVK_Keypad1);
    Recorder recShift(*shift1, clock), recPad(*keypad1, clock);
    shift1->setEnabled(true);
    keypad1->setEnabled(true);
    // Qt reports Shift+1 as "!" on a US layout.
    press(Qt::Key_Exclam, Qt::ShiftModifier);
    release(Qt::Key_Exclam, Qt::ShiftModifier);
    EXPECT_EQ(recShift.count(true, false), 1);
    EXPECT_EQ(recShift.count(false, false), 1);
    // The main block's 1 is not the keypad's.
    press(Qt::Key_1);
    release(Qt::Key_1);
    EXPECT_TRUE(recPad.calls.empty());
    press(Qt::Key_1, Qt::KeypadModifier);
    release(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(recPad.count(true, false), 1);
}

TEST_F(BrHotKeyTest, HoldRepeatsAfterStartIntervalAtRate)
{
    BrHotKey::hotKeyRepeatStartInterval(0.5);
    auto hotKey = makeHotKey(kVK_UpArrow);
    Recorder rec(*hotKey, clock);
    hotKey->setEnabled(true);
    const qint64 pressedAt = clock.elapsed();
    press(Qt::Key_Up);
    waitMs(2000);
    release(Qt::Key_Up);
    const size_t atRelease = rec.calls.size();
    waitMs(300);

    ASSERT_GE(rec.calls.size(), 3u);
    EXPECT_TRUE(rec.calls.front().down);
    EXPECT_FALSE(rec.calls.front().repeat);
    // The first repeat comes no sooner than the start interval, the n-th
    // tick after it no sooner than n intervals (coarse timers may be 5%
    // early, and one late tick does not delay the next).
    EXPECT_TRUE(rec.calls[1].repeat);
    EXPECT_GE(rec.calls[1].at - pressedAt, 500);
    int repeats = 0;
    for (size_t i = 1; i + 1 < atRelease; ++i) {
        ASSERT_TRUE(rec.calls[i].down && rec.calls[i].repeat);
        ++repeats;
        EXPECT_GE(rec.calls[i].at - rec.calls[1].at, qint64(i - 1) * 47);
    }
    EXPECT_GE(repeats, 5);
    // The release, then nothing more.
    EXPECT_EQ(rec.calls.size(), atRelease);
    EXPECT_FALSE(rec.calls.back().down);
}

TEST_F(BrHotKeyTest, SecondKeyTakesOverTheRepeats)
{
    BrHotKey::hotKeyRepeatStartInterval(0.5);
    auto a = makeHotKey(kVK_A);
    auto b = makeHotKey(kVK_B);
    Recorder recA(*a, clock), recB(*b, clock);
    a->setEnabled(true);
    b->setEnabled(true);
    press(Qt::Key_A);
    ASSERT_TRUE(waitFor([&] { return recA.count(true, true) >= 2; }, 5000));
    const qint64 bPressedAt = clock.elapsed();
    press(Qt::Key_B);
    waitMs(200);
    const int aRepeats = recA.count(true, true);
    ASSERT_TRUE(waitFor([&] { return recB.count(true, true) >= 3; }, 5000));
    // A stopped at its next tick; B's first repeat waited the start interval.
    EXPECT_EQ(recA.count(true, true), aRepeats);
    EXPECT_GE(recB.calls[1].at - bPressedAt, 500);
    // Releasing A (not B) stops every repeat.
    release(Qt::Key_A);
    waitMs(150);
    const int bRepeats = recB.count(true, true);
    waitMs(300);
    EXPECT_EQ(recB.count(true, true), bRepeats);
    EXPECT_EQ(recA.count(false, false), 1);
    release(Qt::Key_B);
    EXPECT_EQ(recB.count(false, false), 1);
}

TEST_F(BrHotKeyTest, DisableAllHotKeysEmptiesTheTable)
{
    auto a = makeHotKey(kVK_A);
    auto b = makeHotKey(kVK_B);
    auto up = makeHotKey(kVK_UpArrow, true);
    Recorder recA(*a, clock);
    for (BrHotKey *k : {a.get(), b.get(), up.get()})
        k->setEnabled(true);
    const quint32 idA = a->keyID();
    EXPECT_EQ(BrHotKey::dispatchTable().size(), 3);

    BrHotKey::disableAllHotKeys();
    EXPECT_TRUE(BrHotKey::dispatchTable().isEmpty());
    for (BrHotKey *k : {a.get(), b.get(), up.get()}) {
        EXPECT_FALSE(k->enabled());
        EXPECT_FALSE(k->isRegistered());
    }
    EXPECT_EQ(up->keyCode(), kVK_UpArrow);
    EXPECT_TRUE(up->commandKey());
    press(Qt::Key_A);
    release(Qt::Key_A);
    EXPECT_TRUE(recA.calls.empty());

    a->setEnabled(true);
    EXPECT_EQ(a->keyID(), idA);
    press(Qt::Key_A);
    release(Qt::Key_A);
    EXPECT_EQ(recA.calls.size(), 2u);
}

TEST_F(BrHotKeyTest, SameCombinationTwiceFailsSilentlyButStaysReachable)
{
    auto first = makeHotKey(kVK_A);
    auto second = makeHotKey(kVK_A);
    auto third = makeHotKey(kVK_A);
    Recorder recFirst(*first, clock), recSecond(*second, clock);
    first->setEnabled(true);
    second->setEnabled(true);
    third->setEnabled(true);
    EXPECT_TRUE(first->isRegistered());
    EXPECT_FALSE(second->isRegistered());
    EXPECT_TRUE(second->enabled());
    // Each failed hot key keeps its own table entry, so disabling all
    // reaches every one of them.
    EXPECT_NE(second->keyID(), third->keyID());
    EXPECT_EQ(BrHotKey::dispatchTable().size(), 3);
    press(Qt::Key_A);
    release(Qt::Key_A);
    EXPECT_EQ(recFirst.calls.size(), 2u);
    EXPECT_TRUE(recSecond.calls.empty());

    BrHotKey::disableAllHotKeys();
    EXPECT_FALSE(third->enabled());
    // Once the first lets go, the second can have the combination.
    second->setEnabled(true);
    EXPECT_TRUE(second->isRegistered());
}

TEST_F(BrHotKeyTest, DisarmedWhileHeldStopsRepeating)
{
    BrHotKey::hotKeyRepeatStartInterval(0.2);
    auto hotKey = makeHotKey(kVK_UpArrow);
    Recorder rec(*hotKey, clock);
    hotKey->setEnabled(true);
    press(Qt::Key_Up);
    ASSERT_TRUE(waitFor([&] { return rec.count(true, true) >= 2; }, 5000));
    hotKey->setEnabled(false);
    waitMs(100);
    const int repeats = rec.count(true, true);
    waitMs(300);
    EXPECT_EQ(rec.count(true, true), repeats);
    release(Qt::Key_Up);
}

// Where keys come only through the application's windows, the release of a
// key held while the keyboard goes to another application never arrives:
// the press ends at the deactivation (a held zoom key stops zooming).
TEST_F(BrHotKeyTest, HeldKeyIsReleasedWhenTheApplicationDeactivates)
{
    ASSERT_FALSE(BrHotKey::grabsSystemWide());
    BrHotKey::hotKeyRepeatStartInterval(0.2);
    auto hotKey = makeHotKey(kVK_UpArrow);
    Recorder rec(*hotKey, clock);
    hotKey->setEnabled(true);
    press(Qt::Key_Up);
    ASSERT_TRUE(waitFor([&] { return rec.count(true, true) >= 1; }, 5000));
    // What Qt sends when another application's window takes the keyboard
    // (the offscreen platform never deactivates by itself).
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QCoreApplication::sendEvent(qApp, &inactive);
    EXPECT_EQ(rec.count(false, false), 1);
    EXPECT_FALSE(BrHotKey::isKeyPressed());
    waitMs(300);
    const int repeats = rec.count(true, true);
    waitMs(200);
    EXPECT_EQ(rec.count(true, true), repeats) << "the press went on repeating";
    // Back in front: its late release changes nothing.
    QApplicationStateChangeEvent active(Qt::ApplicationActive);
    QCoreApplication::sendEvent(qApp, &active);
    release(Qt::Key_Up);
    EXPECT_EQ(rec.count(false, false), 1);
}

TEST_F(BrHotKeyTest, HandlerMayDisarmEverything)
{
    // As a mode change does: the press handler disables all hot keys and
    // arms the same key again.
    auto hotKey = makeHotKey(kVK_F5);
    BrHotKey *raw = hotKey.get();
    int downs = 0, ups = 0;
    hotKey->setEventKeyDown([&](bool repeat) {
        if (repeat)
            return;
        ++downs;
        BrHotKey::disableAllHotKeys();
        raw->setEnabled(true);
    });
    hotKey->setEventKeyUp([&] { ++ups; });
    hotKey->setEnabled(true);
    press(Qt::Key_F5);
    release(Qt::Key_F5);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_TRUE(raw->isRegistered());
}

TEST_F(BrHotKeyTest, DestroyedWhileHeldIsHarmless)
{
    BrHotKey::hotKeyRepeatStartInterval(0.1);
    auto hotKey = makeHotKey(kVK_F5);
    int downs = 0;
    hotKey->setEventKeyDown([&](bool) { ++downs; });
    hotKey->setEnabled(true);
    press(Qt::Key_F5);
    ASSERT_TRUE(waitFor([&] { return downs >= 3; }, 5000));
    hotKey.reset();
    waitMs(200);
    release(Qt::Key_F5);
    EXPECT_TRUE(BrHotKey::dispatchTable().isEmpty());
}

TEST_F(BrHotKeyTest, LoadingAnEmptyRecordRegistersKeyA)
{
    auto hotKey = makeHotKey(kVK_UpArrow, true, true);
    Recorder rec(*hotKey, clock);
    hotKey->setEnabled(true);
    hotKey->loadFromDictionary({});
    EXPECT_EQ(hotKey->keyCode(), 0);
    EXPECT_FALSE(hotKey->commandKey() || hotKey->shiftKey());
    EXPECT_TRUE(hotKey->isRegistered());
    EXPECT_EQ(BrHotKey::dispatchTable(), QList<BrHotKey *>{hotKey.get()});
    press(Qt::Key_A);
    release(Qt::Key_A);
    press(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    release(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(rec.calls.size(), 2u);
}

TEST_F(BrHotKeyTest, SaveAndLoadRoundTrip)
{
    BrHotKey source;
    source.setCommandKey(true);
    source.setOptionKey(false);
    source.setControlKey(true);
    source.setShiftKey(true);
    source.setKeyCode(0x7D);
    source.setEnabled(true);

    QVariantMap record{{QStringLiteral("Other"), 7}};
    source.saveToDictionary(record);
    EXPECT_EQ(record.value(QStringLiteral("Other")), 7);
    EXPECT_EQ(record.size(), 6);
    EXPECT_EQ(record.value(QStringLiteral("KeyCode")).toInt(), 0x7D);
    EXPECT_EQ(record.value(QStringLiteral("OptionKey")), false);

    BrHotKey copy;
    copy.loadFromDictionary(record);
    EXPECT_EQ(copy.keyCode(), 0x7D);
    EXPECT_TRUE(copy.commandKey());
    EXPECT_FALSE(copy.optionKey());
    EXPECT_TRUE(copy.controlKey());
    EXPECT_TRUE(copy.shiftKey());
    EXPECT_FALSE(copy.enabled());
    EXPECT_FALSE(copy.isRegistered());
    EXPECT_EQ(copy.description(), source.description());
}

TEST_F(BrHotKeyTest, BadKeyCodesLoadAsZero)
{
    BrHotKey hotKey;
    for (const QVariant &bad : {QVariant(70000), QVariant(-1), QVariant(QStringLiteral("Up"))}) {
        hotKey.setKeyCode(5);
        hotKey.loadFromDictionary({{QStringLiteral("KeyCode"), bad}, {QStringLiteral("ShiftKey"), 1}});
        EXPECT_EQ(hotKey.keyCode(), 0) << bad.toString().toStdString();
        EXPECT_TRUE(hotKey.shiftKey());
    }
    hotKey.loadFromDictionary({{QStringLiteral("KeyCode"), 65535}});
    EXPECT_EQ(hotKey.keyCode(), 65535);
    // A code that names no key never registers, silently.
    hotKey.setEnabled(true);
    EXPECT_FALSE(hotKey.isRegistered());
}

TEST_F(BrHotKeyTest, RecordsSurviveTheHotKeyFileFormat)
{
    const QByteArray file = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>CameraMode.ZoomIn</key>
  <dict><key>CommandKey</key><true/><key>ShiftKey</key><false/><key>KeyCode</key><integer>126</integer></dict>
</dict></plist>)";
    QString error;
    const QVariantMap root = BrPropertyList::parse(file, &error).toMap();
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    BrHotKey zoomIn;
    zoomIn.loadFromDictionary(root.value(QStringLiteral("CameraMode.ZoomIn")).toMap());
    EXPECT_EQ(zoomIn.description(), QStringLiteral("Ctrl+Up"));

    // Written back and read again, the record is the same combination.
    QVariantMap record;
    zoomIn.saveToDictionary(record);
    const QByteArray written = BrPropertyList::serialize(QVariantMap{{QStringLiteral("A"), record}}, &error);
    ASSERT_FALSE(written.isEmpty()) << error.toStdString();
    BrHotKey again;
    again.loadFromDictionary(BrPropertyList::parse(written).toMap().value(QStringLiteral("A")).toMap());
    EXPECT_EQ(again.description(), QStringLiteral("Ctrl+Up"));
    EXPECT_EQ(again.keyCode(), 126);
}

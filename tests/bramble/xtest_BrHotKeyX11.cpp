// Hot keys as real X11 grabs, driven by synthetic key presses (xdotool) on
// a real X server.
//
// Activation: no window manager runs under Xvfb, so the test shows its own
// window, asks for activation (Qt sets the input focus itself when no
// window manager answers) and waits until Qt reports the application
// active before every test.
#include "TestEnvironment.h"
#include <bramble/BrHotKey.h>

#include "TestWait.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr quint16 kVK_UpArrow = 0x7E;
constexpr quint16 kVK_F5 = 0x60;
constexpr quint16 kVK_F6 = 0x61;
constexpr quint32 kXK_F6 = 0xffc3;

struct Call
{
    bool down;
    bool repeat;
    qint64 at;
};

struct Recorder
{
    Recorder(BrHotKey &hotKey, const QElapsedTimer &clock)
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

bool activate(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
    return waitFor([] { return QGuiApplication::applicationState() == Qt::ApplicationActive; }, 5000);
}

class BrHotKeyX11Test : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_window = new QWidget;
        s_window->setWindowTitle(QStringLiteral("hot key test"));
        s_window->resize(300, 200);
    }
    static void TearDownTestSuite()
    {
        delete s_window;
        s_window = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(onX11()) << "the test runner starts these tests on Xvfb";
        ASSERT_FALSE(requiredProgram("xdotool").isEmpty());
        ASSERT_TRUE(activate(s_window)) << "the test window did not become active";
        BrHotKey::disableAllHotKeys();
        BrHotKey::hotKeyRepeatStartInterval(0.5);
        BrHotKey::hotKeyRepeatRate(0.05);
        clock.start();
    }
    void TearDown() override { BrHotKey::disableAllHotKeys(); }

    // Runs xdotool and lets the X events reach the application.
    static void xdotool(const QStringList &args)
    {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), args), 0) << qPrintable(args.join(' '));
        waitMs(50);
    }

    QElapsedTimer clock;
    static inline QWidget *s_window = nullptr;
};

// A second X client of its own, to hold a grab before the application.
class OtherClient
{
public:
    OtherClient() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~OtherClient() { xcb_disconnect(m_connection); }

    bool grab(quint32 keysym, uint16_t modifiers)
    {
        if (xcb_connection_has_error(m_connection))
            return false;
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysym);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        bool ok = codes && codes[0] != XCB_NO_SYMBOL;
        if (ok) {
            xcb_void_cookie_t cookie = xcb_grab_key_checked(m_connection, 1, root, modifiers, codes[0],
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
                ok = false;
                free(error);
            }
        }
        free(codes);
        xcb_key_symbols_free(symbols);
        return ok;
    }

private:
    xcb_connection_t *m_connection;
};

} // namespace

TEST_F(BrHotKeyX11Test, TapGivesOnePressAndOneRelease)
{
    BrHotKey hotKey;
    hotKey.setKeyCode(kVK_F5);
    Recorder rec(hotKey, clock);
    hotKey.setEnabled(true);
    ASSERT_TRUE(hotKey.isRegistered());
    xdotool({"keydown", "F5"});
    xdotool({"keyup", "F5"});
    ASSERT_TRUE(waitFor([&] { return rec.count(false, false) == 1; }, 3000));
    waitMs(700); // past the start interval: no repeat may follow a tap
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_TRUE(rec.calls[0].down);
    EXPECT_FALSE(rec.calls[0].repeat);
    EXPECT_FALSE(rec.calls[1].down);
}

TEST_F(BrHotKeyX11Test, HeldKeyRepeatsFromOurTimerUntilTheRelease)
{
    BrHotKey hotKey;
    hotKey.setKeyCode(kVK_UpArrow);
    hotKey.setCommandKey(true);  // Ctrl
    Recorder rec(hotKey, clock);
    hotKey.setEnabled(true);
    ASSERT_TRUE(hotKey.isRegistered());

    xdotool({"keydown", "ctrl+Up"});
    ASSERT_TRUE(waitFor([&] { return !rec.calls.empty(); }, 3000));
    const qint64 pressedAt = rec.calls.front().at;
    // The server auto-repeats the held key meanwhile; the grab moves the
    // focus, which must not deactivate the application.
    waitMs(2000);
    EXPECT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
    xdotool({"keyup", "ctrl+Up"});
    ASSERT_TRUE(waitFor([&] { return rec.count(false, false) == 1; }, 3000)) << "the release never arrived";
    const size_t atRelease = rec.calls.size();
    waitMs(300);

    EXPECT_EQ(rec.count(true, false), 1) << "auto-repeat started new presses";
    EXPECT_EQ(rec.count(false, false), 1) << "auto-repeat gave extra releases";
    EXPECT_GE(rec.count(true, true), 5);
    ASSERT_GE(rec.calls.size(), 3u);
    EXPECT_TRUE(rec.calls[1].repeat);
    EXPECT_GE(rec.calls[1].at - pressedAt, 500);
    EXPECT_FALSE(rec.calls.back().down);
    EXPECT_EQ(rec.calls.size(), atRelease);
}

TEST_F(BrHotKeyX11Test, LockKeysDoNotHideTheHotKey)
{
    BrHotKey hotKey;
    hotKey.setKeyCode(kVK_F5);
    Recorder rec(hotKey, clock);
    hotKey.setEnabled(true);
    for (const char *lock : {"Caps_Lock", "Num_Lock"}) {
        xdotool({"key", lock});
        xdotool({"keydown", "F5"});
        xdotool({"keyup", "F5"});
    }
    xdotool({"key", "Caps_Lock"});
    xdotool({"key", "Num_Lock"});
    ASSERT_TRUE(waitFor([&] { return rec.count(false, false) == 2; }, 3000));
    EXPECT_EQ(rec.count(true, false), 2);
}

TEST_F(BrHotKeyX11Test, GrabHeldByAnotherClientFailsSilently)
{
    OtherClient other;
    ASSERT_TRUE(other.grab(kXK_F6, 0));

    BrHotKey hotKey;
    hotKey.setKeyCode(kVK_F6);
    Recorder rec(hotKey, clock);
    hotKey.setEnabled(true);
    EXPECT_TRUE(hotKey.enabled());
    EXPECT_FALSE(hotKey.isRegistered());
    xdotool({"keydown", "F6"});
    xdotool({"keyup", "F6"});
    waitMs(200);
    EXPECT_TRUE(rec.calls.empty());

    // A partial grab (the plain variant failed) leaves none of the lock
    // variants behind: the other client can still take those.
    OtherClient third;
    EXPECT_TRUE(third.grab(kXK_F6, XCB_MOD_MASK_LOCK));
}

TEST_F(BrHotKeyX11Test, ReleasedGrabCanBeTakenByAnotherClient)
{
    {
        BrHotKey hotKey;
        hotKey.setKeyCode(kVK_F6);
        hotKey.setEnabled(true);
        ASSERT_TRUE(hotKey.isRegistered());
        OtherClient other;
        EXPECT_FALSE(other.grab(kXK_F6, 0));
        hotKey.setEnabled(false);
        EXPECT_TRUE(other.grab(kXK_F6, 0));
    }
}

TEST_F(BrHotKeyX11Test, InactiveApplicationCallsNoHandler)
{
    BrHotKey hotKey;
    hotKey.setKeyCode(kVK_F5);
    Recorder rec(hotKey, clock);
    hotKey.setEnabled(true);
    s_window->hide();
    ASSERT_TRUE(waitFor([] { return QGuiApplication::applicationState() != Qt::ApplicationActive; }, 5000));
    xdotool({"keydown", "F5"});
    xdotool({"keyup", "F5"});
    waitMs(200);
    EXPECT_TRUE(rec.calls.empty());

    ASSERT_TRUE(activate(s_window));
    xdotool({"keydown", "F5"});
    xdotool({"keyup", "F5"});
    ASSERT_TRUE(waitFor([&] { return rec.calls.size() == 2; }, 3000));
}

// The keyboard follows the pointer, which is over the application's window:
// Qt never calls the application active then (it ignores such focus), yet
// the window gets the keys, and so must its hot keys (a message box shown
// in that state used to ignore Return and Escape).
TEST_F(BrHotKeyX11Test, KeysWorkWheneverTheApplicationHasTheKeyboard)
{
    BrHotKey hotKey;
    hotKey.setKeyCode(kVK_F5);
    Recorder rec(hotKey, clock);
    hotKey.setEnabled(true);
    const QPoint centre = s_window->mapToGlobal(s_window->rect().center());
    xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y())});

    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(other));
    xcb_set_input_focus(other, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_CURRENT_TIME);
    free(xcb_get_input_focus_reply(other, xcb_get_input_focus(other), nullptr)); // done on the server
    xcb_disconnect(other);
    ASSERT_TRUE(waitFor([] { return QGuiApplication::applicationState() != Qt::ApplicationActive; }, 5000));

    xdotool({"keydown", "F5"});
    xdotool({"keyup", "F5"});
    ASSERT_TRUE(waitFor([&] { return rec.calls.size() == 2; }, 3000)) << rec.calls.size();

    // The pointer elsewhere (the root window): the keys are not ours.
    xdotool({"mousemove", "1900", "1000"});
    xdotool({"keydown", "F5"});
    xdotool({"keyup", "F5"});
    waitMs(200);
    EXPECT_EQ(rec.calls.size(), 2u);
}

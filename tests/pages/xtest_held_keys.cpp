// On a real X server, keys held past the server's own repeat delay (the X
// server auto-repeats them meanwhile) reach the virtual device over the
// serial link as the design gives them: on the camera pages one move at the
// press and one stop at the release; on the camera hot keys the command at
// the press and its stop at the release, whatever the server repeats.
#if __has_include("sim/VizoSimulator.h") && __has_include("link/VizoProtocolChannel.h")
#include "../input/XdotoolKeys.h"
#include "AppTestSupport.h"
#include "TestEnvironment.h"

#include "input/VizoHotKeyMap.h"
#include "input/VizoInputArming.h"
#include "link/VizoProtocolChannel.h"
#include "pages/VizoPages.h"
#include "sim/VizoSimulator.h"

#include <bramble/BrHotKey.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QWidget>

#include <mutex>

namespace {

struct HeldKey
{
    const char *what;
    // Runs a page modally while the key is held; none for a hot key.
    std::function<void()> openPage;
    // The xdotool combination, or the hot key record whose combination it is.
    QString keys;
    const char *hotKey;
    int qtKey;
    const char *command;
    QStringList expected;
};

// What Qt makes of the held key: one press, then presses marked as repeats.
struct PressCounter : QObject
{
    int key = 0;
    int presses = 0;
    int repeats = 0;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // As the widget with the focus gets it.
        if (event->type() == QEvent::KeyPress && watched == QGuiApplication::focusObject()) {
            const auto *press = static_cast<const QKeyEvent *>(event);
            if (press->key() == key)
                ++(press->isAutoRepeat() ? repeats : presses);
        }
        return false;
    }
};

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

class HeldKeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(onX11()) << "the test runner starts these tests on Xvfb";
        ASSERT_FALSE(requiredProgram("xdotool").isEmpty());
        sim.eventTrace = [this](const QString &line) {
            if (!line.startsWith(QLatin1String("host:")))
                return;
            std::lock_guard lock(mutex);
            lines << line.mid(5).trimmed().section(QStringLiteral(" crc="), 0, 0);
        };
        QString error;
        ASSERT_TRUE(sim.openPort(&error)) << error.toStdString();
        sim.start();
        channel.eventPacket = [](const QByteArray &, std::uint16_t, std::uint16_t) {};
        ASSERT_TRUE(channel.open(sim.portPath()));
        channel.startRead();

        app = std::make_unique<AppDelegate>();
        app->setInputArming(std::make_unique<VizoInputArming>());
        app->setupModel();
        app->setTerminateHandler([] {});
        app->setPacketWriter(
            [this](const QByteArray &payload) { channel.writeVizoPacket(payload); });
        AppDelegate::instance()->settings()->setVizoVersion(0);
        AppDelegate::instance()->settings()->setCameraMode(1);
    }
    void TearDown() override
    {
        BrHotKey::disableAllHotKeys();
        app.reset();
        channel.stopRead();
        sim.stop();
    }

    // The commands of one kind that reached the device.
    QStringList wire(const char *command)
    {
        std::lock_guard lock(mutex);
        return lines.filter(QRegularExpression(QStringLiteral("^%1 ").arg(QLatin1String(command))));
    }

    // Press, hold past the server's repeat delay (660 ms under Xvfb), release;
    // then wait for the stop the release sends.
    void hold(const QString &keys, const HeldKey &row)
    {
        counter.key = row.qtKey;
        counter.presses = counter.repeats = 0;
        qApp->installEventFilter(&counter);
        ASSERT_TRUE(xdotool({"keydown", keys}));
        waitMs(1300);
        ASSERT_TRUE(xdotool({"keyup", keys}));
        waitFor(
            [&] {
                return wire(row.command).size() >= 2 &&
                       wire(row.command).last() == row.expected.last();
            },
            10000);
        waitMs(300); // nothing may follow the stop
        qApp->removeEventFilter(&counter);
    }

    PressCounter counter;
    std::mutex mutex;
    QStringList lines;
    VizoSimulator sim;
    VizoProtocolChannel channel;
    std::unique_ptr<AppDelegate> app;
};

} // namespace

TEST_F(HeldKeys, OneCommandAtThePressAndOneStopAtTheRelease)
{
    const QVariantMap file = VizoHotKeyMap::loadHotKeyFile("en");
    // clang-format off
    const QList<HeldKey> rows{
        {"distance view direction page", [] { VizoPages::doDistanceViewDirectionSetting(*AppDelegate::instance()); },
         "Left", nullptr, Qt::Key_Left, "CameraMove", {"CameraMove 3", "CameraMove 10"}},
        {"auto-scroll range page", [] { VizoPages::doAutoScrollRangeSetting(*AppDelegate::instance()); },
         "Up", nullptr, Qt::Key_Up, "CameraMove", {"CameraMove 1", "CameraMove 10"}},
        {"zoom-in hot key", {},
         {}, "CameraMode.ZoomIn", Qt::Key_Up, "CameraZoom", {"CameraZoom 0", "CameraZoom 2"}},
        {"move-left hot key", {},
         {}, "CameraMode.MoveToLeft", Qt::Key_Left, "CameraMove", {"CameraMove 2", "CameraMove 10"}},
    };
    // clang-format on
    QWidget mainWindow;
    mainWindow.resize(300, 200);
    mainWindow.setFocusPolicy(Qt::StrongFocus);
    for (const HeldKey &row : rows) {
        SCOPED_TRACE(row.what);
        {
            std::lock_guard lock(mutex);
            lines.clear();
        }
        if (row.openPage) {
            bool held = false;
            QMetaObject::invokeMethod(
                app.get(),
                [&] {
                    auto *page = qobject_cast<ModalWindowController *>(app->stackUI().top());
                    if (!page || !waitFor([page] { return page->isActiveWindow(); })) {
                        ADD_FAILURE() << "the page did not become the active window";
                    } else {
                        hold(row.keys, row);
                        held = true;
                    }
                    if (page)
                        page->closeUI();
                },
                Qt::QueuedConnection);
            row.openPage();
            ASSERT_TRUE(held);
        } else {
            mainWindow.show();
            mainWindow.activateWindow();
            ASSERT_TRUE(waitFor([&] { return mainWindow.isActiveWindow(); }));
            mainWindow.setFocus();
            app->updateHotKeys();
            ASSERT_TRUE(
                app->dicShortcutHandlers().value(QLatin1String(row.hotKey))->isRegistered());
            const QString keys = xdotoolCombination(file.value(QLatin1String(row.hotKey)).toMap());
            hold(keys, row);
            BrHotKey::disableAllHotKeys();
        }
        EXPECT_EQ(wire(row.command).join(QLatin1String(", ")).toStdString(),
                  row.expected.join(QLatin1String(", ")).toStdString());
        // The press that starts a grab goes to the grab window, not to ours:
        // a hot key's first press never reaches Qt.
        EXPECT_EQ(counter.presses, row.hotKey ? 0 : 1)
            << "the server's repeats reached Qt as new presses";
        EXPECT_GT(counter.repeats, 0) << "the key was not held past the repeat delay";
    }
}
#else
#include <gtest/gtest.h>
TEST(HeldKeys, NeedsTheVirtualDeviceAndTheLink)
{
    FAIL() << "the virtual device or the link is not built";
}
#endif

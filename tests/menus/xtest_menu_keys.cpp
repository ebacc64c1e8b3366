// End to end on a real X server against the virtual device over a
// pseudo-terminal: the device's menu key opens the menu, real arrow keys walk
// its rows (each one read out by the device), Return toggles focus lock and
// the device's next option file says so; Right switches to the OCR tab and
// the close key closes the menu.
#include "../core/AppTestSupport.h"

#include "core/AppDelegate.h"
#include "kit/MessageBoxController.h"
#include "connection/VizoEventDispatcher.h"
#include "input/VizoInputArming.h"
#include "menus/SegmentedController.h"
#include "menus/VizoMenuController.h"
#include "settings/VizoConfigParser.h"
#include "sim/VizoSimulator.h"

#include <bramble/BrDispatch.h>

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <mutex>

namespace {

struct Wire
{
    std::mutex mutex;
    QStringList hostLines;

    void add(const QString &line)
    {
        if (!line.startsWith(QLatin1String("host:")))
            return;
        std::lock_guard lock(mutex);
        hostLines << line.mid(5).trimmed();
    }
    bool saw(const QString &command, const QString &text = {})
    {
        std::lock_guard lock(mutex);
        for (const QString &line : std::as_const(hostLines)) {
            if (line.startsWith(command) && line.contains(text))
                return true;
        }
        return false;
    }
    void clear()
    {
        std::lock_guard lock(mutex);
        hostLines.clear();
    }
    QString dump()
    {
        std::lock_guard lock(mutex);
        return hostLines.join('\n');
    }
};

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

QString menuName(const char *key)
{
    return AppDelegate::instance()->languageString("MenuName", key, key);
}

} // namespace

TEST(MenuKeys, TheDeviceMenuKeyOpensAMenuDrivenFromTheKeyboard)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "xdotool is not installed";
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());

    Wire wire;
    VizoSimulator sim;
    sim.eventTrace = [&wire](const QString &line) { wire.add(line); };
    QString error;
    ASSERT_TRUE(sim.openPort(&error)) << error.toStdString();
    sim.start();

    CommandLineOptions options;
    options.port = sim.portPath();
    auto app = std::make_unique<AppDelegate>(options);
    app->setInputArming(std::make_unique<VizoInputArming>());
    app->setTerminateHandler([] {});
    // No camera named "FX3" here: its message box is answered as it comes.
    QTimer boxCloser;
    int boxesAnswered = 0;
    QObject::connect(&boxCloser, &QTimer::timeout, [&app, &boxesAnswered] {
        auto *box = qobject_cast<MessageBoxController *>(app->stackUI().top());
        if (box && box->isRunningModal()) {
            box->onReturnKeyDown();
            ++boxesAnswered;
        }
    });
    boxCloser.start(100);
    bool watchdogFired = false;
    {
        QObject guard;
        brPostMainAfter(
            30000,
            [&watchdogFired] {
                watchdogFired = true;
                AppDelegate::closeSplash();
            },
            &guard);
        ASSERT_TRUE(app->applicationDidFinishLaunching());
    }
    ASSERT_FALSE(watchdogFired) << "start-up did not complete";
    // The box comes two seconds after start-up; without a window manager
    // nobody gives the main window the keyboard back after it.
    ASSERT_TRUE(waitFor([&] { return boxesAnswered > 0; }, 10000));
    QWidget *window = app->window();
    window->activateWindow();
    ASSERT_TRUE(xdotool({"windowfocus", "--sync", QString::number(window->winId())}));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto *menu = qobject_cast<VizoMenuController *>(app->menuController());
    ASSERT_NE(menu, nullptr);
    waitMs(300);
    wire.clear();

    // The device's menu key.
    app->eventDispatcher()->onPacket(bytesOf({0x26, 0x05, 0x00}), 1, 1);
    ASSERT_TRUE(
        waitFor([&] { return wire.saw("SpeakText", menuName("Option.ColorMode")); }, 10000))
        << wire.dump().toStdString();
    EXPECT_TRUE(app->menuOpened());
    EXPECT_TRUE(wire.saw("MenuOpened"));
    EXPECT_TRUE(menu->enableHotKeys());

    // Near view on Summit: colour mode, contrast, marker, focus lock.
    for (const char *key : {"Option.Contrast", "Option.Marker", "Option.FocusLock"}) {
        ASSERT_TRUE(xdotool({"key", "Down"}));
        EXPECT_TRUE(waitFor([&] { return wire.saw("SpeakText", menuName(key)); }, 10000))
            << key << "\n"
            << wire.dump().toStdString();
    }
    const bool before = AppDelegate::instance()->settings()->options()->focusLock();
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(waitFor([&] { return wire.saw("SetFocusLock"); }, 10000))
        << wire.dump().toStdString();
    ASSERT_TRUE(waitFor([&] { return sim.device().state().focusLock != before; }, 5000));
    QString optionFocusLock;
    VizoConfigParser::parseData(
        sim.device().optionFileText(),
        [&](const VizoOptionFileData &pairs) { optionFocusLock = pairs.value("FocusLock"); });
    EXPECT_EQ(optionFocusLock, before ? "0" : "1");
    EXPECT_EQ(AppDelegate::instance()->settings()->options()->focusLock(), !before);

    // Right is the menu's own hot key: the OCR tab, its row read out.
    wire.clear();
    ASSERT_TRUE(xdotool({"key", "Right"}));
    EXPECT_TRUE(waitFor([&] { return wire.saw("SpeakText", menuName("OCR.FieldMode")); }, 10000))
        << wire.dump().toStdString();
    EXPECT_EQ(menu->segmentedController()->selectedIndex(), 1);

    // The close key of the shipped hot key file (F10).
    ASSERT_TRUE(xdotool({"key", "F10"}));
    EXPECT_TRUE(waitFor([&] { return !app->menuOpened(); }, 10000));
    EXPECT_TRUE(waitFor([&] { return wire.saw("MenuClosed"); }, 10000));

    app->applicationWillTerminate();
    app.reset();
    sim.stop();
}

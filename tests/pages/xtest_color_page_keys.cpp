// End to end on a real X server: the colour page, opened the way the menu
// and the hot key open it, driven with real key presses (the arrows reach the
// page's window, Return is the page's own grabbed key), ends in one
// SetColorSlot on the serial link to the virtual device.
#if __has_include("sim/VizoSimulator.h") && __has_include("link/VizoProtocolChannel.h")
#include "AppTestSupport.h"

#include "link/VizoProtocolChannel.h"
#include "pages/ColorSettingController.h"
#include "pages/VizoPages.h"
#include "sim/VizoSimulator.h"

#include <bramble/BrHotKey.h>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <mutex>

namespace {
struct DeviceLog
{
    std::mutex mutex;
    QStringList slotCommands;

    QStringList slotLines()
    {
        std::lock_guard lock(mutex);
        return slotCommands;
    }
};

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}
} // namespace

TEST(ColorPageKeys, ArrowsAndReturnReachTheDeviceAsOneSetColorSlot)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "xdotool is not installed";

    DeviceLog log;
    VizoSimulator sim;
    sim.eventTrace = [&log](const QString &line) {
        if (line.startsWith(QLatin1String("host:")) &&
            line.contains(QLatin1String("SetColorSlot"))) {
            std::lock_guard lock(log.mutex);
            log.slotCommands << line.mid(5).trimmed().section(QStringLiteral(" crc="), 0, 0);
        }
    };
    QString error;
    ASSERT_TRUE(sim.openPort(&error)) << error.toStdString();
    sim.start();
    VizoProtocolChannel channel;
    channel.eventPacket = [](const QByteArray &, std::uint16_t, std::uint16_t) {};
    ASSERT_TRUE(channel.open(sim.portPath()));
    channel.startRead();

    AppDelegate app;
    app.setupModel();
    app.setTerminateHandler([] {});
    app.setPacketWriter(
        [&channel](const QByteArray &payload) { channel.writeVizoPacket(payload); });
    AppDelegate::instance()->settings()->setCameraMode(1);

    bool pressed = false;
    QMetaObject::invokeMethod(
        &app,
        [&] {
            auto *page = qobject_cast<ColorSettingController *>(app.stackUI().top());
            if (!page || !QTest::qWaitForWindowActive(page)) {
                ADD_FAILURE() << "the colour page did not become the active window";
                if (page)
                    page->closeWindow();
                return;
            }
            // Near slot 5 is yellow on blue: Right gives grey scale, which
            // Return confirms at once. Each key is let through before the
            // next: the grabbed Return would otherwise overtake a Right still
            // queued for the window.
            const VizoColorSlot *slot = page->colorSlot();
            pressed = xdotool({"key", "Right"});
            QDeadlineTimer stepped(5000);
            while (slot->textColor() != 10 && !stepped.hasExpired())
                QTest::qWait(50);
            pressed = pressed && xdotool({"key", "Return"});
            QDeadlineTimer deadline(10000);
            while (!page->isClosed() && !deadline.hasExpired())
                QTest::qWait(50);
            if (!page->isClosed()) {
                ADD_FAILURE() << "Return did not confirm the page";
                page->closeWindow();
            }
        },
        Qt::QueuedConnection);
    EXPECT_EQ(VizoPages::doColorSlotColorSetting(*AppDelegate::instance(), 1, 5), 5);
    EXPECT_TRUE(pressed);

    QDeadlineTimer deadline(5000);
    while (log.slotLines().isEmpty() && !deadline.hasExpired())
        QTest::qWait(50);
    // Near slot 5 goes out as slot code 11.
    EXPECT_EQ(log.slotLines().join(QLatin1Char('|')).toStdString(), "SetColorSlot 11 10 10");
    const VizoColorSlot *slot = AppDelegate::instance()->settings()->options()->colorModeForNear()->slot(5);
    EXPECT_EQ(slot->textColor(), 10);
    EXPECT_EQ(slot->bgColor(), 10);

    BrHotKey::disableAllHotKeys();
    channel.stopRead();
    sim.stop();
}
#else
#include <gtest/gtest.h>
TEST(ColorPageKeys, NeedsTheVirtualDeviceAndTheLink)
{
    FAIL() << "the virtual device or the link is not built";
}
#endif

// The channel over a real pseudo-terminal: the test holds the master side
// and plays the device.
#include "TestWait.h"
#include "link/VizoProtocolChannel.h"
#include "protocol/VizoCommands.h"
#include "protocol/VizoFrame.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct Pty
{
    int master = -1;
    QString slavePath;

    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        slavePath = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty() { closeMaster(); }
    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    void send(const QByteArray &bytes) const
    {
        ASSERT_EQ(::write(master, bytes.constData(), std::size_t(bytes.size())), bytes.size());
    }
    // Reads until `count` bytes arrived or the wait runs out.
    QByteArray receive(qsizetype count, int waitMs = 5000) const
    {
        QByteArray out;
        QElapsedTimer timer;
        timer.start();
        while (out.size() < count && timer.elapsed() < waitMs) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char buf[4096];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0)
                out.append(buf, qsizetype(n));
        }
        return out;
    }
};

struct Received
{
    std::mutex mutex;
    std::vector<std::tuple<QByteArray, int, int>> packets;

    std::size_t size()
    {
        std::lock_guard lock(mutex);
        return packets.size();
    }
};

// Spins the main event loop until `done` or the wait runs out.

struct Link
{
    Pty pty;
    VizoProtocolChannel channel;
    Received received;
    QStringList failures;

    Link()
    {
        channel.eventLinkFailure = [this](const QString &m) { failures << m; };
        channel.eventPacket = [this](const QByteArray &payload, std::uint16_t count, std::uint16_t index) {
            std::lock_guard lock(received.mutex);
            received.packets.emplace_back(payload, count, index);
        };
    }
};

} // namespace

TEST(ChannelOverPty, FramesLeaveByteExactAndReportsArriveInOrder)
{
    Link link;
    ASSERT_FALSE(link.pty.slavePath.isEmpty());
    ASSERT_TRUE(link.channel.open(link.pty.slavePath));
    EXPECT_EQ(link.channel.deviceSpeed(), -1); // not a USB device
    link.channel.startRead();
    link.channel.startRead(); // a second call starts nothing more
    EXPECT_TRUE(link.channel.isReading());

    link.channel.writeVizoPacket(VizoCmd::MenuOpened());
    EXPECT_EQ(link.pty.receive(16).toHex(' '), QByteArray("fc fc 02 01 01 00 01 00 02 00 24 00 10 90 fd fd"));

    // A three-frame option file, then a single report, split at odd places.
    const QByteArray stream = VizoFrame::compose(QByteArray::fromHex("3104"), 3, 1)
                              + VizoFrame::compose(QByteArray::fromHex("3104") + "<key>A</key>", 3, 2)
                              + VizoFrame::compose(QByteArray::fromHex("3104") + "<value>1</value>", 3, 3)
                              + VizoFrame::compose(QByteArray::fromHex("260807"));
    link.pty.send(stream.left(7));
    ::usleep(20000);
    link.pty.send(stream.mid(7, 30));
    link.pty.send(stream.mid(37));
    ASSERT_TRUE(waitFor([&] { return link.received.size() == 4; }));
    std::lock_guard lock(link.received.mutex);
    const auto &p = link.received.packets;
    EXPECT_EQ(p[0], std::make_tuple(QByteArray::fromHex("3104"), 3, 1));
    EXPECT_EQ(p[1], std::make_tuple(QByteArray::fromHex("3104") + "<key>A</key>", 3, 2));
    EXPECT_EQ(p[2], std::make_tuple(QByteArray::fromHex("3104") + "<value>1</value>", 3, 3));
    EXPECT_EQ(p[3], std::make_tuple(QByteArray::fromHex("260807"), 1, 1));
    EXPECT_TRUE(link.failures.isEmpty());
}

TEST(ChannelOverPty, GarbageOnTheLineCostsOnlyTheDamagedFrame)
{
    Link link;
    ASSERT_TRUE(link.channel.open(link.pty.slavePath));
    link.channel.startRead();
    QByteArray damaged = VizoFrame::compose(QByteArray::fromHex("260901"));
    damaged[damaged.size() - 2] = 0x7E;
    link.pty.send(QByteArray("\x00\x13noise", 7) + VizoFrame::compose(QByteArray::fromHex("260003"))
                  + QByteArray("\xfd\x00", 2) + damaged + VizoFrame::compose(QByteArray::fromHex("260104")));
    ASSERT_TRUE(waitFor([&] { return link.received.size() >= 2; }));
    ::usleep(100000);
    std::lock_guard lock(link.received.mutex);
    ASSERT_EQ(link.received.packets.size(), 2u);
    EXPECT_EQ(std::get<0>(link.received.packets[0]), QByteArray::fromHex("260003"));
    EXPECT_EQ(std::get<0>(link.received.packets[1]), QByteArray::fromHex("260104"));
    EXPECT_GE(link.channel.framesDropped(), 1u);
}

TEST(ChannelOverPty, QuietLineIsNotADisconnectButAHangUpIs)
{
    Link link;
    ASSERT_TRUE(link.channel.open(link.pty.slavePath));
    link.channel.startRead();
    // Longer than one read timeout without data.
    waitFor([] { return false; }, 1300);
    EXPECT_TRUE(link.failures.isEmpty());
    EXPECT_TRUE(link.channel.isReading());

    link.pty.closeMaster();
    ASSERT_TRUE(waitFor([&] { return !link.failures.isEmpty(); }, 5000));
    EXPECT_EQ(link.failures, QStringList{VizoProtocolChannel::disconnectedMessage()});
    EXPECT_FALSE(link.channel.isReading());
    // Reported once, not once per read.
    waitFor([] { return false; }, 200);
    EXPECT_EQ(link.failures.size(), 1);
}

TEST(ChannelOverPty, PortsThatCannotBeOpenedAreReportedWithTheirPath)
{
    VizoProtocolChannel channel;
    QStringList failures;
    channel.eventLinkFailure = [&](const QString &m) { failures << m; };
    EXPECT_FALSE(channel.open(QStringLiteral("/nonexistent/ttyVIZO")));
    EXPECT_EQ(failures, QStringList{QStringLiteral("Can't open serial port /nonexistent/ttyVIZO.\nApplication will be terminated.")});
    EXPECT_FALSE(channel.isOpen());

    // A port in use by another channel is not opened twice.
    Pty pty;
    VizoProtocolChannel first;
    ASSERT_TRUE(first.open(pty.slavePath));
    VizoProtocolChannel second;
    second.eventLinkFailure = [&](const QString &m) { failures << m; };
    EXPECT_FALSE(second.open(pty.slavePath));
    EXPECT_EQ(failures.size(), 2);
}

TEST(ChannelOverPty, RawModeIsSetOnThePort)
{
    Pty pty;
    VizoProtocolChannel channel;
    ASSERT_TRUE(channel.open(pty.slavePath));
    // Bytes that a cooked terminal would translate or swallow pass unchanged.
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    channel.write(all.constData(), std::uint16_t(all.size()));
    EXPECT_EQ(pty.receive(256), all);
}

TEST(ChannelOverPty, BigFramesLeaveInPacedChunks)
{
    Link link;
    ASSERT_TRUE(link.channel.open(link.pty.slavePath));
    // 2486 payload bytes: a 2500-byte frame, sent as 1024 + 1024 + 452.
    const QByteArray payload = QByteArray::fromHex("3104") + QByteArray(2484, 'p');
    const QByteArray frame = VizoFrame::compose(payload);
    ASSERT_EQ(frame.size(), 2500);

    QElapsedTimer clock;
    clock.start();
    std::thread writer([&] {
        link.channel.writeVizoPacket(payload);
        link.channel.writeVizoPacket(VizoCmd::MenuClosed());
    });
    // When the first byte of each chunk arrived, counted from before the
    // first write: chunk k cannot leave before the rests of the chunks ahead.
    QByteArray got;
    std::vector<qint64> firstByteAt;
    const qsizetype starts[] = {0, 1024, 2048, 2500};
    while (got.size() < 2516 && clock.elapsed() < 10000) {
        const QByteArray more = link.pty.receive(1, 100);
        for (qsizetype s : starts)
            if (got.size() <= s && got.size() + more.size() > s)
                firstByteAt.push_back(clock.elapsed());
        got += more;
    }
    writer.join();
    ASSERT_EQ(got.size(), 2516);
    EXPECT_EQ(got.left(2500), frame);
    EXPECT_EQ(got.mid(2500), VizoFrame::compose(VizoCmd::MenuClosed().payload()));
    ASSERT_EQ(firstByteAt.size(), 4u);
    EXPECT_GE(firstByteAt[1], 600);
    EXPECT_GE(firstByteAt[2], 1200);
    EXPECT_GE(firstByteAt[3], 1500);
}

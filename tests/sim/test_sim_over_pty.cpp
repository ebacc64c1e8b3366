// The channel and the virtual device talking over a real pseudo-terminal.
#include "TestWait.h"
#include "link/VizoProtocolChannel.h"
#include "protocol/VizoCommands.h"
#include "protocol/VizoReports.h"
#include "settings/VizoConfigParser.h"
#include "sim/VizoSimulator.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include <unistd.h>

namespace {

struct Host
{
    VizoProtocolChannel channel;
    std::mutex mutex;
    QList<QByteArray> reports;
    QByteArray optionFile;
    bool optionFileComplete = false;
    QStringList failures;

    Host()
    {
        channel.eventLinkFailure = [this](const QString &m) { failures << m; };
        channel.eventPacket = [this](const QByteArray &payload, std::uint16_t count, std::uint16_t index) {
            std::lock_guard lock(mutex);
            if (vizoPayloadKey(payload) == VizoReport::OptionFileData.key()) {
                if (index == 1)
                    optionFile.clear();
                else
                    optionFile += payload.mid(VizoReport::optionFileDataOffset);
                optionFileComplete = index > 1 && index == count;
                return;
            }
            reports << payload;
        };
    }
    qsizetype reportCount()
    {
        std::lock_guard lock(mutex);
        return reports.size();
    }
};

} // namespace

TEST(SimOverPty, StartUpReportsEchoesAndAMultiFrameOptionFile)
{
    VizoSimState state;
    state.edition = 1;
    state.region = 2;
    VizoSimulator sim(state);
    QString error;
    ASSERT_TRUE(sim.openPort(&error)) << error.toStdString();
    std::atomic<bool> ended{false};
    sim.eventEnded = [&] { ended = true; };
    sim.start();

    Host host;
    ASSERT_TRUE(host.channel.open(sim.portPath()));
    host.channel.startRead();
    ASSERT_TRUE(waitFor([&] { return host.reportCount() >= 2; }));
    {
        std::lock_guard lock(host.mutex);
        EXPECT_EQ(host.reports.mid(0, 2), (QList<QByteArray>{QByteArray::fromHex("260801"), QByteArray::fromHex("261202")}));
    }

    host.channel.writeVizoPacket(VizoCmd::SetTtsVolume(11));
    host.channel.writeVizoPacket(VizoCmd::RequestOptionFile());
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard lock(host.mutex);
        return host.optionFileComplete;
    }));
    VizoOptionFileData pairs;
    {
        std::lock_guard lock(host.mutex);
        EXPECT_EQ(host.reports.value(2), QByteArray::fromHex("260d0b"));
        EXPECT_EQ(host.optionFile, sim.device().optionFileText());
        VizoConfigParser::parseData(host.optionFile + '\0', [&](const VizoOptionFileData &d) { pairs = d; });
    }
    EXPECT_EQ(pairs.value(QStringLiteral("TTSVolume")), QStringLiteral("11"));
    EXPECT_EQ(sim.device().state().ttsVolume, 11);

    // HostClosing ends the device.
    host.channel.writeVizoPacket(VizoCmd::HostClosing());
    EXPECT_TRUE(waitFor([&] { return ended.load(); }));
    EXPECT_TRUE(host.failures.isEmpty());
}

TEST(SimOverPty, DeviceEndsWhenTheHostClosesThePortAndTheHostNoticesAVanishedDevice)
{
    {
        VizoSimulator sim;
        ASSERT_TRUE(sim.openPort());
        std::atomic<bool> ended{false};
        sim.eventEnded = [&] { ended = true; };
        sim.start();
        {
            Host host;
            ASSERT_TRUE(host.channel.open(sim.portPath()));
            ASSERT_TRUE(waitFor([&] { return sim.hostConnected(); }));
        }
        EXPECT_TRUE(waitFor([&] { return ended.load(); }));
    }
    {
        auto sim = std::make_unique<VizoSimulator>();
        ASSERT_TRUE(sim->openPort());
        sim->start();
        Host host;
        ASSERT_TRUE(host.channel.open(sim->portPath()));
        host.channel.startRead();
        ASSERT_TRUE(waitFor([&] { return host.reportCount() >= 2; }));
        sim.reset(); // the device goes away
        EXPECT_TRUE(waitFor([&] { return !host.failures.isEmpty(); }));
        EXPECT_EQ(host.failures.value(0), VizoProtocolChannel::disconnectedMessage());
    }
}

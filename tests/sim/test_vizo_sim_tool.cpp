// The built vizo-sim, run as a person runs it next to a viewer.
#include "link/VizoProtocolChannel.h"
#include "protocol/VizoCommands.h"

#include "TestWait.h"

#include <QProcess>

#include <mutex>

#include <gtest/gtest.h>

namespace {

QString simBinary()
{
    return qEnvironmentVariable("VIZO_BINARY_DIR") + QStringLiteral("/sim/vizo-sim");
}

} // namespace

TEST(VizoSimTool, PrintsItsPortFirstAndTracesBothDirections)
{
    QProcess sim;
    sim.start(simBinary(), {QStringLiteral("--trace"), QStringLiteral("--edition"), QStringLiteral("ridge"),
                            QStringLiteral("--region"), QStringLiteral("3"), QStringLiteral("--images"),
                            QStringLiteral("0")});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    while (!sim.canReadLine() && sim.waitForReadyRead(2000)) {
    }
    const QString first = QString::fromUtf8(sim.readLine()).trimmed();
    ASSERT_TRUE(first.startsWith(QStringLiteral("PORT /dev/"))) << first.toStdString();

    {
        VizoProtocolChannel channel;
        ASSERT_TRUE(channel.open(first.mid(5)));
        channel.writeVizoPacket(VizoCmd::MenuOpened());
        channel.writeVizoPacket(VizoCmd::HostClosing());
    }
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    const QString trace = QString::fromUtf8(sim.readAllStandardOutput());
    EXPECT_TRUE(trace.contains(QStringLiteral("device: DeviceVersion 2 crc=ok"))) << trace.toStdString();
    EXPECT_TRUE(trace.contains(QStringLiteral("device: RegionCode 3 crc=ok")));
    EXPECT_TRUE(trace.contains(QStringLiteral("host:   MenuOpened crc=ok")));
    EXPECT_TRUE(trace.contains(QStringLiteral("host:   HostClosing crc=ok")));
}

TEST(VizoSimTool, BadArgumentsAreRefused)
{
    for (const QStringList &args : {QStringList{QStringLiteral("--edition"), QStringLiteral("mountain")},
                                    QStringList{QStringLiteral("--region"), QStringLiteral("300")},
                                    QStringList{QStringLiteral("--images"), QStringLiteral("many")},
                                    QStringList{QStringLiteral("--name-length"), QStringLiteral("12")},
                                    QStringList{QStringLiteral("--baud"), QStringLiteral("0")},
                                    QStringList{QStringLiteral("--bogus")}}) {
        QProcess sim;
        sim.start(simBinary(), args);
        ASSERT_TRUE(sim.waitForFinished(10000));
        EXPECT_EQ(sim.exitCode(), 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());
        EXPECT_FALSE(sim.readAllStandardError().isEmpty());
    }
}

TEST(VizoSimTool, UsageAndErrorsSpeakAsTheUserTyped)
{
    auto run = [](const QStringList &args) {
        QProcess sim;
        sim.start(simBinary(), args);
        EXPECT_TRUE(sim.waitForFinished(10000));
        return std::pair{sim.exitCode(), QString::fromUtf8(sim.readAllStandardOutput() + sim.readAllStandardError())};
    };
    EXPECT_EQ(run({QStringLiteral("--bogus=1")}),
              std::pair(2, QStringLiteral("vizo-sim: unknown option \"--bogus\" (try --help)\n")));
    EXPECT_EQ(run({QStringLiteral("-bogus")}).second, QStringLiteral("vizo-sim: unknown option \"-bogus\" (try --help)\n"));
    EXPECT_EQ(run({QStringLiteral("--images")}), std::pair(2, QStringLiteral("vizo-sim: --images needs a value\n")));
    EXPECT_EQ(run({QStringLiteral("--trace=yes")}), std::pair(2, QStringLiteral("vizo-sim: --trace takes no value\n")));
    const auto help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.first, 0);
    EXPECT_TRUE(help.second.startsWith(QStringLiteral("Usage: vizo-sim [options]\n"))) << help.second.toStdString();
}

// Control lines on standard input: each is answered on standard output, and
// the device says what it was told to.
TEST(VizoSimTool, TakesControlLinesOnStandardInput)
{
    QProcess sim;
    sim.start(simBinary(), {QStringLiteral("--control"), QStringLiteral("-"), QStringLiteral("--baud"),
                            QStringLiteral("115200")});
    ASSERT_TRUE(sim.waitForStarted());
    QByteArray out;
    auto readUntil = [&](const QByteArray &text) {
        while (!out.contains(text) && sim.waitForReadyRead(5000))
            out += sim.readAllStandardOutput();
        return out.contains(text);
    };
    ASSERT_TRUE(readUntil("\n"));
    ASSERT_TRUE(out.startsWith("PORT /dev/"));
    const QString port = QString::fromUtf8(out.mid(5, out.indexOf('\n') - 5));
    {
        VizoProtocolChannel channel;
        std::mutex mutex;
        QList<QByteArray> reports;
        channel.eventPacket = [&](const QByteArray &payload, std::uint16_t, std::uint16_t) {
            std::lock_guard lock(mutex);
            reports << payload;
        };
        ASSERT_TRUE(channel.open(port));
        channel.startRead();
        // The device has seen the host once it has said hello.
        ASSERT_TRUE(waitFor([&] {
            std::lock_guard lock(mutex);
            return reports.size() >= 2;
        }));
        sim.write("battery 7\nbattery\n");
        EXPECT_TRUE(readUntil("control: ok battery 7\n")) << out.toStdString();
        EXPECT_TRUE(readUntil("control: error: battery needs a level 0-100\n")) << out.toStdString();
        EXPECT_TRUE(waitFor([&] {
            std::lock_guard lock(mutex);
            return reports.contains(QByteArray::fromHex("261807"));
        }));
        channel.writeVizoPacket(VizoCmd::HostClosing());
    }
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitCode(), 0);
}

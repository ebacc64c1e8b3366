// The built vizo-sim, run as a person runs it next to a viewer.
#include "link/VizoProtocolChannel.h"
#include "protocol/VizoCommands.h"

#include <QProcess>

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
                                    QStringList{QStringLiteral("--bogus")}}) {
        QProcess sim;
        sim.start(simBinary(), args);
        ASSERT_TRUE(sim.waitForFinished(10000));
        EXPECT_EQ(sim.exitCode(), 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());
        EXPECT_FALSE(sim.readAllStandardError().isEmpty());
    }
}

// Framing checks and resynchronisation, and the write pacing, without a port.
#include "link/VizoPacedWriter.h"
#include "link/VizoPortDiscovery.h"
#include "link/VizoStreamFramer.h"
#include "protocol/VizoCommands.h"
#include "protocol/VizoFrame.h"

#include <bramble/BrPacketAssembler.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Collector
{
    BrPacketAssembler assembler{10};
    VizoStreamFramer framer{assembler};
    std::vector<VizoReceivedFrame> frames;

    Collector()
    {
        framer.eventFrame = [this](const VizoReceivedFrame &f) { frames.push_back(f); };
    }
    void feed(const QByteArray &bytes, int chunk)
    {
        for (qsizetype at = 0; at < bytes.size(); at += chunk) {
            const QByteArray part = bytes.mid(at, chunk);
            framer.feed(reinterpret_cast<const std::uint8_t *>(part.constData()), std::size_t(part.size()));
        }
    }
    QList<QByteArray> payloads() const
    {
        QList<QByteArray> out;
        for (const auto &f : frames)
            out << f.payload;
        return out;
    }
};

QByteArray frameOf(const char *hex, std::uint16_t count = 1, std::uint16_t index = 1)
{
    return VizoFrame::compose(QByteArray::fromHex(hex), count, index);
}

} // namespace

TEST(StreamFramer, GarbageBeforeAndBetweenFramesLosesOnlyTheDamagedFrame)
{
    const QByteArray a = frameOf("260001");
    const QByteArray b = frameOf("260802");
    QByteArray damaged = frameOf("260903");
    damaged[damaged.size() - 1] = 0x00; // trailer broken
    const QByteArray c = frameOf("3104", 2, 1);
    // A stray magic whose length field points far beyond: the frames after
    // it must still come out once the trailer check fails.
    QByteArray stray = QByteArray::fromHex("fcfc020101000100ff00");
    const QByteArray stream = QByteArray("\x01\x02\xfc garbage") + a + QByteArray("\xfd\xfd\xfc", 3) + b
                              + damaged + c + stray + a + QByteArray(300, '\x55') + b;
    for (int chunk : {1, 2, 5, 13, 64, 8192}) {
        SCOPED_TRACE(chunk);
        Collector col;
        col.feed(stream, chunk);
        // The stray frame is only given up once 259 bytes have arrived after
        // its header; the padding provides them.
        EXPECT_EQ(col.payloads(), (QList<QByteArray>{QByteArray::fromHex("260001"), QByteArray::fromHex("260802"),
                                                     QByteArray::fromHex("3104"), QByteArray::fromHex("260001"),
                                                     QByteArray::fromHex("260802")}));
        EXPECT_EQ(col.frames[2].count, 2);
        EXPECT_EQ(col.frames[2].index, 1);
        EXPECT_GE(col.framer.framesDropped(), 2u);
    }
}

TEST(StreamFramer, CrcMismatchIsDeliveredButMarked)
{
    Collector col;
    QByteArray f = frameOf("260005");
    f[10 + 2] = 0x06; // payload changed after the CRC was computed
    col.feed(f + frameOf("260006"), 4);
    ASSERT_EQ(col.frames.size(), 2u);
    EXPECT_FALSE(col.frames[0].crcOk);
    EXPECT_EQ(col.frames[0].payload, QByteArray::fromHex("260006"));
    EXPECT_TRUE(col.frames[1].crcOk);
    EXPECT_EQ(col.frames[1].raw, frameOf("260006"));
}

TEST(StreamFramer, MagicSplitAcrossReadsIsFound)
{
    Collector col;
    const QByteArray f = frameOf("2400");
    col.feed(QByteArray("zz\xfc", 3), 3);
    col.feed(f.mid(1), 100);
    // The whole magic at the end of one read, after garbage.
    col.feed(QByteArray("zz") + f.left(2), 100);
    col.feed(f.mid(2), 100);
    ASSERT_EQ(col.frames.size(), 2u);
    EXPECT_EQ(col.frames[0].payload, QByteArray::fromHex("2400"));
    EXPECT_EQ(col.frames[1].payload, QByteArray::fromHex("2400"));
}

TEST(PacedWriter, PausesFollowTheTable)
{
    using ms = std::chrono::milliseconds;
    EXPECT_EQ(VizoPacedWriter::pauseAfter(1), ms(200));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(16), ms(200));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(300), ms(200));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(301), ms(240));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(400), ms(240));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(401), ms(300));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(452), ms(300));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(600), ms(360));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(601), ms(420));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(800), ms(480));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(900), ms(540));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(901), ms(600));
    EXPECT_EQ(VizoPacedWriter::pauseAfter(1024), ms(600));
}

TEST(PacedWriter, ChunksAndRestsBetweenThemAndBeforeTheNextFrame)
{
    using Clock = VizoPacedWriter::Clock;
    std::vector<std::pair<Clock::time_point, std::size_t>> writes;
    VizoPacedWriter writer([&](const void *, std::size_t size) {
        writes.emplace_back(Clock::now(), size);
        return long(size);
    });
    const QByteArray big(2500, 'x');
    const auto start = Clock::now();
    writer.write(big.constData(), std::size_t(big.size()));
    // The caller is not held for the rest after the last chunk.
    writer.write("abcdefghijklmnop", 16);
    writer.write("q", 0); // nothing, no rest
    writer.write("r", 1);
    ASSERT_EQ(writes.size(), 5u);
    EXPECT_EQ(writes[0].second, 1024u);
    EXPECT_EQ(writes[1].second, 1024u);
    EXPECT_EQ(writes[2].second, 452u);
    EXPECT_EQ(writes[3].second, 16u);
    EXPECT_EQ(writes[4].second, 1u);
    auto gap = [&](int i) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(writes[std::size_t(i)].first
                                                                     - writes[std::size_t(i) - 1].first);
    };
    EXPECT_GE(gap(1).count(), 600);
    EXPECT_GE(gap(2).count(), 600);
    EXPECT_GE(gap(3).count(), 300);
    EXPECT_GE(gap(4).count(), 200);
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(writes[4].first - start).count(), 1700);
}

TEST(PortDiscovery, UsbIdsAndSpeedsOfTheKernelAttributes)
{
    EXPECT_TRUE(vizoIsDeviceId("04b4", "f8f8"));
    EXPECT_TRUE(vizoIsDeviceId("04B4\n", "F9F9"));
    EXPECT_FALSE(vizoIsDeviceId("04b4", "f8f9"));
    EXPECT_FALSE(vizoIsDeviceId("04b5", "f8f8"));
    EXPECT_EQ(vizoUsbSpeedCode("1.5"), 0);
    EXPECT_EQ(vizoUsbSpeedCode("12"), 1);
    EXPECT_EQ(vizoUsbSpeedCode("480\n"), 2);
    EXPECT_EQ(vizoUsbSpeedCode("5000"), 3);
    EXPECT_EQ(vizoUsbSpeedCode("20000"), 3);
    EXPECT_EQ(vizoUsbSpeedCode("fast"), -1);
    EXPECT_EQ(vizoUsbSpeedOfPort(QStringLiteral("/dev/null")), -1);
}

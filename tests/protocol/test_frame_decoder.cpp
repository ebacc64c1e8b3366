// Readable lines for frames and streams, as vizo-proto and the trace print them.
#include "protocol/VizoCommands.h"
#include "protocol/VizoFrame.h"
#include "protocol/VizoFrameDecoder.h"

#include <gtest/gtest.h>

namespace {

QByteArray frameOf(const char *hex, std::uint16_t count = 1, std::uint16_t index = 1)
{
    return VizoFrame::compose(QByteArray::fromHex(hex), count, index);
}

QStringList decodeAll(VizoDirection direction, const QByteArray &stream, int chunk)
{
    VizoStreamDecoder decoder(direction);
    QStringList lines;
    for (qsizetype at = 0; at < stream.size(); at += chunk)
        lines << decoder.feed(stream.mid(at, chunk));
    lines << decoder.finish();
    return lines;
}

} // namespace

TEST(FrameDecoder, LinesNameParametersTransferPositionAndChecksum)
{
    const auto H = VizoDirection::HostToDevice;
    const auto D = VizoDirection::DeviceToHost;
    EXPECT_EQ(vizoDescribeFrame(H, frameOf("2000 00")), QStringLiteral("CameraZoom 0 crc=ok"));
    EXPECT_EQ(vizoDescribeFrame(H, frameOf("0606 2700")), QStringLiteral("SetContrast 6 39 crc=ok"));
    EXPECT_EQ(vizoDescribeFrame(H, VizoFrame::compose(VizoCmd::SpeakText(QStringLiteral("a\"\n")).payload())),
              QStringLiteral("SpeakText \"a\\\"\\n\" crc=ok"));
    EXPECT_EQ(vizoDescribeFrame(D, frameOf("2608 02")), QStringLiteral("DeviceVersion 2 crc=ok"));
    EXPECT_EQ(vizoDescribeFrame(D, frameOf("2504") + QByteArray()),
              QStringLiteral("BatteryInfo \"\" crc=ok"));
    EXPECT_EQ(vizoDescribeFrame(D, VizoFrame::compose(QByteArray::fromHex("310401") + "a=1", 3, 2)),
              QStringLiteral("OptionFileData 2/3 \"\\x01a=1\" crc=ok"));
    EXPECT_EQ(vizoDescribeFrame(D, frameOf("3101 02", 2, 1)), QStringLiteral("FileListData 1/2 2 \"\" crc=ok"));
    EXPECT_EQ(vizoDescribeFrame(D, frameOf("2705 01")), QStringLiteral("unknown 27 05 crc=ok"));
    EXPECT_EQ(vizoDescribeFrame(D, frameOf("2600")), QStringLiteral("ZoomLevelChanged malformed len=2 crc=ok"));

    QByteArray bad = frameOf("2400");
    bad[12] = char(bad[12] ^ 0xFF);
    EXPECT_EQ(vizoDescribeFrame(H, bad), QStringLiteral("MenuOpened crc=bad"));
    bad = frameOf("2400");
    bad[0] = 0;
    bad[15] = 0;
    EXPECT_EQ(vizoDescribeFrame(H, bad), QStringLiteral("MenuOpened magic=bad trailer=bad crc=ok"));
}

TEST(FrameDecoder, StreamSkipsGarbageAndFindsEveryFrameWhateverTheChunking)
{
    const QByteArray a = frameOf("2000 01");
    const QByteArray b = frameOf("2401");
    // A stray magic with a length that points past a real frame must not
    // swallow it: the trailer check sends the search on.
    const QByteArray stream = QByteArray("junk") + a + QByteArray::fromHex("fcfc0201") + b
                              + QByteArray::fromHex("fd");
    const QStringList expected{QStringLiteral("skipped 4 bytes"), QStringLiteral("CameraZoom 1 crc=ok"),
                               QStringLiteral("skipped 4 bytes"), QStringLiteral("MenuClosed crc=ok"),
                               QStringLiteral("skipped 1 bytes")};
    for (int chunk : {1, 3, 7, 1000}) {
        SCOPED_TRACE(chunk);
        EXPECT_EQ(decodeAll(VizoDirection::HostToDevice, stream, chunk), expected);
    }
}

TEST(FrameDecoder, StreamEndingInsideAFrameSaysSo)
{
    const QByteArray a = frameOf("2400");
    const QByteArray cut = frameOf("2000 01").left(12);
    EXPECT_EQ(decodeAll(VizoDirection::HostToDevice, a + cut, 5),
              (QStringList{QStringLiteral("MenuOpened crc=ok"), QStringLiteral("truncated frame (12 of 17 bytes)")}));
    EXPECT_EQ(decodeAll(VizoDirection::HostToDevice, QByteArray::fromHex("fcfc02"), 5),
              QStringList{QStringLiteral("truncated frame (3 bytes)")});
    EXPECT_TRUE(decodeAll(VizoDirection::HostToDevice, QByteArray(), 5).isEmpty());
}

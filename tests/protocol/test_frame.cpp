// Frame layout and checksum.
#include "protocol/VizoCommands.h"
#include "protocol/VizoFrame.h"

#include <gtest/gtest.h>

TEST(Frame, ChecksumIsXmodem)
{
    EXPECT_EQ(vizoCrc16("123456789", 9), 0x31C3);
    EXPECT_EQ(vizoCrc16("", 0), 0);
    const QByteArray header = QByteArray::fromHex("02010100010002002400");
    EXPECT_EQ(vizoCrc16(header.constData(), std::size_t(header.size())), 0x1090);
}

TEST(Frame, MenuOpenedFrameIsByteExact)
{
    const VizoCmd::MenuOpened record;
    const QByteArray frame = VizoFrame::compose(record.data(), record.size());
    EXPECT_EQ(frame.toHex(' '), QByteArray("fc fc 02 01 01 00 01 00 02 00 24 00 10 90 fd fd"));
    EXPECT_EQ(VizoFrame::compose(record.payload()), frame);
}

TEST(Frame, ComposedFramesParseBackWithCountIndexAndLength)
{
    const QByteArray payload = QByteArray::fromHex("3104") + QByteArray(300, 'z');
    const QByteArray frame = VizoFrame::compose(payload, 3, 2);
    ASSERT_EQ(frame.size(), payload.size() + 14);
    EXPECT_EQ(frame.mid(4, 6), QByteArray::fromHex("030002002e01")); // count 3, index 2, length 302
    const auto parsed = VizoFrame::parse(frame);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->count, 3);
    EXPECT_EQ(parsed->index, 2);
    EXPECT_EQ(parsed->payload, payload);
    EXPECT_TRUE(parsed->magicOk && parsed->trailerOk && parsed->crcOk);
    EXPECT_EQ(VizoFrame::bodySizeForHeader(reinterpret_cast<const std::uint8_t *>(frame.constData())), 306u);

    // Empty payload: a 14-byte frame.
    EXPECT_EQ(VizoFrame::compose(QByteArray()).size(), 14);
    // Too long for the 16-bit length field: nothing is framed.
    EXPECT_TRUE(VizoFrame::compose(QByteArray(65536, 'x')).isEmpty());
    EXPECT_EQ(VizoFrame::compose(QByteArray(65535, 'x')).size(), 65535 + 14);
}

TEST(Frame, DamageIsReportedFieldByField)
{
    const QByteArray good = VizoFrame::compose(VizoCmd::CameraZoom(0).payload());
    QByteArray crc = good;
    crc[11] = char(crc[11] ^ 0x01); // a payload bit: the CRC no longer matches
    auto p = VizoFrame::parse(crc);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->crcOk);
    EXPECT_TRUE(p->magicOk && p->trailerOk);

    QByteArray trailer = good;
    trailer[trailer.size() - 1] = 0;
    p = VizoFrame::parse(trailer);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->trailerOk);
    EXPECT_TRUE(p->crcOk); // the trailer is not covered

    EXPECT_FALSE(VizoFrame::parse(good.left(good.size() - 1)));
    EXPECT_FALSE(VizoFrame::parse(good + 'x'));
    EXPECT_FALSE(VizoFrame::parse(QByteArray(5, '\xfc')));
}

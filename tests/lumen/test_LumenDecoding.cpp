// YUYV conversion and MJPEG decoding, the two conversions a frame may need
// between the camera and the screen.
#include "LumenJpegDecoder.h"
#include "LumenTestFrames.h"
#include "LumenYuyv.h"

#include <gtest/gtest.h>

using lumentest::near;

TEST(LumenYuyv, KnownPixelsConvertToTheirColours)
{
    // Y0 U Y1 V pairs; reference values from BT.601 video range.
    struct Row
    {
        uchar y, u, v;
        QRgb expected;
    };
    const Row rows[] = {
        {16, 128, 128, qRgb(0, 0, 0)},       // black
        {235, 128, 128, qRgb(255, 255, 255)}, // white
        {126, 128, 128, qRgb(128, 128, 128)}, // mid grey
        {81, 90, 240, qRgb(255, 0, 0)},       // red
        {145, 54, 34, qRgb(0, 255, 0)},       // green
        {41, 240, 110, qRgb(0, 0, 255)},      // blue
        {0, 0, 0, qRgb(0, 135, 0)},           // out of range clamps, no wrap
        {255, 255, 255, qRgb(255, 125, 255)},
    };
    // 2 pixels wide takes the plain path, 18 wide the vector path (8
    // pixels a step) and its tail: both must agree.
    for (int width : {2, 18}) {
        for (const Row &row : rows) {
            QByteArray bytes;
            for (int i = 0; i < width / 2; ++i)
                bytes.append(char(row.y)).append(char(row.u)).append(char(row.y)).append(char(row.v));
            QImage out;
            ASSERT_TRUE(LumenYuyv::toRgb32(reinterpret_cast<const uchar *>(bytes.constData()),
                                           width * 2, width, 1, out));
            ASSERT_EQ(out.format(), QImage::Format_RGB32);
            for (int x = 0; x < width; ++x)
                EXPECT_TRUE(near(out.pixel(x, 0), row.expected, 2))
                    << int(row.y) << "," << int(row.u) << "," << int(row.v) << " at " << x
                    << " gave " << std::hex << out.pixel(x, 0);
        }
    }
}

TEST(LumenYuyv, EachPixelOfAPairKeepsItsOwnLumaAndPaddedLinesAreSkipped)
{
    // Two lines of 2 pixels with 4 bytes of padding each: the padding holds
    // bytes that would show as bright colours if they were read.
    const uchar bytes[] = {16, 128, 235, 128, 200, 10, 200, 10,
                           235, 128, 16, 128, 200, 10, 200, 10};
    QImage out;
    ASSERT_TRUE(LumenYuyv::toRgb32(bytes, 8, 2, 2, out));
    EXPECT_EQ(out.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(out.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(0, 1), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(1, 1), qRgb(0, 0, 0));

    // The same on the vector path: 8 pixels, lines padded by 16 bytes.
    QByteArray wide;
    for (int line = 0; line < 2; ++line) {
        for (int i = 0; i < 4; ++i)
            wide.append(line ? "\xeb\x80\x10\x80" : "\x10\x80\xeb\x80", 4);
        wide.append(QByteArray(16, '\xc8'));
    }
    ASSERT_TRUE(LumenYuyv::toRgb32(reinterpret_cast<const uchar *>(wide.constData()), 32, 8, 2, out));
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(out.pixel(x, 0), x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << x;
        EXPECT_EQ(out.pixel(x, 1), x % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x;
    }
}

TEST(LumenYuyv, RefusesOddWidthsAndShortLines)
{
    const uchar bytes[8] = {};
    QImage out;
    EXPECT_FALSE(LumenYuyv::toRgb32(bytes, 6, 3, 1, out));
    EXPECT_FALSE(LumenYuyv::toRgb32(bytes, 2, 2, 1, out));
    EXPECT_FALSE(LumenYuyv::toRgb32(nullptr, 4, 2, 1, out));
    EXPECT_EQ(LumenYuyv::frameBytes(4, 3, 0), 24);
    EXPECT_EQ(LumenYuyv::frameBytes(4, 3, 16), 16 * 2 + 8);
}

TEST(LumenYuyv, RoundTripOfAPictureStaysClose)
{
    const QImage source = lumentest::quadrants(64, 32);
    const QByteArray yuyv = lumentest::toYuyv(source);
    QImage out;
    ASSERT_TRUE(LumenYuyv::toRgb32(reinterpret_cast<const uchar *>(yuyv.constData()), 0, 64, 32,
                                   out));
    for (const QPoint p : {QPoint(5, 5), QPoint(60, 5), QPoint(5, 30), QPoint(60, 30)})
        EXPECT_TRUE(near(out.pixel(p), source.pixel(p), 4)) << p.x() << "," << p.y();
}

TEST(LumenJpeg, DecodesAnInMemoryJpeg)
{
    const QImage source = lumentest::quadrants(320, 240);
    const QByteArray jpeg = lumentest::toJpeg(source);
    LumenJpegDecoder decoder;
    const QImage out = decoder.decode(reinterpret_cast<const uchar *>(jpeg.constData()), jpeg.size());
    ASSERT_FALSE(out.isNull()) << decoder.error().toStdString();
    EXPECT_EQ(out.size(), QSize(320, 240));
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    for (const QPoint p : {QPoint(40, 40), QPoint(280, 40), QPoint(40, 200), QPoint(280, 200)})
        EXPECT_TRUE(near(out.pixel(p), source.pixel(p), 12)) << p.x() << "," << p.y();
}

TEST(LumenJpeg, GarbageAndTruncatedFramesGiveAReasonNotACrash)
{
    LumenJpegDecoder decoder;
    const QByteArray garbage(4096, '\x5a');
    EXPECT_TRUE(decoder.decode(reinterpret_cast<const uchar *>(garbage.constData()), garbage.size())
                    .isNull());
    EXPECT_FALSE(decoder.error().isEmpty());
    EXPECT_TRUE(decoder.decode(nullptr, 0).isNull());

    // A frame cut short on the wire still shows what arrived, or nothing.
    const QByteArray jpeg = lumentest::toJpeg(lumentest::quadrants(320, 240));
    const QByteArray head = jpeg.left(jpeg.size() / 2);
    const QImage part = decoder.decode(reinterpret_cast<const uchar *>(head.constData()), head.size());
    if (!part.isNull()) {
        EXPECT_EQ(part.size(), QSize(320, 240));
    }
    // The decoder is still usable afterwards.
    EXPECT_FALSE(
        decoder.decode(reinterpret_cast<const uchar *>(jpeg.constData()), jpeg.size()).isNull());
}

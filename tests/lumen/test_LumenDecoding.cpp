// YUYV conversion and MJPEG decoding, the two conversions a frame may need
// between the camera and the screen.
#include "LumenJpegDecoder.h"
#include "LumenPlanar.h"
#include "LumenSimd.h"
#include "LumenTestFrames.h"
#include "LumenYuyv.h"

#include <cmath>
#include <cstring>
#include <vector>

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

// --- Planar YCbCr, as the JPEG decoder leaves it (full range) ---

namespace {

struct TestPlanes
{
    QByteArray y, u, v;
    LumenYuvPlanes planes;
};

// Planes of `width` x `height` with the given subsampling, filled by
// `sample(component, x, y)` (x, y in that component's own grid).
template <typename Sample>
TestPlanes makePlanes(int width, int height, int xShift, int yShift, bool grey, Sample sample)
{
    TestPlanes t;
    const int cw = (width + (1 << xShift) - 1) >> xShift;
    const int ch = (height + (1 << yShift) - 1) >> yShift;
    // Padded lines, as a decoder pads to whole blocks.
    const int yStride = width + 5, cStride = cw + 3;
    t.y = QByteArray(qsizetype(yStride) * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            t.y[qsizetype(y) * yStride + x] = char(sample(0, x, y));
    t.planes.y = reinterpret_cast<const uchar *>(t.y.constData());
    t.planes.yBytesPerLine = yStride;
    if (!grey) {
        t.u = QByteArray(qsizetype(cStride) * ch, '\0');
        t.v = QByteArray(qsizetype(cStride) * ch, '\0');
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                t.u[qsizetype(y) * cStride + x] = char(sample(1, x, y));
                t.v[qsizetype(y) * cStride + x] = char(sample(2, x, y));
            }
        t.planes.u = reinterpret_cast<const uchar *>(t.u.constData());
        t.planes.v = reinterpret_cast<const uchar *>(t.v.constData());
        t.planes.uvBytesPerLine = cStride;
    }
    t.planes.width = width;
    t.planes.height = height;
    t.planes.xShift = xShift;
    t.planes.yShift = yShift;
    return t;
}

// JFIF at full precision: what a correct conversion approximates.
QRgb jfif(int y, int cb, int cr)
{
    const auto c = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    return qRgb(c(y + 1.402 * (cr - 128)), c(y - 0.344136 * (cb - 128) - 0.714136 * (cr - 128)),
                c(y + 1.772 * (cb - 128)));
}

struct Layout
{
    int xShift, yShift;
    bool grey;
};
const Layout kLayouts[] = {{1, 1, false}, {1, 0, false}, {0, 0, false}, {0, 1, false}, {0, 0, true}};

} // namespace

TEST(LumenPlanar, KnownColoursComeOutRightOnEveryLayout)
{
    struct Row
    {
        uchar y, cb, cr;
        QRgb expected;
    };
    const Row rows[] = {
        {0, 128, 128, qRgb(0, 0, 0)},       {255, 128, 128, qRgb(255, 255, 255)},
        {128, 128, 128, qRgb(128, 128, 128)}, {76, 85, 255, qRgb(254, 0, 0)},
        {150, 44, 21, qRgb(0, 255, 1)},     {29, 255, 107, qRgb(0, 0, 254)},
        {255, 0, 255, qRgb(255, 208, 28)}, // out of gamut: clamps, no wrap
    };
    for (const Layout &layout : kLayouts) {
        for (const Row &row : rows) {
            // 18 and 37 wide: vector steps, their tails, an odd last column.
            for (int width : {2, 18, 37}) {
                const TestPlanes t = makePlanes(width, 3, layout.xShift, layout.yShift, layout.grey,
                                                [&](int c, int, int) {
                                                    return c == 0 ? row.y : c == 1 ? row.cb : row.cr;
                                                });
                QImage out;
                ASSERT_TRUE(LumenPlanar::toRgb32(t.planes, out));
                const QRgb expected = layout.grey ? qRgb(row.y, row.y, row.y) : row.expected;
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x)
                        ASSERT_TRUE(near(out.pixel(x, y), expected, 2))
                            << "layout " << layout.xShift << layout.yShift << layout.grey
                            << " width " << width << " at " << x << "," << y << " gave " << std::hex
                            << out.pixel(x, y);
            }
        }
    }
}

TEST(LumenPlanar, EveryPixelTakesItsOwnChromaSampleWhateverTheWidth)
{
    // Chroma that differs per sample catches a vector step that reads the
    // wrong sample or a tail that starts at the wrong column; both vector
    // units must give identical pixels.
    for (const Layout &layout : kLayouts) {
        for (int width = 1; width <= 41; ++width) {
            const int height = 4;
            const TestPlanes t = makePlanes(width, height, layout.xShift, layout.yShift,
                                            layout.grey, [](int c, int x, int y) {
                                                return (37 * x + 91 * y + 53 * c) % 256;
                                            });
            QImage wide, narrow;
            LumenSimd::limitToSse2(false);
            ASSERT_TRUE(LumenPlanar::toRgb32(t.planes, wide));
            LumenSimd::limitToSse2(true);
            ASSERT_TRUE(LumenPlanar::toRgb32(t.planes, narrow));
            LumenSimd::limitToSse2(false);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const int l = uchar(t.y[qsizetype(y) * t.planes.yBytesPerLine + x]);
                    const qsizetype c = qsizetype(y >> layout.yShift) * t.planes.uvBytesPerLine +
                                        (x >> layout.xShift);
                    const QRgb expected =
                        layout.grey ? qRgb(l, l, l) : jfif(l, uchar(t.u[c]), uchar(t.v[c]));
                    ASSERT_EQ(wide.pixel(x, y), narrow.pixel(x, y)) << width << " at " << x;
                    ASSERT_TRUE(near(wide.pixel(x, y), expected, 2))
                        << "layout " << layout.xShift << layout.yShift << " width " << width
                        << " at " << x << "," << y;
                }
        }
    }
}

TEST(LumenPlanar, RefusesPlanesItCannotRead)
{
    TestPlanes t = makePlanes(8, 2, 1, 1, false, [](int, int, int) { return 128; });
    QImage out;
    LumenYuvPlanes p = t.planes;
    p.y = nullptr;
    EXPECT_FALSE(LumenPlanar::toRgb32(p, out));
    p = t.planes;
    p.uvBytesPerLine = 3; // shorter than half of 8
    EXPECT_FALSE(LumenPlanar::toRgb32(p, out));
    p = t.planes;
    p.xShift = 2; // 4:1:1 is left to the decoder
    EXPECT_FALSE(LumenPlanar::toRgb32(p, out));
}

TEST(LumenYuyv, BothVectorUnitsGiveTheSamePixels)
{
    for (int width = 2; width <= 70; width += 2) {
        QByteArray bytes(width * 2 * 3, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 73 + 11) % 256);
        QImage wide, narrow;
        LumenSimd::limitToSse2(false);
        ASSERT_TRUE(LumenYuyv::toRgb32(reinterpret_cast<const uchar *>(bytes.constData()), 0,
                                       width, 3, wide));
        LumenSimd::limitToSse2(true);
        ASSERT_TRUE(LumenYuyv::toRgb32(reinterpret_cast<const uchar *>(bytes.constData()), 0,
                                       width, 3, narrow));
        LumenSimd::limitToSse2(false);
        EXPECT_EQ(wide, narrow) << "width " << width;
    }
}

TEST(LumenJpeg, FramesDecodeToPlanesThatShowTheSamePicture)
{
    const QImage source = lumentest::quadrants(320, 240);
    const QByteArray jpeg = lumentest::toJpeg(source);
    LumenJpegDecoder decoder;
    LumenFrame frame;
    ASSERT_TRUE(decoder.decodeFrame(reinterpret_cast<const uchar *>(jpeg.constData()), jpeg.size(),
                                    frame))
        << decoder.error().toStdString();
    ASSERT_EQ(frame.kind, LumenFrame::Kind::Planar);
    EXPECT_EQ(frame.size, QSize(320, 240));
    QImage viaPlanes;
    ASSERT_TRUE(LumenPlanar::toRgb32(frame.planes, viaPlanes));
    const QImage whole = decoder.decode(reinterpret_cast<const uchar *>(jpeg.constData()), jpeg.size());
    ASSERT_EQ(viaPlanes.size(), whole.size());
    for (int y = 0; y < whole.height(); y += 7)
        for (int x = 0; x < whole.width(); x += 5)
            ASSERT_TRUE(near(viaPlanes.pixel(x, y), whole.pixel(x, y), 3)) << x << "," << y;

    // A grey JPEG has one plane.
    QImage grey(64, 48, QImage::Format_Grayscale8);
    grey.fill(100);
    const QByteArray greyJpeg = lumentest::toJpeg(grey);
    LumenFrame greyFrame;
    ASSERT_TRUE(decoder.decodeFrame(reinterpret_cast<const uchar *>(greyJpeg.constData()),
                                    greyJpeg.size(), greyFrame));
    ASSERT_EQ(greyFrame.kind, LumenFrame::Kind::Planar);
    EXPECT_TRUE(greyFrame.planes.grey());
    QImage greyOut;
    ASSERT_TRUE(LumenPlanar::toRgb32(greyFrame.planes, greyOut));
    EXPECT_TRUE(near(greyOut.pixel(30, 20), qRgb(100, 100, 100), 2));
}

TEST(LumenJpeg, APictureStillHeldIsNeverOverwrittenByTheNextFrame)
{
    // Plane memory is reused between frames; a frame on screen must keep
    // its own picture while later frames are decoded.
    QImage red(64, 32, QImage::Format_RGB32), blue(64, 32, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    blue.fill(qRgb(0, 0, 255));
    const QByteArray redJpeg = lumentest::toJpeg(red), blueJpeg = lumentest::toJpeg(blue);
    LumenJpegDecoder decoder;
    auto held = std::make_shared<LumenFrame>();
    ASSERT_TRUE(decoder.decodeFrame(reinterpret_cast<const uchar *>(redJpeg.constData()),
                                    redJpeg.size(), *held));
    for (int i = 0; i < 6; ++i) {
        LumenFrame next;
        ASSERT_TRUE(decoder.decodeFrame(reinterpret_cast<const uchar *>(blueJpeg.constData()),
                                        blueJpeg.size(), next));
        QImage shown;
        ASSERT_TRUE(LumenPlanar::toRgb32(held->planes, shown));
        ASSERT_TRUE(near(shown.pixel(10, 10), qRgb(255, 0, 0), 8)) << "after frame " << i;
    }
}

// Frames split between two threads, at a restart marker or (without
// markers) where the helper's MCUs are proven to belong; pictures where
// that cannot be proven are decoded whole.
TEST(LumenJpeg, SplitFramesShowExactlyWhatAWholeDecodeShows)
{
    using lumentest::JpegOptions;
    enum Picture { Busy, Plain, Stripes };
    // Whether a frame without markers is split depends on when the helper
    // thread gets a core too: it must be at least once in a few tries.
    enum Split { Splits, Whole, Either };
    struct Case
    {
        const char *name;
        int width, height;
        JpegOptions options;
        double keep; // share of the bytes that arrived
        Split split;
        bool noTables = false; // standard Huffman tables, left out
        Picture picture = Busy;
        // Bytes overwritten with noise from this share of the frame on.
        double damage = 0;
    };
    const Case cases[] = {
        {"4:2:2 without markers", 640, 480, {2, 1, 0, 0, 90}, 1.0, Splits},
        {"4:2:0 without markers", 640, 480, {2, 2, 0, 0, 90}, 1.0, Splits},
        {"4:2:0 odd size without markers", 646, 362, {2, 2, 0, 0, 90}, 1.0, Splits},
        {"4:4:4 without markers", 640, 480, {1, 1, 0, 0, 90}, 1.0, Splits},
        // The helper's MCUs do not reach the end: decoded whole.
        {"without markers, cut short", 640, 480, {2, 1, 0, 0, 90}, 0.75, Whole},
        {"without markers, cut early", 640, 480, {2, 1, 0, 0, 90}, 0.3, Whole},
        // Without markers, every MCU alike, or every other: no one place
        // matches.
        {"plain", 640, 480, {2, 1, 0, 0, 90}, 1.0, Whole, false, Plain},
        {"stripes an MCU wide", 640, 480, {2, 1, 0, 0, 90}, 1.0, Whole, false, Stripes},
        // Without markers, noise in the coded data below where the helper
        // starts, and above.
        {"damaged below", 640, 480, {2, 1, 0, 0, 90}, 1.0, Either, false, Busy, 0.8},
        {"damaged above", 640, 480, {2, 1, 0, 0, 90}, 1.0, Either, false, Busy, 0.2},
        // After frames the helper did not finish.
        {"without markers, no Huffman tables", 640, 480, {2, 1, 0, 0, 90}, 1.0, Splits, true},
        {"4:2:2, a marker per row", 640, 480, {2, 1, 1, 0, 90}, 1.0, Splits},
        {"4:2:0, a marker per row", 640, 480, {2, 2, 1, 0, 90}, 1.0, Splits},
        // Odd sizes: partial MCUs at the right and the bottom; an
        // interval that is not a whole row.
        {"4:2:2 odd size, a marker per row", 645, 359, {2, 1, 1, 0, 90}, 1.0, Splits},
        {"4:2:0 odd size, every 3 MCUs", 646, 362, {2, 2, 0, 3, 90}, 1.0, Splits},
        {"4:4:4, every 7 MCUs", 640, 480, {1, 1, 0, 7, 90}, 1.0, Splits},
        // Cut short on the wire, below and above the middle.
        {"4:2:2 with markers, cut short", 640, 480, {2, 1, 1, 0, 90}, 0.75, Splits},
        {"4:2:2 with markers, cut early", 640, 480, {2, 1, 1, 0, 90}, 0.3, Splits},
        {"4:2:2 with markers, no Huffman tables", 640, 480, {2, 1, 1, 0, 90}, 1.0, Splits, true},
    };
    LumenJpegDecoder decoder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage picture = lumentest::busyPicture(c.width, c.height);
        if (c.picture == Plain)
            picture.fill(qRgb(240, 236, 220));
        for (int y = 0; c.picture == Stripes && y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                picture.setPixel(x, y, x / 16 % 2 ? qRgb(250, 250, 250) : qRgb(10, 10, 40));
        const QByteArray whole = lumentest::toJpeg(picture, c.options);
        QByteArray cut = whole.left(qsizetype(double(whole.size()) * c.keep));
        if (c.damage > 0) {
            quint32 noise = 12345;
            for (auto i = qsizetype(double(cut.size()) * c.damage); i < cut.size() - 2; i += 97) {
                noise = noise * 1103515245u + 12345u;
                cut[i] = char(noise >> 16);
            }
        }
        const QByteArray jpeg = c.noTables ? lumentest::withoutHuffmanTables(cut) : cut;
        if (c.noTables) {
            ASSERT_FALSE(jpeg.contains("\xff\xc4"));
        }
        const QImage expected = lumentest::viaWholeFramePlanes(jpeg);
        ASSERT_FALSE(expected.isNull());
        // At least twice: the second frame reuses the planes and the helper.
        const quint64 splitBefore = decoder.splitFrames();
        for (int round = 0; round < 10; ++round) {
            if (round >= 2 && (c.split != Splits || decoder.splitFrames() > splitBefore))
                break;
            LumenFrame frame;
            ASSERT_TRUE(decoder.decodeFrame(reinterpret_cast<const uchar *>(jpeg.constData()),
                                            jpeg.size(), frame))
                << decoder.error().toStdString();
            ASSERT_EQ(frame.kind, LumenFrame::Kind::Planar);
            QImage shown;
            ASSERT_TRUE(LumenPlanar::toRgb32(frame.planes, shown));
            ASSERT_EQ(shown.size(), expected.size());
            for (int y = 0; y < shown.height(); ++y)
                ASSERT_EQ(std::memcmp(shown.constScanLine(y), expected.constScanLine(y),
                                      size_t(shown.width()) * 4),
                          0)
                    << "line " << y;
        }
        if (c.split == Splits) {
            EXPECT_GT(decoder.splitFrames(), splitBefore) << "never split";
        }
        if (c.split == Whole) {
            EXPECT_EQ(decoder.splitFrames(), splitBefore);
        }
    }
}

TEST(LumenJpeg, AJpegStoredAsRgbIsShownInItsOwnColours)
{
    // Three planes that are red, green and blue, not YCbCr: the library
    // converts such a picture; taken for YCbCr it would show false colours.
    const QImage source = lumentest::quadrants(64, 48);
    const QByteArray jpeg = lumentest::toJpeg(source, {1, 1, 0, 0, 95}, JCS_RGB);
    LumenJpegDecoder decoder;
    LumenFrame frame;
    ASSERT_TRUE(decoder.decodeFrame(reinterpret_cast<const uchar *>(jpeg.constData()), jpeg.size(),
                                    frame))
        << decoder.error().toStdString();
    ASSERT_EQ(frame.kind, LumenFrame::Kind::Rgb);
    for (const QPoint p : {QPoint(8, 8), QPoint(56, 8), QPoint(8, 40), QPoint(56, 40)})
        EXPECT_TRUE(near(frame.image.pixel(p), source.pixel(p), 12)) << p.x() << "," << p.y();
}

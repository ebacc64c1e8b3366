#pragma once
// Frames for the tests, made in memory as a camera would send them.
#include "TestWait.h"
#include "LumenPlanar.h"

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace lumentest {

// BT.601 video range, the inverse of what the library does.
inline void rgbToYuv(QRgb c, int &y, int &u, int &v)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    y = std::clamp(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16, 0, 255);
    u = std::clamp(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128, 0, 255);
    v = std::clamp(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128, 0, 255);
}

inline QByteArray toYuyv(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QByteArray out(qsizetype(image.width()) * image.height() * 2, Qt::Uninitialized);
    auto *p = reinterpret_cast<uchar *>(out.data());
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            int y0, u0, v0, y1, u1, v1;
            rgbToYuv(line[x], y0, u0, v0);
            rgbToYuv(line[x + 1], y1, u1, v1);
            *p++ = uchar(y0);
            *p++ = uchar((u0 + u1) / 2);
            *p++ = uchar(y1);
            *p++ = uchar((v0 + v1) / 2);
        }
    }
    return out;
}

// Encoded with the library Lumen decodes with. (Qt's JPEG plugin would load
// a second libjpeg in the middle of the run, whose thread-local block the
// leak checker misreads at exit.) Grey images give a one-plane JPEG.
inline QByteArray toJpeg(const QImage &image, int quality = 95)
{
    const bool grey = image.format() == QImage::Format_Grayscale8;
    const QImage pixels = grey ? image : image.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    if (!handle || tjCompress2(handle.get(), pixels.constBits(), pixels.width(), int(pixels.bytesPerLine()),
                               pixels.height(), grey ? TJPF_GRAY : TJPF_RGB, &jpeg, &size,
                               grey ? TJSAMP_GRAY : TJSAMP_422, quality, 0) != 0) {
        tjFree(jpeg);
        return {};
    }
    QByteArray bytes(reinterpret_cast<const char *>(jpeg), qsizetype(size));
    tjFree(jpeg);
    return bytes;
}

// Through libjpeg, which (unlike TurboJPEG 2.1) writes restart markers:
// every `restartRows` MCU rows, or every `restartMcus` MCUs. Luma sampling
// 2x1 is 4:2:2, 2x2 is 4:2:0.
struct JpegOptions
{
    int h = 2, v = 1;
    int restartRows = 0;
    int restartMcus = 0;
    int quality = 90;
};

inline QByteArray toJpeg(const QImage &image, const JpegOptions &options,
                         J_COLOR_SPACE stored = JCS_YCbCr)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct c{};
    jpeg_error_mgr error{};
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(rgb.width());
    c.image_height = JDIMENSION(rgb.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, options.quality, TRUE);
    if (stored != JCS_YCbCr)
        jpeg_set_colorspace(&c, stored);
    c.comp_info[0].h_samp_factor = options.h;
    c.comp_info[0].v_samp_factor = options.v;
    c.restart_in_rows = options.restartRows;
    c.restart_interval = unsigned(options.restartMcus);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        auto *row = const_cast<JSAMPROW>(rgb.constScanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    std::free(out);
    jpeg_destroy_compress(&c);
    return bytes;
}

// Many cameras leave the Huffman tables out of their frames and rely on
// the standard ones, which libjpeg's defaults are: drop the DHT segments.
inline QByteArray withoutHuffmanTables(const QByteArray &jpeg)
{
    QByteArray out = jpeg.left(2);
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && uchar(jpeg[pos]) == 0xFF && uchar(jpeg[pos + 1]) != 0xDA) {
        const qsizetype length = (uchar(jpeg[pos + 2]) << 8) | uchar(jpeg[pos + 3]);
        if (uchar(jpeg[pos + 1]) != 0xC4)
            out += jpeg.mid(pos, 2 + length);
        pos += 2 + length;
    }
    return out + jpeg.mid(pos);
}

// Detail everywhere (so every block has coefficients): gradients under a
// pattern of lines.
inline QImage busyPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb((x * 255) / std::max(1, width - 1), (y * 255) / std::max(1, height - 1),
                                ((x / 3 + y / 5) % 7) * 36));
    return image;
}

// The path frames took before they could be split: TurboJPEG's planes of
// the whole frame, then the converter.
inline QImage viaWholeFramePlanes(const QByteArray &jpeg)
{
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitDecompress(), tjDestroy);
    const auto *bytes = reinterpret_cast<const uchar *>(jpeg.constData());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (!handle || tjDecompressHeader3(handle.get(), bytes, (unsigned long)jpeg.size(), &width,
                                       &height, &subsampling, &colorspace) != 0)
        return {};
    std::vector<uchar> planes[3];
    unsigned char *dst[3];
    int strides[3];
    for (int i = 0; i < 3; ++i) {
        planes[i].resize(size_t(tjPlaneSizeYUV(i, width, 0, height, subsampling)));
        dst[i] = planes[i].data();
        strides[i] = tjPlaneWidth(i, width, subsampling);
    }
    if (tjDecompressToYUVPlanes(handle.get(), bytes, (unsigned long)jpeg.size(), dst, width,
                                strides, height, TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE) != 0 &&
        tjGetErrorCode(handle.get()) != TJERR_WARNING)
        return {};
    LumenYuvPlanes p;
    p.y = dst[0];
    p.u = dst[1];
    p.v = dst[2];
    p.yBytesPerLine = strides[0];
    p.uvBytesPerLine = strides[1];
    p.width = width;
    p.height = height;
    p.xShift = subsampling == TJSAMP_422 || subsampling == TJSAMP_420;
    p.yShift = subsampling == TJSAMP_420;
    QImage out;
    LumenPlanar::toRgb32(p, out);
    return out;
}

// Four quadrants: red, green / blue, white.
inline QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, bottom = y >= height / 2;
            image.setPixel(x, y,
                           bottom ? (right ? qRgb(255, 255, 255) : qRgb(0, 0, 255))
                                  : (right ? qRgb(0, 255, 0) : qRgb(255, 0, 0)));
        }
    return image;
}

inline bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace lumentest

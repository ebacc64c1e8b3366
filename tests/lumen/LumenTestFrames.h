#pragma once
// Frames for the tests, made in memory as a camera would send them.
#include "LumenFrameMaker.h"
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

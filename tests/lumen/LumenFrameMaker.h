#pragma once
// Camera frames made in memory from a picture: YUYV bytes, and JPEGs with
// the sampling and restart markers a camera may choose. Shared by the Lumen
// tests and the benchmark.
#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared first.
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

} // namespace lumentest

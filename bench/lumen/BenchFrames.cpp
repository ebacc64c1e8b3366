#include "BenchFrames.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// Video-range BT.601, as a USB camera encodes.
void toYuv(QRgb c, int &y, int &u, int &v)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    y = std::clamp(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16, 0, 255);
    u = std::clamp(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128, 0, 255);
    v = std::clamp(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128, 0, 255);
}

QByteArray yuyvOf(const QImage &image)
{
    QByteArray out(qsizetype(image.width()) * image.height() * 2, Qt::Uninitialized);
    auto *p = reinterpret_cast<uchar *>(out.data());
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            int y0, u0, v0, y1, u1, v1;
            toYuv(line[x], y0, u0, v0);
            toYuv(line[x + 1], y1, u1, v1);
            *p++ = uchar(y0);
            *p++ = uchar((u0 + u1) / 2);
            *p++ = uchar(y1);
            *p++ = uchar((v0 + v1) / 2);
        }
    }
    return out;
}

// libjpeg directly: Qt's writer knows neither 4:2:2 nor restart markers.
QByteArray jpegOf(const QImage &image, bool restartMarkers)
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
    jpeg_set_quality(&c, 85, TRUE);
    c.comp_info[0].h_samp_factor = 2; // 4:2:2
    c.comp_info[0].v_samp_factor = 1;
    c.restart_in_rows = restartMarkers ? 1 : 0;
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

QImage page(QSize size, int index)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(250, 248, 240));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(38);
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 30));
    const QString words = QStringLiteral(
        "The quick brown fox jumps over the lazy dog while the reader moves the page ");
    for (int line = 0; line < 22; ++line)
        painter.drawText(60 - (index * 7) % 40, 70 + line * 46,
                         words.mid((line * 3 + index) % 20) + words);
    painter.fillRect(QRect(1500, 80 + index * 10, 300, 200), QColor(200, 40, 40));
    return image;
}

} // namespace

BenchFrames BenchFrames::make(QSize size, int count)
{
    BenchFrames frames;
    frames.size = size;
    for (int i = 0; i < count; ++i) {
        const QImage image = page(size, i);
        frames.yuyv.push_back(yuyvOf(image));
        frames.mjpeg.push_back(jpegOf(image, false));
        frames.mjpegRestart.push_back(jpegOf(image, true));
    }
    return frames;
}

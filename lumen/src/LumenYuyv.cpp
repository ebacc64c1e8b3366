#include "LumenYuyv.h"

namespace {

// Fixed point ITU-R BT.601, video range (Y 16..235, Cb/Cr 16..240):
//   R = (298 (Y-16) + 409 (V-128) + 128) >> 8
//   G = (298 (Y-16) - 100 (U-128) - 208 (V-128) + 128) >> 8
//   B = (298 (Y-16) + 516 (U-128) + 128) >> 8
// Every product is looked up, and so is the clamp to 0..255: about a third
// faster than multiplying, with the same results.
struct Tables
{
    int y[256], rv[256], gu[256], gv[256], bu[256];
    // (sum >> 8) lies in -277..534 for any input; index + kClipBias.
    static constexpr int kClipBias = 384;
    uchar clip[1024];

    constexpr Tables() : y(), rv(), gu(), gv(), bu(), clip()
    {
        for (int i = 0; i < 256; ++i) {
            y[i] = 298 * (i - 16) + 128;
            rv[i] = 409 * (i - 128);
            gu[i] = -100 * (i - 128);
            gv[i] = -208 * (i - 128);
            bu[i] = 516 * (i - 128);
        }
        for (int i = 0; i < 1024; ++i) {
            const int v = i - kClipBias;
            clip[i] = static_cast<uchar>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
    }
};

constexpr Tables kTables;

inline QRgb rgb(int c, int r, int g, int b)
{
    const uchar *clip = kTables.clip + Tables::kClipBias;
    return 0xff000000u | QRgb(clip[(c + r) >> 8]) << 16 | QRgb(clip[(c + g) >> 8]) << 8 |
           QRgb(clip[(c + b) >> 8]);
}

} // namespace

namespace LumenYuyv {

qsizetype frameBytes(int width, int height, int bytesPerLine)
{
    if (width <= 0 || height <= 0)
        return 0;
    const qsizetype line = bytesPerLine > 0 ? bytesPerLine : qsizetype(width) * 2;
    return line * (height - 1) + qsizetype(width) * 2;
}

bool toRgb32(const uchar *yuyv, int bytesPerLine, int width, int height, QImage &out)
{
    if (!yuyv || width <= 0 || height <= 0 || (width & 1))
        return false;
    if (bytesPerLine <= 0)
        bytesPerLine = width * 2;
    if (bytesPerLine < width * 2)
        return false;
    if (out.size() != QSize(width, height) || out.format() != QImage::Format_RGB32)
        out = QImage(width, height, QImage::Format_RGB32);
    if (out.isNull())
        return false;

    for (int y = 0; y < height; ++y) {
        const uchar *in = yuyv + qsizetype(y) * bytesPerLine;
        auto *px = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width; x += 2, in += 4) {
            const int r = kTables.rv[in[3]];
            const int g = kTables.gu[in[1]] + kTables.gv[in[3]];
            const int b = kTables.bu[in[1]];
            px[x] = rgb(kTables.y[in[0]], r, g, b);
            px[x + 1] = rgb(kTables.y[in[2]], r, g, b);
        }
    }
    return true;
}

} // namespace LumenYuyv

#include "LumenYuyv.h"

#include <algorithm>

namespace {

inline uchar clamp8(int v)
{
    return static_cast<uchar>(std::clamp(v, 0, 255));
}

// Fixed point ITU-R BT.601, video range: Y 16..235, Cb/Cr 16..240.
inline QRgb rgb(int c, int r, int g, int b)
{
    return qRgb(clamp8((c + r) >> 8), clamp8((c + g) >> 8), clamp8((c + b) >> 8));
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
            const int d = in[1] - 128;
            const int e = in[3] - 128;
            const int r = 409 * e + 128;
            const int g = -100 * d - 208 * e + 128;
            const int b = 516 * d + 128;
            const int c0 = 298 * (in[0] - 16);
            const int c1 = 298 * (in[2] - 16);
            px[x] = rgb(c0, r, g, b);
            px[x + 1] = rgb(c1, r, g, b);
        }
    }
    return true;
}

} // namespace LumenYuyv

#pragma once
// Packed YUYV (4:2:2, BT.601 limited range, as USB cameras send it) to RGB.
// The OpenGL shader uses the same matrix.
#include <QImage>

namespace LumenYuyv {

// Converts into `out` (resized to width x height, Format_RGB32). Returns
// false when the input is too small for the size or the width is odd.
bool toRgb32(const uchar *yuyv, int bytesPerLine, int width, int height, QImage &out);

// Number of bytes a frame of this size needs (bytesPerLine 0: packed).
qsizetype frameBytes(int width, int height, int bytesPerLine);

} // namespace LumenYuyv

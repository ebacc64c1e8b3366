#pragma once
// Packed YUYV (4:2:2, BT.601 limited range, as USB cameras send it) to the
// screen's 32-bit layout (QImage::Format_RGB32). The OpenGL shader uses the
// same matrix.
#include <QImage>

namespace LumenYuyv {

// Converts into `out` (resized to width x height, Format_RGB32). Returns
// false when the input is too small for the size or the width is odd.
bool toRgb32(const uchar *yuyv, int bytesPerLine, int width, int height, QImage &out);

// Converts lines [first, last) of a frame straight into 32-bit pixels at
// `out` (line 0 of the destination; `outBytesPerLine` apart). The caller
// has checked the sizes (even width, lines long enough).
void convertLines(const uchar *yuyv, int bytesPerLine, int width, int first, int last,
                  uchar *out, qsizetype outBytesPerLine);

// Number of bytes a frame of this size needs (bytesPerLine 0: packed).
qsizetype frameBytes(int width, int height, int bytesPerLine);

} // namespace LumenYuyv

#pragma once
// Planar YCbCr as a JPEG decoder leaves it (full range, BT.601, JFIF) to
// the screen's 32-bit layout (QImage::Format_RGB32). Decoding to planes and
// converting here skips the decoder's own colour pass and lets the picture
// be written straight where it is shown.
#include <QImage>

struct LumenYuvPlanes
{
    const uchar *y = nullptr;
    const uchar *u = nullptr; // u and v both null: a grey picture
    const uchar *v = nullptr;
    int yBytesPerLine = 0;
    int uvBytesPerLine = 0;
    int width = 0;
    int height = 0;
    // Chroma subsampling as shifts: 4:2:0 is 1/1, 4:2:2 is 1/0, 4:4:4 is 0/0.
    int xShift = 0;
    int yShift = 0;

    bool grey() const { return !u || !v; }
};

namespace LumenPlanar {

// Converts lines [first, last) into 32-bit pixels at `out` (line 0 of the
// destination, `outBytesPerLine` apart).
void convertLines(const LumenYuvPlanes &planes, int first, int last, uchar *out,
                  qsizetype outBytesPerLine);

// Converts the whole picture into `out` (resized, Format_RGB32). False when
// the planes are missing or their layout is not one this converter knows.
bool toRgb32(const LumenYuvPlanes &planes, QImage &out);

bool supported(const LumenYuvPlanes &planes);

} // namespace LumenPlanar

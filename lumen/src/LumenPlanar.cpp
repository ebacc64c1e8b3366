#include "LumenPlanar.h"

#include "LumenSimd.h"

#include <algorithm>
#include <cstring>


// JFIF's full-range BT.601 in the same 6-bit fixed point as the YUYV path:
//   R = (64 Y + 90 (Cr-128) + 32) >> 6
//   G = (64 Y - 22 (Cb-128) - 46 (Cr-128) + 32) >> 6
//   B = (64 Y + 113 (Cb-128) + 32) >> 6
// No sum leaves 16 bits, so the vector code needs no saturation to be
// exact, and the scalar code computes the same numbers.

namespace {

inline uchar clamp8(int v)
{
    return static_cast<uchar>(std::clamp(v, 0, 255));
}

void convertScalar(const uchar *y, const uchar *u, const uchar *v, int xShift, QRgb *out,
                   int first, int last)
{
    for (int x = first; x < last; ++x) {
        const int l = 64 * y[x];
        const int cb = u ? u[x >> xShift] - 128 : 0;
        const int cr = v ? v[x >> xShift] - 128 : 0;
        out[x] = qRgb(clamp8((l + 90 * cr + 32) >> 6), clamp8((l - 22 * cb - 46 * cr + 32) >> 6),
                      clamp8((l + 113 * cb + 32) >> 6));
    }
}

#if defined(__SSE2__)
// Eight chroma samples as words, each repeated when the chroma is half width.
inline __m128i chromaSse2(const uchar *c, int x, int xShift)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i bytes;
    if (xShift) {
        int four;
        std::memcpy(&four, c + (x >> 1), 4);
        bytes = _mm_cvtsi32_si128(four);
        bytes = _mm_unpacklo_epi8(bytes, bytes);
    } else {
        bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(c + x));
    }
    return _mm_sub_epi16(_mm_unpacklo_epi8(bytes, zero), _mm_set1_epi16(128));
}

int convertSse2(const uchar *y, const uchar *u, const uchar *v, int xShift, QRgb *out, int pixels)
{
    const __m128i zero = _mm_setzero_si128(), round = _mm_set1_epi16(32);
    const __m128i crv = _mm_set1_epi16(90), cgu = _mm_set1_epi16(22), cgv = _mm_set1_epi16(46),
                  cbu = _mm_set1_epi16(113);
    int x = 0;
    for (; x + 8 <= pixels; x += 8) {
        const __m128i l = _mm_add_epi16(
            _mm_slli_epi16(
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(y + x)), zero),
                6),
            round);
        __m128i cb = zero, cr = zero;
        if (u) {
            cb = chromaSse2(u, x, xShift);
            cr = chromaSse2(v, x, xShift);
        }
        const __m128i r = _mm_srai_epi16(_mm_add_epi16(l, _mm_mullo_epi16(cr, crv)), 6);
        const __m128i g = _mm_srai_epi16(
            _mm_sub_epi16(_mm_sub_epi16(l, _mm_mullo_epi16(cb, cgu)), _mm_mullo_epi16(cr, cgv)), 6);
        const __m128i b = _mm_srai_epi16(_mm_add_epi16(l, _mm_mullo_epi16(cb, cbu)), 6);
        LumenSimd::storeRgb32(r, g, b, out + x);
    }
    return x;
}

// Sixteen chroma samples as words.
__attribute__((target("avx2"))) inline __m256i chromaAvx2(const uchar *c, int x, int xShift)
{
    __m128i bytes;
    if (xShift) {
        bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(c + (x >> 1)));
        bytes = _mm_unpacklo_epi8(bytes, bytes);
    } else {
        bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(c + x));
    }
    return _mm256_sub_epi16(_mm256_cvtepu8_epi16(bytes), _mm256_set1_epi16(128));
}

__attribute__((target("avx2"))) int convertAvx2(const uchar *y, const uchar *u, const uchar *v,
                                                int xShift, QRgb *out, int pixels)
{
    const __m256i zero = _mm256_setzero_si256(), round = _mm256_set1_epi16(32);
    const __m256i crv = _mm256_set1_epi16(90), cgu = _mm256_set1_epi16(22),
                  cgv = _mm256_set1_epi16(46), cbu = _mm256_set1_epi16(113);
    int x = 0;
    for (; x + 16 <= pixels; x += 16) {
        const __m256i l = _mm256_add_epi16(
            _mm256_slli_epi16(
                _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(y + x))),
                6),
            round);
        __m256i cb = zero, cr = zero;
        if (u) {
            cb = chromaAvx2(u, x, xShift);
            cr = chromaAvx2(v, x, xShift);
        }
        const __m256i r = _mm256_srai_epi16(_mm256_add_epi16(l, _mm256_mullo_epi16(cr, crv)), 6);
        const __m256i g = _mm256_srai_epi16(
            _mm256_sub_epi16(_mm256_sub_epi16(l, _mm256_mullo_epi16(cb, cgu)),
                             _mm256_mullo_epi16(cr, cgv)),
            6);
        const __m256i b = _mm256_srai_epi16(_mm256_add_epi16(l, _mm256_mullo_epi16(cb, cbu)), 6);
        LumenSimd::storeRgb32(r, g, b, out + x);
    }
    return x;
}
#endif

} // namespace

namespace LumenPlanar {

bool supported(const LumenYuvPlanes &p)
{
    if (!p.y || p.width <= 0 || p.height <= 0 || p.yBytesPerLine < p.width)
        return false;
    if (p.grey())
        return true;
    if (p.xShift < 0 || p.xShift > 1 || p.yShift < 0 || p.yShift > 1)
        return false;
    return p.uvBytesPerLine >= ((p.width + (1 << p.xShift) - 1) >> p.xShift);
}

void convertLines(const LumenYuvPlanes &p, int first, int last, uchar *out,
                  qsizetype outBytesPerLine)
{
    const bool grey = p.grey();
#if defined(__SSE2__)
    const bool avx2 = LumenSimd::useAvx2();
#endif
    for (int line = first; line < last; ++line) {
        const uchar *y = p.y + qsizetype(line) * p.yBytesPerLine;
        const qsizetype chromaLine = qsizetype(line >> p.yShift) * p.uvBytesPerLine;
        const uchar *u = grey ? nullptr : p.u + chromaLine;
        const uchar *v = grey ? nullptr : p.v + chromaLine;
        auto *px = reinterpret_cast<QRgb *>(out + qsizetype(line) * outBytesPerLine);
        int done = 0;
#if defined(__SSE2__)
        // The vector steps read whole groups of chroma samples: with an
        // odd width the last group stops short of the plane's end, so
        // the final pixels go through the scalar code.
        const int vectorWidth = p.width & ~1;
        if (avx2)
            done = convertAvx2(y, u, v, p.xShift, px, vectorWidth);
        done += convertSse2(y + done, u ? u + (done >> p.xShift) : nullptr,
                            v ? v + (done >> p.xShift) : nullptr, p.xShift, px + done,
                            vectorWidth - done);
#endif
        convertScalar(y, u, v, p.xShift, px, done, p.width);
    }
}

bool toRgb32(const LumenYuvPlanes &planes, QImage &out)
{
    if (!supported(planes))
        return false;
    const QSize size(planes.width, planes.height);
    if (out.size() != size || out.format() != QImage::Format_RGB32)
        out = QImage(size, QImage::Format_RGB32);
    if (out.isNull())
        return false;
    convertLines(planes, 0, planes.height, out.bits(), out.bytesPerLine());
    return true;
}

} // namespace LumenPlanar

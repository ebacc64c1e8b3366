#include "LumenYuyv.h"

#include "LumenSimd.h"

#include <algorithm>


// ITU-R BT.601, video range (Y 16..235, Cb/Cr 16..240), in 6-bit fixed
// point so that the products fit 16-bit vector lanes:
//   R = (75 (Y-16) + 102 (V-128) + 32) >> 6
//   G = (75 (Y-16) -  25 (U-128) - 52 (V-128) + 32) >> 6
//   B = (75 (Y-16) + 129 (U-128) + 32) >> 6
// The scalar code computes exactly what the vector code does. Results are
// within 2 of full precision; the OpenGL shader uses full precision.

namespace {

inline uchar clamp8(int v)
{
    return static_cast<uchar>(std::clamp(v, 0, 255));
}

inline int sat16(int v)
{
    return std::clamp(v, -32768, 32767);
}

void convertScalar(const uchar *in, QRgb *out, int pixels)
{
    for (int x = 0; x + 1 < pixels; x += 2, in += 4) {
        const int u = in[1] - 128, v = in[3] - 128;
        for (int i = 0; i < 2; ++i) {
            const int y = 75 * (in[2 * i] - 16);
            const int r = sat16(sat16(y + 102 * v) + 32) >> 6;
            const int g = sat16(sat16(sat16(y - 25 * u) - 52 * v) + 32) >> 6;
            const int b = sat16(sat16(y + 129 * u) + 32) >> 6;
            out[x + i] = qRgb(clamp8(r), clamp8(g), clamp8(b));
        }
    }
}

#if defined(__SSE2__)
// Eight pixels (16 bytes of YUYV) per step.
int convertSse2(const uchar *in, QRgb *out, int pixels)
{
    const __m128i lowByte = _mm_set1_epi16(0x00ff);
    const __m128i lowWord = _mm_set1_epi32(0x0000ffff);
    const __m128i c16 = _mm_set1_epi16(16), c128 = _mm_set1_epi16(128);
    const __m128i cy = _mm_set1_epi16(75), crv = _mm_set1_epi16(102);
    const __m128i cgu = _mm_set1_epi16(25), cgv = _mm_set1_epi16(52);
    const __m128i cbu = _mm_set1_epi16(129), round = _mm_set1_epi16(32);
    int x = 0;
    for (; x + 8 <= pixels; x += 8, in += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
        const __m128i y = _mm_mullo_epi16(_mm_sub_epi16(_mm_and_si128(s, lowByte), c16), cy);
        const __m128i uv = _mm_srli_epi16(s, 8); // U0 V0 U1 V1 ...
        __m128i u = _mm_and_si128(uv, lowWord);
        u = _mm_sub_epi16(_mm_or_si128(u, _mm_slli_epi32(u, 16)), c128);
        __m128i v = _mm_srli_epi32(uv, 16);
        v = _mm_sub_epi16(_mm_or_si128(v, _mm_slli_epi32(v, 16)), c128);

        __m128i r = _mm_adds_epi16(y, _mm_mullo_epi16(v, crv));
        __m128i g = _mm_subs_epi16(_mm_subs_epi16(y, _mm_mullo_epi16(u, cgu)),
                                   _mm_mullo_epi16(v, cgv));
        __m128i b = _mm_adds_epi16(y, _mm_mullo_epi16(u, cbu));
        r = _mm_srai_epi16(_mm_adds_epi16(r, round), 6);
        g = _mm_srai_epi16(_mm_adds_epi16(g, round), 6);
        b = _mm_srai_epi16(_mm_adds_epi16(b, round), 6);

        LumenSimd::storeRgb32(r, g, b, out + x);
    }
    return x;
}

// The same arithmetic on sixteen pixels per step. Every operation works
// within 128-bit lanes, so each lane is the SSE2 step above.
__attribute__((target("avx2"))) int convertAvx2(const uchar *in, QRgb *out, int pixels)
{
    const __m256i lowByte = _mm256_set1_epi16(0x00ff);
    const __m256i lowWord = _mm256_set1_epi32(0x0000ffff);
    const __m256i c16 = _mm256_set1_epi16(16), c128 = _mm256_set1_epi16(128);
    const __m256i cy = _mm256_set1_epi16(75), crv = _mm256_set1_epi16(102);
    const __m256i cgu = _mm256_set1_epi16(25), cgv = _mm256_set1_epi16(52);
    const __m256i cbu = _mm256_set1_epi16(129), round = _mm256_set1_epi16(32);
    int x = 0;
    for (; x + 16 <= pixels; x += 16, in += 32) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(in));
        const __m256i y =
            _mm256_mullo_epi16(_mm256_sub_epi16(_mm256_and_si256(s, lowByte), c16), cy);
        const __m256i uv = _mm256_srli_epi16(s, 8);
        __m256i u = _mm256_and_si256(uv, lowWord);
        u = _mm256_sub_epi16(_mm256_or_si256(u, _mm256_slli_epi32(u, 16)), c128);
        __m256i v = _mm256_srli_epi32(uv, 16);
        v = _mm256_sub_epi16(_mm256_or_si256(v, _mm256_slli_epi32(v, 16)), c128);

        __m256i r = _mm256_adds_epi16(y, _mm256_mullo_epi16(v, crv));
        __m256i g = _mm256_subs_epi16(_mm256_subs_epi16(y, _mm256_mullo_epi16(u, cgu)),
                                      _mm256_mullo_epi16(v, cgv));
        __m256i b = _mm256_adds_epi16(y, _mm256_mullo_epi16(u, cbu));
        r = _mm256_srai_epi16(_mm256_adds_epi16(r, round), 6);
        g = _mm256_srai_epi16(_mm256_adds_epi16(g, round), 6);
        b = _mm256_srai_epi16(_mm256_adds_epi16(b, round), 6);
        LumenSimd::storeRgb32(r, g, b, out + x);
    }
    return x;
}
#endif

} // namespace

namespace LumenYuyv {

qsizetype frameBytes(int width, int height, int bytesPerLine)
{
    if (width <= 0 || height <= 0)
        return 0;
    const qsizetype line = bytesPerLine > 0 ? bytesPerLine : qsizetype(width) * 2;
    return line * (height - 1) + qsizetype(width) * 2;
}

void convertLines(const uchar *yuyv, int bytesPerLine, int width, int first, int last,
                  uchar *out, qsizetype outBytesPerLine)
{
#if defined(__SSE2__)
    const bool avx2 = LumenSimd::useAvx2();
#endif
    for (int y = first; y < last; ++y) {
        const uchar *in = yuyv + qsizetype(y) * bytesPerLine;
        auto *px = reinterpret_cast<QRgb *>(out + qsizetype(y) * outBytesPerLine);
        int done = 0;
#if defined(__SSE2__)
        if (avx2)
            done = convertAvx2(in, px, width);
        done += convertSse2(in + 2 * done, px + done, width - done);
#endif
        convertScalar(in + 2 * done, px + done, width - done);
    }
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
    convertLines(yuyv, bytesPerLine, width, 0, height, out.bits(), out.bytesPerLine());
    return true;
}

} // namespace LumenYuyv

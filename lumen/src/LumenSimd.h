#pragma once
// Which vector unit the converters use. Builds target plain x86-64 (SSE2),
// so AVX2 is chosen at run time where the processor has it.
#include <QRgb>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace LumenSimd {

bool useAvx2();
// Keeps the converters on SSE2 even where AVX2 exists, so that tests can
// check that both give the same pixels.
void limitToSse2(bool limit);

} // namespace LumenSimd

#if defined(__SSE2__)
namespace LumenSimd {

// Eight pixels' R, G and B (16-bit lanes, clamped on packing) stored as
// Format_RGB32: B G R FF bytes per pixel.
inline void storeRgb32(__m128i r, __m128i g, __m128i b, QRgb *out)
{
    const __m128i zero = _mm_setzero_si128(), opaque = _mm_set1_epi8(char(0xff));
    const __m128i bg = _mm_unpacklo_epi8(_mm_packus_epi16(b, zero), _mm_packus_epi16(g, zero));
    const __m128i ra = _mm_unpacklo_epi8(_mm_packus_epi16(r, zero), opaque);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi16(bg, ra));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 4), _mm_unpackhi_epi16(bg, ra));
}

// The same for sixteen pixels. Packing works within 128-bit lanes: pixels
// 0-7 sit in the low lane's words, 8-15 in the high lane's; the final
// permutes put them back in order.
__attribute__((target("avx2"))) inline void storeRgb32(__m256i r, __m256i g, __m256i b,
                                                       QRgb *out)
{
    const __m256i opaque = _mm256_set1_epi8(char(0xff));
    const __m256i bg = _mm256_unpacklo_epi8(_mm256_packus_epi16(b, b), _mm256_packus_epi16(g, g));
    const __m256i ra = _mm256_unpacklo_epi8(_mm256_packus_epi16(r, r), opaque);
    const __m256i lo = _mm256_unpacklo_epi16(bg, ra); // pixels 0-3 | 8-11
    const __m256i hi = _mm256_unpackhi_epi16(bg, ra); // pixels 4-7 | 12-15
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), _mm256_permute2x128_si256(lo, hi, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + 8),
                        _mm256_permute2x128_si256(lo, hi, 0x31));
}

} // namespace LumenSimd
#endif

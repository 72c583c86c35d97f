#pragma once

// Masks of the bytes of a stored field that are not padding, sixteen bytes
// at a time: scans ask where every field's text starts and ends.

#include <cstddef>
#include <cstdint>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace db {

#ifdef __SSE2__
// Bit i set when byte i of p[0..16) is neither a blank nor (with nul) a NUL.
inline __attribute__((always_inline)) uint64_t notPadding16(const char* p, bool nul = true)
{
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i padding = _mm_cmpeq_epi8(chunk, _mm_set1_epi8(' '));
    if (nul)
        padding = _mm_or_si128(padding, _mm_cmpeq_epi8(chunk, _mm_setzero_si128()));
    return ~static_cast<uint64_t>(_mm_movemask_epi8(padding)) & 0xFFFFu;
}

// Bit i set when byte i of p[0..16) is a blank or a NUL.
inline __attribute__((always_inline)) unsigned padding16(const char* p)
{
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i padding = _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(' ')),
                                         _mm_cmpeq_epi8(chunk, _mm_setzero_si128()));
    return static_cast<unsigned>(_mm_movemask_epi8(padding));
}

// The same for p[0..n), 16 <= n <= 64, from loads that stay inside it.
inline __attribute__((always_inline)) uint64_t notPadding(const char* p, size_t n, bool nul = true)
{
    uint64_t mask = notPadding16(p, nul) | (notPadding16(p + n - 16, nul) << (n - 16));
    if (n > 32)
        mask |= notPadding16(p + 16, nul) << 16;
    if (n > 48)
        mask |= notPadding16(p + 32, nul) << 32;
    return mask;
}

// One past the highest set bit; 0 for none.
inline __attribute__((always_inline)) size_t bitLength(uint64_t mask)
{
    return static_cast<size_t>(64 - __builtin_clzll(mask | 1)) - (mask == 0);
}
#endif

inline size_t paddedLengthBytewise(const char* p, size_t n)
{
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\0'))
        --n;
    return n;
}

// before and after: how many bytes of the record lie before p and after p + n.
inline __attribute__((always_inline)) size_t paddedLength(const char* p, size_t n, size_t before = 0, size_t after = 0)
{
#ifdef __SSE2__
    if (n >= 16) {
        for (; n > 64; n -= 64) {
            const uint64_t mask = notPadding(p + n - 64, 64);
            if (mask != 0)
                return n - 64 + bitLength(mask);
        }
        if (n >= 16)
            return bitLength(notPadding(p, n));
        return bitLength(notPadding16(p) & ((uint64_t{1} << n) - 1)); // the field's first 16 bytes
    }
    if (n > 0 && after + n >= 16)
        return bitLength(notPadding16(p) & ((uint64_t{1} << n) - 1));
    if (n > 0 && before + n >= 16)
        return bitLength(notPadding16(p + n - 16) >> (16 - n));
#endif
    return paddedLengthBytewise(p, n);
}

} // namespace db

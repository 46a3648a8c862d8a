/*
 * wcwidthtab_utf8.h: column width of UTF-8 text, header-only, over
 * KVwchar_wcwidth. Nothing here is exported from the library; every
 * function is static (inline where the compiler allows), so the header may
 * be included by any number of C89, C99 or C++ files.
 *
 * Ill-formed input never stops the count: each maximal subpart of an
 * ill-formed sequence (the longest prefix of a well-formed sequence that
 * the bytes begin, or one byte that begins none) counts as one U+FFFD, as
 * the Unicode standard recommends for replacement. So an overlong form, an
 * encoded surrogate or a code point above U+10FFFF gives one U+FFFD per
 * byte, and a truncated sequence gives one U+FFFD for all its bytes.
 */
#ifndef WCWIDTHTAB_UTF8_H
#define WCWIDTHTAB_UTF8_H

#include "wcwidthtab.h"

#include <stddef.h>
#include <string.h>

#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define KVWC_UTF8_FUNCTION static inline
#elif defined(__GNUC__)
#define KVWC_UTF8_FUNCTION static __inline__
#else
#define KVWC_UTF8_FUNCTION static
#endif

/* The header's two conversions, written so that C++ compilers that warn
 * about C-style casts accept them. */
#ifdef __cplusplus
#define KVWC_UTF8_BYTES(s) reinterpret_cast<const unsigned char*>(s)
#define KVWC_UTF8_SIZE(n) static_cast<size_t>(n)
#else
#define KVWC_UTF8_BYTES(s) ((const unsigned char*)(s))
#define KVWC_UTF8_SIZE(n) ((size_t)(n))
#endif

/* The number of trailing zero bits of a nonzero size_t, where the compiler
 * has it and the first byte in memory is the low byte of a word. */
#if !defined(KVWC_UTF8_PORTABLE) && defined(__GNUC__) && defined(__BYTE_ORDER__) &&                \
    defined(__ORDER_LITTLE_ENDIAN__)
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define KVWC_UTF8_TRAILING_ZEROS(word) KVWC_UTF8_SIZE(__builtin_ctzll(word))
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Decodes the sequence at the start of s (len > 0 bytes): stores its code
 * point, or 0xFFFD for a maximal ill-formed subpart, in *code_point and
 * returns the number of bytes it takes (1 to 4). Returns 0 when len is 0.
 * Each length is written out in full: the second byte's range depends on the
 * lead byte (no overlong forms, surrogates or values above U+10FFFF), the
 * later bytes are any continuation byte. */
KVWC_UTF8_FUNCTION size_t KVwchar_utf8_decode(const char* s, size_t len, uint32_t* code_point) {
    const unsigned char* p = KVWC_UTF8_BYTES(s);
    unsigned lead, low, high;

    if (len == 0) {
        return 0;
    }
    lead = p[0];
    if (lead < 0x80) {
        *code_point = lead;
        return 1;
    }
    *code_point = 0xFFFD;
    if (lead < 0xC2 || lead > 0xF4) { /* continuation, overlong lead, beyond U+10FFFF */
        return 1;
    }
    if (lead < 0xE0) {
        if (len < 2 || (p[1] & 0xC0u) != 0x80u) {
            return 1;
        }
        *code_point = (lead & 0x1Fu) << 6 | (p[1] & 0x3Fu);
        return 2;
    }
    if (lead < 0xF0) {
        low = lead == 0xE0 ? 0xA0u : 0x80u;  /* overlong below */
        high = lead == 0xED ? 0x9Fu : 0xBFu; /* surrogates above */
        if (len < 2 || p[1] < low || p[1] > high) {
            return 1;
        }
        if (len < 3 || (p[2] & 0xC0u) != 0x80u) {
            return 2;
        }
        *code_point = (lead & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
        return 3;
    }
    low = lead == 0xF0 ? 0x90u : 0x80u;  /* overlong below */
    high = lead == 0xF4 ? 0x8Fu : 0xBFu; /* beyond U+10FFFF above */
    if (len < 2 || p[1] < low || p[1] > high) {
        return 1;
    }
    if (len < 3 || (p[2] & 0xC0u) != 0x80u) {
        return 2;
    }
    if (len < 4 || (p[3] & 0xC0u) != 0x80u) {
        return 3;
    }
    *code_point = (lead & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
    return 4;
}

/* The number of bytes at the start of s (len bytes) that are ASCII, below
 * 0x80. A whole machine word is tested at a time: it is ASCII when none of
 * its bytes has the high bit set (memcpy makes the load safe at any
 * alignment and compiles to a single load); the last word of the text
 * overlaps bytes already tested rather than falling back to single bytes.
 * Where the compiler counts trailing zeros and words are little-endian, the
 * first high bit gives the length at once; elsewhere, or with
 * KVWC_UTF8_PORTABLE defined, the bytes of that word are tested in turn. */
KVWC_UTF8_FUNCTION size_t KVwchar_utf8_ascii_length(const char* s, size_t len) {
    const unsigned char* p = KVWC_UTF8_BYTES(s);
    size_t high_bits = 0, count = 0, word;

    high_bits = ~high_bits / 0xFFu * 0x80u; /* 0x80 in every byte */
    if (len >= sizeof word) {
        for (;;) {
            if (len - count < sizeof word) {
                count = len - sizeof word;
            }
            memcpy(&word, p + count, sizeof word);
            word &= high_bits;
            if (word != 0) {
#ifdef KVWC_UTF8_TRAILING_ZEROS
                return count + KVWC_UTF8_TRAILING_ZEROS(word) / 8;
#else
                break;
#endif
            }
            count += sizeof word;
            if (count == len) {
                return len;
            }
        }
    }
    while (count < len && p[count] < 0x80) {
        ++count;
    }
    return count;
}

/* Columns of the len bytes at s: the sum of KVwchar_wcwidth over the code
 * points they decode to, under the current flags. Every ASCII code point is
 * one column under every flags value, so ASCII runs count their length
 * (a program that installs its own page for U+0000..U+01FF changes
 * KVwchar_wcwidth but not this count of ASCII). */
KVWC_UTF8_FUNCTION size_t KVwchar_utf8_width(const char* s, size_t len) {
    const unsigned char* p = KVWC_UTF8_BYTES(s);
    size_t columns = 0, at = 0;

    while (at < len) {
        const size_t ascii = KVwchar_utf8_ascii_length(s + at, len - at);
        columns += ascii;
        at += ascii;
        /* Decode up to the next ASCII byte, so that text with few ASCII
         * bytes does not start a word test after every character. */
        while (at < len && p[at] >= 0x80) {
            /* Always stored by the decoder here (len - at > 0), but some
             * optimisation levels cannot see that and warn. */
            uint32_t code_point = 0xFFFD;
            at += KVwchar_utf8_decode(s + at, len - at, &code_point);
            columns += KVWC_UTF8_SIZE(KVwchar_wcwidth(code_point));
        }
    }
    return columns;
}

#ifdef __cplusplus
}
#endif

#undef KVWC_UTF8_BYTES
#undef KVWC_UTF8_SIZE
#undef KVWC_UTF8_TRAILING_ZEROS

#endif /* WCWIDTHTAB_UTF8_H */

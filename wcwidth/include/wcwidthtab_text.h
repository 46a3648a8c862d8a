/*
 * wcwidthtab_text: UTF-8 text measured as terminals draw it, one grapheme
 * cluster (a user-perceived character) at a time. Link with wcwidthtab_text
 * and wcwidthtab.
 *
 * Clusters are the extended grapheme clusters of Unicode 16.0.0 (UAX #29),
 * whatever Unicode version the width table was built with: segmentation
 * follows the newest rules, widths come from KVwchar_wcwidth. The columns
 * of a cluster, with no flag set:
 *   - an emoji cluster counts 2: an emoji followed by U+FE0F, an emoji
 *     modifier sequence, pictographs joined by U+200D, a pair of regional
 *     indicators (a flag), a tag sequence, a keycap (0-9, # or *, optional
 *     U+FE0F, U+20E3);
 *   - an emoji that is wide by default followed by U+FE0E counts 1;
 *   - a Hangul cluster (a syllable, or leading jamo with what follows) counts 2;
 *   - any other cluster counts the sum of KVwchar_wcwidth over its code points.
 * With KVWC_FLAG_SINGLE_COLUMN, every cluster counts 1, except a C1 control,
 * always a cluster of its own, which keeps its 4. KVWC_FLAG_AMBIGUOUS_WIDE
 * acts on each code point as it does in KVwchar_wcwidth. U+0000..U+007F
 * count 1 each under every flag.
 *
 * Ill-formed UTF-8 is read as KVwchar_utf8_decode reads it: each maximal
 * ill-formed subpart is one U+FFFD. Nothing stops the count, nothing is read
 * at or past s + len, and s may be null when len is 0. The functions keep no
 * state and may run on any number of threads.
 */
#ifndef WCWIDTHTAB_TEXT_H
#define WCWIDTHTAB_TEXT_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The length in bytes of the first grapheme cluster of the len bytes at s;
 * 0 only when len is 0. Stores the cluster's columns in *columns when
 * columns is not null (0 when len is 0). */
size_t KVwchar_utf8_cluster(const char* s, size_t len, int* columns);

/* The columns of the len bytes at s: the sum of the columns of its clusters. */
size_t KVwchar_utf8_cluster_width(const char* s, size_t len);

/* The length in bytes of the longest prefix of s made of whole clusters whose
 * columns add up to at most max_columns, zero-width clusters at its end
 * included. Stores those columns in *columns when columns is not null. Never
 * splits a cluster or a UTF-8 sequence. */
size_t KVwchar_utf8_fit(const char* s, size_t len, size_t max_columns, size_t* columns);

#ifdef __cplusplus
}
#endif

#endif /* WCWIDTHTAB_TEXT_H */

/*
 * wcwidthtab: terminal column width of Unicode code points (Unicode 10.0.0).
 *
 * Every code point has a 4-bit width class, stored in a two-level table:
 * _pKVwc_Width_Table has one entry per block of 512 code points, pointing at
 * a 256-byte page that holds two classes per byte (the even code point in
 * bits 0-3, the odd one in bits 4-7). Blocks with equal classes share a
 * page. A null entry makes every code point of its block one column wide.
 *
 *   class 0  zero-width   0 columns (combining marks, format characters)
 *   class 1  narrow       1 column, whatever the flags
 *   class 2  wide         2 columns (CJK, fullwidth forms, wide emoji)
 *   class 3  ambiguous    1 column, 2 with KVWC_FLAG_AMBIGUOUS_WIDE
 *   class 4  four-column  4 columns, whatever the flags (C1 controls)
 *
 * Code points 0x110000 and above count one column.
 *
 * Flags: one process-wide word, 0 at program start. With
 * KVWC_FLAG_SINGLE_COLUMN set, classes 0, 2 and 3 count one column; with
 * only KVWC_FLAG_AMBIGUOUS_WIDE set, class 3 counts two. Other bits are
 * kept and handed back but have no effect.
 *
 * Threads: no locks and no initialisation. Lookups may run on any number
 * of threads. The flags word is read and written atomically, so a lookup
 * sees either the old or the new word; but the setter is a separate read
 * and store, not an exchange: two threads setting flags at once may both
 * be handed the same previous value, and the later store wins.
 */
#ifndef WCWIDTHTAB_H
#define WCWIDTHTAB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    KVWC_CLASS_ZERO_WIDTH = 0,
    KVWC_CLASS_NARROW = 1,
    KVWC_CLASS_WIDE = 2,
    KVWC_CLASS_AMBIGUOUS = 3,
    KVWC_CLASS_FOUR_COLUMN = 4
};

enum {
    KVWC_FLAG_SINGLE_COLUMN = 1, /* classes 0, 2, 3 count one column */
    KVWC_FLAG_AMBIGUOUS_WIDE = 2 /* class 3 counts two (if bit 0 is clear) */
};

enum {
    KVWC_CODE_POINT_LIMIT = 0x110000, /* first code point past Unicode */
    KVWC_BLOCK_SHIFT = 9,             /* code points per block: 1 << 9 */
    KVWC_BLOCK_COUNT = 2176,          /* KVWC_CODE_POINT_LIMIT >> 9 */
    KVWC_PAGE_SIZE = 256              /* bytes per page */
};

/* Column count of code_point: 0, 1, 2 or 4 (a page installed by the caller
 * with a class above 4 gets that number back). Never fails. */
int KVwchar_wcwidth(uint32_t code_point);

/* Stores flags (all 32 bits) and returns the word it replaces. */
int32_t KVwchar_set_wcwidth_flags(int32_t flags);

/* The page-pointer array; entry k covers code points k*512 .. k*512+511. */
extern const unsigned char* _pKVwc_Width_Table[KVWC_BLOCK_COUNT];

#ifdef __cplusplus
}
#endif

#endif /* WCWIDTHTAB_H */

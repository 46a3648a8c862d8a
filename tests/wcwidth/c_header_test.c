/* The public headers from C89, linked by the C compiler driver alone: this
 * fails to link if the object needs anything from the C++ runtime. It also
 * runs as its own process, so the first setter call really is the first. */
#include "wcwidthtab.h"
#include "wcwidthtab_utf8.h"

#if !defined(KVWC_UNICODE_VERSION_MAJOR) || KVWC_UNICODE_VERSION_MAJOR < 10 ||                     \
    !defined(KVWC_UNICODE_VERSION_MINOR) || !defined(KVWC_UNICODE_VERSION_UPDATE)
#error "wcwidthtab.h does not name the Unicode version of its table"
#endif

#include <stddef.h>
#include <stdio.h>

static int check(int ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "failed: %s\n", what);
    }
    return ok ? 0 : 1;
}

int main(void) {
    int failures = 0;
    failures += check(KVwchar_wcwidth(0x00AD) == 1, "U+00AD is one column by default");
    failures += check(KVwchar_set_wcwidth_flags(KVWC_FLAG_AMBIGUOUS_WIDE) == 0,
                      "the first setter call returns 0");
    failures += check(KVwchar_wcwidth(0x00AD) == 2, "U+00AD is two columns when ambiguous is wide");
    failures += check(KVwchar_set_wcwidth_flags(0) == KVWC_FLAG_AMBIGUOUS_WIDE,
                      "the setter returns the previous word");
    failures += check(KVwchar_wcwidth(0x4E00) == 2, "U+4E00 is wide");
    failures += check(KVwchar_wcwidth(0x0301) == 0, "U+0301 is zero-width");
    failures += check(KVwchar_wcwidth(0x0080) == 4, "U+0080 is four columns");
    failures += check(KVwchar_utf8_width("a\xE4\xB8\x80\xCC\x81", 6) == 3,
                      "UTF-8 text: narrow, wide, zero-width");
    failures += check(KVwchar_utf8_ascii_length("plain ASCII, then \xC3\xA9", 20) == 18,
                      "an ASCII run ends at the first byte from 0x80 up");
    failures += check(KVwchar_utf8_width("plain ASCII, then \xE4\xB8\x80", 21) == 20,
                      "UTF-8 text: an ASCII run longer than a word, then a wide one");
    failures += check(_pKVwc_Width_Table[KVWC_BLOCK_COUNT - 1] ? 1 : 0, "the last entry is filled");
    return failures == 0 ? 0 : 1;
}

/* The text header from C89, linked by the C compiler driver alone: this
 * fails to link if the text library needs anything from the C++ runtime. */
#include "wcwidthtab_text.h"

#include <stdio.h>
#include <string.h>

int main(void) {
    /* U+2764 U+FE0F, then "ab" */
    static const char text[] = "\xE2\x9D\xA4\xEF\xB8\x8F"
                               "ab";
    size_t length = strlen(text);
    int columns = 0;
    size_t fitted = 0;
    int failures = 0;
    if (KVwchar_utf8_cluster(text, length, &columns) != 6 || columns != 2) {
        fprintf(stderr, "failed: the emoji is one cluster of two columns\n");
        ++failures;
    }
    if (KVwchar_utf8_cluster_width(text, length) != 4) {
        fprintf(stderr, "failed: the text is four columns\n");
        ++failures;
    }
    if (KVwchar_utf8_fit(text, length, 3, &fitted) != 7 || fitted != 3) {
        fprintf(stderr, "failed: three columns take the emoji and one letter\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

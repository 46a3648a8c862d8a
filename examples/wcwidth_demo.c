/* How a C program lays text out with wcwidthtab: decode UTF-8, ask for the
 * width of each code point, add up the columns. Prints one multilingual
 * line with the columns of every character, under the default flags and
 * with ambiguous characters counted wide, as an East Asian terminal would. */
#include "wcwidthtab.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

static const char Sample[] =
    "Grüße, Καλημέρα, 你好, 안녕, e\xcc\x81t\xc3\xa9, \xc2\xad, 🙂!";

/* Decodes one UTF-8 sequence at *text and advances past it; assumes valid
 * input, as the sample is. */
static uint32_t next_code_point(const unsigned char** text) {
    const unsigned char* p = *text;
    int length = p[0] < 0x80 ? 1 : p[0] >= 0xF0 ? 4 : p[0] >= 0xE0 ? 3 : 2;
    uint32_t cp = length == 1 ? p[0] : p[0] & (0x7Fu >> length);
    for (int k = 1; k < length; ++k) {
        cp = cp << 6 | (p[k] & 0x3Fu);
    }
    *text = p + length;
    return cp;
}

/* The sample's characters with their widths, and the line's total. */
static void show(const char* heading) {
    const unsigned char* p = (const unsigned char*)Sample;
    const unsigned char* end = p + strlen(Sample);
    int columns = 0;
    printf("%s\n  widths:", heading);
    while (p < end) {
        int width = KVwchar_wcwidth(next_code_point(&p));
        columns += width;
        printf(" %d", width);
    }
    printf("\n  %d columns\n", columns);
}

int main(void) {
    printf("%s\n", Sample);
    show("Default flags:");
    KVwchar_set_wcwidth_flags(KVWC_FLAG_AMBIGUOUS_WIDE);
    show("Ambiguous characters wide:");
    return 0;
}

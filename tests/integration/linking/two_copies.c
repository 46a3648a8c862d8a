/* Flags set through one library must not reach the other: if the libraries
 * exported the width library's functions, the second library's calls would
 * reach the first one's copy, flags word and all. */
#include <stdint.h>
#include <stdio.h>

void one_count_one_column(void);
int one_width(uint32_t code_point);
int two_width(uint32_t code_point);

int main(void)
{
    const uint32_t wide = 0x4E00; /* a CJK ideograph: two columns */
    one_count_one_column();
    if (one_width(wide) != 1) {
        fprintf(stderr, "width_one: the flags it set do not count\n");
        return 1;
    }
    if (two_width(wide) != 2) {
        fprintf(stderr, "width_two: counts %d columns, with width_one's flags\n", two_width(wide));
        return 1;
    }
    return 0;
}

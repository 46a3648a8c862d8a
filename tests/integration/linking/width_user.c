/* A shared library that uses the width library; built twice, as width_one
 * and width_two, with USER naming its functions. */
#include <wcwidthtab.h>

#define JOIN(user, name) user##_##name
#define NAMED(user, name) JOIN(user, name)

void NAMED(USER, count_one_column)(void)
{
    KVwchar_set_wcwidth_flags(KVWC_FLAG_SINGLE_COLUMN);
}

int NAMED(USER, width)(uint32_t code_point)
{
    return KVwchar_wcwidth(code_point);
}

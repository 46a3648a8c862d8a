/* The consumer's intrinsic functions and their table. chkprotogen reads the
 * MAKE_INTRINSIC lines below and writes code that makes the compiler check
 * each function against the signature its line claims. */
#include <string.h>

#include "intrinsics.h"
#include "wcwidthtab.h"

#define MAKE_INTRINSIC_S(name, fn, type) {name, (void (*)(void)) fn, 'S', type}
#define STRING_TYPE 's'
#define INT_TYPE 'i'

struct intrinsic
{
   const char *name;
   void (*fn)(void);
   char args;
   char result;
};

/* Decodes UTF-8 and sums the column widths. */
int line_width(char *text)
{
   const unsigned char *s = (const unsigned char *) text;
   int width = 0;
   while (*s)
     {
	unsigned int cp = *s++;
	int extra = cp >= 0xF0 ? 3 : cp >= 0xE0 ? 2 : cp >= 0xC0 ? 1 : 0;
	if (extra)
	  cp &= 0x3F >> extra;
	while (extra-- > 0 && (*s & 0xC0) == 0x80)
	  cp = (cp << 6) | (*s++ & 0x3F);
	width += KVwchar_wcwidth(cp);
     }
   return width;
}

char *first_word(char *text)
{
   static char word[64];
   size_t n = strcspn(text, " ");
   if (n >= sizeof word)
     n = sizeof word - 1;
   memcpy(word, text, n);
   word[n] = 0;
   return word;
}

const struct intrinsic Intrinsics[] =
{
   MAKE_INTRINSIC_S("line_width", line_width, INT_TYPE),
   MAKE_INTRINSIC_S("first_word", first_word, STRING_TYPE),
   MAKE_INTRINSIC_S("is_reserved", is_reserved, INT_TYPE),
};

/* The consumer's intrinsic functions and their table. chkprotogen reads the
 * MAKE_INTRINSIC lines below and writes code that makes the compiler check
 * each function against the signature its line claims. */
#include <stdint.h>
#include <string.h>

#include "intrinsics.h"
#include "wcwidthtab.h"
#include "wcwidthtab_text.h"
#include "wcwidthtab_utf8.h"

#define MAKE_INTRINSIC_I(name, fn, type) {name, (void (*)(void)) fn, "I", type}
#define MAKE_INTRINSIC_S(name, fn, type) {name, (void (*)(void)) fn, "S", type}
#define MAKE_INTRINSIC_DD(name, fn, type) {name, (void (*)(void)) fn, "DD", type}
#define MAKE_INTRINSIC(name, fn, type, nargs) {name, (void (*)(void)) fn, "?", type}
#define VOID_TYPE 'v'
#define STRING_TYPE 's'
#define INT_TYPE 'i'
#define FLOAT_TYPE 'f'

struct intrinsic
{
   const char *name;
   void (*fn)(void);
   const char *args;
   char result;
};

/* The columns a terminal gives the text. */
int line_width(char *text)
{
   return (int) KVwchar_utf8_width(text, strlen(text));
}

/* The columns of each character, as "1 1 2 ..." (up to 127 characters). */
char *column_widths(char *text)
{
   static char widths[256];
   size_t left = strlen(text), n = 0, used;
   uint32_t cp;
   while ((used = KVwchar_utf8_decode(text, left, &cp)) != 0 && n + 2 < sizeof widths)
     {
	widths[n++] = (char) ('0' + KVwchar_wcwidth(cp));
	widths[n++] = ' ';
	text += used;
	left -= used;
     }
   widths[n ? n - 1 : 0] = 0;
   return widths;
}

/* The text as a table cell of CELL_COLUMNS columns: cut after the last whole
 * character that fits (an emoji sequence or a letter with its accents is
 * never split) and padded with spaces. */
#define CELL_COLUMNS 12
char *pad_cell(char *text)
{
   static char cell[CELL_COLUMNS * 8 + 1];
   size_t len = strlen(text), columns = 0, used = 0, max = CELL_COLUMNS + 1;
   while (max-- > 0)
     { /* fewer columns until the bytes fit the buffer too */
	used = KVwchar_utf8_fit(text, len, max, &columns);
	if (used + (CELL_COLUMNS - columns) < sizeof cell)
	  break;
	used = columns = 0;
     }
   memcpy(cell, text, used);
   memset(cell + used, ' ', CELL_COLUMNS - columns);
   cell[used + CELL_COLUMNS - columns] = 0;
   return cell;
}

/* Counts East Asian ambiguous characters (Greek, Cyrillic, box drawing) two
 * columns, as CJK terminals do, or one. */
void set_ambiguous_wide(int *on)
{
   KVwchar_set_wcwidth_flags(*on ? KVWC_FLAG_AMBIGUOUS_WIDE : 0);
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
   MAKE_INTRINSIC_S("column_widths", column_widths, STRING_TYPE),
   MAKE_INTRINSIC_S("pad_cell", pad_cell, STRING_TYPE),
   MAKE_INTRINSIC_I("set_ambiguous_wide", set_ambiguous_wide, VOID_TYPE),
   MAKE_INTRINSIC_S("first_word", first_word, STRING_TYPE),
   MAKE_INTRINSIC_S("is_reserved", is_reserved, INT_TYPE),
   /* The three lines below hold mistakes on purpose, to show chkprotogen's
    * warnings: the old form without argument letters, an argument kind it
    * does not know (D) and a return type it does not know. None of them is
    * checked. */
   MAKE_INTRINSIC("columns", line_width, INT_TYPE, 1),
   MAKE_INTRINSIC_DD("ratio", line_width, INT_TYPE),
   MAKE_INTRINSIC_S("fraction", line_width, FLOAT_TYPE),
};

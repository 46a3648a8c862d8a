/* Prints the column width of a multilingual line with the consumer's
 * library (which uses the width library), under the default flags and with
 * ambiguous characters counted wide, and which of its words are reserved
 * (looked up in the generated keyword hash). */
#include <stdio.h>
#include <string.h>

#include "intrinsics.h"

int main(int argc, char **argv)
{
   char line[256] = "print width 漢字 and café, Ελληνικά, 한국어 while 🙂";
   int ambiguous_wide = 1;
   char *word;

   if (argc > 1)
     {
	strncpy(line, argv[1], sizeof line - 1);
	line[sizeof line - 1] = 0;
     }
   printf("%s\n", line);
   printf("widths: %s\n", column_widths(line));
   printf("bytes: %u, columns: %d\n", (unsigned int) strlen(line), line_width(line));
   printf("first cell: [%s]\n", pad_cell(line));
   printf("last cell: [%s]\n", pad_cell(strrchr(line, ' ') ? strrchr(line, ' ') + 1 : line));
   set_ambiguous_wide(&ambiguous_wide);
   printf("columns with ambiguous characters wide: %d\n", line_width(line));
   for (word = line; *word; word += strlen(first_word(word)) + (word[strlen(first_word(word))] == ' '))
     {
	char *w = first_word(word);
	if (*w && is_reserved(w))
	  printf("reserved word: %s (token %d)\n", w, is_reserved(w));
     }
   return 0;
}

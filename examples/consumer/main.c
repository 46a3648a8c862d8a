/* Prints the column width of a multilingual line with the width library,
 * and which of its words are reserved, with the generated keyword hash. */
#include <stdio.h>
#include <string.h>

#include "intrinsics.h"
#include "tokens.h"
#include "keyword_hash.c"

int is_reserved(char *word)
{
   Keyword_Table_Type *kw = is_keyword(word, (unsigned int) strlen(word));
   return kw == NULL ? 0 : (int) kw->type;
}

int main(int argc, char **argv)
{
   char line[256] = "print width 漢字 and café, Ελληνικά, 한국어 while 🙂";
   char *word;

   if (argc > 1)
     {
	strncpy(line, argv[1], sizeof line - 1);
	line[sizeof line - 1] = 0;
     }
   printf("%s\n", line);
   printf("bytes: %u, columns: %d\n", (unsigned int) strlen(line), line_width(line));
   for (word = line; *word; word += strlen(first_word(word)) + (word[strlen(first_word(word))] == ' '))
     {
	char *w = first_word(word);
	if (*w && is_reserved(w))
	  printf("reserved word: %s (token %d)\n", w, is_reserved(w));
     }
   return 0;
}

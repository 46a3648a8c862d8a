/* Looks words up in the keyword hash that kwhashgen generated from
 * keywords.txt, the way the interpreter's scanner does for every
 * identifier it reads. Words come from the command line, or a default set. */
#include <stdio.h>
#include <string.h>

#include "keyword_tokens.h"
#include "keyword_hash.c"

static void look_up(char *word)
{
   Keyword_Table_Type *kw = is_keyword(word, (unsigned int) strlen(word));
   if (kw == NULL)
     printf("%-12s identifier\n", word);
   else
     printf("%-12s keyword, token %u\n", word, kw->type);
}

int main(int argc, char **argv)
{
   static char defaults[][12] = {
      "while", "foreach", "namespace", "x", "whilst", "for", "fore", "xor", "Xor", "returns"
   };
   int i;

   if (argc > 1)
     {
	for (i = 1; i < argc; i++)
	  look_up(argv[i]);
	return 0;
     }
   for (i = 0; i < (int) (sizeof defaults / sizeof defaults[0]); i++)
     look_up(defaults[i]);
   return 0;
}

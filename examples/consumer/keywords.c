/* Reserved-word lookup over the hash that kwhashgen generates from
 * keywords.txt at build time. */
#include <string.h>

#include "intrinsics.h"
#include "tokens.h"
#include "keyword_hash.inc"

int is_reserved(char *word)
{
   Keyword_Table_Type *kw = is_keyword(word, (unsigned int) strlen(word));
   return kw == NULL ? 0 : (int) kw->type;
}

/* A shared library that uses the text library; it exports its own function
 * and nothing of ours. */
#include "wcwidthtab_text.h"

#include <string.h>

size_t text_consumer_width(const char* text);

size_t text_consumer_width(const char* text) {
    return KVwchar_utf8_cluster_width(text, strlen(text));
}

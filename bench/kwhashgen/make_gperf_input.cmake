# Turns a keyword list into a gperf input with the same keywords and tokens,
# so the peer lookup answers exactly what the generated one does.
#   cmake -DINPUT=keywords.txt -DOUTPUT=keywords.gperf -P make_gperf_input.cmake
file(STRINGS "${INPUT}" lines)
set(body "")
foreach(line IN LISTS lines)
  if(line STREQUAL "" OR line MATCHES "^%")
    continue()
  endif()
  string(REGEX MATCH "^([^ \t]+)[ \t]+(.*)$" parsed "${line}")
  string(APPEND body "${CMAKE_MATCH_1}, ${CMAKE_MATCH_2}\n")
endforeach()
file(WRITE "${OUTPUT}" "%language=ANSI-C
%struct-type
%readonly-tables
%define lookup-function-name gperf_in_word_set
%define hash-function-name gperf_hash
%{
#include <string.h>
#include \"keyword_tokens.h\"
%}
struct gperf_keyword { const char *name; int token; };
%%
${body}%%
int gperf_lookup(const char *text, unsigned int length)
{
  const struct gperf_keyword *kw = gperf_in_word_set(text, length);
  return kw == NULL ? -1 : kw->token;
}
")

// The perfect-hash search written out step by step, with every hash
// recomputed byte by byte and compared pairwise. Slow, but plainly the
// algorithm; the tests and the benchmark hold the fast search against it.
#pragma once

#include "hash_search.hpp"

#include <cstdio>

namespace kwhashgen::literal {

void search_main_pass(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
                      const SearchParams& params);

int verify_hashes(KeywordStore& store, const CharValues& values, bool length_start,
                  std::FILE* messages);

} // namespace kwhashgen::literal

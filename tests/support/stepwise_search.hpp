// The step-by-step search: the perfect-hash search written out as the
// algorithm states it, with every hash recomputed byte by byte and compared
// pairwise. Slow, but plainly right; the tests, the fuzz targets and the
// benchmark hold the fast search against it.
#pragma once

#include "kwhashgen/hash_search.hpp"

#include <cstdio>

namespace kwhashgen::stepwise {

void search_main_pass(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
                      const SearchParams& params);

int verify_hashes(KeywordStore& store, const CharValues& values, bool length_start,
                  std::FILE* messages);

} // namespace kwhashgen::stepwise

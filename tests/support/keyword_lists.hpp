// Keyword lists built for the search tests and the benchmark.
#pragma once

#include <cstdint>
#include <string>

namespace kwhashgen::lists {

// A list that makes the search work hard: `early` keywords of 'a's with
// distinct lengths, then two anagrams that no value can separate, then
// `later` keywords of random high bytes, all as long as the first keyword
// (`max_length`). Lengths run from max_length - early to max_length.
// The 'a's make the early keywords heaviest, so they are placed first; every
// later keyword then collides with the first and each of its value trials
// fails only when it reaches the anagram pair.
std::string hostile_list(unsigned early, unsigned later, unsigned max_length, std::uint32_t seed);

// `count` random keywords of 1 to `max_length` bytes drawn from the first
// `alphabet` lower-case letters; small alphabets give many collisions,
// repeated keywords and anagrams.
std::string random_list(unsigned count, unsigned max_length, unsigned alphabet, std::uint32_t seed);

} // namespace kwhashgen::lists

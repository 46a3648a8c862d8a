// The keyword store and the reader that fills it from a keyword list.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kwhashgen {

// Largest number of keywords one list may hold.
inline constexpr std::uint32_t max_keywords = 256;

// Input is read in chunks of at most this many bytes (a 256-byte line buffer
// less its terminating NUL); a longer line is split into several lines.
inline constexpr std::size_t line_chunk_bytes = 255;

struct KeywordRecord {
    std::uint32_t hash = 0;   // the hash last computed for this keyword
    std::uint32_t length = 0; // bytes in `keyword`
    std::int32_t weight = 0;  // set by the weighting step, sort key
    std::string keyword;      // never holds a NUL byte
    std::string type;         // C initialiser of the row's type member; may be empty
};

struct KeywordStore {
    std::array<KeywordRecord, max_keywords> records;
    std::uint32_t count = 0;
    std::uint32_t max_length = 0;
    std::uint32_t min_length = 65535;
};

enum class ReadStatus {
    ok,
    too_many_keywords, // a non-comment line arrived with the store full
    out_of_memory,
    read_error, // reading failed before the end of the input
};

// Splits one line (newline already removed, non-empty, no NUL) into keyword
// and type text and appends it to the store. The caller checks for room.
void store_keyword_line(KeywordStore& store, const char* line, std::size_t length);

// Reads the whole keyword list from `in`. A failed read is reported as
// read_error, never taken for the end of the list: a hash over part of the
// list would pass for a complete one.
ReadStatus read_keyword_list(std::FILE* in, KeywordStore& store);

} // namespace kwhashgen

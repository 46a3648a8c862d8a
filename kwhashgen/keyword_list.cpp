#include "keyword_list.hpp"

#include <cstring>
#include <new>

namespace kwhashgen {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

void store_keyword_line(KeywordStore& store, const char* line, std::size_t length) {
    std::size_t keyword_end = 0;
    while (keyword_end < length && !is_blank(line[keyword_end]))
        ++keyword_end;
    std::size_t type_start = keyword_end;
    while (type_start < length && is_blank(line[type_start]))
        ++type_start;

    KeywordRecord& record = store.records[store.count];
    record.keyword.assign(line, keyword_end);
    record.type.assign(line + type_start, length - type_start);
    record.length = static_cast<std::uint32_t>(keyword_end);
    record.hash = 0;
    record.weight = 0;

    if (record.length > store.max_length)
        store.max_length = record.length;
    if (record.length < store.min_length)
        store.min_length = record.length;
    ++store.count;
}

ReadStatus read_keyword_list(std::FILE* in, KeywordStore& store) {
    char buffer[line_chunk_bytes + 1];
    while (std::fgets(buffer, sizeof buffer, in) != nullptr) {
        if (buffer[0] == '%')
            continue;
        // The limit is checked before anything else about the line, so once
        // the store is full even an empty line is refused.
        if (store.count == max_keywords)
            return ReadStatus::too_many_keywords;
        // A NUL byte ends the line's text wherever it stands.
        std::size_t length = std::strlen(buffer);
        if (length > 0 && buffer[length - 1] == '\n')
            --length;
        if (length == 0)
            continue;
        try {
            store_keyword_line(store, buffer, length);
        } catch (const std::bad_alloc&) {
            return ReadStatus::out_of_memory;
        }
    }
    return std::ferror(in) != 0 ? ReadStatus::read_error : ReadStatus::ok;
}

} // namespace kwhashgen

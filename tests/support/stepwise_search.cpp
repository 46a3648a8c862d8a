#include "stepwise_search.hpp"

#include <utility>
#include <vector>

namespace kwhashgen::stepwise {

namespace {

struct Search {
    KeywordStore& store;
    CharValues& values;
    FrequencyTable& frequencies;
    SearchParams params;

    std::uint32_t hash(std::uint32_t k) {
        KeywordRecord& record = store.records[k];
        std::uint32_t sum = params.length_start ? record.length : 0;
        for (std::size_t n = record.keyword.size(); n > 0; --n)
            sum += static_cast<std::uint32_t>(
                values[static_cast<unsigned char>(record.keyword[n - 1])]);
        record.hash = sum;
        return sum;
    }

    bool try_records_up_to(std::uint32_t i) {
        for (std::uint32_t k = 0; k <= i; ++k) {
            const std::uint32_t h = hash(k);
            for (std::uint32_t j = 0; j < k; ++j)
                if (store.records[j].hash == h)
                    return false;
        }
        return true;
    }

    bool value_trial(unsigned char c, std::uint32_t i) {
        const std::int32_t remembered = values[c];
        std::uint32_t b = 0;
        for (std::uint32_t t = 0; t < params.table_size; ++t) {
            b += params.step_size;
            b %= params.table_size;
            values[c] = static_cast<std::int32_t>(b);
            if (try_records_up_to(i))
                return true;
        }
        values[c] = remembered;
        return false;
    }

    bool resolve(std::uint32_t i, std::uint32_t j) {
        bool in_i[256] = {};
        bool in_j[256] = {};
        for (unsigned char byte : store.records[i].keyword)
            in_i[byte] = true;
        for (unsigned char byte : store.records[j].keyword)
            in_j[byte] = true;
        std::vector<unsigned char> candidates;
        for (unsigned c = 0; c < 256; ++c)
            if (in_i[c] != in_j[c])
                candidates.push_back(static_cast<unsigned char>(c));
        if (candidates.empty())
            return false;

        frequencies.fill(0);
        for (std::uint32_t k = 0; k < i; ++k)
            for (unsigned char byte : store.records[k].keyword)
                ++frequencies[byte];

        for (std::size_t p = 0; p + 1 < candidates.size(); ++p)
            for (std::size_t q = p + 1; q < candidates.size(); ++q)
                if (frequencies[candidates[q]] < frequencies[candidates[p]]) {
                    std::swap(candidates[p], candidates[q]);
                    break;
                }

        for (unsigned char c : candidates)
            if (value_trial(c, i))
                return true;
        return false;
    }
};

} // namespace

void search_main_pass(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
                      const SearchParams& params) {
    Search search{store, values, frequencies, params};
    for (std::uint32_t i = 0; i < store.count; ++i) {
        const std::uint32_t h = search.hash(i);
        for (std::uint32_t j = 0; j < i; ++j) {
            if (store.records[j].hash == h) {
                search.resolve(i, j);
                break;
            }
        }
    }
}

int verify_hashes(KeywordStore& store, const CharValues& values, bool length_start,
                  std::FILE* messages) {
    FrequencyTable unused{};
    CharValues copy = values;
    Search search{store, copy, unused, {1, 1, length_start}};
    int result = 0;
    for (std::uint32_t i = 0; i < store.count; ++i) {
        const std::uint32_t h = search.hash(i);
        for (std::uint32_t j = 0; j < i; ++j) {
            if (store.records[j].hash == h) {
                std::fprintf(messages, "Collision: %s, %s\n", store.records[i].keyword.c_str(),
                             store.records[j].keyword.c_str());
                result = -1;
            }
        }
    }
    return result;
}

} // namespace kwhashgen::stepwise

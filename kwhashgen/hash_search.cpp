#include "hash_search.hpp"

#include <algorithm>
#include <utility>

namespace kwhashgen {

std::uint32_t table_size_for(std::uint32_t keyword_count) {
    std::uint32_t size = 1;
    while (size < keyword_count)
        size *= 2;
    return size;
}

void count_frequencies(const KeywordStore& store, std::uint32_t first_records,
                       FrequencyTable& frequencies) {
    frequencies.fill(0);
    for (std::uint32_t k = 0; k < first_records; ++k)
        for (unsigned char byte : store.records[k].keyword)
            ++frequencies[byte];
}

void weight_and_sort(KeywordStore& store, const FrequencyTable& frequencies) {
    auto first = store.records.begin();
    auto last = first + store.count;
    for (auto it = first; it != last; ++it) {
        std::uint32_t weight = 0;
        for (unsigned char byte : it->keyword)
            weight += frequencies[byte];
        it->weight = static_cast<std::int32_t>(weight);
    }
    // A stable sort keeps ties in input order, so every platform generates
    // the same values.
    std::stable_sort(first, last, [](const KeywordRecord& a, const KeywordRecord& b) {
        return a.weight > b.weight;
    });
}

void set_initial_values(const KeywordStore& store, CharValues& values) {
    values.fill(-1);
    for (std::uint32_t k = 0; k < store.count; ++k)
        for (unsigned char byte : store.records[k].keyword)
            values[byte] = 0;
}

std::uint32_t keyword_hash(const KeywordRecord& record, const CharValues& values,
                           bool length_start) {
    std::uint32_t sum = length_start ? record.length : 0;
    for (auto it = record.keyword.rbegin(); it != record.keyword.rend(); ++it)
        sum += static_cast<std::uint32_t>(values[static_cast<unsigned char>(*it)]);
    return sum;
}

std::size_t candidate_bytes(const KeywordRecord& a, const KeywordRecord& b,
                            CandidateBytes& candidates) {
    std::array<bool, 256> in_a{};
    std::array<bool, 256> in_b{};
    for (unsigned char byte : a.keyword)
        in_a[byte] = true;
    for (unsigned char byte : b.keyword)
        in_b[byte] = true;
    std::size_t count = 0;
    for (unsigned c = 0; c < 256; ++c)
        if (in_a[c] != in_b[c])
            candidates[count++] = static_cast<unsigned char>(c);
    return count;
}

void order_candidates(std::span<unsigned char> candidates, const FrequencyTable& frequencies) {
    const std::size_t n = candidates.size();
    for (std::size_t p = 0; p + 1 < n; ++p) {
        const std::uint32_t count = frequencies[candidates[p]];
        for (std::size_t q = p + 1; q < n; ++q) {
            if (frequencies[candidates[q]] < count) {
                std::swap(candidates[p], candidates[q]);
                break;
            }
        }
    }
}

namespace {

// Moves to the next stamp generation; when the count wraps, the stamps are
// cleared so that no stamp of an old generation can pass for a new one.
template <std::size_t N>
std::uint32_t next_generation(std::uint32_t& generation, std::array<std::uint32_t, N>& stamps) {
    if (++generation == 0) {
        stamps.fill(0);
        generation = 1;
    }
    return generation;
}

// The search keeps, per record, how often each byte occurs in it and its
// hash under the current values, so that a change of one byte's value moves
// a hash by count times the difference instead of a recount.
//
// A value trial of byte c then splits records 0..i in two. Records without c
// hash the same in every try of the trial: they are indexed once per trial,
// up to the first of them that repeats an earlier one's hash (no try can get
// past it). Per try only the records holding c are recomputed, each looked up
// against that index and against the records with c seen earlier in the same
// try. The first record whose hash repeats an earlier one in index order is
// where the step-by-step algorithm's try stops.
//
// Stored hashes are written back exactly as the step-by-step algorithm leaves
// them, stale values of failed tries included: the main pass looks for a new
// record's first collision among the stored hashes of the earlier records,
// so they decide which pair later resolutions separate.
class FastSearch {
  public:
    FastSearch(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
               SearchScratch& scratch, const SearchParams& params)
        : store_(store), values_(values), frequencies_(frequencies), s_(scratch), params_(params) {
        for (std::uint32_t k = 0; k < store.count; ++k) {
            s_.byte_counts[k].fill(0);
            for (unsigned char byte : store.records[k].keyword)
                ++s_.byte_counts[k][byte];
            s_.current_hash[k] = keyword_hash(store.records[k], values, params.length_start);
        }
    }

    void main_pass() {
        for (std::uint32_t i = 0; i < store_.count; ++i) {
            const std::uint32_t hash = s_.current_hash[i];
            store_.records[i].hash = hash;
            for (std::uint32_t j = 0; j < i; ++j) {
                if (store_.records[j].hash == hash) {
                    resolve(i, j);
                    break;
                }
            }
        }
    }

  private:
    bool resolve(std::uint32_t i, std::uint32_t j) {
        CandidateBytes candidates;
        const std::size_t count = candidate_bytes(store_.records[i], store_.records[j], candidates);
        if (count == 0)
            return false;
        count_frequencies(store_, i, frequencies_);
        order_candidates({candidates.data(), count}, frequencies_);
        for (std::size_t n = 0; n < count; ++n)
            if (value_trial(candidates[n], i))
                return true;
        return false;
    }

    bool value_trial(unsigned char c, std::uint32_t i) {
        const std::uint32_t old_value = static_cast<std::uint32_t>(values_[c]);
        const std::uint32_t limit = index_records_without(c, i, old_value);

        s_.try_count = 0;
        if (limit <= i && s_.with_byte_count == 0) {
            // No record before the repeat holds c (the list of those holding
            // it ends there): every try stops at the same record, whatever
            // value it gives c, and the last try's value is 0.
            s_.tries[s_.try_count++] = {0, limit};
            record_stored_hashes(c);
            return false;
        }
        bool found = false;
        std::uint32_t running = 0;
        for (std::uint32_t t = 0; t < params_.table_size && !found; ++t) {
            running = (running + params_.step_size) % params_.table_size;
            const std::uint32_t stop = first_repeat(c, running, limit);
            found = stop > i;
            s_.tries[s_.try_count++] = {running, found ? i : stop};
        }
        record_stored_hashes(c);
        if (!found)
            return false;

        const std::uint32_t new_value = s_.tries[s_.try_count - 1].value;
        values_[c] = static_cast<std::int32_t>(new_value);
        for (std::uint32_t k = 0; k < store_.count; ++k)
            s_.current_hash[k] += s_.byte_counts[k][c] * (new_value - old_value);
        return true;
    }

    // Indexes the records of 0..i without byte c by hash, and lists those
    // with c, up to the first record without c that repeats an earlier one's
    // hash; returns that record's index, or i+1 when there is none.
    std::uint32_t index_records_without(unsigned char c, std::uint32_t i, std::uint32_t old_value) {
        const std::uint32_t generation = next_generation(s_.index_generation, s_.index_stamp);
        s_.with_byte_count = 0;
        for (std::uint32_t k = 0; k <= i; ++k) {
            const std::uint32_t count = s_.byte_counts[k][c];
            s_.trial_hash[k] = s_.current_hash[k] - count * old_value;
            if (count != 0) {
                s_.with_byte[s_.with_byte_count++] = k;
                continue;
            }
            const std::uint32_t hash = s_.trial_hash[k];
            if (s_.index_stamp[hash] == generation)
                return k;
            s_.index_stamp[hash] = generation;
            s_.index_record[hash] = static_cast<std::uint8_t>(k);
        }
        return i + 1;
    }

    // Index of the first record whose hash repeats an earlier record's when
    // byte c has the given value; `limit` when no record before it does.
    std::uint32_t first_repeat(unsigned char c, std::uint32_t value, std::uint32_t limit) {
        const std::uint32_t generation = next_generation(s_.seen_generation, s_.seen_stamp);
        std::uint32_t stop = limit;
        for (std::uint32_t n = 0; n < s_.with_byte_count; ++n) {
            const std::uint32_t k = s_.with_byte[n];
            if (k >= stop)
                break;
            const std::uint32_t hash = s_.trial_hash[k] + s_.byte_counts[k][c] * value;
            if (s_.index_stamp[hash] == s_.index_generation) {
                const std::uint32_t other = s_.index_record[hash];
                if (other < k)
                    return k;
                stop = std::min(stop, other);
            }
            if (s_.seen_stamp[hash] == generation)
                return k;
            s_.seen_stamp[hash] = generation;
        }
        return stop;
    }

    // Each record keeps the hash of the last try that reached it.
    void record_stored_hashes(unsigned char c) {
        std::uint32_t assigned = 0;
        for (std::uint32_t t = s_.try_count; t > 0; --t) {
            const SearchScratch::Try& tried = s_.tries[t - 1];
            for (std::uint32_t k = assigned; k <= tried.last_computed; ++k)
                store_.records[k].hash = s_.trial_hash[k] + s_.byte_counts[k][c] * tried.value;
            assigned = std::max(assigned, tried.last_computed + 1);
        }
    }

    KeywordStore& store_;
    CharValues& values_;
    FrequencyTable& frequencies_;
    SearchScratch& s_;
    const SearchParams params_;
};

} // namespace

void search_main_pass(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
                      SearchScratch& scratch, const SearchParams& params) {
    FastSearch fast(store, values, frequencies, scratch, params);
    fast.main_pass();
}

int verify_hashes(KeywordStore& store, const CharValues& values, bool length_start,
                  std::FILE* messages) {
    std::uint32_t pairs = 0;
    for (std::uint32_t i = 0; i < store.count; ++i) {
        KeywordRecord& record = store.records[i];
        record.hash = keyword_hash(record, values, length_start);
        for (std::uint32_t j = 0; j < i; ++j) {
            if (store.records[j].hash == record.hash) {
                std::fprintf(messages, "Collision: %s, %s\n", record.keyword.c_str(),
                             store.records[j].keyword.c_str());
                ++pairs;
            }
        }
    }
    return pairs == 0 ? 0 : -1;
}

int search(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
           SearchScratch& scratch, const SearchParams& params, std::FILE* messages) {
    search_main_pass(store, values, frequencies, scratch, params);
    return verify_hashes(store, values, params.length_start, messages);
}

} // namespace kwhashgen

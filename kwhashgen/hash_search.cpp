#include "hash_search.hpp"

#include <algorithm>
#include <utility>

namespace kwhashgen {

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

std::vector<unsigned char> candidate_bytes(const KeywordRecord& a, const KeywordRecord& b) {
    std::array<bool, 256> in_a{};
    std::array<bool, 256> in_b{};
    for (unsigned char byte : a.keyword)
        in_a[byte] = true;
    for (unsigned char byte : b.keyword)
        in_b[byte] = true;
    std::vector<unsigned char> candidates;
    for (unsigned c = 0; c < 256; ++c)
        if (in_a[c] != in_b[c])
            candidates.push_back(static_cast<unsigned char>(c));
    return candidates;
}

void order_candidates(std::vector<unsigned char>& candidates, const FrequencyTable& frequencies) {
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

// Every value the search gives a byte lies below the table size, at most 256,
// so no hash exceeds the length plus 255 for every byte.
std::size_t hash_bound(const KeywordStore& store) {
    std::size_t longest = 0;
    for (std::uint32_t k = 0; k < store.count; ++k)
        longest = std::max(longest, store.records[k].keyword.size());
    return longest * 256 + 1;
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
// where the plain algorithm's try stops.
class FastSearch {
  public:
    FastSearch(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
               const SearchParams& params)
        : store_(store), values_(values), frequencies_(frequencies), params_(params),
          byte_counts_(store.count), current_hash_(store.count), trial_hash_(store.count),
          index_stamp_(hash_bound(store), 0), index_record_(index_stamp_.size(), 0),
          seen_stamp_(index_stamp_.size(), 0) {
        for (std::uint32_t k = 0; k < store.count; ++k) {
            byte_counts_[k].fill(0);
            for (unsigned char byte : store.records[k].keyword)
                ++byte_counts_[k][byte];
            current_hash_[k] = keyword_hash(store.records[k], values, params.length_start);
        }
    }

    void main_pass() {
        for (std::uint32_t i = 0; i < store_.count; ++i) {
            const std::uint32_t hash = current_hash_[i];
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
    struct Try {
        std::uint32_t value;
        std::uint32_t last_computed; // index of the last record the try hashed
    };

    bool resolve(std::uint32_t i, std::uint32_t j) {
        std::vector<unsigned char> candidates =
            candidate_bytes(store_.records[i], store_.records[j]);
        if (candidates.empty())
            return false;
        count_frequencies(store_, i, frequencies_);
        order_candidates(candidates, frequencies_);
        for (unsigned char c : candidates)
            if (value_trial(c, i))
                return true;
        return false;
    }

    bool value_trial(unsigned char c, std::uint32_t i) {
        const std::uint32_t old_value = static_cast<std::uint32_t>(values_[c]);
        const std::uint32_t limit = index_records_without(c, i, old_value);

        tries_.clear();
        if (limit <= i && with_byte_.empty()) {
            // No record before the repeat holds c (the list of those holding
            // it ends there): every try stops at the same record, whatever
            // value it gives c, and the last try's value is 0.
            tries_.push_back({0, limit});
            record_stored_hashes(c);
            return false;
        }
        bool found = false;
        std::uint32_t running = 0;
        for (std::uint32_t t = 0; t < params_.table_size && !found; ++t) {
            running = (running + params_.step_size) % params_.table_size;
            const std::uint32_t stop = first_repeat(c, running, limit);
            found = stop > i;
            tries_.push_back({running, found ? i : stop});
        }
        record_stored_hashes(c);
        if (!found)
            return false;

        const std::uint32_t new_value = tries_.back().value;
        values_[c] = static_cast<std::int32_t>(new_value);
        for (std::uint32_t k = 0; k < store_.count; ++k)
            current_hash_[k] += byte_counts_[k][c] * (new_value - old_value);
        return true;
    }

    // Indexes the records of 0..i without byte c by hash, and lists those
    // with c, up to the first record without c that repeats an earlier one's
    // hash; returns that record's index, or i+1 when there is none.
    std::uint32_t index_records_without(unsigned char c, std::uint32_t i, std::uint32_t old_value) {
        ++index_generation_;
        with_byte_.clear();
        for (std::uint32_t k = 0; k <= i; ++k) {
            const std::uint32_t count = byte_counts_[k][c];
            trial_hash_[k] = current_hash_[k] - count * old_value;
            if (count != 0) {
                with_byte_.push_back(k);
                continue;
            }
            const std::uint32_t hash = trial_hash_[k];
            if (index_stamp_[hash] == index_generation_)
                return k;
            index_stamp_[hash] = index_generation_;
            index_record_[hash] = k;
        }
        return i + 1;
    }

    // Index of the first record whose hash repeats an earlier record's when
    // byte c has the given value; `limit` when no record before it does.
    std::uint32_t first_repeat(unsigned char c, std::uint32_t value, std::uint32_t limit) {
        ++seen_generation_;
        std::uint32_t stop = limit;
        for (std::uint32_t k : with_byte_) {
            if (k >= stop)
                break;
            const std::uint32_t hash = trial_hash_[k] + byte_counts_[k][c] * value;
            if (index_stamp_[hash] == index_generation_) {
                const std::uint32_t other = index_record_[hash];
                if (other < k)
                    return k;
                stop = std::min(stop, other);
            }
            if (seen_stamp_[hash] == seen_generation_)
                return k;
            seen_stamp_[hash] = seen_generation_;
        }
        return stop;
    }

    // Each record keeps the hash of the last try that reached it.
    void record_stored_hashes(unsigned char c) {
        std::uint32_t assigned = 0;
        for (auto t = tries_.rbegin(); t != tries_.rend(); ++t) {
            for (std::uint32_t k = assigned; k <= t->last_computed; ++k)
                store_.records[k].hash = trial_hash_[k] + byte_counts_[k][c] * t->value;
            assigned = std::max(assigned, t->last_computed + 1);
        }
    }

    KeywordStore& store_;
    CharValues& values_;
    FrequencyTable& frequencies_;
    const SearchParams params_;
    std::vector<std::array<std::uint32_t, 256>> byte_counts_;
    std::vector<std::uint32_t> current_hash_; // under the current values
    std::vector<std::uint32_t> trial_hash_;   // without the tried byte's share
    std::vector<std::uint32_t> with_byte_;
    std::vector<Try> tries_;
    std::vector<std::uint32_t> index_stamp_;
    std::vector<std::uint32_t> index_record_;
    std::vector<std::uint32_t> seen_stamp_;
    std::uint32_t index_generation_ = 0;
    std::uint32_t seen_generation_ = 0;
};

} // namespace

void search_main_pass(KeywordStore& store, CharValues& values, FrequencyTable& frequencies,
                      const SearchParams& params) {
    FastSearch fast(store, values, frequencies, params);
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
           const SearchParams& params, std::FILE* messages) {
    search_main_pass(store, values, frequencies, params);
    return verify_hashes(store, values, params.length_start, messages);
}

} // namespace kwhashgen

// Whole generator runs on the example and on a hostile list, beside the
// step-by-step search as baseline; then keyword lookups with the generated hash against
// gperf (when found), an unordered_set and a binary search.
#include "keyword_lists.hpp"
#include "kwhashgen/generator.hpp"
#include "kwhashgen/hash_search.hpp"
#include "stepwise_search.hpp"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

extern "C" int generated_lookup(char* text, unsigned int length);
#ifdef KARVO_HAVE_GPERF
extern "C" int gperf_lookup(const char* text, unsigned int length);
#endif

namespace {

using namespace kwhashgen;

std::string example_list() {
    std::ifstream in(KEYWORDS_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string& hostile() {
    // 256 keywords of 215 to 255 bytes; the anagram pair is placed 41st.
    static const std::string list = lists::hostile_list(40, 214, 255, 1);
    return list;
}

std::FILE* null_stream() {
    static std::FILE* null = std::fopen("/dev/null", "w");
    return null;
}

// Reading, weighting, sorting and searching, with either search.
int search_list(const std::string& list, bool stepwise) {
    std::FILE* in = fmemopen(const_cast<char*>(list.data()), list.size(), "r");
    auto store = std::make_unique<KeywordStore>();
    read_keyword_list(in, *store);
    std::fclose(in);
    FrequencyTable frequencies{};
    count_frequencies(*store, store->count, frequencies);
    weight_and_sort(*store, frequencies);
    CharValues values{};
    set_initial_values(*store, values);
    const SearchParams params{table_size_for(store->count), default_step_size, true};
    if (!stepwise) {
        // As in the generator, the tables are set up once, not per search.
        static const auto scratch = std::make_unique<SearchScratch>();
        return search(*store, values, frequencies, *scratch, params, null_stream());
    }
    stepwise::search_main_pass(*store, values, frequencies, params);
    return stepwise::verify_hashes(*store, values, true, null_stream());
}

void BM_GenerateExampleList(benchmark::State& state) {
    const std::string list = example_list();
    for (auto _ : state) {
        std::FILE* in = fmemopen(const_cast<char*>(list.data()), list.size(), "r");
        benchmark::DoNotOptimize(run({"kwhashgen"}, false, {in, null_stream(), null_stream()}));
        std::fclose(in);
    }
}
BENCHMARK(BM_GenerateExampleList)->Unit(benchmark::kMicrosecond);

void BM_SearchExampleList(benchmark::State& state) {
    const std::string list = example_list();
    const bool stepwise = state.range(0) != 0;
    state.SetLabel(stepwise ? "step-by-step search" : "fast search");
    for (auto _ : state)
        benchmark::DoNotOptimize(search_list(list, stepwise));
}
BENCHMARK(BM_SearchExampleList)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SearchHostileList(benchmark::State& state) {
    const bool stepwise = state.range(0) != 0;
    state.SetLabel(stepwise ? "step-by-step search" : "fast search");
    for (auto _ : state)
        benchmark::DoNotOptimize(search_list(hostile(), stepwise));
}
BENCHMARK(BM_SearchHostileList)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchHostileList)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// Texts a scanner meets: every keyword, and as many identifiers that are not.
std::vector<std::string> lookup_texts() {
    std::vector<std::string> texts;
    std::string list = example_list();
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string::npos)
            end = list.size();
        const std::string line = list.substr(start, end - start);
        if (!line.empty() && line[0] != '%')
            texts.push_back(line.substr(0, line.find_first_of(" \t")));
        start = end + 1;
    }
    const std::size_t keywords = texts.size();
    std::mt19937 random(42);
    std::uniform_int_distribution<int> length(1, 10);
    std::uniform_int_distribution<int> letter('a', 'z');
    const char* const near[] = {"whilst", "fore",  "returns",  "iff", "ends", "Xor", "structs",
                                "do_",    "tries", "importer", "x",   "i",    "len", "count"};
    texts.insert(texts.end(), std::begin(near), std::end(near));
    while (texts.size() < 2 * keywords) {
        std::string identifier;
        for (int n = length(random); n > 0; --n)
            identifier += static_cast<char>(letter(random));
        texts.push_back(identifier);
    }
    std::shuffle(texts.begin(), texts.end(), random);
    return texts;
}

template <typename Lookup> void run_lookups(benchmark::State& state, Lookup lookup) {
    std::vector<std::string> texts = lookup_texts();
    for (auto _ : state)
        for (std::string& text : texts)
            benchmark::DoNotOptimize(lookup(text));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * texts.size()));
}

void BM_LookupGenerated(benchmark::State& state) {
    run_lookups(state, [](std::string& text) {
        return generated_lookup(text.data(), static_cast<unsigned>(text.size()));
    });
}
BENCHMARK(BM_LookupGenerated);

#ifdef KARVO_HAVE_GPERF
void BM_LookupGperf(benchmark::State& state) {
    run_lookups(state, [](std::string& text) {
        return gperf_lookup(text.data(), static_cast<unsigned>(text.size()));
    });
}
BENCHMARK(BM_LookupGperf);
#endif

std::vector<std::string> keywords_only() {
    std::vector<std::string> keywords;
    for (const std::string& text : lookup_texts())
        if (generated_lookup(const_cast<char*>(text.c_str()), static_cast<unsigned>(text.size())) >=
            0)
            keywords.push_back(text);
    std::sort(keywords.begin(), keywords.end());
    return keywords;
}

void BM_LookupUnorderedSet(benchmark::State& state) {
    static const std::vector<std::string> keywords = keywords_only();
    const std::unordered_set<std::string_view> set(keywords.begin(), keywords.end());
    run_lookups(state, [&set](std::string& text) { return set.count(text); });
}
BENCHMARK(BM_LookupUnorderedSet);

void BM_LookupBinarySearch(benchmark::State& state) {
    static const std::vector<std::string> keywords = keywords_only();
    const std::vector<std::string_view> sorted(keywords.begin(), keywords.end());
    run_lookups(state, [&sorted](std::string& text) {
        return std::binary_search(sorted.begin(), sorted.end(), std::string_view(text));
    });
}
BENCHMARK(BM_LookupBinarySearch);

} // namespace

BENCHMARK_MAIN();

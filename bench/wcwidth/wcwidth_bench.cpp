// KVwchar_wcwidth against glibc's wcwidth(), utf8proc_charwidth() and an
// empty out-of-line function (the floor), on the same inputs in one run.
// One program is built per Unicode version of the table.
// After the usual report it prints each function's time per code point as a
// ratio to the floor's, and the lookup's as a ratio to each peer's.
#include "best_rates.hpp"
#include "floor_width.hpp"
#include "wcwidthtab_utf8.h"

#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>
#include <wchar.h>

#ifdef KARVO_HAVE_UTF8PROC
#include <utf8proc.h>
#endif

namespace {

constexpr std::size_t Input_Size = 1 << 14;

std::vector<std::uint32_t> decode_utf8(const std::string& text) {
    std::vector<std::uint32_t> out;
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code_point = 0;
        at += KVwchar_utf8_decode(text.data() + at, text.size() - at, &code_point);
        out.push_back(code_point);
    }
    return out;
}

// The text's code points, repeated up to Input_Size so that every input
// costs the same number of calls per pass.
std::vector<std::uint32_t> text_input(const char* file_name) {
    std::ifstream file(std::string(KARVO_BENCH_DATA_DIR) + "/" + file_name, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::vector<std::uint32_t> once = decode_utf8(text);
    std::vector<std::uint32_t> input;
    while (!once.empty() && input.size() < Input_Size) {
        input.insert(input.end(), once.begin(), once.end());
    }
    input.resize(Input_Size);
    return input;
}

std::vector<std::uint32_t> random_input() {
    std::mt19937 engine(20171010);
    std::uniform_int_distribution<std::uint32_t> any(0, 0x10FFFF);
    std::vector<std::uint32_t> input(Input_Size);
    for (std::uint32_t& cp : input) {
        cp = any(engine);
    }
    return input;
}

template <auto Width>
void width_loop(benchmark::State& state, const std::vector<std::uint32_t>* input) {
    for (auto _ : state) {
        int sum = 0;
        for (std::uint32_t cp : *input) {
            sum += Width(cp);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * input->size()));
}

// Time per code point of each function as a ratio to the floor's, then
// KVwchar_wcwidth's time as a ratio to each peer's, from the best
// repetitions.
void print_ratios(const BestRates& rates, const std::vector<std::string>& functions) {
    std::printf(
        "\nTime per code point as a ratio to the floor (same run, best repetition):\n%-12s %9s",
        "input", "floor ns");
    for (const std::string& f : functions) {
        std::printf(" %18s", f.c_str());
    }
    std::printf("\n");
    for (const std::string& input : rates.inputs()) {
        const double floor_ns = 1e9 / rates.rate(input, "floor");
        std::printf("%-12s %9.3f", input.c_str(), floor_ns);
        for (const std::string& f : functions) {
            const double rate = rates.rate(input, f);
            if (rate == 0) {
                std::printf(" %18s", "-");
            } else {
                std::printf(" %17.2fx", 1e9 / rate / floor_ns);
            }
        }
        std::printf("\n");
    }

    struct Peer {
        const char* name;
        double at_most; // KVwchar_wcwidth's time as a share of the peer's
    };
    const Peer peers[] = {{"utf8proc", 0.90}, {"glibc_wcwidth", 0.60}};
    std::printf("\nKVwchar_wcwidth's time as a ratio to each peer's:\n");
    for (const std::string& input : rates.inputs()) {
        for (const Peer& peer : peers) {
            const double peer_rate = rates.rate(input, peer.name);
            if (peer_rate == 0) {
                continue;
            }
            const double ratio = peer_rate / rates.rate(input, "KVwchar_wcwidth");
            std::printf("  %-12s vs %-14s %6.3fx  (aim: at most %.2fx) %s\n", input.c_str(),
                        peer.name, ratio, peer.at_most, ratio <= peer.at_most ? "met" : "MISSED");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) {
        std::fprintf(stderr, "the C.UTF-8 locale is not available\n");
        return 1;
    }
    const std::map<std::string, std::vector<std::uint32_t>> inputs = {
        {"ascii_text", text_input("ascii_heavy.txt")},
        {"cjk_text", text_input("cjk_heavy.txt")},
        {"multilingual", text_input("multilingual.txt")},
        {"random_cp", random_input()},
    };
    std::vector<std::string> functions = {"KVwchar_wcwidth", "glibc_wcwidth"};
#ifdef KARVO_HAVE_UTF8PROC
    functions.push_back("utf8proc");
#endif
    for (const auto& [name, input] : inputs) {
        const std::vector<std::uint32_t>* in = &input;
        benchmark::RegisterBenchmark((name + "/floor").c_str(), width_loop<&floor_width>, in);
        benchmark::RegisterBenchmark((name + "/KVwchar_wcwidth").c_str(),
                                     width_loop<&KVwchar_wcwidth>, in);
        benchmark::RegisterBenchmark((name + "/glibc_wcwidth").c_str(), width_loop<&::wcwidth>, in);
#ifdef KARVO_HAVE_UTF8PROC
        benchmark::RegisterBenchmark((name + "/utf8proc").c_str(), width_loop<&utf8proc_charwidth>,
                                     in);
#endif
    }
    initialize_with_repetitions(argc, argv, 40, 0.01);
    std::printf("KVwchar_wcwidth over the Unicode %d.%d.%d table\n", KVWC_UNICODE_VERSION_MAJOR,
                KVWC_UNICODE_VERSION_MINOR, KVWC_UNICODE_VERSION_UPDATE);
    BestRates rates("items_per_second");
    benchmark::RunSpecifiedBenchmarks(&rates);
    print_ratios(rates, functions);
    benchmark::Shutdown();
    return 0;
}

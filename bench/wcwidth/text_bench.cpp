// Width of whole lines of UTF-8 text: KVwchar_utf8_width and the text
// library's KVwchar_utf8_cluster_width against utf8proc (a decode and
// charwidth loop, and a grapheme-aware loop) and glibc (mbstowcs, then
// wcswidth under C.UTF-8), on three corpora the program writes itself. Each
// line is measured by one call, as programs measure text; the rate is bytes
// of text per second. After the usual report it prints MB/s per corpus and
// function, the columns each function counts, and the speed ratios.
#include "best_rates.hpp"
#include "corpora.hpp"
#include "wcwidthtab_utf8.h"

#ifdef KARVO_HAVE_TEXT
#include "wcwidthtab_text.h"
#endif
#ifdef KARVO_HAVE_UTF8PROC
#include <utf8proc.h>
#endif

#include <benchmark/benchmark.h>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <wchar.h>

namespace {

// Large enough that the branch predictors cannot learn the text: over a
// corpus of 256 KiB, read again and again, the ASCII fast path measured
// nearly three times its speed on text it had not seen.
constexpr std::size_t Corpus_Bytes = 4 * 1024 * 1024;

using Measure = std::function<std::size_t(const char*, std::size_t)>;

struct Function {
    std::string name;
    Measure measure;
};

#ifdef KARVO_HAVE_UTF8PROC
// Code point by code point, as a utf8proc user sums widths.
std::size_t utf8proc_plain(const char* s, std::size_t len) {
    const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(s);
    auto left = static_cast<utf8proc_ssize_t>(len);
    std::size_t columns = 0;
    while (left > 0) {
        utf8proc_int32_t code_point = 0;
        utf8proc_ssize_t used = utf8proc_iterate(p, left, &code_point);
        if (used < 0) {
            used = 1;
            code_point = 0xFFFD;
        }
        columns += static_cast<std::size_t>(utf8proc_charwidth(code_point));
        p += used;
        left -= used;
    }
    return columns;
}

// Cluster by cluster: utf8proc finds the breaks, and a cluster counts the
// largest charwidth among its code points. utf8proc has no width of its own
// for a cluster; the largest is what a program built on it would take (an
// emoji sequence counts as its widest member instead of the sum), and it
// costs the same as the first or the sum.
std::size_t utf8proc_grapheme(const char* s, std::size_t len) {
    const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(s);
    auto left = static_cast<utf8proc_ssize_t>(len);
    std::size_t columns = 0;
    int cluster = 0;
    utf8proc_int32_t previous = -1;
    utf8proc_int32_t state = 0;
    while (left > 0) {
        utf8proc_int32_t code_point = 0;
        utf8proc_ssize_t used = utf8proc_iterate(p, left, &code_point);
        if (used < 0) {
            used = 1;
            code_point = 0xFFFD;
        }
        if (previous >= 0 && utf8proc_grapheme_break_stateful(previous, code_point, &state)) {
            columns += static_cast<std::size_t>(cluster);
            cluster = 0;
        }
        cluster = std::max(cluster, utf8proc_charwidth(code_point));
        previous = code_point;
        p += used;
        left -= used;
    }
    return columns + static_cast<std::size_t>(cluster);
}
#endif

// glibc: the line (NUL-terminated) to wide characters, then their width. A
// line that wcswidth refuses (a non-printable character) counts 0.
class GlibcWidth {
  public:
    explicit GlibcWidth(std::size_t max_line_length) : wide_(max_line_length + 1) {}
    std::size_t operator()(const char* s, std::size_t /*len*/) {
        const std::size_t count = std::mbstowcs(wide_.data(), s, wide_.size());
        if (count == static_cast<std::size_t>(-1)) {
            return 0;
        }
        const int columns = ::wcswidth(wide_.data(), count);
        return columns < 0 ? 0 : static_cast<std::size_t>(columns);
    }

  private:
    std::vector<wchar_t> wide_;
};

// The timed loop: every line by one call. Each function comes in as its own
// type, so the header-only function is inlined as it is in a program and
// the calls into the libraries are direct calls.
template <typename Call>
void per_line(benchmark::State& state, const Corpus* corpus, Call call) {
    for (auto _ : state) {
        std::size_t columns = 0;
        for (const Corpus::Line& line : corpus->lines) {
            columns += call(corpus->line_data(line), line.length);
        }
        benchmark::DoNotOptimize(columns);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(corpus->bytes()));
}

// Registers the benchmark of one function on one corpus and keeps the
// function for the summary's column count.
template <typename Call>
void add(std::vector<Function>& functions, const Corpus& corpus, const char* name, Call call) {
    benchmark::RegisterBenchmark((corpus.name + "/" + name).c_str(), per_line<Call>, &corpus, call);
    functions.push_back({name, call});
}

std::vector<Function> register_benchmarks(const Corpus& corpus) {
    std::vector<Function> functions;
    add(functions, corpus, "KVwchar_utf8_width",
        [](const char* s, std::size_t len) { return KVwchar_utf8_width(s, len); });
#ifdef KARVO_HAVE_TEXT
    add(functions, corpus, "KVwchar_utf8_cluster_width",
        [](const char* s, std::size_t len) { return KVwchar_utf8_cluster_width(s, len); });
#endif
#ifdef KARVO_HAVE_UTF8PROC
    add(functions, corpus, "utf8proc_plain", utf8proc_plain);
    add(functions, corpus, "utf8proc_grapheme", utf8proc_grapheme);
#endif
    add(functions, corpus, "glibc", GlibcWidth(corpus.max_line_length));
    return functions;
}

std::size_t total_columns(const Corpus& corpus, const Measure& measure) {
    std::size_t columns = 0;
    for (const Corpus::Line& line : corpus.lines) {
        columns += measure(corpus.line_data(line), line.length);
    }
    return columns;
}

void print_summary(const BestRates& rates, const std::vector<Corpus>& corpora,
                   const std::vector<std::vector<Function>>& functions_by_corpus) {
    const std::vector<Function>& functions = functions_by_corpus.front();
    std::printf("\nBest rate, MB/s (10^6 bytes of text per second):\n%-8s %6s %9s", "corpus",
                "ASCII", "lines");
    for (const Function& f : functions) {
        std::printf(" %27s", f.name.c_str());
    }
    std::printf("\n");
    for (const Corpus& corpus : corpora) {
        std::printf("%-8s %5.1f%% %9zu", corpus.name.c_str(), 100 * corpus.ascii_share(),
                    corpus.lines.size());
        for (const Function& f : functions) {
            std::printf(" %27.0f", rates.rate(corpus.name, f.name) / 1e6);
        }
        std::printf("\n");
    }
    std::printf("\nColumns counted (the functions differ on emoji sequences and clusters):\n%-8s",
                "corpus");
    for (const Function& f : functions) {
        std::printf(" %27s", f.name.c_str());
    }
    std::printf("\n");
    for (std::size_t c = 0; c < corpora.size(); ++c) {
        std::printf("%-8s", corpora[c].name.c_str());
        for (const Function& f : functions_by_corpus[c]) {
            std::printf(" %27zu", total_columns(corpora[c], f.measure));
        }
        std::printf("\n");
    }
}

struct Target {
    const char* corpus;
    const char* function;
    const char* peer;
    double at_least; // times the peer's rate
};

void print_targets(const BestRates& rates) {
    const Target targets[] = {
        {"prose", "KVwchar_utf8_width", "utf8proc_plain", 5.0},
        {"prose", "KVwchar_utf8_cluster_width", "utf8proc_plain", 3.5},
        {"cjk", "KVwchar_utf8_width", "utf8proc_plain", 1.4},
        {"cjk", "KVwchar_utf8_cluster_width", "utf8proc_plain", 1.2},
        {"cjk", "KVwchar_utf8_cluster_width", "utf8proc_grapheme", 3.0},
        {"chat", "KVwchar_utf8_cluster_width", "utf8proc_plain", 1.2},
        {"chat", "KVwchar_utf8_cluster_width", "utf8proc_grapheme", 3.0},
        {"prose", "KVwchar_utf8_width", "glibc", 1.0},
        {"prose", "KVwchar_utf8_cluster_width", "glibc", 1.0},
        {"cjk", "KVwchar_utf8_width", "glibc", 1.0},
        {"cjk", "KVwchar_utf8_cluster_width", "glibc", 1.0},
        {"chat", "KVwchar_utf8_width", "glibc", 1.0},
        {"chat", "KVwchar_utf8_cluster_width", "glibc", 1.0},
    };
    std::printf("\nSpeed against the peers (best repetitions):\n");
    for (const Target& t : targets) {
        const double ours = rates.rate(t.corpus, t.function);
        const double peer = rates.rate(t.corpus, t.peer);
        if (ours == 0 || peer == 0) {
            std::printf("  %-6s %-27s vs %-18s  not measured\n", t.corpus, t.function, t.peer);
            continue;
        }
        const double ratio = ours / peer;
        std::printf("  %-6s %-27s vs %-18s %6.2fx  (aim: %s %.1fx) %s\n", t.corpus, t.function,
                    t.peer, ratio, t.at_least > 1.0 ? "at least" : "above", t.at_least,
                    (t.at_least > 1.0 ? ratio >= t.at_least : ratio > t.at_least) ? "met"
                                                                                 : "MISSED");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) {
        std::fprintf(stderr, "the C.UTF-8 locale is not available\n");
        return 1;
    }
    const std::vector<Corpus> corpora = {prose_corpus(Corpus_Bytes), cjk_corpus(Corpus_Bytes),
                                         chat_corpus(Corpus_Bytes)};
    std::vector<std::vector<Function>> functions;
    for (const Corpus& corpus : corpora) {
        functions.push_back(register_benchmarks(corpus));
    }
    initialize_with_repetitions(argc, argv, 15, 0.05);
    std::printf("Text width over the Unicode %d.%d.%d width table%s%s\n",
                KVWC_UNICODE_VERSION_MAJOR, KVWC_UNICODE_VERSION_MINOR,
                KVWC_UNICODE_VERSION_UPDATE,
#ifdef KARVO_HAVE_UTF8PROC
                "",
#else
                "; utf8proc was not found at configure time, so it is left out",
#endif
#ifdef KARVO_HAVE_TEXT
                ""
#else
                "; the text library is not built, so KVwchar_utf8_cluster_width is left out"
#endif
    );
    BestRates rates("bytes_per_second");
    benchmark::RunSpecifiedBenchmarks(&rates);
    print_summary(rates, corpora, functions);
    print_targets(rates);
    benchmark::Shutdown();
    return 0;
}

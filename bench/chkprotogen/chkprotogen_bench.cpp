// Times chkprotogen over a generated C source of 1,000,000 lines, a tenth of
// them declaration lines, against `grep -c MAKE_INTRINSIC` over the same file:
// grep reads the file and finds the macro name, the least any scanner must
// do, so it is the floor. The target is within twice grep's wall time.
// BM_PeakMemory shows that memory does not grow with the input: the peak
// resident size over 1 MiB and over 96 MiB of source should differ by far
// less than the input.
//
//   chkprotogen_bench                      run the benchmarks
//   chkprotogen_bench --write-source FILE  only write the source (for hyperfine)
#include "chkprotogen/generator.hpp"
#include "chkprotogen/line_reader.hpp"
#include "files.hpp"
#include "process.hpp"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int source_lines = 1'000'000;

// Lines as a library source has them: code, comments, blank lines, braces, and
// one declaration line in ten, over every signature and return type.
void write_source(const std::filesystem::path& path) {
    static const char* const code[] = {
        "   int i, n;",
        "   /* Make sure the stack has room for the result. */",
        "",
        "{",
        "}",
        "   if (-1 == KVpop_integer (&n))",
        "     return -1;",
        "static int string_length (char *s, unsigned int *len)",
        "   KVverror (KV_INVALID_PARM, \"%s: expecting %d arguments\", name, nargs);",
        "#include \"karvo.h\"",
        "   for (i = 0; i < n; i++) total += MAX(values[i], 0);",
        "   return KVpush_string (s);",
        "#define MAX_STACK_DEPTH 2500",
    };
    static const char* const keys[] = {"0",   "I",   "S",   "II",   "SS",  "SI",
                                       "IS",  "III", "IIS", "ISI",  "ISS", "SII",
                                       "SIS", "SSI", "SSS", "IIII", "SSSS"};
    static const char* const types[] = {"VOID_TYPE", "INT_TYPE", "STRING_TYPE", "DOUBLE_TYPE"};

    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr)
        throw std::runtime_error("cannot write " + path.string());
    std::mt19937 random(1);
    for (int line = 0; line < source_lines; ++line) {
        if (line % 10 == 5)
            std::fprintf(out, "   MAKE_INTRINSIC_%s(\"fn%d\", kv_fn_%d, KARVO_%s),\n",
                         keys[random() % std::size(keys)], line, line,
                         types[random() % std::size(types)]);
        else
            std::fprintf(out, "%s\n", code[random() % std::size(code)]);
    }
    std::fclose(out);
}

// Runs a program with standard input from `input` and standard output to
// `output` (a file, not /dev/null, which grep would notice and stop early on).
void run_program(const std::vector<std::string>& argv, const std::filesystem::path& input,
                 const std::filesystem::path& output) {
    if (karvo::testing::run_process(argv[0], argv, input, output).status != 0)
        throw std::runtime_error("running " + argv[0] + " failed");
}

// The generated source and the output file, in a temporary folder.
struct Files {
    karvo::testing::TempDir dir;
    std::filesystem::path source = dir / "source.c";
    std::filesystem::path output = dir / "output";

    Files() { write_source(source); }
};

Files& files() {
    static Files instance;
    return instance;
}

void BM_Chkprotogen(benchmark::State& state) {
    for (auto _ : state)
        run_program({CHKPROTOGEN_PROGRAM}, files().source, files().output);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(files().source)));
}

void BM_GrepCount(benchmark::State& state) {
    for (auto _ : state)
        run_program({"grep", "-c", "MAKE_INTRINSIC"}, files().source, files().output);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(files().source)));
}

// The filter alone, without starting a process.
void BM_ChkprotogenInProcess(benchmark::State& state) {
    for (auto _ : state) {
        std::FILE* in = std::fopen(files().source.c_str(), "r");
        std::FILE* out = std::fopen(files().output.c_str(), "w");
        std::FILE* err = std::fopen("/dev/null", "w");
        benchmark::DoNotOptimize(chkprotogen::run({"chkprotogen"}, false, {in, out, err}));
        std::fclose(err);
        std::fclose(out);
        std::fclose(in);
    }
}

// The window scan that passes over plain lines, SSE2 against portable, over
// the whole source held in memory (padded for the last window's look-ahead).
template <chkprotogen::WindowBits (*scan)(const char*)>
void BM_ScanWindows(benchmark::State& state) {
    std::string text = karvo::testing::read_file(files().source);
    const std::size_t windows = text.size() / chkprotogen::LineReader::window_size;
    text.append(chkprotogen::LineReader::padding, '\0');
    for (auto _ : state) {
        std::uint64_t found = 0;
        for (std::size_t w = 0; w < windows; ++w) {
            const chkprotogen::WindowBits bits =
                scan(text.data() + w * chkprotogen::LineReader::window_size);
            found += bits.newlines ^ bits.make_starts;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_ScanWindows<chkprotogen::scan_window_portable>)->Unit(benchmark::kMillisecond);
#if defined(__SSE2__)
BENCHMARK(BM_ScanWindows<chkprotogen::scan_window_sse2>)->Unit(benchmark::kMillisecond);
#endif
// Peak resident memory of a run over `size` bytes of source fed through a
// pipe, so that nothing but the program's own buffers can hold the input.
long peak_memory_kib(std::size_t size) {
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");
    std::thread feeder([write_end = pipe_ends[1], size] {
        std::string block;
        while (block.size() < 64 * 1024) {
            block += "static int helper (int *a)\n{\n   return *a + 1;\n}\n\n";
            block += "   MAKE_INTRINSIC_II(\"max\", kv_max, KARVO_INT_TYPE),\n";
        }
        for (std::size_t sent = 0; sent < size;) {
            const auto wrote = write(write_end, block.data(), std::min(block.size(), size - sent));
            if (wrote <= 0)
                break;
            sent += static_cast<std::size_t>(wrote);
        }
        close(write_end);
    });
    long peak = 0;
    const auto result = karvo::testing::run_process_with_stdin_fd(
        CHKPROTOGEN_PROGRAM, {"chkprotogen"}, pipe_ends[0], "/dev/null", &peak);
    close(pipe_ends[0]);
    feeder.join();
    if (result.status != 0)
        throw std::runtime_error("chkprotogen failed");
    return peak;
}

// Argument: the input size in MiB.
void BM_PeakMemory(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0)) << 20;
    long peak = 0;
    for (auto _ : state)
        peak = std::max(peak, peak_memory_kib(size));
    state.counters["peak_KiB"] = static_cast<double>(peak);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}

BENCHMARK(BM_GrepCount)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Chkprotogen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChkprotogenInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PeakMemory)->Arg(1)->Arg(96)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-source") == 0) {
        write_source(argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

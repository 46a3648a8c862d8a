#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// A console reporter that also keeps, for each benchmark named
// "<input>/<function>", the best rate of its repetitions (items or bytes per
// second, whichever the benchmark counts). Noise from other processes only
// ever takes time away, so the best repetition is the closest to the cost of
// the code; with --benchmark_enable_random_interleaving the repetitions of
// every function are spread over the whole run.
class BestRates : public benchmark::ConsoleReporter {
  public:
    explicit BestRates(std::string counter) : counter_(std::move(counter)) {}

    // Keeps the best rate; prints the aggregates (mean, median, deviation)
    // of repeated benchmarks rather than each of their many repetitions.
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) {
                shown.push_back(run);
            }
            const auto rate = run.counters.find(counter_);
            if (run.run_type != Run::RT_Iteration || run.error_occurred ||
                rate == run.counters.end()) {
                continue;
            }
            const std::string name = run.benchmark_name();
            const auto slash = name.find('/');
            double& best = rates_[name.substr(0, slash)][name.substr(slash + 1)];
            best = std::max(best, static_cast<double>(rate->second));
        }
        if (!shown.empty()) {
            ConsoleReporter::ReportRuns(shown);
        }
    }

    // The best rate of a function on an input; 0 when it did not run.
    double rate(const std::string& input, const std::string& function) const {
        const auto in = rates_.find(input);
        if (in == rates_.end()) {
            return 0;
        }
        const auto f = in->second.find(function);
        return f == in->second.end() ? 0 : f->second;
    }

    std::vector<std::string> inputs() const {
        std::vector<std::string> names;
        for (const auto& entry : rates_) {
            names.push_back(entry.first);
        }
        return names;
    }

  private:
    std::string counter_;
    std::map<std::string, std::map<std::string, double>> rates_;
};

// benchmark::Initialize with many short repetitions of every benchmark,
// spread in random order over the run, unless the command line says
// otherwise (a later flag wins over these). On a shared machine the load
// changes from second to second; short runs interleaved give every function
// the same chances of a quiet moment, and the best of them is kept.
inline void initialize_with_repetitions(int argc, char** argv, int repetitions,
                                        double min_seconds) {
    std::string defaults[] = {
        "--benchmark_repetitions=" + std::to_string(repetitions),
        "--benchmark_min_time=" + std::to_string(min_seconds),
        "--benchmark_enable_random_interleaving=true",
    };
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, {defaults[0].data(), defaults[1].data(), defaults[2].data()});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
}

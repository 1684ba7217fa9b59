// Runs the registered benchmarks and then prints each listed ratio of two benchmarks' times from
// the same run, so that machine speed cancels out.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace qzm::bench {

struct Ratio {
    std::string label;
    std::string numerator;    // benchmark name
    std::string denominator;  // benchmark name (the baseline)
    double goal = 0;          // printed as "goal <= x" when not 0
};

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                m_seconds[run.benchmark_name()] = run.GetAdjustedRealTime() * Scale(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Seconds per iteration of a benchmark that ran, or 0.
    double Seconds(const std::string& name) const {
        const auto it = m_seconds.find(name);
        return it == m_seconds.end() ? 0 : it->second;
    }

private:
    static double Scale(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond: return 1e-9;
            case benchmark::kMicrosecond: return 1e-6;
            case benchmark::kMillisecond: return 1e-3;
            default: return 1;
        }
    }
    std::map<std::string, double> m_seconds;
};

inline int RunWithRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (time of the first over the second, same run):\n");
    for (const Ratio& r : ratios) {
        const double a = reporter.Seconds(r.numerator);
        const double b = reporter.Seconds(r.denominator);
        if (a <= 0 || b <= 0) {
            std::printf("  %-44s  (not run)\n", r.label.c_str());
            continue;
        }
        if (r.goal > 0) {
            std::printf("  %-44s %9.2f x   (goal <= %.1f: %s)\n", r.label.c_str(), a / b, r.goal,
                        a / b <= r.goal ? "met" : "NOT MET");
        } else {
            std::printf("  %-44s %9.2f x\n", r.label.c_str(), a / b);
        }
    }
    benchmark::Shutdown();
    return 0;
}

}  // namespace qzm::bench

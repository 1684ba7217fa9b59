// Runs the render benchmarks, then prints how they compare: each renderer against writing its
// output once (memset) at the same size, the other scalers against ours on the same job, and the
// time to build a BlendTable.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "render_bench_support.h"

namespace qzm::bench {
namespace {

// Keeps the CPU seconds per iteration of every benchmark that ran, by name, and shows the runs as
// the console reporter does. CPU time rather than wall time, so that other work on a shared machine
// disturbs the ratios less; the benchmarks are single-threaded, so the two agree on a quiet one.
class TimeKeepingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
                // With --benchmark_repetitions the fastest repetition counts: the least disturbed.
                const double perIteration = run.cpu_accumulated_time / static_cast<double>(run.iterations);
                const auto [it, added] = seconds.emplace(run.benchmark_name(), perIteration);
                if (!added && perIteration < it->second) {
                    it->second = perIteration;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const double* Find(const std::string& name) const {
        const auto it = seconds.find(name);
        return it == seconds.end() ? nullptr : &it->second;
    }

    std::map<std::string, double> seconds;
};

// "2.41x" for numerator / denominator, or "-" when either did not run.
std::string Ratio(const double* numerator, const double* denominator) {
    if (numerator == nullptr || denominator == nullptr || *denominator <= 0.0) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", *numerator / *denominator);
    return text;
}

// "260.5" microseconds, or "-" when the benchmark did not run.
std::string Micros(const double* seconds) {
    if (seconds == nullptr) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *seconds * 1e6);
    return text;
}

void PrintRatios(const TimeKeepingReporter& times) {
    std::printf("\nTime against memset of the same output (lower is better; goals at 1920x1440 and up:\n"
                "nearest <= 3x, blend <= 4x). Input: a demo frame; 'noise' is random colours per pixel,\n"
                "the worst case for the blend table's cache footprint.\n");
    std::printf("%-10s %10s %8s %8s %8s %8s %14s\n", "size", "memset us", "nearest", "blend/1", "blend/2",
                "blend/3", "blend/1 noise");
    for (const OutputSize size : kOutputSizes) {
        const std::string name = SizeName(size);
        const double* memset = times.Find("BM_Memset/" + name);
        const double* nearest = times.Find("BM_Nearest/" + name);
        std::printf("%-10s %10s %8s", name.c_str(), Micros(memset).c_str(), Ratio(nearest, memset).c_str());
        for (int filter = 1; filter <= 3; ++filter) {
            const double* blend = times.Find("BM_Blend/" + std::to_string(filter) + "/" + name);
            std::printf(" %8s", Ratio(blend, memset).c_str());
        }
        std::printf(" %14s\n", Ratio(times.Find("BM_BlendNoise/1/" + name), memset).c_str());
    }

    std::printf("\nOther scalers' time over ours on the same 256x192 job (higher is better; goals at\n"
                "1920x1440: pixman bilinear >= 5x blend/1, swscale bicubic >= 30x blend/3)\n");
    std::printf("%-10s %22s %22s\n", "size", "pixman bilinear/ours", "swscale bicubic/ours");
    for (const OutputSize size : kOutputSizes) {
        const std::string name = SizeName(size);
        std::printf("%-10s %22s %22s\n", name.c_str(),
                    Ratio(times.Find("BM_PixmanBilinear/" + name), times.Find("BM_Blend/1/" + name)).c_str(),
                    Ratio(times.Find("BM_SwscaleBicubic/" + name), times.Find("BM_Blend/3/" + name)).c_str());
    }

    std::printf("\nBuilding a BlendTable (goal <= 200 us)\n");
    for (int filter = 1; filter <= 3; ++filter) {
        const double* build = times.Find("BM_BuildBlendTables/" + std::to_string(filter));
        if (build != nullptr) {
            std::printf("filter %d   %8.1f us\n", filter, *build * 1e6);
        }
    }
}

}  // namespace
}  // namespace qzm::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    qzm::bench::TimeKeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    qzm::bench::PrintRatios(reporter);
    benchmark::Shutdown();
    return 0;
}

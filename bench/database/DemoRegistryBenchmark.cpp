// How long "quorin-registry create --demo" keeps its user waiting: the whole creation of
// a demo registry (server, logins, every table), for the default size and for the size
// the other benchmarks use. Aims: 2,000 subjects well under 5 s, 100,000 under 2 minutes.
#include "database/demo/DemoRegistry.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string benchFolder(int run)
{
    return (std::filesystem::temp_directory_path() /
            ("quorin-demo-bench-" + std::to_string(::getpid()) + "-" + std::to_string(run)))
        .string();
}

void BM_CreateDemoRegistry(benchmark::State& state)
{
    const int subjects = static_cast<int>(state.range(0));
    // The large registry shows a progress line, as the command-line tool does.
    quorin::demo::ProgressCallback progress;
    if (subjects >= 10000)
        progress = [](int done, int total) {
            std::fprintf(stderr, "\r  %d / %d subjects", done, total);
            if (done == total)
                std::fprintf(stderr, "\n");
        };
    int run = 0;
    quorin::demo::DemoSummary summary;
    for (auto _ : state) {
        const std::string folder = benchFolder(run++);
        summary = quorin::demo::CreateDemoRegistry(folder, subjects, quorin::demo::kDefaultDemoSeed, progress);
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        state.ResumeTiming();
    }
    state.counters["subjects/s"] = benchmark::Counter(static_cast<double>(subjects) * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    state.counters["audiograms"] = summary.audiograms;
    state.counters["points"] = summary.audPoints;
    state.counters["clinic_tests"] = summary.amTests;
}

BENCHMARK(BM_CreateDemoRegistry)->Arg(2000)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_CreateDemoRegistry)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();

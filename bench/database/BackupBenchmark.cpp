// How long a lab waits for a backup and a restore of the 100,000-subject demo registry,
// beside a plain copy of the same files (which is not safe while the registry is in use,
// but is the floor any backup stands on). Aims: backup and restore each under 10 s.
#include "bench/common/BenchRegistry.h"
#include "dalport/Backup.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSubjects = 100000;

fs::path scratch(const std::string& what)
{
    return fs::temp_directory_path() / ("quorin-backup-bench-" + std::to_string(::getpid()) + "-" + what);
}

std::int64_t folderBytes(const fs::path& folder)
{
    std::int64_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file())
            bytes += static_cast<std::int64_t>(entry.file_size());
    return bytes;
}

void report(benchmark::State& state, const char* what, std::int64_t bytes)
{
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.SetBytesProcessed(state.iterations() * bytes);
    std::fprintf(stderr, "%s: %.0f MB\n", what, static_cast<double>(bytes) / 1e6);
}

void BM_PlainCopy(benchmark::State& state)
{
    const fs::path registry = quorin::bench::KeptDemoRegistry(kSubjects);
    const fs::path target = scratch("copy");
    for (auto _ : state) {
        fs::create_directory(target);
        for (const auto& entry : fs::directory_iterator(registry))
            if (entry.path().extension() == ".db")
                fs::copy_file(entry.path(), target / entry.path().filename());
        state.PauseTiming();
        fs::remove_all(target);
        state.ResumeTiming();
    }
    report(state, "the registry's files", folderBytes(registry));
}

void BM_Backup(benchmark::State& state)
{
    const fs::path registry = quorin::bench::KeptDemoRegistry(kSubjects);
    const fs::path target = scratch("backups");
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const dalport::BackupResult made = dalport::BackUpServer({registry.string(), target.string(), "bench", {}});
        bytes = made.bytes;
        state.PauseTiming();
        fs::remove_all(target);
        state.ResumeTiming();
    }
    report(state, "the backup file", bytes);
}

void BM_Restore(benchmark::State& state)
{
    const fs::path registry = quorin::bench::KeptDemoRegistry(kSubjects);
    const fs::path backups = scratch("restore-from");
    const std::string file = dalport::BackUpServer({registry.string(), backups.string(), "bench", {}}).file;
    const auto bytes = static_cast<std::int64_t>(fs::file_size(file));
    const fs::path target = scratch("restored");
    for (auto _ : state) {
        dalport::RestoreServer(file, target.string(), false);
        state.PauseTiming();
        fs::remove_all(target);
        state.ResumeTiming();
    }
    fs::remove_all(backups);
    report(state, "the backup restored", bytes);
}

} // namespace

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();

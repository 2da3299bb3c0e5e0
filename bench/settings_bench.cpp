// Settings file throughput: how many complete writes and reads of the 78-line file per second.
// Run by hand: build/bin/settings_bench

#include "app/SettingsFile.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("oruk-settings-bench-" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

oruk::Settings SampleSettings() {
    oruk::Settings s;
    s.CalibrationDate = "2024/12/31";
    s.Sensitivity = 1.3;
    s.UserFuncHint[4] = "a longer hint text for the fourth user function";
    return s;
}

// One write (new file, fsync, rename) followed by one read, as a window closing and the next
// start would do.
void BM_SettingsWriteAndRead(benchmark::State& state) {
    TempDir dir;
    const fs::path file = dir.path / oruk::kSettingsFileName;
    const oruk::Settings settings = SampleSettings();
    for (auto _ : state) {
        oruk::WriteSettingsFile(file, settings);
        auto read = oruk::ReadSettingsFile(file);
        benchmark::DoNotOptimize(read);
    }
    state.counters["read+write/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
// Wall time: the fsync waits for the disk, which CPU time does not show.
BENCHMARK(BM_SettingsWriteAndRead)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same without the disk: encipher all 78 lines and read them back.
void BM_SettingsTextRoundTrip(benchmark::State& state) {
    const oruk::Settings settings = SampleSettings();
    for (auto _ : state) {
        const std::string text = oruk::SettingsFileText(settings);
        auto read = oruk::ParseSettingsFileText(text);
        benchmark::DoNotOptimize(read);
    }
    state.counters["round trips/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SettingsTextRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

#include "analysis/Analysis.h"

#include <benchmark/benchmark.h>

namespace {

oruk::MeasurementRecord SampleRecord() {
    const double values[] = {42, 38, 45, 40, 36, 39, 44, 37, 46, 41, 35, 40,
                             33, 52, 31, 34, 30, 36, 32, 55, 30, 35, 29, 35};
    oruk::MeasurementRecord record;
    record.MeDate = 45000.5;
    for (int i = 1; i <= oruk::kPointCount; ++i) {
        record.Values[i] = values[i - 1];
        record.Std[i] = 95;
    }
    return record;
}

// One full analysis of a 24-point measurement, as the analysis window runs it on every record switch.
void BM_Analyse(benchmark::State& state) {
    oruk::MeasurementRecord record = SampleRecord();
    const oruk::DisplayTables tables = oruk::DefaultDisplayTables();
    const double birth = 45000.5 - 50 * 365;
    for (auto _ : state) {
        oruk::AnalysisResult result = oruk::Analyse(record, true, birth, tables);
        benchmark::DoNotOptimize(result);
    }
    state.counters["analyses/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Analyse);

} // namespace

BENCHMARK_MAIN();

// Samples per 500 ms averaging window of a measuring run on the simulated device, in real time, at
// exchange latencies of 1, 2 and 5 ms. The limit is one sample per exchange: 500 / latency. The goal
// is at least 90 % of it (the run must not add waiting of its own between exchanges).
#include "device/SimulatedDevice.h"
#include "measurement/MeasuringRun.h"

#include <benchmark/benchmark.h>

namespace {

using namespace oruk;

struct OnePoint : MeasureObserver {
    OnePoint(SimulatedDevice& sim, MeasuringRun*& run) : sim(sim), run(run) {}
    SimulatedDevice& sim;
    MeasuringRun*& run;
    int samples = 0;
    void WaitingForContact(int position) override {
        if (position == 1)
            sim.TouchPoint(DefaultDisplayTables().PointIndexByPos[1]);
        else
            run->Stop();
    }
    void Update(const MeasureDisplays& d) override {
        if (d.Status == kStatusPointDone)
            samples = std::atoi(d.SampleCounter.c_str());
    }
};

void BM_SamplesPerAveragingWindow(benchmark::State& state) {
    const int latency = static_cast<int>(state.range(0));
    int samples = 0;
    for (auto _ : state) {
        SteadyClock clock;
        SimulatedDeviceConfig config;
        config.LatencyMs = latency;
        config.GripCountL = 4000;
        SimulatedDevice sim(clock, config);
        DeviceLink link(sim, clock);
        link.DeviceChanged(true);
        VirtualSubject subject;
        subject.Currents.fill(50);
        subject.PauseMs = 0;
        sim.SetSubject(subject);
        MeasuringRun* runPtr = nullptr;
        OnePoint observer(sim, runPtr);
        MeasuringRun run(link, clock, observer);
        runPtr = &run;
        MeasureRunInput input;
        input.settings.ProbeSdvL = 4000;
        input.settings.MeasureSoundMode = 0;
        run.Run(input);
        samples = observer.samples;
    }
    const double limit = 500.0 / latency;
    state.counters["samples"] = samples;
    state.counters["limit"] = limit;
    state.counters["of_limit_pct"] = 100.0 * samples / limit;
    state.counters["ms_per_sample"] = samples > 0 ? 500.0 / samples : 0;
}

// What the run itself costs per exchange: a whole 24-point run on the simulated clock, where the
// device answers without any real waiting. Shows how much of a real-time sample is the engine's.
void BM_RunCostPerExchange(benchmark::State& state) {
    std::size_t exchanges = 0;
    for (auto _ : state) {
        SimClock clock;
        SimulatedDeviceConfig config;
        config.GripCountL = 4000;
        SimulatedDevice sim(clock, config);
        DeviceLink link(sim, clock);
        link.DeviceChanged(true);
        VirtualSubject subject;
        subject.Currents.fill(50);
        sim.SetSubject(subject);
        struct Operator : MeasureObserver {
            SimulatedDevice* sim = nullptr;
            void WaitingForContact(int position) override {
                sim->TouchPoint(DefaultDisplayTables().PointIndexByPos[position]);
            }
        } op;
        op.sim = &sim;
        MeasuringRun run(link, clock, op);
        MeasureRunInput input;
        input.settings.ProbeSdvL = 4000;
        run.Run(input);
        exchanges += sim.Log().size();
    }
    state.counters["exchanges"] =
        benchmark::Counter(static_cast<double>(exchanges), benchmark::Counter::kIsRate);
    state.counters["us_per_exchange"] = benchmark::Counter(
        static_cast<double>(exchanges), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_SamplesPerAveragingWindow)->Arg(1)->Arg(2)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunCostPerExchange)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

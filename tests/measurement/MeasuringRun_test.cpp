#include "device/SimulatedDevice.h"
#include "measurement/MeasuringRun.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <thread>

namespace oruk {
namespace {

PointValues SubjectCurrents() {
    PointValues v{};
    for (int p = 1; p <= kPointCount; ++p)
        v[p] = 20.0 + 3.5 * p; // 23.5 ... 104 µA
    return v;
}

// The operator: touches the point the run asks for and answers the questions.
struct Operator : MeasureObserver {
    Operator(SimulatedDevice& sim, const DisplayTables& tables) : sim(sim), tables(tables) {}
    SimulatedDevice& sim;
    DisplayTables tables;
    MeasuringRun* run = nullptr;
    std::function<bool(int position)> onWaiting; // return false to leave the probe lifted
    std::function<void(const MeasureDisplays&)> onUpdate;
    std::function<void(int position)> onContact;
    bool clearAnswer = false, highAnswer = true, tooLongAnswer = true;
    int askedClear = 0, askedHigh = 0, askedTooLong = 0, tableCleared = 0, traceClears = 0;
    std::string offline;
    std::map<int, int> waits; // position -> times the run waited for contact there
    std::vector<int> storedPositions;
    std::vector<TracePoint> trace;

    void Offline(const std::string& m) override { offline = m; }
    bool AskClearTable() override { return ++askedClear, clearAnswer; }
    bool AskHighPotential() override { return ++askedHigh, highAnswer; }
    bool AskContinueTooLong() override { return ++askedTooLong, tooLongAnswer; }
    void TableCleared() override { ++tableCleared; }
    void WaitingForContact(int position) override {
        ++waits[position];
        if (!onWaiting || onWaiting(position))
            sim.TouchPoint(tables.PointIndexByPos[position]);
    }
    void ContactDetected(int position) override {
        if (onContact)
            onContact(position);
    }
    void Update(const MeasureDisplays& d) override {
        if (onUpdate)
            onUpdate(d);
    }
    void ClearTrace() override { ++traceClears; }
    void TraceLine(const std::optional<TracePoint>&, const TracePoint& to) override { trace.push_back(to); }
    void PointStored(int position, int, double, double, double, double) override {
        storedPositions.push_back(position);
    }
};

class RunTest : public ::testing::Test {
protected:
    RunTest()
        : sim(clock, Config()), link(sim, clock), op(sim, DefaultDisplayTables()), run(link, clock, op) {
        sim.SetChangeHandler([this] { link.DeviceChanged(); });
        link.DeviceChanged(true);
        sim.ClearLog();
        VirtualSubject subject;
        subject.Currents = SubjectCurrents();
        subject.NoiseUa = 0.3;
        sim.SetSubject(subject);
        input.settings.ProbeSdvL = 4000;
        input.settings.ProbeSdvH = 4000;
        op.run = &run;
    }
    static SimulatedDeviceConfig Config() {
        SimulatedDeviceConfig c;
        c.GripCountL = 4000; // the device's own reference: 20 counts per µA
        c.GripCountH = 4000;
        return c;
    }
    std::size_t Count(const std::string& command) const {
        const auto c = sim.Commands();
        return static_cast<std::size_t>(std::count(c.begin(), c.end(), command));
    }
    std::size_t CountPairs(const std::string& a, const std::string& b) const {
        const auto c = sim.Commands();
        std::size_t n = 0;
        for (std::size_t i = 0; i + 1 < c.size(); ++i)
            n += c[i] == a && c[i + 1] == b;
        return n;
    }
    int PointAt(int position) const { return input.tables.PointIndexByPos[position]; }

    SimClock clock;
    SimulatedDevice sim;
    DeviceLink link;
    Operator op;
    MeasuringRun run;
    MeasureRunInput input;
};

TEST_F(RunTest, FullRunStoresTheSubjectsValuesWithinTheNoise) {
    const auto result = run.Run(input);
    ASSERT_EQ(result.Outcome, RunOutcome::Finished);
    const PointValues expected = SubjectCurrents();
    for (int pos = 1; pos <= kPointCount; ++pos) {
        const int p = PointAt(pos);
        EXPECT_NEAR(result.Record.Values[p], expected[p], 0.15) << p;
        const double coefficient = input.tables.MeridianCoefficient[input.tables.MeridianByPos[pos]];
        EXPECT_DOUBLE_EQ(result.Record.Compensated[p], result.Record.Values[p] * coefficient) << p;
        // 0.3 µA of noise is 6 counts: a good score, never above 100.
        EXPECT_GT(result.Record.Std[p], 85) << p;
        EXPECT_LT(result.Record.Std[p], 100) << p;
    }
    EXPECT_EQ(result.MeasuredPointCount, 24);
    EXPECT_TRUE(result.HasData);
    EXPECT_TRUE(result.AnalysisEnabled);
    EXPECT_EQ(result.ActiveSdvL, 4000);
    EXPECT_GT(result.Record.MeDate, 0);
    EXPECT_EQ(result.SettingsAfter.ContactStartMode, 1);
    EXPECT_EQ(result.SettingsAfter.ChannelMode, 0);

    const auto c = sim.Commands();
    ASSERT_GE(c.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(c.begin(), c.begin() + 6),
              (std::vector<std::string>{"X0000", "L0000", "I0000", "K0001", "F007F", "C0000"}));
    EXPECT_EQ(c.back(), "X0000");
    // Standard sounds: five countdown beeps per point, sound 5 after points 1-23, sound 6 after 24.
    EXPECT_EQ(Count("SB660"), 5u * 24);
    EXPECT_EQ(Count("S6862"), 23u);
    EXPECT_EQ(CountPairs("S6864", "S4F62"), 1u);
    EXPECT_EQ(Count("SC040"), 0u);
    EXPECT_EQ(CountPairs("C007F", "F0000"), 24u);
    EXPECT_EQ(op.storedPositions.size(), 24u);
}

TEST_F(RunTest, SoundModes) {
    struct {
        int mode;
        std::size_t beep4, beep5, single13;
    } cases[] = {{2, 24, 1, 24}, {0, 0, 0, 0}};
    for (const auto& c : cases) {
        sim.ClearLog();
        input.settings.MeasureSoundMode = c.mode;
        ASSERT_EQ(run.Run(input).Outcome, RunOutcome::Finished);
        EXPECT_EQ(Count("SB660"), c.beep4) << c.mode;
        EXPECT_EQ(Count("S6862"), c.beep5) << c.mode;
        EXPECT_EQ(Count("SC040"), c.single13) << c.mode;
        EXPECT_EQ(Count("S6864"), 0u) << c.mode;
    }
}

TEST_F(RunTest, SoundMenuDuringARunTakesEffectAtOnce) {
    op.onWaiting = [&](int position) {
        if (position == 13)
            run.SetSoundMode(0);
        return true;
    };
    const auto result = run.Run(input);
    ASSERT_EQ(result.Outcome, RunOutcome::Finished);
    EXPECT_EQ(Count("SB660"), 5u * 12);
    EXPECT_EQ(Count("S6862"), 12u);
    EXPECT_EQ(Count("S6864"), 0u);
    EXPECT_EQ(result.SettingsAfter.MeasureSoundMode, 0);
}

TEST_F(RunTest, QualitySignalFollowsTheScore) {
    VirtualSubject subject;
    subject.Currents = SubjectCurrents();
    subject.NoiseUa = 1.5; // 30 counts: scores around 70, some higher, some lower
    sim.SetSubject(subject);
    const auto result = run.Run(input);
    ASSERT_EQ(result.Outcome, RunOutcome::Finished);
    std::size_t green = 0, yellow = 0, red = 0;
    for (int p = 1; p <= kPointCount; ++p) {
        const double sd = 100 - result.Record.Std[p];
        (sd <= 20 ? green : sd <= 40 ? yellow : red) += 1;
    }
    EXPECT_GT(yellow, 0u);
    EXPECT_EQ(CountPairs("F00FF", "C0000"), green);
    EXPECT_EQ(CountPairs("F00FF", "C00FF"), yellow);
    EXPECT_EQ(CountPairs("F0000", "C00FF"), red);
}

TEST_F(RunTest, QualityDisplayColoursByBand) {
    struct {
        double noise;
        Rgb colour, bar;
    } cases[] = {{0.0, QualityGreen, QualityDarkGreen}, {6.0, QualityRed, QualityRed}};
    for (const auto& c : cases) {
        VirtualSubject subject;
        subject.Currents = SubjectCurrents();
        subject.NoiseUa = c.noise;
        sim.SetSubject(subject);
        std::vector<MeasureDisplays> atStore;
        bool stored = false;
        op.onUpdate = [&](const MeasureDisplays& d) {
            if (d.Status == kStatusPointDone && !stored) {
                stored = true;
                atStore.push_back(d);
            }
            if (d.Status == kStatusWaitContact)
                stored = false;
        };
        const auto result = run.Run(input);
        ASSERT_EQ(atStore.size(), 24u);
        for (const auto& d : atStore) {
            EXPECT_EQ(d.QualityColour, c.colour) << c.noise;
            EXPECT_EQ(d.QualityBarColour, c.bar) << c.noise;
        }
        if (c.noise == 0) {
            EXPECT_EQ(result.Record.Std[1], 100);
            EXPECT_EQ(atStore[0].Quality, "100.0");
            EXPECT_EQ(atStore[0].QualityBar, 100);
        }
    }
}

TEST_F(RunTest, ContactNeedsAReadingAboveTheThreshold) {
    // Sensitivity 1.0 at a reference of 4000: the threshold is 20 counts, 1 µA.
    struct {
        double current;
        bool contact;
    } cases[] = {{1.0, false}, {1.05, true}};
    for (const auto& c : cases) {
        VirtualSubject subject;
        subject.Currents.fill(c.current);
        subject.NoiseUa = 0;
        sim.SetSubject(subject);
        int contacts = 0;
        op.onContact = [&](int) { ++contacts; };
        const auto t0 = clock.NowMs();
        clock.At(t0 + 100000, [&] { run.Stop(); });
        input.settings.Sensitivity = 1.0;
        const auto result = run.Run(input);
        EXPECT_EQ(contacts > 0, c.contact) << c.current;
        EXPECT_EQ(result.Record.Values[PointAt(1)] > 0, c.contact) << c.current;
        EXPECT_GT(clock.NowMs(), t0);
    }
}

TEST_F(RunTest, ASampleAtTheThresholdLosesContactOnlyWhenTheNextIsNotAbove) {
    struct {
        int atThreshold;
        int waitsAtFirst;
    } cases[] = {{1, 1}, {2, 2}};
    for (const auto& c : cases) {
        bool injected = false;
        op.waits.clear();
        op.onContact = [&](int position) {
            if (position == 1 && !injected) {
                injected = true;
                sim.QueueReply("D0014", c.atThreshold); // 20 counts = the threshold
            }
        };
        op.onWaiting = [&](int position) {
            if (position == 3)
                run.Stop();
            return position != 3;
        };
        const auto result = run.Run(input);
        EXPECT_EQ(op.waits[1], c.waitsAtFirst) << c.atThreshold;
        EXPECT_NEAR(result.Record.Values[PointAt(1)], SubjectCurrents()[PointAt(1)], 0.3);
    }
}

TEST_F(RunTest, LostContactMeasuresThePointAgain) {
    sim.BreakContactOnce(PointAt(4), 1200); // lifted in the middle of the measurement
    const auto result = run.Run(input);
    ASSERT_EQ(result.Outcome, RunOutcome::Finished);
    EXPECT_EQ(op.waits[4], 2);
    EXPECT_EQ(op.waits[5], 1);
    EXPECT_NEAR(result.Record.Values[PointAt(4)], SubjectCurrents()[PointAt(4)], 0.15);
    EXPECT_EQ(result.MeasuredPointCount, 24);
}

TEST_F(RunTest, ClickingAnotherPositionWhileWaitingMeasuresFromThere) {
    op.onWaiting = [&](int position) {
        if (position == 3 && op.waits[3] == 1) {
            EXPECT_TRUE(run.PointSelectable());
            EXPECT_TRUE(run.SelectPosition(10));
            return false;
        }
        return true;
    };
    // Once the probe is on the point, a click cannot send its value to another point.
    int refused = 0;
    op.onContact = [&](int) {
        EXPECT_FALSE(run.PointSelectable());
        refused += !run.SelectPosition(20);
    };
    const auto result = run.Run(input);
    ASSERT_EQ(result.Outcome, RunOutcome::Finished);
    EXPECT_EQ(refused, 17);
    for (int pos = 1; pos <= kPointCount; ++pos)
        EXPECT_EQ(result.Record.Values[PointAt(pos)] > 0, pos < 3 || pos >= 10) << pos;
    EXPECT_EQ(result.MeasuredPointCount, 17);
    EXPECT_FALSE(result.AnalysisEnabled);
    EXPECT_FALSE(run.SelectPosition(5)); // not while idle
}

TEST_F(RunTest, StopWhileWaitingKeepsTheStoredPoints) {
    op.onWaiting = [&](int position) {
        if (position == 5)
            run.Stop();
        return position != 5;
    };
    const auto result = run.Run(input);
    EXPECT_EQ(result.Outcome, RunOutcome::Stopped);
    EXPECT_TRUE(result.HasData);
    EXPECT_EQ(result.MeasuredPointCount, 4);
    for (int pos = 1; pos <= kPointCount; ++pos)
        EXPECT_EQ(result.Record.Values[PointAt(pos)] > 0, pos <= 4) << pos;
    EXPECT_EQ(sim.Commands().back(), "X0000");
}

TEST_F(RunTest, ProbeHeldTooLong) {
    struct {
        int position;
        bool answer;
        RunOutcome outcome;
        int asked;
        int measured;
    } cases[] = {
        {2, false, RunOutcome::Stopped, 1, 2},
        {2, true, RunOutcome::Finished, 1, 24},
        {24, false, RunOutcome::Finished, 0, 24}, // the last point is never asked about
    };
    for (const auto& c : cases) {
        sim.ClearLog();
        op.askedTooLong = 0;
        op.tooLongAnswer = c.answer;
        op.onWaiting = [&](int position) {
            sim.SetHoldMs(position == c.position ? 9000 : 3000);
            return true;
        };
        const auto result = run.Run(input);
        EXPECT_EQ(result.Outcome, c.outcome) << c.position << c.answer;
        EXPECT_EQ(op.askedTooLong, c.asked);
        EXPECT_EQ(result.MeasuredPointCount, c.measured);
        EXPECT_EQ(CountPairs("S5662", "S8960"), static_cast<std::size_t>(c.asked));
        EXPECT_GT(result.Record.Values[PointAt(c.position)], 0);
    }
}

TEST_F(RunTest, NoSampleInTheAveragingWindowMeasuresAgain) {
    bool slowed = false;
    op.onUpdate = [&](const MeasureDisplays& d) {
        // Just before the window opens every exchange suddenly takes 700 ms.
        if (!slowed && d.Status == kStatusMeasuring && d.TimeBar >= 76 && d.TimeBar < 80) {
            slowed = true;
            sim.SetLatency(700);
        }
    };
    op.onWaiting = [&](int position) {
        sim.SetLatency(2);
        if (position == 2)
            run.Stop();
        return position != 2;
    };
    const auto result = run.Run(input);
    EXPECT_TRUE(slowed);
    EXPECT_EQ(op.waits[1], 2);
    EXPECT_NEAR(result.Record.Values[PointAt(1)], SubjectCurrents()[PointAt(1)], 0.3);
    EXPECT_EQ(result.MeasuredPointCount, 1);
}

TEST_F(RunTest, StartChecksAndQuestions) {
    // A stored record: clearing it first.
    input.record.MKey = 7;
    input.record.Values.fill(50);
    input.MeasuredPointCount = 3;
    op.clearAnswer = true;
    op.onWaiting = [&](int position) {
        if (position == 2)
            run.Stop();
        return position != 2;
    };
    auto result = run.Run(input);
    EXPECT_EQ(op.askedClear, 1);
    EXPECT_EQ(Count("S8863"), 1u);
    EXPECT_TRUE(result.TableCleared);
    EXPECT_EQ(result.Record.MKey, 0);
    EXPECT_EQ(result.Record.Values[PointAt(2)], 0);
    EXPECT_EQ(result.MeasuredPointCount, 1);

    // Not clearing: the new point overwrites its own cell only.
    op.clearAnswer = false;
    result = run.Run(input);
    EXPECT_FALSE(result.TableCleared);
    EXPECT_EQ(result.Record.MKey, 7);
    EXPECT_EQ(result.Record.Values[PointAt(2)], 50);
    EXPECT_NEAR(result.Record.Values[PointAt(1)], SubjectCurrents()[PointAt(1)], 0.3);
    EXPECT_EQ(result.MeasuredPointCount, 4);

    // High potential declined: nothing is sent after the caution sound.
    sim.ClearLog();
    input.record = MeasurementRecord{};
    input.record.HighVoltage = true;
    op.highAnswer = false;
    result = run.Run(input);
    EXPECT_EQ(result.Outcome, RunOutcome::Declined);
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"S885E", "S8862"}));

    // Confirmed: high potential with its reference count.
    sim.ClearLog();
    op.highAnswer = true;
    input.settings.ProbeSdvH = 3000;
    result = run.Run(input);
    EXPECT_EQ(result.ActiveSdvH, 3000);
    const auto c = sim.Commands();
    EXPECT_EQ(c[2], "X0000");
    EXPECT_EQ(c[3], "H0000");
    // The device measures with 4000 at the grip; a reference of 3000 reads 4/3 of the current.
    EXPECT_NEAR(result.Record.Values[PointAt(1)], SubjectCurrents()[PointAt(1)] * 4000 / 3000, 0.4);

    // Off line: the message and nothing else.
    sim.Unplug();
    sim.ClearLog();
    result = run.Run(input);
    EXPECT_EQ(result.Outcome, RunOutcome::Offline);
    EXPECT_EQ(op.offline, kOfflineMessage);
    EXPECT_EQ(sim.WriteCount(), 0);
}

TEST_F(RunTest, ReferencePairChoice) {
    input.settings.ChannelMode = 1;
    input.settings.ChannelSdvL = 3500;
    op.onWaiting = [&](int) {
        run.Stop();
        return false;
    };
    auto result = run.Run(input);
    EXPECT_EQ(result.ActiveSdvL, 3500);
    EXPECT_EQ(result.SettingsAfter.ChannelMode, 0);

    SimulatedDeviceConfig config;
    config.StoresCalibration = true;
    config.SdvL = 3900;
    config.SdvH = 4010;
    SimulatedDevice stored(clock, config);
    DeviceLink storedLink(stored, clock);
    storedLink.DeviceChanged(true);
    MeasuringRun storedRun(storedLink, clock, op);
    op.onWaiting = [&](int) {
        storedRun.Stop();
        return false;
    };
    result = storedRun.Run(input);
    EXPECT_EQ(result.ActiveSdvL, 3900);
    EXPECT_EQ(result.ActiveSdvH, 4010);
}

TEST_F(RunTest, SensitivityChangesTheThresholdAtOnce) {
    // 30 µA everywhere; sensitivity 2.0 needs more than 40 counts, 1.5 µA would not do, 30 µA does.
    VirtualSubject subject;
    subject.Currents.fill(1.5);
    subject.NoiseUa = 0;
    subject.HoldMs = 60000;
    sim.SetSubject(subject);
    input.settings.Sensitivity = 2.0;
    int contacts = 0;
    op.onContact = [&](int) {
        ++contacts;
        run.Stop();
    };
    clock.At(20000, [&] { run.SetSensitivity(1.0); });
    const auto result = run.Run(input);
    EXPECT_EQ(contacts, 1);
    EXPECT_GT(clock.NowMs(), 20000);
    EXPECT_DOUBLE_EQ(result.SettingsAfter.Sensitivity, 1.0);
}

TEST_F(RunTest, LiveTraceStaysInsideTheChart) {
    op.onWaiting = [&](int position) {
        if (position == 2)
            run.Stop();
        return position != 2;
    };
    run.Run(input);
    ASSERT_GT(op.trace.size(), 10u);
    double lastX = -1;
    for (const auto& p : op.trace) {
        EXPECT_GE(p.X, 0);
        EXPECT_LE(p.X, 2550);
        EXPECT_GE(p.X, lastX - 1e-9);
        lastX = p.X;
    }
    // After the baseline phase the trace hovers around the middle (300) for a steady probe.
    EXPECT_NEAR(op.trace.back().Y, 300, 20);
}

} // namespace
} // namespace oruk

namespace oruk {
namespace {

TEST_F(RunTest, UnplugDuringARunEndsIt) {
    clock.At(5000, [&] { sim.Unplug(); });
    const auto result = run.Run(input);
    EXPECT_EQ(result.Outcome, RunOutcome::Stopped);
    EXPECT_GT(result.MeasuredPointCount, 0);
    EXPECT_LT(result.MeasuredPointCount, 24);
    EXPECT_FALSE(link.Online());
}

TEST_F(RunTest, StopFromAnotherThread) {
    // Nobody touches the probe: only the stop button ends the wait.
    op.onWaiting = [](int) { return false; };
    MeasureRunResult result;
    std::thread worker([&] { result = run.Run(input); });
    while (!run.PointSelectable())
        std::this_thread::yield();
    run.Stop();
    worker.join();
    EXPECT_EQ(result.Outcome, RunOutcome::Stopped);
    EXPECT_EQ(result.MeasuredPointCount, 0);
}

} // namespace
} // namespace oruk

#include "device/SimulatedDevice.h"
#include "measurement/Calibration.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace oruk {
namespace {

// The operator holds the probe's cotton end against the metal grip whenever asked.
struct GripOperator : CalibrationObserver {
    explicit GripOperator(SimulatedDevice& sim) : sim(sim) {}
    SimulatedDevice& sim;
    std::function<int(int attempt)> holdMs = [](int) { return -1; }; // -1: until the end
    int waits = 0, redraws = 0;
    std::vector<std::string> errors;
    std::vector<std::pair<CalibPhase, double>> chart;
    CalibDisplays last;
    void WaitingForContact() override {
        ++waits;
        sim.TouchGrip(holdMs(waits));
    }
    void RedrawCharts() override { ++redraws; }
    void ShowError(const std::string& m) override { errors.push_back(m); }
    void ChartLine(CalibPhase p, double, double d) override { chart.emplace_back(p, d); }
    int firstWaitingMeter = -1; // the meters when the operator is first asked to touch the grip
    void Update(const CalibDisplays& d) override {
        if (firstWaitingMeter < 0 && (d.Status == kCalibStatusProbe || d.Status == kCalibStatusPad))
            firstWaitingMeter = d.Meter;
        last = d;
    }
};

struct Bench {
    explicit Bench(SimulatedDeviceConfig config)
        : sim(clock, config), link(sim, clock), op(sim), cal(link, clock, op) {
        sim.SetChangeHandler([this] { link.DeviceChanged(); });
        link.DeviceChanged(true);
        sim.ClearLog();
        input.link = link.State();
        input.Today = [] { return std::string("2026/12/11"); };
    }
    std::vector<std::string> Commands(char letter) const {
        std::vector<std::string> out;
        for (const auto& c : sim.Commands())
            if (c[0] == letter)
                out.push_back(c);
        return out;
    }
    // The commands between two markers (the first "L0000" .. "H0000" is the standard phase).
    std::vector<std::string> GainsBetween(const std::string& from, const std::string& to) const {
        const auto c = sim.Commands();
        auto a = std::find(c.begin(), c.end(), from);
        auto b = std::find(a, c.end(), to);
        std::vector<std::string> out;
        for (auto it = a; it != b; ++it)
            if ((*it)[0] == 'G')
                out.push_back(*it);
        return out;
    }
    SimClock clock;
    SimulatedDevice sim;
    DeviceLink link;
    GripOperator op;
    Calibration cal;
    CalibrationInput input;
};

SimulatedDeviceConfig StoredDevice(int gripL, int gripH) {
    SimulatedDeviceConfig c;
    c.StoresCalibration = true;
    c.SdvL = 3900;
    c.SdvH = 4000;
    c.GripCountL = gripL;
    c.GripCountH = gripH;
    c.Gains = GainRegisters{0x1E, 0x1D, 0x1F, 0x1C};
    return c;
}

TEST(CalibrationStored, ReadingsAtTheReferencePassWithOneGainCommand) {
    Bench b(StoredDevice(3900, 4000));
    const auto r = b.cal.Run(b.input);
    EXPECT_TRUE(r.Passed);
    EXPECT_TRUE(r.NrmPassed);
    EXPECT_TRUE(r.HiPassed);
    EXPECT_EQ(r.NrmResult, 3900);
    EXPECT_EQ(r.HiResult, 4000);
    EXPECT_EQ(b.Commands('G'), (std::vector<std::string>{"G0014"}));
    // Only the date changes in the settings; the reference counts stay the device's.
    EXPECT_TRUE(r.SettingsChanged);
    EXPECT_EQ(r.SettingsAfter.CalibrationDate, "2026/12/11");
    EXPECT_EQ(r.SettingsAfter.ProbeSdvL, b.input.settings.ProbeSdvL);
    EXPECT_EQ(r.ActiveSdvL, 3900);
    EXPECT_EQ(r.Previous, (GainRegisters{0x1E, 0x1D, 0x1F, 0x1C}));
    // The device keeps the trimmed standard gain; the high phase sent none.
    EXPECT_EQ(r.Current, (GainRegisters{0x1E, 0x14, 0x1F, 0x1C}));
    EXPECT_EQ(b.op.last.SdvLText, "3900:3900");
    EXPECT_EQ(b.op.last.SdvHText, "4000:4000");
    EXPECT_EQ(b.op.last.NrmDisplay, "pass");
    EXPECT_EQ(b.op.last.HiDisplay, "pass");

    const auto c = b.sim.Commands();
    EXPECT_EQ(std::vector<std::string>(c.begin() + 4, c.begin() + 10),
              (std::vector<std::string>{"X0000", "N0000", "K0001", "L0000", "C0000", "F007F"}));
    EXPECT_EQ(c.back(), "X0000");
    EXPECT_EQ(std::count(c.begin(), c.end(), "H0000"), 1);
    // Success: sound 1 and green.
    auto pass = std::find(c.begin(), c.end(), "S8863");
    ASSERT_NE(pass, c.end());
    EXPECT_EQ(*(pass + 1), "F00FF");
    EXPECT_EQ(*(pass + 2), "C0000");
}

TEST(CalibrationStored, GainTrim) {
    struct {
        const char* name;
        int gripL, gripH;
        std::vector<std::string> nrmGains, hiGains;
        bool passed;
    } cases[] = {
        // 20 counts low: 20 / 6 = 3.33 -> +3, sent by the next iteration; then within 4 counts.
        {"low by 20", 3880, 4000, {"G0014", "G0017"}, {}, true},
        // 2000 low: the trim stops at 255 and the phase fails.
        {"cap", 1900, 4000, {"G0014", "G00FF"}, {}, false},
        // 500 high in the high phase: the trim would go below 0 and is held there.
        {"floor", 3900, 4500, {"G0014"}, {"G0000"}, false},
    };
    for (const auto& c : cases) {
        Bench b(StoredDevice(c.gripL, c.gripH));
        const auto r = b.cal.Run(b.input);
        auto nrm = b.GainsBetween("F0000", "H0000");
        nrm.erase(std::unique(nrm.begin(), nrm.end()), nrm.end());
        auto hi = b.GainsBetween("H0000", "S8863");
        if (!c.passed)
            hi = b.GainsBetween("H0000", "S5662");
        hi.erase(std::unique(hi.begin(), hi.end()), hi.end());
        EXPECT_EQ(nrm, c.nrmGains) << c.name;
        EXPECT_EQ(hi, c.hiGains) << c.name;
        EXPECT_EQ(r.Passed, c.passed) << c.name;
        EXPECT_EQ(r.Errors, 0) << c.name;
    }
}

TEST(CalibrationPlain, MeasuredReferencesAreStoredPassOrFail) {
    struct {
        bool probe;
        int gripH;
        bool hiPassed;
    } cases[] = {{true, 4010, true}, {true, 2799, false}, {false, 2800, true}};
    for (const auto& c : cases) {
        SimulatedDeviceConfig config;
        config.GripCountL = 3950;
        config.GripCountH = c.gripH;
        Bench b(config);
        b.input.ProbeMode = c.probe;
        const auto r = b.cal.Run(b.input);
        EXPECT_TRUE(r.NrmPassed);
        EXPECT_EQ(r.HiPassed, c.hiPassed) << c.gripH;
        EXPECT_EQ(r.Passed, c.hiPassed);
        EXPECT_TRUE(r.SettingsChanged);
        const Settings& s = r.SettingsAfter;
        EXPECT_EQ(c.probe ? s.ProbeSdvL : s.ChannelSdvL, 3950);
        EXPECT_EQ(c.probe ? s.ProbeSdvH : s.ChannelSdvH, c.gripH);
        EXPECT_EQ(c.probe ? s.ChannelSdvH : s.ProbeSdvH, 4000); // the other pair untouched
        EXPECT_EQ(r.ActiveSdvH, c.gripH);
        EXPECT_EQ(b.op.last.HiDisplay, c.hiPassed ? "pass" : "failure");
        EXPECT_EQ(b.op.last.SdvHText, "4000:" + std::to_string(c.gripH));
        EXPECT_TRUE(b.Commands('G').empty());
        EXPECT_EQ(b.op.firstWaitingMeter, 3000); // the meters sweep down from the top
        const auto cmds = b.sim.Commands();
        if (!c.probe) {
            EXPECT_EQ(std::vector<std::string>(cmds.begin(), cmds.begin() + 4),
                      (std::vector<std::string>{"X0000", "N00FF", "K0002", "I00FF"}));
        }
        if (!c.hiPassed) {
            auto fail = std::find(cmds.begin(), cmds.end(), "S5662");
            ASSERT_NE(fail, cmds.end());
            EXPECT_EQ(*(fail + 2), "C00FF");
            EXPECT_EQ(*(fail + 3), "F0000");
        }
    }
}

TEST(CalibrationPlain, LiftingDuringTheCountDownRestartsTheAttempt) {
    SimulatedDeviceConfig config;
    Bench b(config);
    b.op.holdMs = [](int attempt) { return attempt == 1 ? 900 : -1; };
    const auto r = b.cal.Run(b.input);
    EXPECT_EQ(r.Attempts, 2);
    EXPECT_EQ(r.Errors, 0);
    EXPECT_TRUE(b.op.errors.empty());
    EXPECT_EQ(b.op.redraws, 2);
    const auto c = b.sim.Commands();
    EXPECT_EQ(std::count(c.begin(), c.end(), "L0000"), 2);
    EXPECT_TRUE(r.Passed);
}

TEST(CalibrationStored, WeakSignalInAPhaseIsAnErrorThatRestoresTheGains) {
    Bench b(StoredDevice(3900, 4000));
    b.op.holdMs = [](int attempt) { return attempt == 1 ? 2600 : -1; }; // lifted during the standard phase
    const auto r = b.cal.Run(b.input);
    EXPECT_EQ(r.Errors, 1);
    ASSERT_EQ(b.op.errors.size(), 1u);
    EXPECT_EQ(b.op.errors[0], kCalibErrorMessage);
    EXPECT_EQ(r.Attempts, 2);
    EXPECT_TRUE(r.Passed);
    const auto c = b.sim.Commands();
    auto err = std::find(c.begin(), c.end(), "S5662");
    ASSERT_NE(err, c.end());
    EXPECT_EQ(std::vector<std::string>(err + 2, err + 8),
              (std::vector<std::string>{"C00FF", "F00FF", "W0D1E", "W0E1D", "W0F1F", "W101C"}));
    EXPECT_EQ(*(err + 8), "L0000");
}

TEST(CalibrationPlain, StopDuringTheCountDownStoresNothing) {
    SimulatedDeviceConfig config;
    Bench b(config);
    b.op.holdMs = [&](int) {
        b.clock.At(b.clock.NowMs() + 1000, [&] { b.cal.Stop(); });
        return -1;
    };
    const auto r = b.cal.Run(b.input);
    EXPECT_TRUE(r.Stopped);
    EXPECT_FALSE(r.SettingsChanged);
    EXPECT_EQ(r.SettingsAfter.ProbeSdvL, b.input.settings.ProbeSdvL);
    EXPECT_EQ(b.op.last.NrmDisplay, "off");
    EXPECT_EQ(b.op.last.HiDisplay, "off");
    EXPECT_EQ(b.op.last.NrmColour, SegmentColour::Yellow);
    const auto c = b.sim.Commands();
    EXPECT_EQ(c.back(), "X0000");
    // The count-down ran to its end: its three steps were heard, no phase started.
    EXPECT_EQ(std::count(c.begin(), c.end(), "SD05D"), 3);
    EXPECT_EQ(std::count(c.begin(), c.end(), "F0000"), 0);
}

TEST(CalibrationPlain, UnplugEndsWithoutResults) {
    for (const int at : {1000, 2500}) { // during the count-down, during a phase
        Bench b(SimulatedDeviceConfig{});
        b.clock.At(b.clock.NowMs() + at, [&] { b.sim.Unplug(); });
        const auto r = b.cal.Run(b.input);
        EXPECT_TRUE(r.Stopped) << at;
        EXPECT_FALSE(r.SettingsChanged) << at;
        EXPECT_FALSE(r.Passed) << at;
        // The empty samples of a pulled-out device are no weak signal: no error message.
        EXPECT_TRUE(b.op.errors.empty()) << at;
        EXPECT_EQ(r.Errors, 0) << at;
    }
}

TEST(CalibrationPlain, SoundModes) {
    struct {
        int mode;
        long count7, phaseEnd8;
        bool ticks;
    } cases[] = {{1, 3, 2, true}, {2, 3, 2, false}, {0, 0, 0, false}};
    for (const auto& c : cases) {
        Bench b(SimulatedDeviceConfig{});
        b.input.settings.CalibSoundMode = c.mode;
        b.cal.Run(b.input);
        const auto cmds = b.sim.Commands();
        const long sevens = std::count(cmds.begin(), cmds.end(), "SD05D");
        if (c.ticks)
            EXPECT_GT(sevens, c.count7 + 5) << c.mode; // phase start and running ticks
        else
            EXPECT_EQ(sevens, c.count7) << c.mode;
        EXPECT_EQ(std::count(cmds.begin(), cmds.end(), "SA060"), c.phaseEnd8) << c.mode;
    }
}

} // namespace
} // namespace oruk

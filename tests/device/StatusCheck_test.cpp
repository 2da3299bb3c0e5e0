#include "device/SimulatedDevice.h"
#include "device/StatusCheck.h"

#include <gtest/gtest.h>

namespace oruk {
namespace {

struct ViewLog : StatusCheckObserver {
    std::vector<StatusCheckView> views;
    void Update(const StatusCheckView& v) override { views.push_back(v); }
};

TEST(StatusCheck, OnlineDeviceGetsEachOutputGroupOnceInOrder) {
    SimClock clock;
    SimulatedDevice sim(clock);
    DeviceLink link(sim, clock);
    link.DeviceChanged(true);
    sim.ClearLog();
    ViewLog log;
    const auto out = RunStatusCheck(link, clock, &log);

    EXPECT_TRUE(out.Online);
    EXPECT_TRUE(out.ErrorText.empty());
    EXPECT_EQ(sim.Commands(),
              (std::vector<std::string>{"C007F", "F00FF", "A00FF", "A0000", "B00FF", "A00FF", "X0000"}));
    // The groups fall in their time slots: first at once, second from 500 ms, third from 1000 ms.
    const auto sent = sim.Log();
    EXPECT_LT(sent[2].Ms, 500);
    EXPECT_GE(sent[3].Ms, 500);
    EXPECT_LT(sent[4].Ms, 1000);
    EXPECT_GE(sent[5].Ms, 1000);
    EXPECT_GT(sent[6].Ms, 1500);

    EXPECT_EQ(out.View.Lamp, StatusLampColour::Green);
    EXPECT_EQ(out.View.Model, "Kv-50");
    EXPECT_EQ(out.View.Serial, "0A1B2C3D4E5F");
    EXPECT_EQ(out.View.HardwareVersion, kPlainHardwareVersion);
    EXPECT_EQ(out.View.StatusText, "Done.");
    EXPECT_EQ(out.View.Progress, 100);
    EXPECT_EQ(out.View.StepLampsOn, 7);
    EXPECT_FALSE(out.View.ExitButtonVisible);

    // The values appear only after 400 ms, the lamps light one by one.
    ASSERT_FALSE(log.views.empty());
    EXPECT_FALSE(log.views.front().ValuesShown);
    EXPECT_EQ(log.views.front().StepLampsOn, 1);
    int lamps = 0;
    for (const auto& v : log.views) {
        EXPECT_GE(v.StepLampsOn, lamps);
        lamps = v.StepLampsOn;
        if (v.ValuesShown) {
            EXPECT_GT(v.Progress * 15, 400);
        }
    }
}

TEST(StatusCheck, NoDeviceSendsNothingAndOffersTheExit) {
    SimClock clock;
    SimulatedDevice sim(clock);
    sim.Unplug();
    DeviceLink link(sim, clock);
    link.DeviceChanged(true);
    const auto out = RunStatusCheck(link, clock);
    EXPECT_FALSE(out.Online);
    EXPECT_FALSE(out.DeviceHeld);
    EXPECT_EQ(sim.WriteCount(), 0);
    EXPECT_GE(clock.NowMs(), 1500);
    EXPECT_EQ(out.View.Lamp, StatusLampColour::Red);
    EXPECT_EQ(out.View.Model, "None!");
    EXPECT_EQ(out.View.Serial, "None!");
    EXPECT_EQ(out.View.HardwareVersion, "None!");
    EXPECT_EQ(out.View.StatusText, kNoDeviceMessage);
    EXPECT_TRUE(out.View.ExitButtonVisible);
}

TEST(StatusCheck, EmptyHardwareVersionIsAUsbFault) {
    SimClock clock;
    SimulatedDeviceConfig config;
    config.HardwareVersion = " ";
    SimulatedDevice sim(clock, config);
    DeviceLink link(sim, clock);
    link.DeviceChanged(true);
    sim.ClearLog();
    const auto out = RunStatusCheck(link, clock);
    EXPECT_FALSE(out.Online);
    EXPECT_FALSE(link.Online());
    EXPECT_EQ(sim.WriteCount(), 0);
    EXPECT_EQ(out.View.Lamp, StatusLampColour::Yellow);
    EXPECT_EQ(out.View.Model, "Kv-50");
    EXPECT_EQ(out.View.HardwareVersion, "USB Status Error!");
    EXPECT_EQ(out.View.StatusText, kUsbFaultMessage);
    EXPECT_TRUE(out.View.ExitButtonVisible);
}

} // namespace
} // namespace oruk

#include "device/DeviceLink.h"
#include "device/SimulatedDevice.h"

#include <gtest/gtest.h>
#include <optional>

namespace oruk {
namespace {

struct RecordingLinkObserver : DeviceLinkObserver {
    std::vector<TrayNotice> tray;
    std::vector<Balloon> faults;
    int hidden = 0;
    void TrayChanged(const TrayNotice& n) override { tray.push_back(n); }
    void ProbeFaultBalloon(const Balloon& b) override { faults.push_back(b); }
    void HideBalloon() override { ++hidden; }
};

class LinkTest : public ::testing::Test {
protected:
    explicit LinkTest(SimulatedDeviceConfig config = {}) : sim(clock, config), link(sim, clock) {
        link.SetObserver(&observer);
        sim.SetChangeHandler([this] { link.DeviceChanged(); });
        link.DeviceChanged(true);
        sim.ClearLog();
        observer.tray.clear();
        t0 = clock.NowMs();
    }
    std::int64_t Elapsed() { return clock.NowMs() - t0; }
    std::int64_t t0 = 0;
    SimClock clock;
    SimulatedDevice sim;
    DeviceLink link;
    RecordingLinkObserver observer;
};

TEST_F(LinkTest, RepeatedNotTakenRepliesGiveThreeWritesAndAnEmptyReply) {
    sim.QueueReply("Z0000", 3);
    EXPECT_FALSE(link.SendCommand("C0000"));
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"C0000", "C0000", "C0000"}));
    EXPECT_EQ(link.ReplyText(), "");
    EXPECT_FALSE(link.ReplyReady());
    // Each reply ends its wait at once: only the exchange latency passed.
    EXPECT_EQ(Elapsed(), 3 * 2);
}

TEST_F(LinkTest, NotTakenThenAnsweredStopsAtTheAnswer) {
    sim.QueueReply("Z0000", 2);
    EXPECT_TRUE(link.SendCommand("C0000"));
    EXPECT_EQ(sim.WriteCount(), 3);
    EXPECT_EQ(link.ReplyText(), "C0000");
}

TEST_F(LinkTest, ErrorReplyEndsTheExchangeAfterOneWrite) {
    sim.QueueReply("Z0001");
    EXPECT_TRUE(link.SendCommand("D0000"));
    EXPECT_EQ(sim.WriteCount(), 1);
    EXPECT_EQ(link.ReplyText(), "Z0001");
}

TEST_F(LinkTest, NoReplyWaitsOneHundredMillisecondsPerAttempt) {
    sim.QueueNoReply(3);
    EXPECT_FALSE(link.SendCommand("F007F"));
    const auto log = sim.Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].Ms - t0, 0);
    EXPECT_EQ(log[1].Ms - t0, 102); // write + latency + 100 ms
    EXPECT_EQ(log[2].Ms - t0, 204);
    EXPECT_EQ(Elapsed(), 306);
    EXPECT_EQ(link.ReplyText(), "");
}

TEST_F(LinkTest, WriteFailureFlushesWaitsAndWritesAgain) {
    sim.QueueWriteFailure(2);
    EXPECT_TRUE(link.SendCommand("I0000"));
    EXPECT_EQ(sim.WriteCount(), 3);
    ASSERT_EQ(sim.Log().size(), 1u);
    EXPECT_EQ(sim.Log()[0].Ms - t0, 200);
    EXPECT_EQ(link.ReplyText(), "I0000");
}

TEST_F(LinkTest, ThreeWriteFailuresGiveUp) {
    sim.QueueWriteFailure(3);
    EXPECT_FALSE(link.SendCommand("I0000"));
    EXPECT_EQ(sim.WriteCount(), 3);
    EXPECT_TRUE(sim.Log().empty());
}

TEST_F(LinkTest, UnplugDuringTheWaitEndsTheExchangeAtOnce) {
    sim.UnplugDuringNextWait();
    EXPECT_FALSE(link.SendCommand("D0000"));
    EXPECT_EQ(sim.WriteCount(), 1);
    EXPECT_EQ(Elapsed(), 2); // no 100 ms wait, no second attempt
    EXPECT_FALSE(link.Online());
    EXPECT_FALSE(link.Held());
    ASSERT_EQ(observer.tray.size(), 1u);
    EXPECT_EQ(observer.tray[0].IconIndex, 16);
}

TEST_F(LinkTest, UnplugWhileAReplyIsMissingEndsTheExchange) {
    // Pulled out 50 ms into the wait for a reply that never comes: no further attempt.
    sim.QueueNoReply(3);
    clock.At(t0 + 50, [this] { sim.Unplug(); });
    EXPECT_FALSE(link.SendCommand("D0000"));
    EXPECT_EQ(sim.WriteCount(), 1);
    EXPECT_FALSE(link.Held());
    EXPECT_FALSE(link.Online());
}

TEST_F(LinkTest, WithoutADeviceNothingIsSentAndTheLastReplyStays) {
    ASSERT_TRUE(link.SendCommand("K0001"));
    sim.Unplug();
    sim.ClearLog();
    EXPECT_FALSE(link.SendCommand("K0002"));
    EXPECT_EQ(sim.WriteCount(), 0);
    EXPECT_EQ(link.ReplyText(), "K0001");
    EXPECT_TRUE(link.ReplyReady());
}

TEST_F(LinkTest, ReportFraming) {
    // 9-byte report: id 0, the five characters, blanks.
    link.SendCommand("D0000");
    EXPECT_EQ(sim.LastReport(), (std::vector<std::uint8_t>{0, 'D', '0', '0', '0', '0', ' ', ' ', ' '}));
    EXPECT_EQ(BuildOutputReport("R0D00", 4), (std::vector<std::uint8_t>{0, 'R', '0', 'D'}));
    EXPECT_EQ(BuildOutputReport("X0000", 6), (std::vector<std::uint8_t>{0, 'X', '0', '0', '0', '0'}));
}

TEST(ReplyText, ControlsAndBlanksAreTrimmedAtBothEnds) {
    const std::uint8_t data[] = {' ', '\t', 'D', '0', ' ', 'F', 'F', 0, 0, '\r'};
    EXPECT_EQ(ReplyTextFromReport(data, sizeof data), "D0 FF");
    EXPECT_EQ(ReplyTextFromReport(data, 0), "");
}

TEST(HexText, FormattingAndParsing) {
    struct {
        long long value;
        const char* text;
    } formats[] = {{0, "00"}, {10, "0A"}, {255, "FF"}, {256, "10"}, {0xABC, "AB"}, {-1, "FF"}};
    for (const auto& f : formats)
        EXPECT_EQ(FormatHex2(f.value), f.text) << f.value;

    struct {
        const char* text;
        long long value;
    } parses[] = {{"0F3C", 0xF3C}, {"0f", 15}, {"", 4060}, {"0G", 4060}, {"-1", 4060}, {" 1", 4060}};
    for (const auto& p : parses)
        EXPECT_EQ(ParseHexOr(p.text, 4060), p.value) << p.text;
}

TEST_F(LinkTest, AttachAndRemovalDriveTheTrayAndTheOnlineState) {
    sim.Unplug();
    ASSERT_EQ(observer.tray.size(), 1u);
    EXPECT_EQ(observer.tray[0].IconIndex, 16);
    EXPECT_EQ(observer.tray[0].Hint, "Sorvan\r\nO.R.U.K. is off-line !!");
    ASSERT_TRUE(observer.tray[0].ShowBalloon);
    EXPECT_EQ(observer.tray[0].ShowBalloon->Text, "ORUK 已中斷連線！");
    EXPECT_EQ(observer.tray[0].ShowBalloon->Icon, BalloonIcon::Error);
    EXPECT_FALSE(link.Online());

    sim.PlugIn();
    ASSERT_EQ(observer.tray.size(), 2u);
    EXPECT_EQ(observer.tray[1].IconIndex, 15);
    EXPECT_EQ(observer.tray[1].Hint, "Sorvan\r\nO.R.U.K. is on-line.");
    ASSERT_TRUE(observer.tray[1].ShowBalloon);
    EXPECT_EQ(observer.tray[1].ShowBalloon->Title, "ORUK Information");
    EXPECT_EQ(observer.tray[1].ShowBalloon->Text, "ORUK 已連線");
    EXPECT_TRUE(link.Online());

    // Another HID device coming or going changes nothing.
    link.DeviceChanged();
    EXPECT_EQ(observer.tray.size(), 2u);
}

TEST(LinkAttach, FirstActivationShowsNoBalloon) {
    SimClock clock;
    SimulatedDevice sim(clock);
    DeviceLink link(sim, clock);
    RecordingLinkObserver observer;
    link.SetObserver(&observer);
    link.DeviceChanged(true);
    ASSERT_EQ(observer.tray.size(), 1u);
    EXPECT_FALSE(observer.tray[0].ShowBalloon);
    EXPECT_TRUE(link.Online());
}

TEST(LinkAttach, NoDeviceLeavesTheLinkOffline) {
    SimClock clock;
    SimulatedDevice sim(clock);
    sim.Unplug();
    DeviceLink link(sim, clock);
    link.DeviceChanged(true);
    EXPECT_FALSE(link.Held());
    EXPECT_FALSE(link.Online());
}

TEST(LinkAttach, StoredCalibrationDeviceReadsItsReferenceCounts) {
    SimClock clock;
    SimulatedDeviceConfig config;
    config.HardwareVersion = std::string(kStoredCalibrationVersion) + "   ";
    config.StoresCalibration = true;
    config.SdvL = 0x0F3C;
    config.SdvH = 0x0FA0;
    SimulatedDevice sim(clock, config);
    DeviceLink link(sim, clock);
    link.DeviceChanged(true);
    const LinkState s = link.State();
    EXPECT_TRUE(s.DeviceStoresCalibration);
    EXPECT_EQ(s.DeviceHardwareVersion, kStoredCalibrationVersion);
    EXPECT_EQ(s.DeviceSerialNo, "0A1B2C3D4E5F");
    EXPECT_EQ(s.DeviceSdvL, 0x0F3C);
    EXPECT_EQ(s.DeviceSdvH, 0x0FA0);
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"R0000", "R0100", "R0200", "R0300", "R0400", "R0500",
                                                        "R0B00", "R0C00", "R0900", "R0A00"}));
}

TEST_F(LinkTest, OtherDevicesUseTheDefaultReferenceWithoutReadingRegisters) {
    sim.Unplug();
    sim.PlugIn();
    const LinkState s = link.State();
    EXPECT_FALSE(s.DeviceStoresCalibration);
    EXPECT_EQ(s.DeviceSdvL, 4060);
    EXPECT_EQ(s.DeviceSdvH, 4060);
    EXPECT_EQ(sim.Commands().size(), 6u); // serial registers only
}

TEST_F(LinkTest, UnansweredReferenceRegistersShortenTheTextOrFallBack) {
    // A missing fragment shortens the text; no text at all gives the default.
    sim.SetHardwareVersion(kStoredCalibrationVersion);
    sim.Unplug();
    sim.SetRegister(0x0B, 0x0F);
    sim.SetRegister(0x0C, 0x3C);
    sim.QueueReply("R0000", 6); // serial
    sim.QueueNoReply(3);        // R0B00 unanswered three times
    sim.PlugIn();
    // After the serial and the lost R0B00, R0C00 answers "3C": DeviceSdvL = 0x3C.
    EXPECT_EQ(link.State().DeviceSdvL, 0x3C);
    EXPECT_EQ(link.State().DeviceSerialNo, "000000000000");
}

TEST_F(LinkTest, UsageCounterReadsAndSteps) {
    sim.SetRegister(6, 0x00);
    sim.SetRegister(7, 0x01);
    sim.SetRegister(8, 0x02);
    EXPECT_EQ(link.ReadUsageCounter(false), 258);
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"R0600", "R0700", "R0800"}));
    sim.ClearLog();
    EXPECT_EQ(link.ReadUsageCounter(true), 259);
    EXPECT_EQ(sim.Commands(),
              (std::vector<std::string>{"R0600", "R0700", "R0800", "W0600", "W0701", "W0803"}));
    EXPECT_EQ(link.State().DeviceUsageCount, 259);
    EXPECT_EQ(link.ReadUsageCounter(false), 259); // the device kept it
}

TEST_F(LinkTest, UsageCounterStaysAtItsLargestValue) {
    for (int reg = 6; reg <= 8; ++reg)
        sim.SetRegister(reg, 0xFF);
    EXPECT_EQ(link.ReadUsageCounter(true), 0xFFFFFF);
    const auto commands = sim.Commands();
    EXPECT_EQ(std::vector<std::string>(commands.end() - 3, commands.end()),
              (std::vector<std::string>{"W06FF", "W07FF", "W08FF"}));
}

TEST_F(LinkTest, UsageCounterWithoutRepliesIsZero) {
    sim.QueueNoReply(9);
    EXPECT_EQ(link.ReadUsageCounter(false), 0);
}

TEST_F(LinkTest, ProbeSamplesAndTheFaultBalloon) {
    sim.QueueReply("D0FFF");
    EXPECT_EQ(link.ReadProbeSample(), 4095);
    sim.QueueReply("Z0001", 2);
    EXPECT_EQ(link.ReadProbeSample(), 1);
    EXPECT_EQ(link.ReadProbeSample(), 1);
    ASSERT_EQ(observer.faults.size(), 1u); // shown once while the fault lasts
    EXPECT_EQ(observer.faults[0].Text, "O.R.U.K. 檢測棒異常！請檢查..");
    EXPECT_EQ(observer.faults[0].Title, "ORUK Information");
    EXPECT_TRUE(link.State().ProbeAlarmShown);
    sim.QueueReply("D0123");
    EXPECT_EQ(link.ReadProbeSample(), 0x123);
    EXPECT_EQ(observer.hidden, 1);
    EXPECT_FALSE(link.State().ProbeAlarmShown);
    sim.QueueNoReply(3);
    EXPECT_EQ(link.ReadProbeSample(), 0);
    sim.QueueReply("D0XYZ");
    EXPECT_EQ(link.ReadProbeSample(), 0);
}

TEST_F(LinkTest, WithoutADeviceReadsGiveTheirDefaultsNotTheLastReply) {
    sim.QueueReply("D0FFF");
    ASSERT_EQ(link.ReadProbeSample(), 4095);
    sim.Unplug();
    EXPECT_EQ(link.ReadProbeSample(), 0);
    EXPECT_EQ(link.ReadGainRegisters(), GainRegisters{});
    EXPECT_EQ(link.ReadUsageCounter(false), 0);
}

TEST_F(LinkTest, GainRegistersReadWithDefaultsAndWriteAsTwoHexDigits) {
    sim.SetRegister(0x0D, 0x1E);
    sim.SetRegister(0x0E, 0x05);
    EXPECT_EQ(link.ReadGainRegisters(), (GainRegisters{0x1E, 0x05, 30, 29}));
    sim.QueueReply("R0D00");
    sim.QueueReply("R0E");   // no characters 4-5: default
    sim.QueueReply("R0FZZ"); // not hex: default
    sim.QueueNoReply(3);
    EXPECT_EQ(link.ReadGainRegisters(), (GainRegisters{0, 29, 30, 29}));

    sim.ClearLog();
    link.WriteGainRegisters(GainRegisters{30, 5, 255, 0xABC});
    EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"W0D1E", "W0E05", "W0FFF", "W10AB"}));
    EXPECT_EQ(sim.Register(0x0E), 5);
}

TEST_F(LinkTest, SoundsSendTheirCommandsInOrder) {
    struct {
        int n;
        std::vector<std::string> commands;
    } cases[] = {{1, {"S8863"}},
                 {2, {"S885E", "S8862"}},
                 {3, {"S5662", "S8960"}},
                 {6, {"S6864", "S4F62"}},
                 {13, {"SC040"}},
                 {0, {}},
                 {14, {}}};
    for (const auto& c : cases) {
        sim.ClearLog();
        link.PlayDeviceSound(c.n);
        EXPECT_EQ(sim.Commands(), c.commands) << c.n;
    }
}

} // namespace
} // namespace oruk

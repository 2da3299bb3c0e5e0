#pragma once

#include "analysis/MeasurementRecord.h"
#include "device/Clock.h"
#include "device/DeviceLink.h"
#include "device/DeviceTransport.h"

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace oruk {

inline constexpr const char* kPlainHardwareVersion = "ORUK6-20040312-A01";

struct SimulatedDeviceConfig {
    bool StoresCalibration = false; // hardware version kStoredCalibrationVersion, else kPlainHardwareVersion
    std::string HardwareVersion;    // overrides the version text when not empty
    int OutputReportLength = 9;
    int LatencyMs = 2; // one exchange (write to reply); at least 1
    std::array<std::uint8_t, 6> Serial{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
    long long UsageCount = 0x000102;
    int SdvL = 3900, SdvH = 4000; // registers 0B-0C and 09-0A
    GainRegisters Gains;          // registers 0D-10
    // Count at the metal grip: for a stored-calibration device at gain 20, moved by CountsPerGain per
    // gain step; for other devices the count at each potential.
    int GripCountL = 3900, GripCountH = 4000;
    int CountsPerGainL = 6, CountsPerGainH = 4;
    double GripNoiseCounts = 0; // standard deviation
    unsigned Seed = 1;
};

// The person being measured: one current per point index, touched when the operator asks.
struct VirtualSubject {
    PointValues Currents{}; // µA by point index
    int PauseMs = 300;      // probe lifted before it touches the point
    int HoldMs = 3000;      // probe on the point, then lifted
    double NoiseUa = 0.3;   // standard deviation while holding
};

struct ReceivedCommand {
    std::int64_t Ms = 0;
    std::string Command;
    friend bool operator==(const ReceivedCommand&, const ReceivedCommand&) = default;
};

// A device that answers as the real one does, in process: registers 00-10, sounds, gains, probe
// samples of a virtual subject or of the metal grip, and injectable faults. Its replies arrive
// inside Write after the configured latency on the given clock.
class SimulatedDevice final : public DeviceTransport {
public:
    explicit SimulatedDevice(Clock& clock, SimulatedDeviceConfig config = {});

    // DeviceTransport
    void SetInputHandler(InputHandler handler) override;
    void SetChangeHandler(ChangeHandler handler) override;
    bool Open(std::uint16_t vendorId, std::uint16_t productId) override;
    bool IsOpen() const override;
    bool IsPluggedIn() override;
    void Close() override;
    int OutputReportLength() override;
    bool Write(const std::vector<std::uint8_t>& report) override;
    void Flush() override;
    std::string StringDescriptor(int index) override;

    // Faults, taken in order by the next writes.
    void QueueReply(const std::string& reply, int times = 1); // answer with this text instead
    void QueueNoReply(int times = 1);
    void QueueWriteFailure(int times = 1);
    void UnplugDuringNextWait();    // accept the next write, then get pulled out before replying
    void Unplug();                  // pulled out now (reports the change)
    void PlugIn();                  // plugged in again (reports the change)
    void SetProbeFault(bool fault); // "D0000" answered "Z0001"
    void SetLatency(int ms);
    void SetHardwareVersion(const std::string& text);

    // Every command received (written successfully), with the clock's time of the write; a
    // simulation running for hours keeps the latest ones.
    std::vector<ReceivedCommand> Log() const;
    std::vector<std::string> Commands() const;
    void ClearLog();
    int WriteCount() const; // writes tried, failed ones included
    std::vector<std::uint8_t> LastReport() const;

    int Register(int reg) const;
    void SetRegister(int reg, int value);
    int Gain(bool high) const; // live gain set by "G00vv" for the potential
    bool HighPotential() const;

    // Probe.
    void SetSubject(const VirtualSubject& subject);
    void TouchPoint(int pointIndex);                    // after the pause, held for HoldMs
    void BreakContactOnce(int pointIndex, int afterMs); // the next touch of the point ends early
    void TouchGrip(int holdMs = -1);                    // metal grip; -1 = until Lift
    void Lift();
    void SetHoldMs(int ms);
    // Count the probe delivers now (0 when lifted), as "D0000" would report it.
    int ProbeCount();

private:
    std::string Answer(const std::string& command); // lock held
    int ProbeCountLocked();
    std::string HardwareVersionLocked() const;

    enum class Fault { Reply, NoReply, WriteFailure, UnplugInWait };
    struct PendingFault {
        Fault kind;
        std::string reply;
    };
    enum class Contact { None, Point, Grip };

    Clock& clock_;
    SimulatedDeviceConfig config_;
    mutable std::mutex mutex_;
    InputHandler input_;
    ChangeHandler change_;
    bool plugged_ = true;
    bool open_ = false;
    bool probeFault_ = false;
    std::deque<PendingFault> faults_;
    std::vector<ReceivedCommand> log_;
    int writeCount_ = 0;
    std::vector<std::uint8_t> lastReport_;
    std::array<int, 0x11> registers_{};
    int gainL_ = 20, gainH_ = 20;
    bool high_ = false;
    VirtualSubject subject_;
    Contact contact_ = Contact::None;
    int pointIndex_ = 0;
    std::int64_t touchStart_ = 0, touchEnd_ = -1; // -1 = held until lifted
    std::map<int, int> breaks_;
    std::mt19937 rng_;
};

} // namespace oruk

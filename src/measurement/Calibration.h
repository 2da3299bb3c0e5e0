#pragma once

#include "app/Settings.h"
#include "device/Clock.h"
#include "device/DeviceLink.h"

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>

namespace oruk {

inline constexpr const char* kCalibStatusProbe = "請將探測棒的棉花端接觸金屬握把後，系統即開始自動校準";
inline constexpr const char* kCalibStatusPad =
    "請將 Channel 1 導電貼片棉花端接觸金屬握把後，系統即開始自動校準";
inline constexpr const char* kCalibStatusRunning = "系統正在執行校準中，請勿將探測棒分開！";
inline constexpr const char* kCalibStatusError = "校準錯誤！";
inline constexpr const char* kCalibErrorMessage = "自動校準系統發現錯誤的校準方式！\r\n請重新校準一次";
inline constexpr const char* kCalibStatusPass = "您已正確完成系統的自動校準，現在可以將探測棒移開";
inline constexpr const char* kCalibStatusFail =
    "檢測棒的導電度過低，您需要重新校準！校準前請檢查：1. 檢測棒的導電棉濕潤度、2. "
    "食鹽水濃度、3. 導電棉安裝方式。";

inline constexpr int kCalibContactCount = 1000; // a sample above it is contact with the grip
inline constexpr int kCalibWeakCount = 1500;    // a phase reading at or below it is an error
inline constexpr int kCalibMinSdv = 2800;       // a measured reference below it fails
inline constexpr int kCalibTolerance = 30;      // counts from the stored reference

enum class CalibLamp { Off, Green, BlinkingGreen, Red, BlinkingRed, Yellow };
enum class SegmentColour { Yellow, Green, Red };

// Everything the calibration window shows besides its charts; sent whole whenever it changed.
struct CalibDisplays {
    CalibLamp NrmLamp = CalibLamp::Off, HiLamp = CalibLamp::Off;
    std::array<bool, 4> CountdownLamps{}; // lit
    bool CountdownBlinking = false;
    int NrmBar = 0, HiBar = 0;
    std::string NrmDisplay = "off", HiDisplay = "off";
    SegmentColour NrmColour = SegmentColour::Yellow, HiColour = SegmentColour::Yellow;
    std::string SdvLText, SdvHText; // "SDV-L:" and "SDV-H:"
    std::string DateText;           // "前次校準日期："
    std::string SecondsText;        // removal wait
    std::string Status;
    int Meter = 0;                                  // both bar meters (other devices), 0-2800
    std::optional<GainRegisters> Previous, Current; // register panel (stored-calibration devices)
    bool operator==(const CalibDisplays&) const = default;
};

enum class CalibPhase { Nrm, Hi };

struct CalibrationInput {
    Settings settings;
    LinkState link;                     // DeviceStoresCalibration, DeviceSdvL, DeviceSdvH
    bool ProbeMode = true;              // RUZO probe; false: Channel pad
    std::function<std::string()> Today; // short date text for CalibrationDate; default: the locale's
};

struct CalibrationResult {
    bool Stopped = false;
    bool Passed = false;
    bool NrmPassed = false, HiPassed = false;
    int NrmResult = 0, HiResult = 0; // last reading (stored-calibration) or NewSdvL/NewSdvH
    Settings SettingsAfter;          // write it with the settings file when SettingsChanged (always
                                     // carries the sound mode last chosen)
    bool SettingsChanged = false;
    int ActiveSdvL = 0, ActiveSdvH = 0;
    std::optional<GainRegisters> Previous, Current;
    int Attempts = 0; // attempts started (restarts after broken contact or errors included)
    int Errors = 0;
};

class CalibrationObserver {
public:
    virtual ~CalibrationObserver() = default;
    virtual void Update(const CalibDisplays&) {}
    virtual void RedrawCharts() {} // fresh grid on both charts, pens at t 0, -30 µA
    // Line to (t ms into the phase, deviation in µA from 200, already raised to -30 at least).
    virtual void ChartLine(CalibPhase /*phase*/, double /*tMs*/, double /*deviationUa*/) {}
    virtual void WaitingForContact() {}                       // the operator should touch the metal grip now
    virtual void ShowError(const std::string& /*message*/) {} // type 5; blocks until acknowledged
    virtual void Finished(const CalibrationResult&) {}
};

// The reference pair in force for a calibration: the device's when it stores its calibration,
// otherwise the probe or pad pair of the settings.
std::pair<int, int> CalibrationActivePair(const Settings& settings, const LinkState& link, bool probeMode);

// The digital calibration of either device kind. Runs on the caller's thread; Stop may be called
// from any other thread.
class Calibration {
public:
    Calibration(DeviceLink& link, Clock& clock, CalibrationObserver& observer);
    CalibrationResult Run(const CalibrationInput& input);
    void Stop() { stopRequested_ = true; }
    // The sound menu stays usable during a calibration: 0 mute, 1 standard, 2 single tone.
    void SetSoundMode(int mode) { soundMode_ = mode; }

private:
    DeviceLink& link_;
    Clock& clock_;
    CalibrationObserver& observer_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<int> soundMode_{1};
};

} // namespace oruk

#pragma once

#include "analysis/MeasurementRecord.h"
#include "analysis/MeridianModel.h"
#include "app/Settings.h"
#include "app/SharedState.h"
#include "device/Clock.h"
#include "device/DeviceLink.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>

namespace oruk {

inline constexpr const char* kOfflineMessage = "O.R.U.K.已經離線！請重新連接裝置";
inline constexpr const char* kAskClearTable = "您要先清除表格中的資料再開始檢測嗎？";
inline constexpr const char* kAskHighPotential = "現在系統使用的是【高電位測量】\n請再一次確認!";
inline constexpr const char* kAskTooLong = "測量時間過長！是否繼續檢測？";
inline constexpr const char* kStatusWaitContact = "請至指定的代表測定點開始測量,或以滑鼠點選測量位置";
inline constexpr const char* kStatusMeasuring = "經絡能量測定中,請保持測棒穩定不動..";
inline constexpr const char* kStatusPointDone = "【經絡能量測定完畢,請移開探測棒】";

inline constexpr int kMeasureTimeMs = 2500;
inline constexpr int kAveragingWindowMs = 500;
inline constexpr int kCountdownStepMs = 625;
inline constexpr int kReleaseTimeoutMs = 5000;
inline constexpr int kQualityRingSize = 20;

inline constexpr Rgb QualityGreen{0, 255, 0};
inline constexpr Rgb QualityDarkGreen{0, 128, 0};
inline constexpr Rgb QualityYellow{255, 255, 0};
inline constexpr Rgb QualityOrange{255, 193, 64};
inline constexpr Rgb QualityRed{255, 0, 0};
inline constexpr Rgb TracePenColour{255, 81, 0}; // dotted, width 2

enum class RunLed { Off, BlinkingGreen, SteadyRed, DarkGreen };

// The measuring displays of the measurement window; sent whole whenever something changed.
struct MeasureDisplays {
    std::string Remaining = "off"; // "測量進度:"
    std::string Value = "0.0", Compensated = "0.0", Quality = "0.0";
    int TimeBar = 0, ValueBar = 0, CompensatedBar = 0, QualityBar = 0;
    Rgb QualityColour = QualityGreen, QualityBarColour = QualityDarkGreen;
    std::string SampleCounter;    // "Sampling Rate:"
    std::string ReleaseCountdown; // "4.3 Sec"
    bool ReleaseCountdownVisible = false;
    std::string Average; // "Avg:"
    std::string Status;  // status bar
    RunLed Led = RunLed::Off;
    bool operator==(const MeasureDisplays&) const = default;
};

// A point of the live trace in chart units: X in 1/2500 of the plot width per unit (pixel =
// round(X * (width - 32) / 2500) + 32), Y in 1/600 of the plot height from the top (pixel =
// round(Y * (height - 15) / 600), clamped to 0 .. height).
struct TracePoint {
    double X = 0, Y = 600;
};

enum class RunOutcome { Offline, Declined, Finished, Stopped };

struct MeasureRunResult {
    RunOutcome Outcome = RunOutcome::Offline;
    MeasurementRecord Record;  // the record with the stored points
    bool TableCleared = false; // the operator chose to clear the table first
    bool HasData = false;
    int MeasuredPointCount = 0; // the shared counter after the run
    int PointsStored = 0;       // points measured by this run
    int ActiveSdvL = 0, ActiveSdvH = 0;
    Settings SettingsAfter;       // ContactStartMode 1, ChannelMode 0, Sensitivity as last set
    bool AnalysisEnabled = false; // all 24 values above 0
};

// The measurement window's side of a run. Called on the run's thread; the questions block until the
// operator answers.
class MeasureObserver {
public:
    virtual ~MeasureObserver() = default;
    virtual void Offline(const std::string& /*message*/) {}
    virtual bool AskClearTable() { return false; }     // sound 1 was played
    virtual bool AskHighPotential() { return true; }   // sound 2 was played
    virtual bool AskContinueTooLong() { return true; } // sound 3 was played
    virtual void TableCleared() {}                     // reset the shared record and the analysis page
    virtual void RunStarted() {}                       // controls for a run, values mode, chart redrawn
    virtual void ShowPoint(int /*position*/) {}        // picture, texts and grid cell of the position
    virtual void WaitingForContact(int /*position*/) {}
    virtual void ContactDetected(int /*position*/) {}
    virtual void Update(const MeasureDisplays&) {}
    virtual void ClearTrace() {} // clear and redraw the live chart
    virtual void TraceLine(const std::optional<TracePoint>& /*from*/, const TracePoint& /*to*/) {}
    // Stored at point index; measuredAt = CurMeDate.
    virtual void PointStored(int /*position*/, int /*pointIndex*/, double /*value*/, double /*compensated*/,
                             double /*quality*/, double /*measuredAt*/) {}
    virtual void PointDone(int /*position*/) {}
    virtual void RunEnded(const MeasureRunResult&) {}
};

struct MeasureRunInput {
    Settings settings;
    DisplayTables tables = DefaultDisplayTables();
    MeasurementRecord record; // the shown record: CurMKey, CurHighVoltage, CurValues ...
    int MeasuredPointCount = 0;
    bool HasData = false;
};

// The measuring run: 24 display positions, contact, 2500 ms of samples, the averaged value, quality
// score and release. Runs on the caller's thread; Stop, SelectPosition and SetSensitivity may be
// called from any other thread while it runs.
class MeasuringRun {
public:
    MeasuringRun(DeviceLink& link, Clock& clock, MeasureObserver& observer);

    MeasureRunResult Run(const MeasureRunInput& input);

    void Stop() { stopRequested_ = true; }
    // A click on a value cell: honoured only while the run waits for contact.
    bool SelectPosition(int position);
    void SetSensitivity(double sensitivity);
    // The sound menu works during a run: 0 mute, 1 standard, 2 single.
    void SetSoundMode(int mode) { soundMode_ = mode; }
    bool PointSelectable() const { return pointSelectable_; }

private:
    int Sample() { return link_.ReadProbeSample(); }
    void Send(const char* a, const char* b);
    void Sound(int n) { link_.PlayDeviceSound(n); }
    double Threshold() const;
    bool WaitForContact(double& reading);
    enum class PointResult { Stored, ContactLost, NoWindowSamples, Stopped };
    PointResult MeasurePoint(double contactReading);
    bool WaitForRelease(int position);
    void EndRun();
    void CloseSelection();
    int TakeRequestedPosition();
    std::string AverageText() const;

    DeviceLink& link_;
    Clock& clock_;
    MeasureObserver& observer_;
    std::atomic<bool> stopRequested_{false};
    // A click checks and records under selectMutex_, so one that races the contact cannot outlive
    // the wait and move a later point.
    std::mutex selectMutex_;
    std::atomic<bool> pointSelectable_{false};
    int requestedPosition_ = 0;
    std::atomic<double> sensitivity_{1.0};
    std::atomic<int> soundMode_{1};

    MeasureRunInput in_;
    MeasureRunResult result_;
    MeasureDisplays disp_;
    double countsPerMicroamp_ = 20;
    int position_ = 1;
};

} // namespace oruk

#include "measurement/MeasuringRun.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace oruk {

namespace {

std::string Format(const char* format, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::string Trimmed(std::string text) {
    const auto b = text.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return text.substr(b, text.find_last_not_of(' ') - b + 1);
}

int Percent(double ua) {
    return static_cast<int>(std::lround(ua / 200.0 * 100.0));
}

enum class QualityBand { Green, Yellow, Red };

QualityBand BandOf(double sd) {
    if (sd <= 20)
        return QualityBand::Green;
    if (sd <= 40)
        return QualityBand::Yellow;
    return QualityBand::Red;
}

void ShowQuality(MeasureDisplays& d, double sd) {
    switch (BandOf(sd)) {
    case QualityBand::Green:
        d.QualityColour = QualityGreen;
        d.QualityBarColour = QualityDarkGreen;
        break;
    case QualityBand::Yellow:
        d.QualityColour = QualityYellow;
        d.QualityBarColour = QualityOrange;
        break;
    case QualityBand::Red:
        d.QualityColour = QualityRed;
        d.QualityBarColour = QualityRed;
        break;
    }
    if (100 - sd > 0) {
        d.QualityBar = 100 - static_cast<int>(std::lround(sd));
        d.Quality = Format("%5.1f", 100 - sd);
    } else {
        d.QualityBar = 0;
        d.Quality = "0.0";
    }
}

void ResetQuality(MeasureDisplays& d) {
    d.Quality = "0.0";
    d.QualityColour = QualityGreen;
    d.QualityBarColour = QualityDarkGreen;
    d.QualityBar = 0;
}

} // namespace

MeasuringRun::MeasuringRun(DeviceLink& link, Clock& clock, MeasureObserver& observer)
    : link_(link), clock_(clock), observer_(observer) {}

bool MeasuringRun::SelectPosition(int position) {
    std::lock_guard lock(selectMutex_);
    if (position < 1 || position > kPointCount || !pointSelectable_)
        return false;
    requestedPosition_ = position;
    return true;
}

void MeasuringRun::CloseSelection() {
    std::lock_guard lock(selectMutex_);
    pointSelectable_ = false;
    requestedPosition_ = 0;
}

int MeasuringRun::TakeRequestedPosition() {
    std::lock_guard lock(selectMutex_);
    return std::exchange(requestedPosition_, 0);
}

void MeasuringRun::SetSensitivity(double sensitivity) {
    sensitivity_ = sensitivity;
}

double MeasuringRun::Threshold() const {
    return sensitivity_.load() * countsPerMicroamp_;
}

void MeasuringRun::Send(const char* a, const char* b) {
    link_.SendCommand(a);
    link_.SendCommand(b);
}

std::string MeasuringRun::AverageText() const {
    double sum = 0;
    int n = 0;
    for (int p = 1; p <= kPointCount; ++p)
        if (result_.Record.Values[p] > 0) {
            sum += result_.Record.Values[p];
            ++n;
        }
    return n > 0 ? Format("%3.1f", sum / n) : std::string();
}

MeasureRunResult MeasuringRun::Run(const MeasureRunInput& input) {
    in_ = input;
    result_ = MeasureRunResult{};
    result_.Record = input.record;
    result_.HasData = input.HasData;
    result_.MeasuredPointCount = input.MeasuredPointCount;
    result_.SettingsAfter = input.settings;
    sensitivity_ = input.settings.Sensitivity;
    soundMode_ = input.settings.MeasureSoundMode;
    disp_ = MeasureDisplays{};
    CloseSelection();

    if (!link_.Online()) {
        observer_.Offline(kOfflineMessage);
        result_.Outcome = RunOutcome::Offline;
        return result_;
    }

    // The reference pair in force for this run.
    const LinkState ls = link_.State();
    if (ls.DeviceStoresCalibration) {
        result_.ActiveSdvL = ls.DeviceSdvL;
        result_.ActiveSdvH = ls.DeviceSdvH;
    } else if (input.settings.ChannelMode == 0) {
        result_.ActiveSdvL = input.settings.ProbeSdvL;
        result_.ActiveSdvH = input.settings.ProbeSdvH;
    } else {
        result_.ActiveSdvL = input.settings.ChannelSdvL;
        result_.ActiveSdvH = input.settings.ChannelSdvH;
    }

    MeasurementRecord& rec = result_.Record;
    if (rec.MKey > 0) {
        Sound(1);
        if (observer_.AskClearTable()) {
            const bool high = rec.HighVoltage;
            rec = MeasurementRecord{};
            rec.HighVoltage = high;
            result_.MeasuredPointCount = 0;
            result_.HasData = false;
            result_.TableCleared = true;
            observer_.TableCleared();
        }
    }
    if (rec.HighVoltage) {
        Sound(2);
        if (!observer_.AskHighPotential()) {
            result_.Outcome = RunOutcome::Declined;
            return result_;
        }
    }

    result_.SettingsAfter.ContactStartMode = 1;
    result_.SettingsAfter.ChannelMode = 0;
    position_ = 1;
    observer_.RunStarted();

    link_.SendCommand("X0000");
    link_.SendCommand(rec.HighVoltage ? "H0000" : "L0000");
    Send("I0000", "K0001");
    const int reference = rec.HighVoltage ? result_.ActiveSdvH : result_.ActiveSdvL;
    countsPerMicroamp_ = reference / 200.0;
    stopRequested_ = false;

    bool finished = false;
    while (!stopRequested_ && link_.Held()) {
        observer_.ShowPoint(position_);
        bool stored = false;
        while (!stored) {
            double reading = 0;
            if (!WaitForContact(reading))
                break;
            const PointResult r = MeasurePoint(reading);
            if (r == PointResult::Stopped)
                break;
            stored = r == PointResult::Stored;
        }
        if (!stored)
            break;
        const bool goOn = WaitForRelease(position_);
        disp_.ReleaseCountdownVisible = false;
        observer_.Update(disp_);
        observer_.PointDone(position_);
        if (position_ == kPointCount) {
            finished = true;
            break;
        }
        ++position_;
        if (!goOn)
            break;
    }
    EndRun();
    result_.Outcome = finished ? RunOutcome::Finished : RunOutcome::Stopped;
    result_.SettingsAfter.Sensitivity = sensitivity_;
    result_.SettingsAfter.MeasureSoundMode = soundMode_;
    result_.AnalysisEnabled = rec.IsComplete();
    observer_.RunEnded(result_);
    return result_;
}

bool MeasuringRun::WaitForContact(double& reading) {
    disp_.Average = AverageText();
    pointSelectable_ = true;
    disp_.Status = kStatusWaitContact;
    disp_.TimeBar = disp_.ValueBar = disp_.CompensatedBar = 0;
    disp_.SampleCounter = "0";
    disp_.Remaining = Trimmed(Format("%5.1f", kMeasureTimeMs / 1000.0));
    disp_.ReleaseCountdownVisible = false;
    disp_.Led = RunLed::BlinkingGreen;
    reading = 0;
    observer_.Update(disp_);
    Send("F007F", "C0000");
    observer_.WaitingForContact(position_);

    for (;;) {
        if (stopRequested_ || !link_.Held()) {
            CloseSelection();
            return false;
        }
        if (const int requested = TakeRequestedPosition(); requested != 0) {
            position_ = requested;
            observer_.ShowPoint(position_);
            observer_.WaitingForContact(position_);
        }
        const double coefficient = in_.tables.MeridianCoefficient[in_.tables.MeridianByPos[position_]];
        const MeasureDisplays before = disp_;
        disp_.Value = Trimmed(Format("%5.1f", reading / countsPerMicroamp_));
        disp_.Compensated = Trimmed(Format("%5.1f", reading * coefficient / countsPerMicroamp_));
        if (!(disp_ == before))
            observer_.Update(disp_);
        reading = Sample();
        if (reading > Threshold()) {
            const int a = Sample();
            const int b = Sample();
            reading = (a + b) / 2.0;
            if (reading > Threshold())
                break;
        }
    }
    // Clicks move the position only while waiting: a value measured here belongs to this point.
    CloseSelection();
    return true;
}

MeasuringRun::PointResult MeasuringRun::MeasurePoint(double contactReading) {
    std::array<double, kQualityRingSize> ring;
    ring.fill(contactReading);
    std::size_t ringIndex = 0;
    Send("C007F", "F0000");
    observer_.ClearTrace();
    ResetQuality(disp_);
    observer_.ContactDetected(position_);

    if (stopRequested_)
        return PointResult::Stopped;
    disp_.Led = RunLed::SteadyRed;
    int countdown = kMeasureTimeMs / kCountdownStepMs;
    if (soundMode_ == 2)
        Sound(13);
    disp_.Status = kStatusMeasuring;
    observer_.Update(disp_);

    const double coefficient = in_.tables.MeridianCoefficient[in_.tables.MeridianByPos[position_]];
    double reading = contactReading; // baseline of the live trace
    double windowSum = 0;
    int windowCount = 0;
    double sd = 0;
    const std::int64_t start = clock_.NowMs();
    for (;;) {
        if (!link_.Held())
            return PointResult::Stopped; // pulled out: the run ends
        double s = Sample();
        if (s <= Threshold()) {
            s = Sample();
            if (s <= Threshold()) {
                observer_.ClearTrace();
                ResetQuality(disp_);
                observer_.Update(disp_);
                return PointResult::ContactLost;
            }
        }
        const std::int64_t elapsed = clock_.NowMs() - start;
        const std::int64_t remaining = kMeasureTimeMs - elapsed;
        if (remaining <= static_cast<std::int64_t>(countdown) * kCountdownStepMs) {
            --countdown;
            if (soundMode_ == 1)
                Sound(4);
            if (countdown < 0) {
                disp_.TimeBar = 100;
                break;
            }
        }
        if (elapsed < 300) {
            observer_.TraceLine(TracePoint{0, 600}, TracePoint{static_cast<double>(elapsed),
                                                               600.0 - static_cast<double>(elapsed)});
            const double f = Sample();
            reading = elapsed <= 200 ? f : (f + reading) / 2;
        } else {
            const double y = 300 - (s - reading) / countsPerMicroamp_ * 10;
            const double x = (kMeasureTimeMs / 100) * disp_.TimeBar + 50;
            observer_.TraceLine(std::nullopt, TracePoint{x, y});
        }
        if (remaining <= kAveragingWindowMs) {
            windowSum += s;
            ++windowCount;
            disp_.SampleCounter = std::to_string(windowCount);
        }
        ring[ringIndex] = s;
        ringIndex = (ringIndex + 1) % ring.size();
        double sum = 0, squares = 0;
        for (double x : ring) {
            sum += x;
            squares += x * x;
        }
        const double n = static_cast<double>(ring.size());
        sd = std::sqrt(std::max(0.0, squares / n - (sum / n) * (sum / n)));

        const double value = s / countsPerMicroamp_;
        disp_.Remaining = Format("%5.1f", static_cast<double>(remaining) / 1000.0);
        disp_.Value = Format("%5.1f", value);
        disp_.Compensated = Format("%5.1f", value * coefficient);
        disp_.TimeBar = static_cast<int>(elapsed / (kMeasureTimeMs / 100));
        disp_.ValueBar = Percent(value);
        disp_.CompensatedBar = Percent(value * coefficient);
        ShowQuality(disp_, sd);
        observer_.Update(disp_);
    }
    if (windowCount == 0) {
        // Nothing fell into the averaging window (an exchange slower than the window): measure again.
        observer_.ClearTrace();
        ResetQuality(disp_);
        observer_.Update(disp_);
        return PointResult::NoWindowSamples;
    }

    const double value = windowSum / windowCount / countsPerMicroamp_;
    const double compensated = value * coefficient;
    if (soundMode_ == 1) {
        Sound(position_ == kPointCount ? 6 : 5);
    } else if (soundMode_ == 2) {
        Sound(4);
        if (position_ == kPointCount)
            Sound(5);
    }
    disp_.Value = Format("%5.1f", value);
    disp_.Compensated = Format("%5.1f", compensated);
    const int point = in_.tables.PointIndexByPos[position_];
    MeasurementRecord& rec = result_.Record;
    rec.Values[point] = value;
    rec.Compensated[point] = compensated;
    rec.Std[point] = 100 - sd;
    disp_.Status = kStatusPointDone;
    ++result_.MeasuredPointCount;
    ++result_.PointsStored;
    result_.HasData = true;
    rec.MeDate = clock_.OleNow();
    disp_.ValueBar = Percent(value);
    disp_.CompensatedBar = Percent(compensated);
    disp_.Remaining = "0.0";
    disp_.Led = RunLed::DarkGreen;
    disp_.Average = AverageText();
    observer_.PointStored(position_, point, value, compensated, 100 - sd, rec.MeDate);
    observer_.Update(disp_);
    switch (BandOf(sd)) {
    case QualityBand::Green:
        Send("F00FF", "C0000");
        break;
    case QualityBand::Yellow:
        Send("F00FF", "C00FF");
        break;
    case QualityBand::Red:
        Send("F0000", "C00FF");
        break;
    }
    return PointResult::Stored;
}

bool MeasuringRun::WaitForRelease(int position) {
    const std::int64_t start = clock_.NowMs();
    disp_.ReleaseCountdownVisible = true;
    for (;;) {
        const std::int64_t waited = clock_.NowMs() - start;
        disp_.ReleaseCountdown =
            Format("%1.1f", static_cast<double>(kReleaseTimeoutMs - waited) / 1000.0) + " Sec";
        observer_.Update(disp_);
        if (!link_.Held())
            return false;
        if (Sample() < Threshold()) {
            const int a = Sample();
            const int b = Sample();
            if ((a + b) / 2.0 < Threshold())
                return true;
        }
        if (clock_.NowMs() - start > kReleaseTimeoutMs) {
            if (position == kPointCount)
                return true;
            Sound(3);
            disp_.ReleaseCountdown = "0.0 Sec";
            observer_.Update(disp_);
            if (observer_.AskContinueTooLong())
                return true;
            stopRequested_ = true;
            return false;
        }
    }
}

void MeasuringRun::EndRun() {
    CloseSelection();
    disp_.Led = RunLed::Off;
    disp_.Status.clear();
    disp_.SampleCounter.clear();
    link_.SendCommand("X0000");
    disp_.Value = disp_.Compensated = "0.0";
    disp_.Remaining = "off";
    ResetQuality(disp_);
    disp_.TimeBar = disp_.ValueBar = disp_.CompensatedBar = 0;
    disp_.ReleaseCountdownVisible = false;
    observer_.ClearTrace();
    observer_.Update(disp_);
}

} // namespace oruk

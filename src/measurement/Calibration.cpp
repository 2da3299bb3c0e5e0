#include "measurement/Calibration.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace oruk {

namespace {

std::string Ua(double ua) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%3.0f", ua);
    return std::string(buf) + " uA";
}

std::string DefaultToday() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

int RoundHalfEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

} // namespace

std::pair<int, int> CalibrationActivePair(const Settings& settings, const LinkState& link, bool probeMode) {
    if (link.DeviceStoresCalibration)
        return {link.DeviceSdvL, link.DeviceSdvH};
    if (probeMode)
        return {settings.ProbeSdvL, settings.ProbeSdvH};
    return {settings.ChannelSdvL, settings.ChannelSdvH};
}

Calibration::Calibration(DeviceLink& link, Clock& clock, CalibrationObserver& observer)
    : link_(link), clock_(clock), observer_(observer) {}

CalibrationResult Calibration::Run(const CalibrationInput& input) {
    CalibrationResult result;
    result.SettingsAfter = input.settings;
    const bool stores = input.link.DeviceStoresCalibration;
    const auto [refL, refH] = CalibrationActivePair(input.settings, input.link, input.ProbeMode);
    result.ActiveSdvL = refL;
    result.ActiveSdvH = refH;
    soundMode_ = input.settings.CalibSoundMode;
    auto send = [&](const char* a, const char* b) {
        link_.SendCommand(a);
        link_.SendCommand(b);
    };
    // Count, phase-end, error and success sounds in standard and single mode; ticks only in standard.
    auto sound = [&](int n) {
        if (soundMode_ == 1 || soundMode_ == 2)
            link_.PlayDeviceSound(n);
    };
    auto tick = [&] {
        if (soundMode_ == 1)
            link_.PlayDeviceSound(7);
    };
    auto sample = [&] { return link_.ReadProbeSample(); };

    CalibDisplays d;
    d.DateText = input.settings.CalibrationDate;
    d.SdvLText = std::to_string(refL);
    d.SdvHText = std::to_string(refH);
    GainRegisters previous;
    if (stores) {
        previous = link_.ReadGainRegisters();
        d.Previous = previous;
        result.Previous = previous;
    }
    observer_.Update(d);

    link_.SendCommand("X0000");
    if (input.ProbeMode) {
        send("N0000", "K0001");
    } else {
        send("N00FF", "K0002");
        link_.SendCommand("I00FF");
    }

    bool stopped = false;
    bool passed = true;
    bool completed = false;
    int nrmResult = 0, hiResult = 0;
    while (!completed && !stopped) {
        // One attempt: contact, count-down, the two phases.
        ++result.Attempts;
        link_.SendCommand("L0000");
        observer_.RedrawCharts();
        stopRequested_ = false;
        passed = true;
        send("C0000", "F007F");
        d.NrmLamp = CalibLamp::BlinkingGreen;
        d.HiLamp = CalibLamp::Off;
        d.NrmBar = d.HiBar = 0;
        d.NrmColour = d.HiColour = SegmentColour::Green;
        d.HiDisplay = "0 uA";
        d.CountdownLamps = {true, true, true, true};
        d.CountdownBlinking = true;
        d.Status = input.ProbeMode ? kCalibStatusProbe : kCalibStatusPad;
        if (!stores)
            d.Meter = 3000; // the meters' sweep while waiting starts at the top
        observer_.Update(d);
        observer_.WaitingForContact();

        int meter = 3000, meterStep = -200;
        std::int64_t meterChanged = clock_.NowMs();
        for (;;) {
            if (stopRequested_ || !link_.Held())
                break;
            const int s = sample();
            const CalibDisplays before = d;
            d.NrmDisplay = Ua(static_cast<double>(s) / refL * 200);
            if (!stores && clock_.NowMs() - meterChanged > 50) {
                meter += meterStep;
                if (meter <= 0)
                    meterStep = 200;
                else if (meter >= 3000)
                    meterStep = -200;
                meterChanged = clock_.NowMs();
                d.Meter = meter;
            }
            if (!(d == before))
                observer_.Update(d);
            if (s > kCalibContactCount)
                break;
        }
        d.CountdownBlinking = false;
        d.Status = kCalibStatusRunning;
        bool broken = false;
        if (!stopRequested_ && link_.Held()) {
            if (!stores)
                d.Meter = 2800;
            send("F007F", "C007F");
            d.CountdownLamps[0] = false;
            observer_.Update(d);
            sound(7);
            int steps = 0;
            std::int64_t lastStep = clock_.NowMs();
            while (steps < 3) {
                if (!link_.Held())
                    break; // pulled out: ends below
                const int a = sample();
                const int b = sample();
                const int mean = (a + b) / 2;
                d.NrmDisplay = Ua(static_cast<double>(mean) / refL * 200);
                if (mean <= kCalibContactCount) {
                    broken = true; // lifted: the attempt starts again, silently
                    break;
                }
                if (clock_.NowMs() - lastStep > 600) {
                    ++steps;
                    lastStep = clock_.NowMs();
                    if (steps < 3)
                        sound(7);
                    d.CountdownLamps[static_cast<std::size_t>(steps)] = false;
                }
                observer_.Update(d);
            }
        }
        if (broken)
            continue;
        d.CountdownLamps = {false, false, false, false};
        observer_.Update(d);
        if (stopRequested_ || !link_.Held()) {
            stopped = true;
            break;
        }

        tick();
        d.NrmLamp = CalibLamp::BlinkingRed;
        send("F0000", "C007F");
        observer_.Update(d);

        CalibPhase phase = CalibPhase::Nrm;
        std::int64_t phaseStart = clock_.NowMs();
        std::int64_t lastTick = phaseStart;
        int counter = 0;
        int gain = 20;
        bool sendGain = true;
        double sum = 0;
        int count = 0;
        std::int64_t previousT = 0;
        bool error = false;
        for (;;) {
            if (!link_.Held()) {
                stopped = true; // pulled out: the calibration ends without results
                break;
            }
            ++counter;
            if (stores && sendGain)
                link_.SendCommand("G00" + FormatHex2(gain));
            const int a = sample();
            const int b = sample();
            const int c = sample();
            const int n = (a + b + c) / 3;
            if (clock_.NowMs() - lastTick >= 300) {
                tick();
                lastTick = clock_.NowMs();
            }
            const std::int64_t t = clock_.NowMs() - phaseStart;
            if (!link_.Held()) {
                stopped = true; // pulled out while sampling: not a calibration error
                break;
            }
            if (counter > 1 && n <= kCalibWeakCount) {
                error = true;
                break;
            }
            const bool nrm = phase == CalibPhase::Nrm;
            int& bar = nrm ? d.NrmBar : d.HiBar;
            std::string& display = nrm ? d.NrmDisplay : d.HiDisplay;
            std::string& sdvText = nrm ? d.SdvLText : d.SdvHText;
            const int reference = nrm ? refL : refH;
            if (stores) {
                sdvText = std::to_string(reference) + ":" + std::to_string(n);
                const int m = reference - n;
                const double ua = static_cast<double>(n) / reference * 200;
                bar = static_cast<int>(std::lround(static_cast<double>(t) / 1500 * 100));
                display = Ua(ua);
                observer_.ChartLine(phase, static_cast<double>(t), std::max(ua - 200, -30.0));
                const int e = RoundHalfEven(std::abs(m) / (nrm ? 6.0 : 4.0));
                sendGain = std::abs(m) > (nrm ? 4 : 3);
                gain = m > 0 ? gain + e : gain - e;
                // The gain command carries two hex digits: keep the trim inside 00..FF.
                gain = std::clamp(gain, 0, 255);
            } else {
                d.Meter = static_cast<int>(std::lround(static_cast<double>(previousT) / 1500 * 3000));
                sdvText = std::to_string(reference) + ":" + std::to_string(n);
                sum += n;
                ++count;
                const double mean = sum / count;
                const double ua = n / mean * 200;
                bar = static_cast<int>(std::lround(static_cast<double>(t) / 1500 * 100));
                display = Ua(ua);
                observer_.ChartLine(phase, static_cast<double>(t), std::max(ua - 200, -30.0));
            }
            previousT = t;

            const bool ends = nrm ? t > 1600 : (stores ? t >= 1500 : t > 1600);
            if (!ends) {
                observer_.Update(d);
                continue;
            }
            sound(8);
            bar = 100;
            bool phasePassed = false;
            if (stores) {
                phasePassed = std::abs(n - reference) <= kCalibTolerance;
                (nrm ? nrmResult : hiResult) = n;
            } else {
                const int newSdv = static_cast<int>(std::lround(sum / count));
                phasePassed = newSdv >= kCalibMinSdv;
                (nrm ? nrmResult : hiResult) = newSdv;
                sdvText = std::to_string(reference) + ":" + std::to_string(newSdv);
            }
            (nrm ? d.NrmLamp : d.HiLamp) = phasePassed ? CalibLamp::Green : CalibLamp::Red;
            (nrm ? d.NrmColour : d.HiColour) = phasePassed ? SegmentColour::Green : SegmentColour::Red;
            display = phasePassed ? "pass" : "failure";
            (nrm ? result.NrmPassed : result.HiPassed) = phasePassed;
            passed = passed && phasePassed;
            if (!nrm) {
                observer_.Update(d);
                break;
            }
            link_.SendCommand("H0000");
            d.HiLamp = CalibLamp::BlinkingRed;
            observer_.Update(d);
            if (!stores)
                clock_.SleepMs(100);
            phase = CalibPhase::Hi;
            phaseStart = clock_.NowMs();
            counter = 0;
            gain = 20;
            sendGain = false;
            sum = 0;
            count = 0;
            previousT = 0;
        }
        if (stopped)
            break;
        if (error) {
            ++result.Errors;
            d.NrmLamp = d.HiLamp = CalibLamp::Yellow;
            sound(3);
            send("C00FF", "F00FF");
            if (stores)
                link_.WriteGainRegisters(previous);
            d.Status = kCalibStatusError;
            observer_.Update(d);
            observer_.ShowError(kCalibErrorMessage);
            continue;
        }
        completed = true;
    }

    if (completed) {
        Settings& s = result.SettingsAfter;
        s.CalibrationDate = input.Today ? input.Today() : DefaultToday();
        if (stores) {
            result.Current = link_.ReadGainRegisters();
            d.Current = result.Current;
            d.SdvLText = std::to_string(refL) + ":" + std::to_string(nrmResult);
            d.SdvHText = std::to_string(refH) + ":" + std::to_string(hiResult);
        } else {
            // Stored whether the phases passed or not, as the operator saw them measured.
            if (input.ProbeMode) {
                s.ProbeSdvL = nrmResult;
                s.ProbeSdvH = hiResult;
            } else {
                s.ChannelSdvL = nrmResult;
                s.ChannelSdvH = hiResult;
            }
            result.ActiveSdvL = nrmResult;
            result.ActiveSdvH = hiResult;
        }
        result.SettingsChanged = true;
        result.NrmResult = nrmResult;
        result.HiResult = hiResult;
        result.Passed = passed;
        d.DateText = s.CalibrationDate;
        if (passed) {
            sound(1);
            d.Status = kCalibStatusPass;
            send("F00FF", "C0000");
        } else {
            sound(3);
            d.Status = kCalibStatusFail;
            send("C00FF", "F0000");
        }
        observer_.Update(d);
        const std::int64_t start = clock_.NowMs();
        for (;;) {
            const std::int64_t waited = clock_.NowMs() - start;
            if (waited >= 5000 || stopRequested_ || !link_.Held())
                break;
            char buf[32];
            std::snprintf(buf, sizeof buf, "%1.1f Sec", static_cast<double>(5000 - waited) / 1000);
            d.SecondsText = buf;
            observer_.Update(d);
            if (sample() < kCalibContactCount + 1)
                break;
        }
    }

    link_.SendCommand("X0000");
    if (stopRequested_ || stopped) {
        observer_.RedrawCharts();
        d.NrmColour = d.HiColour = SegmentColour::Yellow;
        d.NrmDisplay = d.HiDisplay = "off";
    }
    result.Stopped = stopped;
    result.SettingsAfter.CalibSoundMode = soundMode_;
    d.NrmLamp = d.HiLamp = CalibLamp::Off;
    d.CountdownLamps = {false, false, false, false};
    d.Status.clear();
    d.SecondsText.clear();
    d.NrmBar = d.HiBar = 0;
    observer_.Update(d);
    observer_.Finished(result);
    return result;
}

} // namespace oruk

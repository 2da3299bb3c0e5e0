#pragma once

#include "device/SimulatedDevice.h"
#include "measurement/Calibration.h"
#include "measurement/MeasuringRun.h"

namespace oruk {

// The person at a simulated device: touches the point a measuring run waits for (or the metal grip
// for a calibration) and passes every call on to the real observer, e.g. the window's adapter. Wrap
// the window's observer in it when the program runs with --simulate.
class SimulatedMeasureOperator final : public MeasureObserver {
public:
    SimulatedMeasureOperator(SimulatedDevice& device, const DisplayTables& tables, MeasureObserver& inner)
        : device_(device), tables_(tables), inner_(inner) {}

    void Offline(const std::string& m) override { inner_.Offline(m); }
    bool AskClearTable() override { return inner_.AskClearTable(); }
    bool AskHighPotential() override { return inner_.AskHighPotential(); }
    bool AskContinueTooLong() override { return inner_.AskContinueTooLong(); }
    void TableCleared() override { inner_.TableCleared(); }
    void RunStarted() override { inner_.RunStarted(); }
    void ShowPoint(int position) override { inner_.ShowPoint(position); }
    void WaitingForContact(int position) override {
        device_.TouchPoint(tables_.PointIndexByPos[position]);
        inner_.WaitingForContact(position);
    }
    void ContactDetected(int position) override { inner_.ContactDetected(position); }
    void Update(const MeasureDisplays& d) override { inner_.Update(d); }
    void ClearTrace() override { inner_.ClearTrace(); }
    void TraceLine(const std::optional<TracePoint>& from, const TracePoint& to) override {
        inner_.TraceLine(from, to);
    }
    void PointStored(int position, int pointIndex, double value, double compensated, double quality,
                     double measuredAt) override {
        inner_.PointStored(position, pointIndex, value, compensated, quality, measuredAt);
    }
    void PointDone(int position) override { inner_.PointDone(position); }
    void RunEnded(const MeasureRunResult& r) override { inner_.RunEnded(r); }

private:
    SimulatedDevice& device_;
    DisplayTables tables_;
    MeasureObserver& inner_;
};

class SimulatedCalibrationOperator final : public CalibrationObserver {
public:
    SimulatedCalibrationOperator(SimulatedDevice& device, CalibrationObserver& inner)
        : device_(device), inner_(inner) {}

    void Update(const CalibDisplays& d) override {
        // The result is shown: take the probe off the grip.
        if (d.Status == kCalibStatusPass || d.Status == kCalibStatusFail)
            device_.Lift();
        inner_.Update(d);
    }
    void RedrawCharts() override { inner_.RedrawCharts(); }
    void ChartLine(CalibPhase phase, double t, double d) override { inner_.ChartLine(phase, t, d); }
    void WaitingForContact() override {
        device_.TouchGrip();
        inner_.WaitingForContact();
    }
    void ShowError(const std::string& m) override { inner_.ShowError(m); }
    void Finished(const CalibrationResult& r) override { inner_.Finished(r); }

private:
    SimulatedDevice& device_;
    CalibrationObserver& inner_;
};

} // namespace oruk

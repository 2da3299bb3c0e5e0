#pragma once

#include "app/SharedState.h"
#include "device/DeviceLink.h"
#include "measurement/Calibration.h"
#include "measurement/MeasuringRun.h"

namespace oruk {

// The device link values the windows read from the shared state.
void CopyLinkState(const LinkState& link, SharedState& shared);

// A finished (or stopped) measuring run into the shared state: the record, the point counter, the
// reference pair in force and the settings the run changed. New points reset the analysis
// window's remembered page and chart choices.
void ApplyRunResult(const MeasureRunResult& result, SharedState& shared);

// A calibration into the shared state (the caller writes the settings file when SettingsChanged).
void ApplyCalibrationResult(const CalibrationResult& result, SharedState& shared);

} // namespace oruk

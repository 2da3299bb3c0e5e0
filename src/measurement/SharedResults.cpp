#include "measurement/SharedResults.h"

namespace oruk {

void CopyLinkState(const LinkState& link, SharedState& shared) {
    shared.DeviceOnline = link.DeviceOnline;
    shared.DeviceStoresCalibration = link.DeviceStoresCalibration;
    shared.ProbeAlarmShown = link.ProbeAlarmShown;
    shared.DeviceSerialNo = link.DeviceSerialNo;
    shared.DeviceHardwareVersion = link.DeviceHardwareVersion;
    shared.DeviceUsageCount = link.DeviceUsageCount;
    shared.DeviceSdvL = link.DeviceSdvL;
    shared.DeviceSdvH = link.DeviceSdvH;
}

void ApplyRunResult(const MeasureRunResult& result, SharedState& shared) {
    if (result.Outcome == RunOutcome::Offline)
        return;
    shared.current = result.Record;
    shared.MeasuredPointCount = result.MeasuredPointCount;
    if (result.Outcome == RunOutcome::Declined && !result.TableCleared)
        return;
    shared.ActiveSdvL = result.ActiveSdvL;
    shared.ActiveSdvH = result.ActiveSdvH;
    shared.settings.ContactStartMode = result.SettingsAfter.ContactStartMode;
    shared.settings.ChannelMode = result.SettingsAfter.ChannelMode;
    shared.settings.Sensitivity = result.SettingsAfter.Sensitivity;
    if (result.TableCleared || result.PointsStored > 0) {
        shared.AnalysisLastPage = 0;
        shared.AnalysisChartFlags.fill(1);
    }
}

void ApplyCalibrationResult(const CalibrationResult& result, SharedState& shared) {
    shared.ActiveSdvL = result.ActiveSdvL;
    shared.ActiveSdvH = result.ActiveSdvH;
    if (result.SettingsChanged) {
        shared.settings = result.SettingsAfter;
        shared.RebuildTables();
    }
}

} // namespace oruk

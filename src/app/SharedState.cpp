#include "app/SharedState.h"

#include "app/SettingsFile.h"

namespace oruk {

void SharedState::ClearCurrentRecord() {
    AnalysisLastPage = 0;
    subject = SubjectInfo{};
    current = MeasurementRecord{};
    SortColumn = 1;
    MeasuredPointCount = 0;
}

void SharedState::ReadSettings() {
    // A file that vanished reads like an empty one: every line takes its fallback.
    if (auto read = ReadSettingsFile(SettingsFilePath()))
        settings = *read;
    else
        settings = ParseSettingsFileText({});
    RebuildTables();
}

void SharedState::WriteSettings() {
    WriteSettingsFile(SettingsFilePath(), settings);
    RebuildTables();
}

void SharedState::LoadOrCreateSettings() {
    settings = oruk::LoadOrCreateSettings(WorkDir);
    RebuildTables();
}

} // namespace oruk

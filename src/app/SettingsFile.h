#pragma once

#include "app/Settings.h"

#include <filesystem>
#include <optional>

namespace oruk {

// The settings file: 78 enciphered lines (key selector 5), CR LF.

// Reads the file; lines that are missing, blank, unparsable or not cipher text take their
// fallbacks. nullopt when the file does not exist. Never creates anything.
std::optional<Settings> ReadSettingsFile(const std::filesystem::path& file);

// Writes all 78 lines. The new file replaces the old one only once it is complete,
// so a crash never leaves a truncated settings file. Throws std::runtime_error on failure.
void WriteSettingsFile(const std::filesystem::path& file, const Settings& settings);

// Program start: read WorkDir/MeDefTw6c.ini, or write the defaults (today as calibration date)
// when it is missing.
Settings LoadOrCreateSettings(const std::filesystem::path& workDir);

} // namespace oruk

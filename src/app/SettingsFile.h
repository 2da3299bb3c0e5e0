#pragma once

#include "app/Settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace oruk {

// The settings file: 78 enciphered lines (key selector 5), CR LF.

// The file's content for these values: 78 enciphered lines, each ended by CR LF.
std::string SettingsFileText(const Settings& settings);

// The values a file's content gives; missing, blank, unparsable lines and lines that are not
// cipher text take their fallbacks (an empty content gives every fallback).
Settings ParseSettingsFileText(std::string_view content);

// Reads the file; lines that are missing, blank, unparsable or not cipher text take their
// fallbacks. nullopt when the file does not exist. Never creates anything.
// Throws std::runtime_error when the file exists but cannot be read.
std::optional<Settings> ReadSettingsFile(const std::filesystem::path& file);

// Writes all 78 lines. The new file replaces the old one only once it is complete,
// so a crash never leaves a truncated settings file. Throws std::runtime_error on failure.
void WriteSettingsFile(const std::filesystem::path& file, const Settings& settings);

// Program start: read WorkDir/MeDefTw6c.ini, or write the defaults (today as calibration date)
// when it is missing, creating WorkDir if needed. A file that exists but cannot be read is
// reported (std::runtime_error), never replaced by the defaults.
Settings LoadOrCreateSettings(const std::filesystem::path& workDir);

} // namespace oruk

#pragma once

#include "records/DatabaseStartup.h"
#include "records/Records.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace oruk::cli {

// The working directory of a command: --workdir, else the default one.
std::filesystem::path CommandWorkDir(const std::optional<std::string>& option);

// Provisions the working directory from the installed data and runs the database start-up as the
// program does. Messages go to err. Throws std::runtime_error when the databases cannot be opened.
DatabaseConnections OpenDatabases(const std::filesystem::path& workDir, std::ostream& err);

// A stored measurement with its subject (for --mkey). Throws CliError when there is no such key.
Records::Loaded LoadStoredMeasurement(DbSession& main, const std::string& mkeyText);

// "--values 1,2,...,24": exactly 24 numbers, each at least 0. Throws CliError.
PointValues ParseRecordValueList(const std::string& text, const char* option);

} // namespace oruk::cli

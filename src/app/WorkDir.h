#pragma once

#include <filesystem>
#include <optional>

namespace oruk {

// The working directory holds the settings file, the databases and the "Data" picture folder.
// Default: $XDG_DATA_HOME/Sorvan/ORUK (normally ~/.local/share/Sorvan/ORUK).
std::filesystem::path DefaultWorkDir();
std::filesystem::path ResolveWorkDir(const std::optional<std::filesystem::path>& override);

// Where the installed data lies (template, reference databases, pictures): $ORUK_DATA_DIR,
// else the share/oruk beside the program's bin/, else the build tree's, else the install prefix's.
std::filesystem::path InstalledDataDir();

} // namespace oruk

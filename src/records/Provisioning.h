#pragma once

#include <filesystem>
#include <vector>

namespace oruk {

// Fills a working directory from the installed data as an installation does: the template
// "MeSpa_60.mdb", the reference databases "orukTW.mdb" and "orukMTW.mdb" and the "Data" picture
// folder. Files already present are kept, except the reference databases and the template, which
// are replaced when the installed copy is newer (they are read-only content of the installation).
// Returns the files written. Throws std::filesystem::filesystem_error when the directory cannot be made.
std::vector<std::filesystem::path> ProvisionWorkDir(const std::filesystem::path& workDir,
                                                    const std::filesystem::path& installedDataDir);

} // namespace oruk

#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace oruk {

// The working directory's files are named without regard to letter case (as on the system the
// files come from): "ORUK.mdb" and "oruk.mdb" are the same file.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& dir,
                                                    const std::string& name);
bool FileExistsNoCase(const std::filesystem::path& dir, const std::string& name);

// The rollback journal SQLite keeps beside a database while it writes (left behind by a stop).
std::filesystem::path JournalOf(const std::filesystem::path& database);

// Renames dir/from to dir/to; fails (returns false, changes nothing) when the target exists.
// A journal left beside the database moves with it: it belongs to that file and would otherwise
// be played back into whatever file takes the old name.
bool MoveNoReplace(const std::filesystem::path& dir, const std::string& from, const std::string& to);

// Copies a file through a temporary name and a rename, so the target is either the old file or the
// complete copy. Returns 0 on success, else the errno of the failing step.
int CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a file, clearing its read-only attribute first; a missing file is fine.
bool RemoveFileForce(const std::filesystem::path& file);

// Attaching a file read-only (a URI, so SQLite never writes to it).
std::string ReadOnlyUri(const std::filesystem::path& file);

} // namespace oruk

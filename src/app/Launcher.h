#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oruk {

// What the launcher needs from the system, replaceable so that tests see every decision
// without starting anything.
struct LaunchHooks {
    // Whether a file of that name exists.
    std::function<bool(const std::string& path)> fileExists;
    // Starts a program as a detached process with its arguments (no shell). true on success.
    std::function<bool(const std::string& program, const std::vector<std::string>& args)> startDetached;
    // Hands a document, folder or web address to the desktop's opener. true on success.
    std::function<bool(const std::string& target)> openWithDesktop;
};

// The real system: std::filesystem, QProcess::startDetached, xdg-open.
LaunchHooks SystemLaunchHooks();

// The 15 drive letters tried when a path names a drive that does not hold the file.
inline constexpr std::string_view kLaunchDriveLetters = "CDEFGHIJKLMNOPQ";

// A path with a drive colon at position 2 or 3 whose file is missing is tried on each drive
// letter in turn. Returns the path that exists, the path itself when there is nothing to search
// (no colon at 2 or 3, or the file exists), or nothing when no letter gives an existing file.
std::optional<std::string> FindOnDrives(const std::string& path, const LaunchHooks& hooks);

// Splits a parameter text into arguments: blanks separate, double or single quotes group
// (the quotes themselves are dropped). No shell ever sees the text.
std::vector<std::string> SplitParameters(std::string_view params);

enum class LaunchKind { NotStarted, Program, Document };

struct LaunchOutcome {
    LaunchKind kind = LaunchKind::NotStarted;
    std::string program; // after the drive search and trimming
    std::string params;  // after the drive search and trimming
    bool succeeded = false;
};

// The user-function launcher: drive search for program and parameters, then a detached
// process for a program, or the desktop's opener for the parameters when the program is
// empty (a document or web address). Failures are not reported to the operator.
LaunchOutcome LaunchProgram(const std::string& program, const std::string& params, const LaunchHooks& hooks);
LaunchOutcome LaunchProgram(const std::string& program, const std::string& params);

// A program of the desktop for a role (the first of the candidates found on PATH), or empty.
std::string FindProgramOnPath(const std::vector<std::string>& candidates);
std::string DesktopMediaPlayer();   // stands in for the media player of user function 2
std::string DesktopWordProcessor(); // stands in for the word processor of user function 3

} // namespace oruk

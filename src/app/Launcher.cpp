#include "app/Launcher.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace oruk {

namespace fs = std::filesystem;

namespace {

std::string Trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

QStringList ToQt(const std::vector<std::string>& args) {
    QStringList list;
    for (const auto& a : args)
        list << QString::fromStdString(a);
    return list;
}

} // namespace

LaunchHooks SystemLaunchHooks() {
    LaunchHooks hooks;
    hooks.fileExists = [](const std::string& path) {
        std::error_code ec;
        return fs::exists(fs::u8path(path), ec);
    };
    hooks.startDetached = [](const std::string& program, const std::vector<std::string>& args) {
        return QProcess::startDetached(QString::fromStdString(program), ToQt(args));
    };
    hooks.openWithDesktop = [](const std::string& target) {
        return QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(target)});
    };
    return hooks;
}

std::optional<std::string> FindOnDrives(const std::string& path, const LaunchHooks& hooks) {
    const auto colon = path.find(':');
    // 1-based position of the colon must be 2 or 3 for a drive letter to precede it.
    if (colon == std::string::npos || colon + 1 < 2 || colon + 1 > 3 || hooks.fileExists(path))
        return path;
    std::string candidate = path;
    for (char letter : kLaunchDriveLetters) {
        candidate[colon - 1] = letter;
        if (hooks.fileExists(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::vector<std::string> SplitParameters(std::string_view params) {
    std::vector<std::string> args;
    std::string current;
    bool inArg = false;
    char quote = 0;
    for (char c : params) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                current += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inArg = true;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (inArg)
                args.push_back(std::move(current));
            current.clear();
            inArg = false;
        } else {
            current += c;
            inArg = true;
        }
    }
    if (inArg)
        args.push_back(std::move(current));
    return args;
}

LaunchOutcome LaunchProgram(const std::string& program, const std::string& params, const LaunchHooks& hooks) {
    LaunchOutcome out;
    const auto usable = FindOnDrives(program, hooks);
    if (!usable) {
        out.program = program;
        out.params = params;
        return out;
    }
    // The parameter search never blocks the start: without a hit the text stays as it was.
    const std::string foundParams = FindOnDrives(params, hooks).value_or(params);
    out.program = Trimmed(*usable);
    out.params = Trimmed(foundParams);
    if (!out.program.empty()) {
        out.kind = LaunchKind::Program;
        out.succeeded = hooks.startDetached(out.program, SplitParameters(out.params));
    } else if (!out.params.empty()) {
        out.kind = LaunchKind::Document;
        out.succeeded = hooks.openWithDesktop(out.params);
    }
    return out;
}

LaunchOutcome LaunchProgram(const std::string& program, const std::string& params) {
    return LaunchProgram(program, params, SystemLaunchHooks());
}

std::string FindProgramOnPath(const std::vector<std::string>& candidates) {
    const char* pathEnv = std::getenv("PATH");
    if (!pathEnv)
        return {};
    const std::string path = pathEnv;
    for (const auto& name : candidates) {
        std::size_t start = 0;
        while (start <= path.size()) {
            const auto end = path.find(':', start);
            const std::string dir =
                path.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!dir.empty()) {
                std::error_code ec;
                const fs::path full = fs::path(dir) / name;
                const auto st = fs::status(full, ec);
                if (!ec && fs::is_regular_file(st) &&
                    (st.permissions() & (fs::perms::owner_exec | fs::perms::group_exec |
                                         fs::perms::others_exec)) != fs::perms::none)
                    return name;
            }
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    return {};
}

std::string DesktopMediaPlayer() {
    return FindProgramOnPath({"vlc", "totem", "celluloid", "mpv", "parole", "smplayer", "dragon"});
}

std::string DesktopWordProcessor() {
    return FindProgramOnPath({"lowriter", "libreoffice", "abiword", "calligrawords"});
}

} // namespace oruk

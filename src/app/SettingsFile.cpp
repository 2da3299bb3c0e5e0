#include "app/SettingsFile.h"

#include "app/SettingsFields.h"
#include "app/TextCipher.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace oruk {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowErrno(const std::string& what, const fs::path& file, int error) {
    throw std::runtime_error(what + " " + file.string() + ": " + std::strerror(error));
}

// Closes a descriptor on every path out.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

void WriteAll(int fd, const std::string& data, const fs::path& file) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno("cannot write", file, errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

// The directory entry of a renamed file is only durable once the directory itself is synced.
void SyncDirectory(const fs::path& dir) {
    Fd d{::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (d.fd >= 0)
        ::fsync(d.fd);
}

} // namespace

std::string SettingsFileText(const Settings& settings) {
    std::string out;
    out.reserve(78 * 48);
    for (const SettingField& field : SettingFields()) {
        out += EncipherText(FormatSetting(settings, field), CipherKey::Settings);
        out += "\r\n";
    }
    return out;
}

Settings ParseSettingsFileText(std::string_view content) {
    Settings settings;
    std::size_t pos = 0;
    for (const SettingField& field : SettingFields()) {
        std::string_view line;
        if (pos < content.size()) {
            std::size_t end = content.find('\n', pos);
            if (end == std::string_view::npos)
                end = content.size();
            line = content.substr(pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
        }
        // A line that is not cipher text counts as an empty one: the line's fallback.
        ReadSetting(settings, field, DecipherText(line, CipherKey::Settings).value_or(std::string{}));
    }
    return settings;
}

std::optional<Settings> ReadSettingsFile(const fs::path& file) {
    Fd in{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        ThrowErrno("cannot open", file, errno);
    }
    std::string content;
    char buf[8192];
    for (;;) {
        const ssize_t n = ::read(in.fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno("cannot read", file, errno);
        }
        if (n == 0)
            break;
        content.append(buf, static_cast<std::size_t>(n));
    }

    return ParseSettingsFileText(content);
}

void WriteSettingsFile(const fs::path& file, const Settings& settings) {
    const std::string content = SettingsFileText(settings);
    const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");

    // Keep the permissions of the file being replaced; a new file gets 0666 less the umask.
    struct stat old {};
    const bool replacing = ::stat(file.c_str(), &old) == 0;

    static std::atomic<unsigned> counter{0};
    fs::path temp;
    Fd out;
    for (int attempt = 0; attempt < 100 && out.fd < 0; ++attempt) {
        temp = dir / ("." + file.filename().string() + ".new-" + std::to_string(::getpid()) + "-" +
                      std::to_string(counter++));
        out.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (out.fd < 0 && errno != EEXIST)
            ThrowErrno("cannot create", temp, errno);
    }
    if (out.fd < 0)
        ThrowErrno("cannot create", temp, EEXIST);

    try {
        if (replacing)
            ::fchmod(out.fd, old.st_mode & 07777);
        WriteAll(out.fd, content, temp);
        if (::fsync(out.fd) != 0)
            ThrowErrno("cannot sync", temp, errno);
        const int fd = out.fd;
        out.fd = -1;
        if (::close(fd) != 0)
            ThrowErrno("cannot close", temp, errno);
        if (::rename(temp.c_str(), file.c_str()) != 0)
            ThrowErrno("cannot replace", file, errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    SyncDirectory(dir);
}

Settings LoadOrCreateSettings(const fs::path& workDir) {
    const fs::path file = workDir / kSettingsFileName;
    if (auto settings = ReadSettingsFile(file))
        return *settings;
    Settings settings;
    settings.CalibrationDate = TodayShortDate();
    fs::create_directories(workDir);
    WriteSettingsFile(file, settings);
    return settings;
}

} // namespace oruk

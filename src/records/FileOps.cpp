#include "records/FileOps.h"

#include <QUrl>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace oruk {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

int WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace

std::optional<fs::path> FindFileNoCase(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    const fs::path exact = dir / name;
    if (fs::is_regular_file(exact, ec))
        return exact;
    const std::string wanted = Lower(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (Lower(it->path().filename().string()) == wanted && it->is_regular_file(ec))
            return it->path();
    }
    return std::nullopt;
}

bool FileExistsNoCase(const fs::path& dir, const std::string& name) {
    return FindFileNoCase(dir, name).has_value();
}

fs::path JournalOf(const fs::path& database) {
    return fs::path(database.string() + "-journal");
}

bool MoveNoReplace(const fs::path& dir, const std::string& from, const std::string& to) {
    const auto source = FindFileNoCase(dir, from);
    if (!source || FileExistsNoCase(dir, to))
        return false;
    std::error_code ec;
    // A journal under the target name belongs to no database (there is none of that name): it
    // must not be played back into the file that takes the name.
    RemoveFileForce(JournalOf(dir / to));
    fs::rename(*source, dir / to, ec);
    if (ec)
        return false;
    if (fs::exists(JournalOf(*source), ec))
        fs::rename(JournalOf(*source), JournalOf(dir / to), ec);
    return true;
}

int CopyFileAtomically(const fs::path& from, const fs::path& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    const fs::path temp = to.parent_path() / ("." + to.filename().string() + ".part");
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        const int e = errno;
        ::close(in);
        return e;
    }
    int error = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (n == 0)
            break;
        if ((error = WriteAll(out, buffer, static_cast<std::size_t>(n))) != 0)
            break;
    }
    if (error == 0 && ::fsync(out) != 0)
        error = errno;
    if (::close(out) != 0 && error == 0)
        error = errno;
    ::close(in);
    if (error == 0 && ::rename(temp.c_str(), to.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return error;
    }
    // The rename itself reaches the disk only with its directory.
    const fs::path parent = to.has_parent_path() ? to.parent_path() : fs::path(".");
    if (const int dirFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return 0;
}

bool RemoveFileForce(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec)))
        return true;
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, ec);
    return fs::remove(file, ec) && !ec;
}

std::string ReadOnlyUri(const fs::path& file) {
    return QUrl::fromLocalFile(QString::fromStdString(fs::absolute(file).string()))
               .toString(QUrl::FullyEncoded)
               .toStdString() +
           "?mode=ro";
}

} // namespace oruk

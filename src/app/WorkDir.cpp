#include "app/WorkDir.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace oruk {

namespace fs = std::filesystem;

fs::path DefaultWorkDir() {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".local" / "share";
    } else {
        base = fs::temp_directory_path();
    }
    return base / "Sorvan" / "ORUK";
}

fs::path ResolveWorkDir(const std::optional<fs::path>& override) {
    if (override && !override->empty())
        return fs::absolute(*override);
    return DefaultWorkDir();
}

fs::path InstalledDataDir() {
    if (const char* env = std::getenv("ORUK_DATA_DIR"); env && *env)
        return env;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path beside = exe.parent_path().parent_path() / "share" / "oruk";
        if (fs::is_directory(beside, ec))
            return beside;
    }
    if (fs::is_directory(ORUK_BUILD_DATA_DIR, ec))
        return ORUK_BUILD_DATA_DIR;
    return ORUK_INSTALL_DATA_DIR;
}

} // namespace oruk

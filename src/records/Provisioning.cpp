#include "records/Provisioning.h"

#include "records/FileOps.h"
#include "records/Schema.h"

namespace oruk {

namespace fs = std::filesystem;

std::vector<fs::path> ProvisionWorkDir(const fs::path& workDir, const fs::path& installedDataDir) {
    std::vector<fs::path> written;
    fs::create_directories(workDir);
    std::error_code ec;
    for (const char* name : {dbfiles::Template, dbfiles::Texts, dbfiles::Programs}) {
        const fs::path source = installedDataDir / name;
        if (!fs::is_regular_file(source, ec))
            continue;
        const auto present = FindFileNoCase(workDir, name);
        bool copy = !present;
        if (present) {
            const auto installedTime = fs::last_write_time(source, ec);
            const auto presentTime = fs::last_write_time(*present, ec);
            copy = !ec && installedTime > presentTime;
        }
        const fs::path target = present ? *present : workDir / name;
        if (copy && CopyFileAtomically(source, target) == 0)
            written.push_back(target);
    }
    const fs::path pictures = installedDataDir / dbfiles::PictureFolder;
    if (fs::is_directory(pictures, ec)) {
        for (auto it = fs::recursive_directory_iterator(pictures, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            const fs::path target = workDir / dbfiles::PictureFolder / fs::relative(it->path(), pictures, ec);
            if (it->is_directory(ec)) {
                fs::create_directories(target, ec);
            } else if (!fs::exists(target, ec)) {
                fs::create_directories(target.parent_path(), ec);
                if (CopyFileAtomically(it->path(), target) == 0)
                    written.push_back(target);
            }
        }
    }
    return written;
}

} // namespace oruk

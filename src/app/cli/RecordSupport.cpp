#include "app/cli/RecordSupport.h"

#include "app/WorkDir.h"
#include "app/cli/CliArgs.h"
#include "records/Provisioning.h"

#include <charconv>
#include <cmath>
#include <ostream>

namespace oruk::cli {

namespace {

struct ErrObserver : StartupObserver {
    explicit ErrObserver(std::ostream& e) : err(e) {}
    void Message(int, const std::string& text) override { err << text << "\n"; }
    std::ostream& err;
};

} // namespace

std::filesystem::path CommandWorkDir(const std::optional<std::string>& option) {
    if (option && option->empty())
        throw CliError("--workdir needs a directory");
    return ResolveWorkDir(option ? std::optional<std::filesystem::path>(*option) : std::nullopt);
}

DatabaseConnections OpenDatabases(const std::filesystem::path& workDir, std::ostream& err) {
    ProvisionWorkDir(workDir, InstalledDataDir());
    ErrObserver observer(err);
    StartupResult result = RunDatabaseStartup(workDir, observer);
    if (!result.ok)
        throw std::runtime_error("the databases in " + workDir.string() + " cannot be used");
    return std::move(result.connections);
}

Records::Loaded LoadStoredMeasurement(DbSession& main, const std::string& mkeyText) {
    int mkey = 0;
    const auto res = std::from_chars(mkeyText.data(), mkeyText.data() + mkeyText.size(), mkey);
    if (res.ec != std::errc() || res.ptr != mkeyText.data() + mkeyText.size() || mkey <= 0)
        throw CliError("--mkey needs a positive whole number, not '" + mkeyText + "'");
    Records records(main);
    auto loaded = records.LoadMeasurement(mkey);
    if (!loaded)
        throw CliError("no stored measurement has MKEY " + mkeyText);
    return *loaded;
}

PointValues ParseRecordValueList(const std::string& text, const char* option) {
    PointValues values{};
    std::size_t start = 0;
    int count = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string field = text.substr(start, comma - start);
        while (!field.empty() && field.front() == ' ')
            field.erase(field.begin());
        while (!field.empty() && field.back() == ' ')
            field.pop_back();
        double v = 0;
        const auto res = std::from_chars(field.data(), field.data() + field.size(), v);
        if (field.empty() || res.ec != std::errc() || res.ptr != field.data() + field.size() ||
            !std::isfinite(v) || v < 0)
            throw CliError(std::string("--") + option +
                           " needs 24 numbers of at least 0, separated by commas");
        if (++count > kPointCount)
            break;
        values[count] = v;
        start = comma + 1;
    }
    if (count != kPointCount)
        throw CliError(std::string("--") + option + " needs exactly 24 numbers, got " +
                       std::to_string(count));
    return values;
}

} // namespace oruk::cli

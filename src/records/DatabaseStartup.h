#pragma once

#include "records/DbSession.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace oruk {

// The status window's seven step lamps: yellow and unlit, lit (the step runs), green (done).
enum class LampState { Unlit, Lit, Done };

// What the database start-up shows on the status window. Every call may repaint; ProcessEvents is
// called between batches of copied rows so the window stays responsive during a conversion.
class StartupObserver {
public:
    virtual ~StartupObserver() = default;
    virtual void Lamp(int /*lamp 1..7*/, LampState) {}
    virtual void Progress(int /*percent 0..100*/) {}
    virtual void StatusText(const std::string&) {}
    virtual void LabelText(const std::string&) {} // "USB Status:" becomes "DBT Prog:" while converting
    // A ShowMsg notice (type 6); the window shows it modally.
    virtual void Message(int /*type*/, const std::string&) {}
    virtual void ProcessEvents() {}
};

inline constexpr const char* kMsgNotInstalled = "您沒有完全安裝 O.R.U.K.，資料庫不存在！請重新安裝O.R.U.K.";
inline constexpr const char* kMsgStartError = "O.R.U.K.資料庫啟動錯誤！如果您的作業系統是 Windows 98, SE 或 "
                                              "NT 4.0，請先安裝 Microsoft ADO 驅動程式再執行";
inline constexpr const char* kStatusConverting = "O.R.U.K. 資料庫轉換中，請稍候..";
inline constexpr const char* kConvertLabel = "DBT Prog:";
// A conversion that fails leaves the main database as it was and the old file in place.
inline constexpr const char* kMsgConversionFailed = "O.R.U.K. 舊資料庫轉換失敗，原有資料未變更：";

// The three shared connections of the main window.
struct DatabaseConnections {
    std::unique_ptr<DbSession> main;     // oruk6.mdb
    std::unique_ptr<DbSession> texts;    // orukTW.mdb, read only
    std::unique_ptr<DbSession> programs; // orukMTW.mdb, read only
};

struct StartupResult {
    bool ok = false; // false: DeviceOnline becomes false and the program ends after the status window
    std::vector<std::filesystem::path> converted; // backups written by this start, in order
    std::string conversionError;                  // empty unless a conversion failed and was rolled back
    DatabaseConnections connections;
};

// Generation shuffle, template copy, the three connections, conversion of a waiting old database
// (all of it in one transaction), the dated backup and the latest-measurement dates.
// today: days since 1899-12-30, names the backup "oruk_yyyymmdd_BAK.mdb".
StartupResult RunDatabaseStartup(const std::filesystem::path& workDir, StartupObserver& observer,
                                 double today);
StartupResult RunDatabaseStartup(const std::filesystem::path& workDir, StartupObserver& observer);

// Copies oldFile's tables into the open main database in one transaction and recomputes PREMEA.
// Throws DbError (the main database is then unchanged).
void ConvertOldDatabase(DbSession& main, const std::filesystem::path& oldFile, StartupObserver& observer);

// The identity of an old database file (a hash of its bytes), and whether the main database has
// already taken in that file's contents (known from the commit until the file became the backup).
QString ConversionSourceId(const std::filesystem::path& oldFile);
bool AlreadyConverted(DbSession& main, const std::filesystem::path& oldFile);

// Sets every subject's PREMEA to the latest MEDATE of its measurements, 0 when it has none.
void RecomputeLatestMeasurementDates(DbSession& main);

} // namespace oruk

#pragma once

#include "records/DbSession.h"

#include <filesystem>
#include <string>
#include <vector>

namespace oruk {

// The two data sets of a transfer: programs (MEPRO, MEPRDT) and case data (MECUST, MEDATA).
struct TransferChoice {
    bool programs = false;
    bool records = false;
};

class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    virtual void Progress(int /*percent*/) {}
};

struct TransferOutcome {
    bool ok = false;
    int errorCode = 0;                // the system's error number of a failed file copy, 0 otherwise
    std::string message;              // the closing notice: success, or the error text
    std::vector<std::string> skipped; // notices for empty source data sets (import)
};

// Error numbers as the transfer window names them, from the errno of a failed file operation:
// 2 file missing, 5 access denied, 19 write protected, 21 not ready, 30 read fault, 112 disk full.
int TransferErrorCode(int errnoValue);
// The text for an error number; other numbers: "資料匯出錯誤 !! ErrorCode[n]，" (or 匯入 on import).
std::string TransferErrorText(int code, bool exporting);

inline constexpr const char* kExportOk = "資料匯出成功 !!";
inline constexpr const char* kImportAppended = "資料匯入成功，資料已經附加 !!";
inline constexpr const char* kImportReplaced = "資料匯入成功，原有的資料已被取代 !!";
inline constexpr const char* kSkipPrograms = "來源的 [專家療程] 資料是空的，將跳過匯入動作。";
inline constexpr const char* kSkipRecords = "來源的 [病歷檢測] 資料是空的，將跳過匯入動作。";
inline constexpr const char* kExportRetry = " 請排除問題後重新匯出資料。";
inline constexpr const char* kImportRetry = " 請排除問題後重新匯入資料。";

// The working copy a transfer builds or reads in the working directory (never "MeTran.mdb" itself).
std::filesystem::path WorkingTransferFile(const std::filesystem::path& workDir);

// Whether a folder holds a transfer file "MeTran.mdb" to import.
bool TransferFileAvailable(const std::filesystem::path& folder);

// Writes folder/MeTran.mdb: a fresh copy of the template holding the chosen data sets. The file is
// built in the working directory and copied over when complete, so a failed export never leaves a
// half-written transfer file at the destination.
TransferOutcome ExportTransfer(DbSession& main, const std::filesystem::path& workDir,
                               const std::filesystem::path& folder, TransferChoice choice,
                               TransferObserver& observer);

// Reads folder/MeTran.mdb into the main database, appending or replacing the chosen data sets.
// All of it happens in one transaction: on any failure the main database is as before.
TransferOutcome ImportTransfer(DbSession& main, const std::filesystem::path& workDir,
                               const std::filesystem::path& folder, TransferChoice choice, bool replace,
                               TransferObserver& observer);

} // namespace oruk

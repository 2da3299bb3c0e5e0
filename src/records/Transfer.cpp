#include "records/Transfer.h"

#include "records/FileOps.h"
#include "records/Schema.h"

#include <cerrno>

namespace oruk {

namespace fs = std::filesystem;

namespace {

// Removes the working copy with any rollback journal a stopped run left beside it: a stale
// journal would be played back into the next working copy and spoil it.
void RemoveWorkingCopy(const fs::path& working) {
    RemoveFileForce(working);
    RemoveFileForce(fs::path(working.string() + "-journal"));
}

QStringList TransferColumns(const QString& table) {
    if (table == "MEPRO")
        return {"ProNo",    "ProName",  "ProData",  "ProPict",  "ProScal", "ProFn",   "ProScrp1",
                "ProScrp2", "ProScrp3", "ProScrp4", "ProPrg1",  "ProPrg2", "ProPrg3", "ProPrg4",
                "ProParm1", "ProParm2", "ProParm3", "ProParm4", "PrtFG"};
    if (table == "MEPRDT")
        return {"ProNo",  "ProSubN", "ProNote", "ProAnd", "ProCond",
                "ProEng", "ProAGL",  "ProAGH",  "ProFlg", "PrtFG"};
    if (table == "MECUST")
        return {"CustNo", "Name",   "Sex",    "DBirth", "Addr",    "Tel",    "Tel2",  "Tel3",  "EMail",
                "BType",  "Height", "Weight", "Memo",   "CustCat", "CustFG", "PrtFG", "PREMEA"};
    QStringList cols = {"CustNo", "MeDate", "MeVota", "MEMO1", "MEMO2", "AutoKey"};
    cols += MedataValueColumns();
    cols << "STD"
         << "PrtFG";
    return cols;
}

// The order the window walks each table in.
QString TransferOrder(const QString& table) {
    if (table == "MEPRO")
        return "ProNo, rowid";
    if (table == "MECUST")
        return "CUSTNO, rowid";
    return "rowid";
}

// Copies one table between two attached schemas; columns the source lacks keep their defaults.
void CopyRows(DbSession& db, const QString& table, const QString& from, const QString& to) {
    const auto present = db.Columns(table, from);
    QStringList cols;
    for (const QString& c : TransferColumns(table))
        if (present.count(c.toLower().toStdString()))
            cols << c;
    db.Exec("INSERT INTO " + to + "." + table + " (" + cols.join(", ") + ") SELECT " + cols.join(", ") +
            " FROM " + from + "." + table + " ORDER BY " + TransferOrder(table));
}

struct Attachment {
    Attachment(DbSession& db, const std::string& uriOrPath) : db_(db) {
        db_.Exec("ATTACH DATABASE ? AS xfer", {QString::fromStdString(uriOrPath)});
    }
    ~Attachment() {
        try {
            db_.Exec("DETACH DATABASE xfer");
        } catch (const DbError&) {
        }
    }
    DbSession& db_;
};

TransferOutcome Failure(int code, bool exporting) {
    TransferOutcome out;
    out.errorCode = code;
    out.message = TransferErrorText(code, exporting) + (exporting ? kExportRetry : kImportRetry);
    return out;
}

TransferOutcome DatabaseFailure(const DbError& e, bool exporting) {
    TransferOutcome out;
    out.message = std::string(exporting ? "資料匯出錯誤 !! " : "資料匯入錯誤 !! ") + e.what() +
                  (exporting ? kExportRetry : kImportRetry);
    return out;
}

} // namespace

// Its name differs from "MeTran.mdb", so a transfer to or from the working directory itself never
// deletes the very file it writes or reads.
fs::path WorkingTransferFile(const fs::path& workDir) {
    return workDir / ".MeTran-working.mdb";
}

int TransferErrorCode(int e) {
    switch (e) {
    case ENOENT:
    case ENOTDIR:
        return 2;
    case EACCES:
    case EPERM:
        return 5;
    case EROFS:
        return 19;
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
        return 21;
    case EIO:
        return 30;
    case EBUSY:
        return 32;
    case ENOSPC:
    case EDQUOT:
        return 112;
    default:
        return e;
    }
}

std::string TransferErrorText(int code, bool exporting) {
    switch (code) {
    case 2:
        return "來源的檔案資料不存在 !!";
    case 5:
        return "磁片或檔案是唯讀格式 !!";
    case 19:
        return "磁碟片防寫 !!";
    case 21:
        return "磁碟機尚未準備妥當，或沒有磁片 !!";
    case 30:
    case 31:
    case 32:
        return "無法讀取指定裝置，或磁碟格式化錯誤 !!";
    case 112:
        return "磁碟容量不足 !!";
    default:
        return std::string(exporting ? "資料匯出錯誤 !! ErrorCode[" : "資料匯入錯誤 !! ErrorCode[") +
               std::to_string(code) + "]，";
    }
}

bool TransferFileAvailable(const fs::path& folder) {
    return FileExistsNoCase(folder, dbfiles::Transfer);
}

TransferOutcome ExportTransfer(DbSession& main, const fs::path& workDir, const fs::path& folder,
                               TransferChoice choice, TransferObserver& observer) {
    const fs::path working = WorkingTransferFile(workDir);
    observer.Progress(0);
    RemoveWorkingCopy(working);
    const auto tmpl = FindFileNoCase(workDir, dbfiles::Template);
    if (!tmpl)
        return Failure(2, true);
    if (const int e = CopyFileAtomically(*tmpl, working))
        return Failure(TransferErrorCode(e), true);
    observer.Progress(10);
    try {
        Attachment attach(main, working.string());
        DbTransaction tx(main);
        if (choice.programs) {
            CopyRows(main, "MEPRO", "main", "xfer");
            CopyRows(main, "MEPRDT", "main", "xfer");
        }
        observer.Progress(40);
        if (choice.records) {
            CopyRows(main, "MECUST", "main", "xfer");
            CopyRows(main, "MEDATA", "main", "xfer");
        }
        tx.Commit();
    } catch (const DbError& e) {
        RemoveWorkingCopy(working);
        return DatabaseFailure(e, true);
    }
    observer.Progress(80);
    const int e = CopyFileAtomically(working, folder / dbfiles::Transfer);
    RemoveWorkingCopy(working);
    if (e != 0)
        return Failure(TransferErrorCode(e), true);
    observer.Progress(100);
    TransferOutcome out;
    out.ok = true;
    out.message = kExportOk;
    return out;
}

TransferOutcome ImportTransfer(DbSession& main, const fs::path& workDir, const fs::path& folder,
                               TransferChoice choice, bool replace, TransferObserver& observer) {
    const fs::path working = WorkingTransferFile(workDir);
    observer.Progress(0);
    RemoveWorkingCopy(working);
    const auto source = FindFileNoCase(folder, dbfiles::Transfer);
    if (!source)
        return Failure(2, false);
    if (const int e = CopyFileAtomically(*source, working))
        return Failure(TransferErrorCode(e), false);
    observer.Progress(10);
    TransferOutcome out;
    try {
        Attachment attach(main, ReadOnlyUri(working));
        DbTransaction tx(main);
        if (choice.programs) {
            if (main.Scalar("SELECT count(*) FROM xfer.MEPRO").toInt() == 0) {
                out.skipped.push_back(kSkipPrograms);
            } else {
                if (replace) {
                    main.Exec("DELETE FROM main.MEPRO");
                    main.Exec("DELETE FROM main.MEPRDT");
                }
                CopyRows(main, "MEPRO", "xfer", "main");
                CopyRows(main, "MEPRDT", "xfer", "main");
            }
        }
        observer.Progress(40);
        if (choice.records) {
            if (main.Scalar("SELECT count(*) FROM xfer.MECUST").toInt() == 0) {
                out.skipped.push_back(kSkipRecords);
            } else {
                if (replace) {
                    main.Exec("DELETE FROM main.MECUST");
                    main.Exec("DELETE FROM main.MEDATA");
                }
                CopyRows(main, "MECUST", "xfer", "main");
                CopyRows(main, "MEDATA", "xfer", "main");
            }
        }
        tx.Commit();
    } catch (const DbError& e) {
        RemoveWorkingCopy(working);
        return DatabaseFailure(e, false);
    }
    RemoveWorkingCopy(working);
    observer.Progress(100);
    out.ok = true;
    out.message = replace ? kImportReplaced : kImportAppended;
    return out;
}

} // namespace oruk

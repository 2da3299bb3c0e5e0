#include "records/DatabaseStartup.h"

#include "analysis/OleDate.h"
#include "records/FileOps.h"
#include "records/Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <cmath>
#include <cstdio>

namespace oruk {

namespace fs = std::filesystem;

namespace {

// How an old column is carried into the new row.
enum class Kind { Text, Bool, Float, Date };

struct CopyColumn {
    const char* name;
    Kind kind;
    int group = 0; // columns of a group after the first one the old table lacks stay empty
};

QString SourceExpression(const CopyColumn& c) {
    const QString col = QString("old_t.") + c.name;
    switch (c.kind) {
    case Kind::Text:
        return "COALESCE(" + col + ", '')";
    case Kind::Bool:
        return "(COALESCE(" + col + ", 0) <> 0)";
    case Kind::Float:
        return "COALESCE(" + col + ", 0)";
    case Kind::Date:
        // The birthday is a date: any time of day is dropped.
        return "CAST(COALESCE(" + col + ", 0) AS INTEGER)";
    }
    return col;
}

std::vector<CopyColumn> ConversionColumns(const std::string& table) {
    std::vector<CopyColumn> cols;
    if (table == "MECUST") {
        cols = {
            {"CustNo", Kind::Text}, {"Name", Kind::Text},    {"Sex", Kind::Bool},     {"DBirth", Kind::Date},
            {"Addr", Kind::Text},   {"Tel", Kind::Text},     {"Tel2", Kind::Text},    {"Tel3", Kind::Text},
            {"EMail", Kind::Text},  {"BType", Kind::Text},   {"Height", Kind::Float}, {"Weight", Kind::Float},
            {"Memo", Kind::Text},   {"CustCat", Kind::Text}, {"CustFG", Kind::Text},  {"PrtFG", Kind::Bool}};
    } else if (table == "MEDATA") {
        static const char* const kPoints[] = {"ME1",  "ME2",  "ME3",  "ME4",  "ME5",  "ME6",  "ME7",  "ME8",
                                              "ME9",  "ME10", "ME11", "ME12", "ME13", "ME14", "ME15", "ME16",
                                              "ME17", "ME18", "ME19", "ME20", "ME21", "ME22", "ME23", "ME24"};
        cols = {{"CustNo", Kind::Text}, {"MeDate", Kind::Float}, {"MeVota", Kind::Bool},
                {"MEMO1", Kind::Text},  {"MEMO2", Kind::Text},   {"AutoKey", Kind::Text}};
        for (const char* p : kPoints)
            cols.push_back({p, Kind::Float});
        cols.push_back({"PrtFG", Kind::Bool});
        cols.push_back({"STD", Kind::Text, 1});
    } else if (table == "MEPRO") {
        cols = {{"ProNo", Kind::Text},   {"ProName", Kind::Text}, {"ProData", Kind::Text},
                {"ProPict", Kind::Text}, {"ProScal", Kind::Bool}, {"PrtFG", Kind::Bool},
                {"ProFn", Kind::Text, 1}};
        static const char* const kKeys[] = {"ProScrp1", "ProScrp2", "ProScrp3", "ProScrp4",
                                            "ProPrg1",  "ProPrg2",  "ProPrg3",  "ProPrg4",
                                            "ProParm1", "ProParm2", "ProParm3", "ProParm4"};
        for (const char* k : kKeys)
            cols.push_back({k, Kind::Text, 1});
    } else if (table == "MEPRDT") {
        cols = {{"ProNo", Kind::Text},      {"ProSubN", Kind::Text},    {"ProNote", Kind::Text},
                {"ProAnd", Kind::Text},     {"ProCond", Kind::Text},    {"ProEng", Kind::Float},
                {"ProAGL", Kind::Float, 1}, {"ProAGH", Kind::Float, 1}, {"ProFlg", Kind::Bool},
                {"PrtFG", Kind::Bool}};
    }
    return cols;
}

std::string Lower(std::string s) {
    for (auto& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

// Copies one table in batches of rows (old row order kept), reporting progress per batch.
void CopyTable(DbSession& main, const std::string& table, StartupObserver& observer) {
    const QString t = QString::fromStdString(table);
    if (!main.HasTable(t, "old"))
        throw DbError("the old database has no table " + table);
    const auto present = main.Columns(t, "old");
    QStringList targets, sources;
    bool groupBroken = false;
    for (const auto& c : ConversionColumns(table)) {
        if (c.group != 0 && (groupBroken || !present.count(Lower(c.name)))) {
            groupBroken = true; // this column and the rest of its group stay empty
            continue;
        }
        targets << c.name;
        // A missing column outside the guarded groups fails here, as any other database error.
        sources << SourceExpression(c);
    }
    // ProPict is a picture: carried unchanged.
    for (int i = 0; i < sources.size(); ++i)
        if (targets[i] == "ProPict")
            sources[i] = "old_t.ProPict";

    const qint64 total = main.Scalar("SELECT count(*) FROM old." + t).toLongLong() + 1;
    const QString insert = "INSERT INTO main." + t + " (" + targets.join(", ") + ") SELECT " +
                           sources.join(", ") + " FROM old." + t +
                           " AS old_t WHERE old_t.rowid > ? AND old_t.rowid <= ? ORDER BY old_t.rowid";
    constexpr int kBatch = 2000;
    qint64 last = std::numeric_limits<qint64>::min();
    qint64 count = 0;
    observer.Progress(0);
    for (;;) {
        QSqlQuery upper = main.Exec("SELECT max(r), count(*) FROM (SELECT rowid AS r FROM old." + t +
                                        " WHERE rowid > ? ORDER BY rowid LIMIT ?)",
                                    {last, kBatch});
        upper.next();
        const qint64 n = upper.value(1).toLongLong();
        if (n == 0)
            break;
        const qint64 high = upper.value(0).toLongLong();
        upper.finish();
        main.Exec(insert, {last, high});
        last = high;
        count += n;
        observer.Progress(
            static_cast<int>(std::lround(100.0 * static_cast<double>(count) / static_cast<double>(total))));
        observer.ProcessEvents();
    }
}

std::string BackupName(double today) {
    const CivilDateTime d = FromOleDate(today);
    char name[32];
    std::snprintf(name, sizeof name, "oruk_%04d%02d%02d_BAK.mdb", d.year, d.month, d.day);
    return name;
}

std::unique_ptr<DbSession> OpenConnection(const fs::path& workDir, const char* name, DbMode mode) {
    const auto file = FindFileNoCase(workDir, name);
    return std::make_unique<DbSession>(file ? *file : workDir / name, mode);
}

void Shuffle(const fs::path& workDir) {
    // A failing move is ignored: the files stay as they are.
    if (FileExistsNoCase(workDir, dbfiles::Fresh)) {
        if (FileExistsNoCase(workDir, dbfiles::Main))
            MoveNoReplace(workDir, dbfiles::Main, dbfiles::Old);
        else if (FileExistsNoCase(workDir, dbfiles::Previous))
            MoveNoReplace(workDir, dbfiles::Previous, dbfiles::Old);
        MoveNoReplace(workDir, dbfiles::Fresh, dbfiles::Main);
    } else if (FileExistsNoCase(workDir, dbfiles::Previous)) {
        MoveNoReplace(workDir, dbfiles::Previous, dbfiles::Old);
    }
}

bool UpgradeSourceWaiting(const fs::path& workDir) {
    return FileExistsNoCase(workDir, dbfiles::Previous) ||
           (FileExistsNoCase(workDir, dbfiles::Fresh) && FileExistsNoCase(workDir, dbfiles::Main));
}

} // namespace

void RecomputeLatestMeasurementDates(DbSession& main) {
    main.Exec("UPDATE MECUST SET PREMEA = COALESCE((SELECT max(MEDATE) FROM MEDATA "
              "WHERE MEDATA.CUSTNO = trim(MECUST.CUSTNO)), 0)");
}

bool AlreadyConverted(DbSession& main, const fs::path& oldFile) {
    if (!main.HasTable("OrukConversions"))
        return false;
    return main.Scalar("SELECT count(*) FROM OrukConversions WHERE Source = ?", {ConversionSourceId(oldFile)})
               .toInt() > 0;
}

QString ConversionSourceId(const fs::path& oldFile) {
    QFile file(QString::fromStdString(oldFile.string()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        throw DbError("cannot read " + oldFile.string());
    return QString::fromLatin1(hash.result().toHex());
}

void ConvertOldDatabase(DbSession& main, const fs::path& oldFile, StartupObserver& observer) {
    const QString source = ConversionSourceId(oldFile);
    main.Exec("ATTACH DATABASE ? AS old", {QString::fromStdString(ReadOnlyUri(oldFile))});
    try {
        DbTransaction tx(main);
        // The converted file is recorded with the copy, so a start that stops between the commit
        // and the backup rename finds it converted and only renames it.
        main.Exec("CREATE TABLE IF NOT EXISTS OrukConversions (Source TEXT PRIMARY KEY, ConvertedAt REAL)");
        main.Exec("INSERT OR REPLACE INTO OrukConversions (Source, ConvertedAt) VALUES (?, ?)",
                  {source, OleNow()});
        int lamp = 3;
        for (const char* table : {"MECUST", "MEDATA", "MEPRO", "MEPRDT"}) {
            observer.Lamp(lamp, LampState::Lit);
            CopyTable(main, table, observer);
            observer.Lamp(lamp, LampState::Done);
            ++lamp;
        }
        observer.Lamp(7, LampState::Lit);
        RecomputeLatestMeasurementDates(main);
        tx.Commit();
    } catch (...) {
        try {
            main.Exec("DETACH DATABASE old");
        } catch (const DbError&) {
        }
        throw;
    }
    main.Exec("DETACH DATABASE old");
}

StartupResult RunDatabaseStartup(const fs::path& workDir, StartupObserver& observer) {
    return RunDatabaseStartup(workDir, observer, OleNow());
}

StartupResult RunDatabaseStartup(const fs::path& workDir, StartupObserver& observer, double today) {
    StartupResult result;
    observer.Lamp(1, LampState::Lit);
    for (int lamp = 2; lamp <= 7; ++lamp)
        observer.Lamp(lamp, LampState::Unlit);

    bool mayConvert = true;
    if (!FileExistsNoCase(workDir, dbfiles::Template)) {
        observer.Message(6, kMsgNotInstalled);
        mayConvert = false;
    }
    bool failed = !mayConvert;

    // An old database waiting beside an upgrade source: the waiting one is converted first, then
    // the shuffle runs again so the upgrade source is converted in the same start, instead of
    // staying behind until the next one.
    for (int pass = 0; pass < 3; ++pass) {
        result.connections = {};
        Shuffle(workDir);
        if (!FileExistsNoCase(workDir, dbfiles::Main)) {
            // A journal without its database would be played back into the new copy.
            RemoveFileForce(JournalOf(workDir / dbfiles::Main));
            if (const auto tmpl = FindFileNoCase(workDir, dbfiles::Template))
                CopyFileAtomically(*tmpl, workDir / dbfiles::Main);
        }
        if (pass == 0) {
            observer.Lamp(1, LampState::Done);
            observer.Lamp(2, LampState::Lit);
        }
        try {
            result.connections.main = OpenConnection(workDir, dbfiles::Main, DbMode::ReadWrite);
            result.connections.texts = OpenConnection(workDir, dbfiles::Texts, DbMode::ReadOnly);
            result.connections.programs = OpenConnection(workDir, dbfiles::Programs, DbMode::ReadOnly);
        } catch (const DbError&) {
            result.connections = {};
            // Shown after the missing-template notice as well: it names a different failure.
            observer.Message(6, kMsgStartError);
            failed = true;
            mayConvert = false;
        }
        if (pass == 0)
            observer.Lamp(2, LampState::Done);

        const auto oldFile = FindFileNoCase(workDir, dbfiles::Old);
        if (!mayConvert || !oldFile)
            break;
        const bool moreWaiting = UpgradeSourceWaiting(workDir);

        observer.Lamp(3, LampState::Lit);
        observer.LabelText(kConvertLabel);
        observer.StatusText(kStatusConverting);
        observer.ProcessEvents();
        QString sourceId;
        try {
            // A write the old database's program was stopped in is rolled back first, as any
            // opening would; the read-only conversion cannot do it.
            if (fs::exists(JournalOf(*oldFile)))
                DbSession(*oldFile, DbMode::ReadWrite).Close();
            sourceId = ConversionSourceId(*oldFile);
            if (!AlreadyConverted(*result.connections.main, *oldFile))
                ConvertOldDatabase(*result.connections.main, *oldFile, observer);
        } catch (const DbError& e) {
            result.conversionError = e.what();
            observer.Message(6, std::string(kMsgConversionFailed) + e.what());
            break;
        }
        const fs::path backup = workDir / BackupName(today);
        RemoveFileForce(backup);
        std::error_code ec;
        fs::rename(*oldFile, backup, ec);
        if (!ec) {
            result.converted.push_back(backup);
            // The record only bridges a stop between the commit and the rename. Once the file is
            // the backup it goes, so the same file brought back later (a backup restored as
            // "oruk.mdb") is converted again instead of being silently skipped.
            try {
                result.connections.main->Exec("DELETE FROM OrukConversions WHERE Source = ?", {sourceId});
            } catch (const DbError&) {
            }
        }
        observer.Progress(100);
        observer.Lamp(7, LampState::Done);
        if (ec || !moreWaiting)
            break;
    }
    result.ok = !failed;
    if (failed)
        result.connections = {};
    return result;
}

} // namespace oruk

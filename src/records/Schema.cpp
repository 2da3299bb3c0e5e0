#include "records/Schema.h"

namespace oruk {

namespace {

QString PointColumns() {
    QString cols;
    for (int i = 1; i <= 24; ++i)
        cols += QString(", ME%1 REAL DEFAULT 0").arg(i);
    return cols;
}

QString ProgramColumns() {
    QString cols =
        "MKEY INTEGER PRIMARY KEY AUTOINCREMENT, ProNo TEXT COLLATE NOCASE DEFAULT '', "
        "ProName TEXT DEFAULT '', ProData TEXT DEFAULT '', ProPict BLOB, ProScal INTEGER DEFAULT 0, "
        "PrtFG INTEGER DEFAULT 0, ProFN TEXT DEFAULT ''";
    for (const char* group : {"ProScrp", "ProPrg", "ProParm"})
        for (int k = 1; k <= 4; ++k)
            cols += QString(", %1%2 TEXT DEFAULT ''").arg(group).arg(k);
    cols += ", ProGrp TEXT DEFAULT ''";
    return cols;
}

const char* kConditionTable = "CREATE TABLE MEPRDT (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, "
                              "ProNo TEXT COLLATE NOCASE DEFAULT '', ProSubN TEXT DEFAULT '', "
                              "ProNote TEXT DEFAULT '', ProCond TEXT DEFAULT '', ProAnd TEXT DEFAULT '', "
                              "ProAGL INTEGER DEFAULT 0, ProAGH INTEGER DEFAULT 0, ProEng REAL DEFAULT 0, "
                              "ProFlg INTEGER DEFAULT 0, PrtFG INTEGER DEFAULT 0)";

} // namespace

void CreateMainTables(DbSession& db) {
    // Text columns that lists sort and search by compare without letter case, so the number
    // search, the duplicate checks and the sort orders all agree.
    db.Exec(
        "CREATE TABLE MECUST (CUSTNO TEXT COLLATE NOCASE DEFAULT '', NAME TEXT COLLATE NOCASE DEFAULT '', "
        "SEX INTEGER DEFAULT 0, DBIRTH REAL DEFAULT 0, ADDR TEXT COLLATE NOCASE DEFAULT '', "
        "TEL TEXT COLLATE NOCASE DEFAULT '', TEL2 TEXT COLLATE NOCASE DEFAULT '', "
        "TEL3 TEXT COLLATE NOCASE DEFAULT '', EMAIL TEXT COLLATE NOCASE DEFAULT '', MEMO TEXT DEFAULT '', "
        "PREMEA REAL DEFAULT 0, BType TEXT DEFAULT '', Height REAL DEFAULT 0, Weight REAL DEFAULT 0, "
        "CustCat TEXT DEFAULT '', CustFG TEXT DEFAULT '', PrtFG INTEGER DEFAULT 0)");
    // One index per sort field: the first screen of any sort order is read from an index.
    for (const char* col :
         {"CUSTNO", "NAME", "SEX", "DBIRTH", "PREMEA", "TEL", "ADDR", "EMAIL", "TEL2", "TEL3"})
        db.Exec(QString("CREATE INDEX MeCust_%1 ON MECUST(%1)").arg(col));
    db.Exec(
        "CREATE TABLE MEDATA (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, CUSTNO TEXT COLLATE NOCASE DEFAULT '', "
        "MEDATE REAL DEFAULT 0, MEVOTA INTEGER DEFAULT 0" +
        PointColumns() +
        ", STD TEXT DEFAULT '', MEMO1 TEXT DEFAULT '', MEMO2 TEXT DEFAULT '', AutoKey TEXT DEFAULT '', "
        "PrtFG INTEGER DEFAULT 0)");
    db.Exec("CREATE INDEX MeData_CustDate ON MEDATA(CUSTNO, MEDATE)");
    db.Exec("CREATE TABLE MEPRO (" + ProgramColumns() + ")");
    db.Exec("CREATE INDEX MeProB ON MEPRO(ProNo)");
    db.Exec(kConditionTable);
    db.Exec("CREATE INDEX MePrDt_ProNo ON MEPRDT(ProNo)");
    db.Exec(
        "CREATE TABLE MEProGP (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, ProGrp TEXT DEFAULT '', "
        "ProName TEXT DEFAULT '', ProAss1 TEXT DEFAULT '', ProAss2 TEXT DEFAULT '', ProDsc TEXT DEFAULT '', "
        "ProFG1 INTEGER DEFAULT 0)");
    db.Exec("CREATE INDEX ProGrp ON MEProGP(ProGrp)");
}

void CreateTextTables(DbSession& db) {
    QString cols = "MKEY INTEGER PRIMARY KEY";
    for (int i = 1; i <= 5; ++i)
        cols += QString(", DtEA%1 TEXT DEFAULT ''").arg(i);
    for (int i = 1; i <= 3; ++i)
        cols += QString(", DtPot%1 TEXT DEFAULT ''").arg(i);
    for (int i = 1; i <= 3; ++i)
        cols += QString(", DtMA%1 TEXT DEFAULT ''").arg(i);
    for (const char* g : {"DtMH", "DtML"})
        for (int i = 1; i <= 5; ++i)
            cols += QString(", %1%2 TEXT DEFAULT ''").arg(g).arg(i);
    cols += ", DtGpM BLOB";
    db.Exec("CREATE TABLE MEMTDB (" + cols + ")");
}

void CreateReferenceProgramTables(DbSession& db) {
    QString cols = ProgramColumns();
    for (int i = 1; i <= 3; ++i)
        cols += QString(", ProMed%1 TEXT DEFAULT ''").arg(i);
    for (int i = 1; i <= 5; ++i)
        cols += QString(", ProHel%1 TEXT DEFAULT ''").arg(i);
    db.Exec("CREATE TABLE MEPRO (" + cols + ")");
    db.Exec("CREATE INDEX MeProB ON MEPRO(ProNo)");
    db.Exec(kConditionTable);
    db.Exec("CREATE INDEX MePrDt_ProNo ON MEPRDT(ProNo)");
}

void CreateTemplateFile(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    DbSession db(file, DbMode::Create);
    DbTransaction tx(db);
    CreateMainTables(db);
    tx.Commit();
}

QStringList MedataValueColumns() {
    QStringList cols;
    for (int i = 1; i <= 24; ++i)
        cols << QString("ME%1").arg(i);
    return cols;
}

} // namespace oruk

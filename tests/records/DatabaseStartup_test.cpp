#include "RecordsFixture.h"
#include "analysis/OleDate.h"
#include "records/DatabaseStartup.h"

#include <stdexcept>

namespace oruk::test {
namespace {

namespace fs = std::filesystem;

struct Recorder : StartupObserver {
    std::vector<std::string> messages;
    std::vector<std::pair<int, LampState>> lamps;
    int progressCalls = 0;
    int throwAtProgress = -1; // simulates the program being killed mid-conversion
    void Lamp(int n, LampState s) override { lamps.emplace_back(n, s); }
    void Message(int, const std::string& text) override { messages.push_back(text); }
    void Progress(int) override {
        if (++progressCalls == throwAtProgress)
            throw std::runtime_error("interrupted");
    }
};

struct OldLayout {
    bool std = true;       // MEDATA.STD
    bool keys = true;      // MEPRO function-key columns
    bool ageLimits = true; // MEPRDT.ProAGL/ProAGH
};

// An old-generation database: subjects A1 (two measurements), B2 (none), and one program with
// one condition. Measurement dates are 46000.25 and 46001.5; A1's birthday carries a time of day.
void MakeOldDatabase(const fs::path& file, const OldLayout& layout, const std::string& prefix = "") {
    DbSession db(file, DbMode::Create);
    db.Exec(
        "CREATE TABLE MeCust (CustNo TEXT, Name TEXT, Sex INTEGER, DBirth REAL, Addr TEXT, Tel TEXT, Tel2 "
        "TEXT, "
        "Tel3 TEXT, EMail TEXT, BType TEXT, Height REAL, Weight REAL, Memo TEXT, CustCat TEXT, CustFG TEXT, "
        "PrtFG INTEGER, PREMEA REAL)");
    QString data = "CREATE TABLE MeData (MKEY INTEGER PRIMARY KEY, CustNo TEXT, MeDate REAL, MeVota INTEGER, "
                   "MEMO1 TEXT, MEMO2 TEXT, AutoKey TEXT, PrtFG INTEGER";
    for (int i = 1; i <= 24; ++i)
        data += QString(", ME%1 REAL").arg(i);
    db.Exec(data + (layout.std ? ", STD TEXT)" : ")"));
    db.Exec(
        QString("CREATE TABLE MePro (ProNo TEXT, ProName TEXT, ProData TEXT, ProPict BLOB, ProScal INTEGER, "
                "PrtFG INTEGER%1)")
            .arg(layout.keys ? ", ProFn TEXT, ProScrp1 TEXT, ProScrp2 TEXT, ProScrp3 TEXT, ProScrp4 TEXT, "
                               "ProPrg1 TEXT, ProPrg2 TEXT, ProPrg3 TEXT, ProPrg4 TEXT, ProParm1 TEXT, "
                               "ProParm2 TEXT, ProParm3 TEXT, ProParm4 TEXT"
                             : ""));
    db.Exec(QString("CREATE TABLE MePrDt (ProNo TEXT, ProSubN TEXT, ProNote TEXT, ProAnd TEXT, ProCond TEXT, "
                    "ProEng REAL, ProFlg INTEGER, PrtFG INTEGER%1)")
                .arg(layout.ageLimits ? ", ProAGL INTEGER, ProAGH INTEGER" : ""));
    const QString p = QString::fromStdString(prefix);
    db.Exec("INSERT INTO MeCust (CustNo, Name, Sex, DBirth, PREMEA) VALUES (?, 'Alice', 0, 30000.75, 5), "
            "(?, 'Bob', 1, NULL, 7)",
            {p + "A1", p + "B2"});
    for (double date : {46000.25, 46001.5}) {
        db.Exec(layout.std
                    ? "INSERT INTO MeData (CustNo, MeDate, MeVota, ME1, STD) VALUES (?, ?, 1, 55.5, '  5.0')"
                    : "INSERT INTO MeData (CustNo, MeDate, MeVota, ME1) VALUES (?, ?, 1, 55.5)",
                {p + "A1", date});
    }
    db.Exec(
        layout.keys
            ? "INSERT INTO MePro (ProNo, ProName, ProScal, ProFn, ProPrg1) VALUES (?, 'Calm', 1, '1000', 'x')"
            : "INSERT INTO MePro (ProNo, ProName, ProScal) VALUES (?, 'Calm', 1)",
        {p + "P1"});
    db.Exec(layout.ageLimits
                ? "INSERT INTO MePrDt (ProNo, ProSubN, ProCond, ProEng, ProFlg, ProAGL, ProAGH) VALUES (?, "
                  "'c', '1', 30, 1, 20, 60)"
                : "INSERT INTO MePrDt (ProNo, ProSubN, ProCond, ProEng, ProFlg) VALUES (?, 'c', '1', 30, 1)",
            {p + "P1"});
}

constexpr double kToday = 46367.5; // 2026-12-11 midday
const char* kBackup = "oruk_20261211_BAK.mdb";

int Count(DbSession& db, const char* table) {
    return db.Scalar(QString("SELECT count(*) FROM ") + table).toInt();
}

using DatabaseStartupTest = TempDirTest;

TEST_F(DatabaseStartupTest, FreshInstallationTakesTheInstalledEmptyDatabase) {
    InstallBase();
    CreateTemplateFile(dir / dbfiles::Fresh);
    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(obs.messages.empty());
    EXPECT_TRUE(Exists("oruk6.mdb"));
    EXPECT_FALSE(Exists("oruk_60.mdb"));
    EXPECT_FALSE(Exists("oruk.mdb"));
    EXPECT_TRUE(result.converted.empty());
    ASSERT_TRUE(result.connections.main && result.connections.texts && result.connections.programs);
    EXPECT_EQ(Count(*result.connections.main, "MECUST"), 0);
    // Lamps 1 and 2 end green; the conversion lamps stay unlit.
    EXPECT_EQ(obs.lamps.front(), std::make_pair(1, LampState::Lit));
    EXPECT_NE(std::find(obs.lamps.begin(), obs.lamps.end(), std::make_pair(2, LampState::Done)),
              obs.lamps.end());
    EXPECT_EQ(std::find(obs.lamps.begin(), obs.lamps.end(), std::make_pair(3, LampState::Lit)),
              obs.lamps.end());
}

TEST_F(DatabaseStartupTest, MissingFilesEndTheStartWithTheirMessage) {
    {
        Recorder obs; // nothing installed
        const auto result = RunDatabaseStartup(dir, obs, kToday);
        EXPECT_FALSE(result.ok);
        // No template and so no main database: both notices, in the order of the steps.
        EXPECT_EQ(obs.messages, (std::vector<std::string>{kMsgNotInstalled, kMsgStartError}));
        EXPECT_FALSE(result.connections.main);
    }
    {
        CreateTemplateFile(dir / dbfiles::Template); // no reference databases
        MakeOldDatabase(dir / "oruk4.mdb", {});
        Recorder obs;
        const auto result = RunDatabaseStartup(dir, obs, kToday);
        EXPECT_FALSE(result.ok);
        ASSERT_EQ(obs.messages.size(), 1u);
        EXPECT_EQ(obs.messages.front(), kMsgStartError);
        EXPECT_TRUE(Exists("oruk6.mdb")); // the template copy happens before the connections
        EXPECT_TRUE(Exists("oruk.mdb"));  // but no conversion runs
        EXPECT_FALSE(Exists(kBackup));
    }
}

TEST_F(DatabaseStartupTest, UpgradeConvertsTheOldMainDatabase) {
    InstallBase();
    CreateTemplateFile(dir / dbfiles::Fresh);
    MakeOldDatabase(dir / "oruk6.mdb", {});
    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    ASSERT_TRUE(result.ok) << result.conversionError;
    EXPECT_FALSE(Exists("oruk.mdb"));
    EXPECT_FALSE(Exists("oruk_60.mdb"));
    EXPECT_TRUE(Exists(kBackup));
    ASSERT_EQ(result.converted.size(), 1u);
    DbSession& db = *result.connections.main;
    EXPECT_EQ(Count(db, "MECUST"), 2);
    EXPECT_EQ(Count(db, "MEDATA"), 2);
    EXPECT_EQ(Count(db, "MEPRO"), 1);
    EXPECT_EQ(Count(db, "MEPRDT"), 1);
    // Latest measurement recomputed; a subject without measurements gets 0.
    EXPECT_DOUBLE_EQ(db.Scalar("SELECT PREMEA FROM MECUST WHERE CUSTNO='A1'").toDouble(), 46001.5);
    EXPECT_DOUBLE_EQ(db.Scalar("SELECT PREMEA FROM MECUST WHERE CUSTNO='B2'").toDouble(), 0.0);
    // The birthday loses its time of day; a missing one becomes 0.
    EXPECT_DOUBLE_EQ(db.Scalar("SELECT DBIRTH FROM MECUST WHERE CUSTNO='A1'").toDouble(), 30000.0);
    EXPECT_DOUBLE_EQ(db.Scalar("SELECT DBIRTH FROM MECUST WHERE CUSTNO='B2'").toDouble(), 0.0);
    EXPECT_EQ(db.Scalar("SELECT STD FROM MEDATA LIMIT 1").toString(), "  5.0");
    EXPECT_EQ(db.Scalar("SELECT ProFN || ProPrg1 FROM MEPRO").toString(), "1000x");
    EXPECT_EQ(db.Scalar("SELECT ProAGL || '-' || ProAGH FROM MEPRDT").toString(), "20-60");
    EXPECT_EQ(obs.lamps.back(), std::make_pair(7, LampState::Done));
}

TEST_F(DatabaseStartupTest, OnlyThePreviousGenerationIsConvertedIntoATemplateCopy) {
    InstallBase();
    MakeOldDatabase(dir / "oruk4.mdb", {});
    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(Exists("oruk4.mdb"));
    EXPECT_TRUE(Exists(kBackup));
    EXPECT_EQ(Count(*result.connections.main, "MEDATA"), 2);
}

TEST_F(DatabaseStartupTest, OlderLayoutsLeaveTheMissingColumnsEmpty) {
    InstallBase();
    MakeOldDatabase(dir / "oruk4.mdb", {false, false, false});
    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    ASSERT_TRUE(result.ok) << result.conversionError;
    DbSession& db = *result.connections.main;
    EXPECT_EQ(Count(db, "MEDATA"), 2);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM MEDATA WHERE STD = ''").toInt(), 2);
    EXPECT_EQ(db.Scalar("SELECT ProFN || ProPrg1 FROM MEPRO").toString(), "");
    EXPECT_EQ(db.Scalar("SELECT ProAGL + ProAGH FROM MEPRDT").toInt(), 0);
    EXPECT_DOUBLE_EQ(db.Scalar("SELECT ProEng FROM MEPRDT").toDouble(), 30.0);
}

TEST_F(DatabaseStartupTest, ASecondConversionOnTheSameDayReplacesTheBackup) {
    InstallBase();
    MakeOldDatabase(dir / "oruk4.mdb", {}, "first-");
    {
        Recorder obs;
        ASSERT_TRUE(RunDatabaseStartup(dir, obs, kToday).ok);
    }
    MakeOldDatabase(dir / "oruk4.mdb", {}, "second-");
    Recorder obs;
    auto result = RunDatabaseStartup(dir, obs, kToday);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Count(*result.connections.main, "MECUST"), 4);
    result.connections = {};
    DbSession backup(dir / kBackup, DbMode::ReadOnly);
    EXPECT_EQ(backup.Scalar("SELECT min(CustNo) FROM MeCust").toString(), "second-A1");
}

TEST_F(DatabaseStartupTest, AnInterruptedConversionLeavesEverythingToConvertAgain) {
    InstallBase();
    MakeOldDatabase(dir / "oruk4.mdb", {});
    Recorder crash;
    crash.throwAtProgress = 4; // during the measurements
    EXPECT_THROW(RunDatabaseStartup(dir, crash, kToday), std::runtime_error);
    EXPECT_TRUE(Exists("oruk.mdb"));
    EXPECT_FALSE(Exists(kBackup));
    {
        DbSession main(dir / "oruk6.mdb", DbMode::ReadOnly);
        EXPECT_EQ(Count(main, "MECUST"), 0);
    }
    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Count(*result.connections.main, "MECUST"), 2);
    EXPECT_EQ(Count(*result.connections.main, "MEDATA"), 2);
    EXPECT_FALSE(Exists("oruk.mdb"));
}

TEST_F(DatabaseStartupTest, AStartStoppedBeforeTheBackupRenameDoesNotConvertTwice) {
    InstallBase();
    CreateTemplateFile(dir / "oruk6.mdb");
    MakeOldDatabase(dir / "oruk.mdb", {});
    {
        // The copy committed, then the program stopped before renaming the old file.
        DbSession main(dir / "oruk6.mdb", DbMode::ReadWrite);
        Recorder quiet;
        ConvertOldDatabase(main, dir / "oruk.mdb", quiet);
    }
    {
        Recorder obs;
        const auto result = RunDatabaseStartup(dir, obs, kToday);
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(Count(*result.connections.main, "MECUST"), 2);
        EXPECT_EQ(Count(*result.connections.main, "MEDATA"), 2);
        EXPECT_FALSE(Exists("oruk.mdb"));
        EXPECT_TRUE(Exists(kBackup));
    }
    // The backup brought back as the old database later is converted again, not skipped.
    fs::copy_file(dir / kBackup, dir / "oruk.mdb");
    Recorder again;
    const auto result = RunDatabaseStartup(dir, again, kToday + 1);
    ASSERT_TRUE(result.ok) << result.conversionError;
    EXPECT_EQ(Count(*result.connections.main, "MECUST"), 4);
    EXPECT_FALSE(Exists("oruk.mdb"));
}

TEST_F(DatabaseStartupTest, AJournalLeftBesideTheOldMainDatabaseStaysWithIt) {
    // The program was stopped while writing to oruk6.mdb: its rollback journal is still there
    // when an upgrade brings a fresh oruk_60.mdb.
    InstallBase();
    CreateTemplateFile(dir / "oruk_60.mdb");
    CreateTemplateFile(dir / "oruk6.mdb");
    {
        DbSession db(dir / "oruk6.mdb", DbMode::ReadWrite);
        for (int i = 0; i < 5; ++i)
            db.Exec("INSERT INTO MECUST (CUSTNO) VALUES (?)", {QString("K%1").arg(i)});
        db.Exec("PRAGMA synchronous=OFF");
        db.Exec("BEGIN");
        db.Exec("DELETE FROM MECUST");
        fs::copy_file(dir / "oruk6.mdb-journal", dir / "stopped-journal");
        db.Exec("ROLLBACK");
    }
    fs::rename(dir / "stopped-journal", dir / "oruk6.mdb-journal");

    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.conversionError.empty()) << result.conversionError;
    EXPECT_EQ(result.connections.main->Scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(Count(*result.connections.main, "MECUST"), 5); // converted once, no foreign pages
    EXPECT_TRUE(Exists(kBackup));
    EXPECT_FALSE(Exists("oruk.mdb-journal"));
    EXPECT_FALSE(Exists("oruk6.mdb-journal"));
}

TEST_F(DatabaseStartupTest, AnOrphanJournalUnderTheOldNameIsNotPlayedIntoTheMovedFile) {
    InstallBase();
    MakeOldDatabase(dir / "oruk4.mdb", {});
    {
        // A journal of some other database, left under the name "oruk.mdb-journal".
        CreateTemplateFile(dir / "other.mdb");
        DbSession db(dir / "other.mdb", DbMode::ReadWrite);
        for (int i = 0; i < 5; ++i)
            db.Exec("INSERT INTO MECUST (CUSTNO) VALUES (?)", {QString("K%1").arg(i)});
        db.Exec("PRAGMA synchronous=OFF");
        db.Exec("BEGIN");
        db.Exec("DELETE FROM MECUST");
        fs::copy_file(dir / "other.mdb-journal", dir / "oruk.mdb-journal");
        db.Exec("ROLLBACK");
    }
    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.conversionError.empty()) << result.conversionError;
    EXPECT_EQ(Count(*result.connections.main, "MECUST"), 2);
    EXPECT_EQ(result.connections.main->Scalar("SELECT min(CUSTNO) FROM MECUST").toString(), "A1");
    EXPECT_FALSE(Exists("oruk.mdb-journal"));
}

TEST_F(DatabaseStartupTest, AnUnreadableOldDatabaseIsReportedAndKept) {
    InstallBase();
    {
        DbSession old(dir / "oruk.mdb", DbMode::Create);
        old.Exec("CREATE TABLE MeCust (CustNo TEXT)"); // far too old: the other columns are missing
        old.Exec("INSERT INTO MeCust VALUES ('X')");
    }
    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.conversionError.empty());
    ASSERT_EQ(obs.messages.size(), 1u);
    EXPECT_EQ(obs.messages.front().rfind(kMsgConversionFailed, 0), 0u);
    EXPECT_TRUE(Exists("oruk.mdb"));
    EXPECT_EQ(Count(*result.connections.main, "MECUST"), 0);
}

TEST_F(DatabaseStartupTest, AWaitingOldDatabaseAndAnUpgradeSourceAreBothConverted) {
    InstallBase();
    MakeOldDatabase(dir / "ORUK.mdb", {}, "waiting-"); // any letter case names the same file
    MakeOldDatabase(dir / "oruk4.mdb", {}, "previous-");
    Recorder obs;
    const auto result = RunDatabaseStartup(dir, obs, kToday);
    ASSERT_TRUE(result.ok) << result.conversionError;
    EXPECT_EQ(result.converted.size(), 2u);
    EXPECT_FALSE(Exists("oruk4.mdb"));
    EXPECT_FALSE(Exists("ORUK.mdb"));
    EXPECT_EQ(Count(*result.connections.main, "MECUST"), 4);
}

} // namespace
} // namespace oruk::test

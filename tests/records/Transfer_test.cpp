#include "RecordsFixture.h"
#include "records/Records.h"
#include "records/Transfer.h"

#include <cerrno>
#include <tuple>

namespace oruk::test {
namespace {

namespace fs = std::filesystem;

class TransferTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        for (const char* sub : {"a", "b", "usb"})
            fs::create_directories(dir / sub);
        for (const char* sub : {"a", "b"}) {
            CreateTemplateFile(dir / sub / dbfiles::Template);
            CreateTemplateFile(dir / sub / dbfiles::Main);
        }
        a.Open(dir / "a" / dbfiles::Main, DbMode::ReadWrite);
        b.Open(dir / "b" / dbfiles::Main, DbMode::ReadWrite);
    }
    void TearDown() override {
        a.Close();
        b.Close();
        TempDirTest::TearDown();
    }
    // Two subjects with three measurements, two programs with three conditions.
    void Fill(DbSession& db) {
        Records r(db);
        Subject s;
        s.CustNo = "T1";
        s.Name = "Tsai";
        s.Birth = 25000;
        s.Memo = "note";
        r.AddSubject(s);
        s.CustNo = "T2";
        r.AddSubject(s);
        MeasurementRecord m;
        m.Values.fill(42.5);
        m.Std[1] = 12.3;
        m.Memo = {"a", "b"};
        for (double d : {46000.125, 46001.5})
            m.MeDate = d, r.SaveMeasurement("T1", m);
        m.MeDate = 46002;
        r.SaveMeasurement("T2", m);
        db.Exec(
            "INSERT INTO MEPRO (ProNo, ProName, ProFN, ProPict) VALUES ('P1', 'One', '1100', x'89504E47'), "
            "('P2', 'Two', '', NULL)");
        db.Exec("INSERT INTO MEPRDT (ProNo, ProSubN, ProCond, ProAnd, ProAGL, ProAGH, ProFlg) VALUES "
                "('P1', 'c1', '1', '1', 20, 60, 1), ('P1', 'c2', '2', '0', 0, 0, 0), ('P2', 'c3', '3', '0', "
                "0, 0, 0)");
    }
    // Files an operation left in a working directory besides its template and main database.
    std::vector<std::string> Leftovers(const fs::path& workDir) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(workDir)) {
            const std::string n = e.path().filename().string();
            if (n != dbfiles::Template && n != dbfiles::Main && n != dbfiles::Transfer)
                names.push_back(n);
        }
        return names;
    }
    int Count(DbSession& db, const char* table) {
        return db.Scalar(QString("SELECT count(*) FROM ") + table).toInt();
    }

    DbSession a, b;
    TransferObserver observer;
};

TEST(TransferErrors, SystemErrorsMapOntoTheMessageTable) {
    const std::tuple<int, int, const char*> cases[] = {
        {ENOENT, 2, "來源的檔案資料不存在 !!"},
        {EACCES, 5, "磁片或檔案是唯讀格式 !!"},
        {EROFS, 19, "磁碟片防寫 !!"},
        {ENOMEDIUM, 21, "磁碟機尚未準備妥當，或沒有磁片 !!"},
        {EIO, 30, "無法讀取指定裝置，或磁碟格式化錯誤 !!"},
        {ENOSPC, 112, "磁碟容量不足 !!"},
    };
    for (const auto& [err, code, text] : cases) {
        EXPECT_EQ(TransferErrorCode(err), code) << err;
        EXPECT_EQ(TransferErrorText(code, true), text);
    }
    EXPECT_EQ(TransferErrorText(77, true), "資料匯出錯誤 !! ErrorCode[77]，");
    EXPECT_EQ(TransferErrorText(77, false), "資料匯入錯誤 !! ErrorCode[77]，");
}

TEST_F(TransferTest, RoundTripAppendsAndReplaces) {
    Fill(a);
    const auto out = ExportTransfer(a, dir / "a", dir / "usb", {true, true}, observer);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_EQ(out.message, kExportOk);
    EXPECT_TRUE(TransferFileAvailable(dir / "usb"));
    EXPECT_FALSE(fs::exists(dir / "a" / dbfiles::Transfer)); // the working copy is gone
    EXPECT_TRUE(Leftovers(dir / "a").empty());

    auto in = ImportTransfer(b, dir / "b", dir / "usb", {true, true}, false, observer);
    ASSERT_TRUE(in.ok) << in.message;
    EXPECT_EQ(in.message, kImportAppended);
    in = ImportTransfer(b, dir / "b", dir / "usb", {true, true}, false, observer);
    ASSERT_TRUE(in.ok);
    EXPECT_EQ(Count(b, "MECUST"), 4); // no duplicate check when appending
    EXPECT_EQ(Count(b, "MEDATA"), 6);
    EXPECT_EQ(Count(b, "MEPRDT"), 6);

    in = ImportTransfer(b, dir / "b", dir / "usb", {true, true}, true, observer);
    ASSERT_TRUE(in.ok);
    EXPECT_EQ(in.message, kImportReplaced);
    EXPECT_EQ(Count(b, "MECUST"), 2);
    EXPECT_EQ(Count(b, "MEDATA"), 3);
    EXPECT_EQ(Count(b, "MEPRO"), 2);
    EXPECT_EQ(Count(b, "MEPRDT"), 3);

    // Every carried value arrives unchanged.
    Records ra(a), rb(b);
    const auto sa = *ra.FindSubject("T1"), sb = *rb.FindSubject("T1");
    EXPECT_EQ(sb.Name, sa.Name);
    EXPECT_EQ(sb.Memo, "note");
    EXPECT_DOUBLE_EQ(sb.Birth, 25000);
    EXPECT_DOUBLE_EQ(sb.Premea, 46001.5);
    const auto ma = ra.MeasurementsOf("T1"), mb = rb.MeasurementsOf("T1");
    ASSERT_EQ(mb.size(), 2u);
    EXPECT_DOUBLE_EQ(mb[1].MeDate, 46000.125);
    EXPECT_EQ(mb[0].Values, ma[0].Values);
    EXPECT_EQ(mb[0].Std, ma[0].Std);
    EXPECT_EQ(mb[0].Memo1, ma[0].Memo1);
    EXPECT_EQ(b.Scalar("SELECT hex(ProPict) || ProFN FROM MEPRO WHERE ProNo = 'P1'").toString(),
              "89504E471100");
    EXPECT_EQ(b.Scalar("SELECT ProAGL || '-' || ProAGH || '-' || ProFlg FROM MEPRDT WHERE ProSubN = 'c1'")
                  .toString(),
              "20-60-1");
}

TEST_F(TransferTest, ChosenSetsOnlyAndEmptySourcesAreSkipped) {
    Fill(a);
    ASSERT_TRUE(ExportTransfer(a, dir / "a", dir / "usb", {true, false}, observer).ok);
    {
        DbSession xfer(dir / "usb" / dbfiles::Transfer, DbMode::ReadOnly);
        EXPECT_EQ(Count(xfer, "MEPRO"), 2);
        EXPECT_EQ(Count(xfer, "MECUST"), 0);
        EXPECT_EQ(Count(xfer, "MEDATA"), 0);
    }
    // Replacing case data from a file without any: skipped, nothing deleted; programs still come.
    Fill(b);
    const auto in = ImportTransfer(b, dir / "b", dir / "usb", {true, true}, true, observer);
    ASSERT_TRUE(in.ok);
    EXPECT_EQ(in.skipped, std::vector<std::string>{kSkipRecords});
    EXPECT_EQ(Count(b, "MECUST"), 2);
    EXPECT_EQ(Count(b, "MEPRO"), 2);

    ASSERT_TRUE(ExportTransfer(a, dir / "a", dir / "usb", {false, true}, observer).ok);
    const auto in2 = ImportTransfer(b, dir / "b", dir / "usb", {true, false}, true, observer);
    EXPECT_EQ(in2.skipped, std::vector<std::string>{kSkipPrograms});
    EXPECT_EQ(Count(b, "MEPRO"), 2);
}

TEST_F(TransferTest, OlderTransferFilesAndFailuresLeaveTheMainDatabaseSound) {
    Fill(b);
    // A file of an older version: no function keys, no age limits, no STD, no PREMEA.
    {
        DbSession old(dir / "usb" / dbfiles::Transfer, DbMode::Create);
        old.Exec("CREATE TABLE MEPRO (ProNo TEXT, ProName TEXT, ProData TEXT, ProPict BLOB, ProScal INTEGER, "
                 "PrtFG INTEGER)");
        old.Exec("CREATE TABLE MEPRDT (ProNo TEXT, ProSubN TEXT, ProNote TEXT, ProAnd TEXT, ProCond TEXT, "
                 "ProEng REAL, "
                 "ProFlg INTEGER, PrtFG INTEGER)");
        old.Exec("CREATE TABLE MECUST (CustNo TEXT, Name TEXT, Sex INTEGER, DBirth REAL, Addr TEXT, Tel "
                 "TEXT, Tel2 TEXT, "
                 "Tel3 TEXT, EMail TEXT, BType TEXT, Height REAL, Weight REAL, Memo TEXT, CustCat TEXT, "
                 "CustFG TEXT, "
                 "PrtFG INTEGER)");
        old.Exec("CREATE TABLE MEDATA (CustNo TEXT, MeDate REAL, MeVota INTEGER, MEMO1 TEXT, MEMO2 TEXT, "
                 "AutoKey TEXT, "
                 "PrtFG INTEGER, ME1 REAL)");
        old.Exec("INSERT INTO MEPRO (ProNo, ProName) VALUES ('OLD', 'Old')");
        old.Exec("INSERT INTO MEPRDT (ProNo, ProSubN, ProEng) VALUES ('OLD', 'c', 12)");
        old.Exec("INSERT INTO MECUST (CustNo, Name) VALUES ('X9', 'Old')");
        old.Exec("INSERT INTO MEDATA (CustNo, MeDate, ME1) VALUES ('X9', 45000, 3)");
    }
    const auto in = ImportTransfer(b, dir / "b", dir / "usb", {true, true}, false, observer);
    ASSERT_TRUE(in.ok) << in.message;
    EXPECT_EQ(
        b.Scalar(
             "SELECT ProFN || ProScrp1 || ProParm4 || ProAGL || ProAGH FROM MEPRO JOIN MEPRDT USING (ProNo) "
             "WHERE ProNo = 'OLD'")
            .toString(),
        "00");
    EXPECT_EQ(b.Scalar("SELECT STD FROM MEDATA WHERE CUSTNO = 'X9'").toString(), "");
    EXPECT_DOUBLE_EQ(b.Scalar("SELECT PREMEA FROM MECUST WHERE CUSTNO = 'X9'").toDouble(), 0);

    // A transfer file that breaks half-way (no MEDATA table): all or nothing, even when replacing.
    {
        DbSession broken(dir / "usb" / dbfiles::Transfer, DbMode::ReadWrite);
        broken.Exec("DROP TABLE MEDATA");
    }
    const int subjects = Count(b, "MECUST"), measurements = Count(b, "MEDATA");
    const auto failed = ImportTransfer(b, dir / "b", dir / "usb", {false, true}, true, observer);
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.message.find(kImportRetry), std::string::npos);
    EXPECT_EQ(Count(b, "MECUST"), subjects);
    EXPECT_EQ(Count(b, "MEDATA"), measurements);

    // No transfer file in the folder.
    fs::remove(dir / "usb" / dbfiles::Transfer);
    EXPECT_FALSE(TransferFileAvailable(dir / "usb"));
    const auto missing = ImportTransfer(b, dir / "b", dir / "usb", {true, true}, false, observer);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.errorCode, 2);
    EXPECT_EQ(missing.message, std::string("來源的檔案資料不存在 !!") + kImportRetry);
}

TEST_F(TransferTest, AFailedCopyToTheDestinationIsReportedByItsCause) {
    Fill(a);
    // A destination that is not a folder makes the copy fail after the file was built.
    const auto out = ExportTransfer(a, dir / "a", dir / "no-such-folder", {true, true}, observer);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.errorCode, 2);
    EXPECT_EQ(out.message, std::string("來源的檔案資料不存在 !!") + kExportRetry);
    EXPECT_FALSE(fs::exists(dir / "a" / dbfiles::Transfer));
    EXPECT_TRUE(Leftovers(dir / "a").empty());
}

TEST_F(TransferTest, AJournalLeftByAStoppedTransferIsNotPlayedIntoTheNextOne) {
    // A transfer stopped while writing leaves a rollback journal beside its working copy.
    const fs::path stale = dir / "stale.mdb";
    CreateTemplateFile(stale);
    {
        DbSession s(stale, DbMode::ReadWrite);
        for (int i = 0; i < 5; ++i)
            s.Exec("INSERT INTO MECUST (CUSTNO) VALUES (?)", {QString("S%1").arg(i)});
        s.Exec("PRAGMA synchronous=OFF");
        s.Exec("BEGIN");
        s.Exec("DELETE FROM MECUST");
        fs::copy_file(fs::path(stale.string() + "-journal"),
                      fs::path(WorkingTransferFile(dir / "a").string() + "-journal"));
        s.Exec("ROLLBACK");
    }
    Fill(a);
    ASSERT_TRUE(ExportTransfer(a, dir / "a", dir / "usb", {false, true}, observer).ok);
    DbSession xfer(dir / "usb" / dbfiles::Transfer, DbMode::ReadOnly);
    EXPECT_EQ(xfer.Scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(Count(xfer, "MECUST"), 2);
    EXPECT_TRUE(Leftovers(dir / "a").empty());
}

TEST_F(TransferTest, TheWorkingDirectoryItselfCanBeTheTransferFolder) {
    Fill(a);
    // Exporting into the working directory leaves the transfer file there.
    const auto out = ExportTransfer(a, dir / "a", dir / "a", {true, true}, observer);
    ASSERT_TRUE(out.ok) << out.message;
    ASSERT_TRUE(TransferFileAvailable(dir / "a"));
    {
        DbSession xfer(dir / "a" / dbfiles::Transfer, DbMode::ReadOnly);
        EXPECT_EQ(Count(xfer, "MECUST"), 2);
    }
    // Importing from it reads that file and keeps it.
    const auto in = ImportTransfer(a, dir / "a", dir / "a", {true, true}, false, observer);
    ASSERT_TRUE(in.ok) << in.message;
    EXPECT_EQ(Count(a, "MECUST"), 4);
    EXPECT_EQ(Count(a, "MEPRDT"), 6);
    EXPECT_TRUE(TransferFileAvailable(dir / "a"));
    EXPECT_TRUE(Leftovers(dir / "a").empty());
}

} // namespace
} // namespace oruk::test

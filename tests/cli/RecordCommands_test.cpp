#include "CliRun.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace oruk {
namespace {

namespace fs = std::filesystem;

class RecordCommands : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QTemporaryDir runtimeDir;
    QString work = tmp.path() + "/work";

    CliRun Cli(QStringList args, const QString& workdir = {}) const {
        args << "--workdir" << (workdir.isEmpty() ? work : workdir);
        return RunCli(args, OffscreenEnvironment(runtimeDir.path()), 60000);
    }
    QJsonArray JsonList(QStringList args) const {
        args << "--json";
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
    }
    static QString Values(double all, int raisedA = 0, int raisedB = 0, double raised = 0) {
        QStringList v;
        for (int i = 1; i <= 24; ++i)
            v << QString::number(i == raisedA || i == raisedB ? raised : all);
        return v.join(",");
    }
    static std::set<std::string> Files(const QString& dir) {
        std::set<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(dir.toStdString(), ec), end; !ec && it != end; it.increment(ec))
            names.insert(it->path().filename().string());
        return names;
    }
};

TEST_F(RecordCommands, InitProvisionsTheWorkingDirectory) {
    const CliRun run = Cli({"init"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto files = Files(work);
    for (const char* name : {"MeSpa_60.mdb", "oruk6.mdb", "orukTW.mdb", "orukMTW.mdb", "Data"})
        EXPECT_TRUE(files.count(name)) << name;
    EXPECT_TRUE(JsonList({"subjects"}).isEmpty());
}

TEST_F(RecordCommands, SubjectsMeasurementsAndBadInput) {
    ASSERT_EQ(
        Cli({"subject", "add", "--no", "Q'1", "--name", "王", "--birth", "1980-05-01", "--sex", "female"})
            .exitCode,
        0);
    ASSERT_EQ(Cli({"subject", "add", "--no", "B2", "--name", "Bo"}).exitCode, 0);
    const CliRun dup = Cli({"subject", "add", "--no", "q'1", "--name", "X"});
    EXPECT_EQ(dup.exitCode, 2);
    EXPECT_NE(dup.err.find("重覆!!請重新指定另一個編號。"), std::string::npos) << dup.err;

    const CliRun saved = Cli({"save", "--subject", "q'1", "--values", Values(40), "--date",
                              "2026-11-02T08:30", "--high", "--memo", "first"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const int mkey = std::stoi(saved.out);
    EXPECT_GT(mkey, 0);

    // Bad input: exit 2, nothing written.
    for (const QStringList& bad :
         {QStringList{"save", "--subject", "nobody", "--values", Values(40)},
          QStringList{"save", "--subject", "B2", "--values", "1,2,3"},
          QStringList{"save", "--subject", "B2", "--values", Values(40), "--date", "soon"},
          QStringList{"subject", "delete", "--no", "nobody"},
          QStringList{"measurements", "--subject", "nobody"},
          QStringList{"subject", "add", "--no", "1234567890123456"}, QStringList{"subjects", "--sort", "12"},
          QStringList{"subjects", "--sort", "3", "--search", "x"}}) {
        const CliRun run = Cli(bad);
        EXPECT_EQ(run.exitCode, 2) << bad.join(" ").toStdString() << "\n" << run.err;
    }
    EXPECT_EQ(JsonList({"measurements", "--subject", "B2"}).size(), 0);

    const QJsonArray subjects = JsonList({"subjects", "--sort", "-1"});
    ASSERT_EQ(subjects.size(), 2);
    EXPECT_EQ(subjects[0].toObject()["CUSTNO"].toString(), "Q'1");
    EXPECT_EQ(subjects[0].toObject()["Sex_S"].toString(), "女");
    EXPECT_EQ(subjects[0].toObject()["PREMEA"].toString(), "2026-11-02T08:30:00");
    const QJsonArray found = JsonList({"subjects", "--sort", "4", "--search", "1980-05-01"});
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].toObject()["RENO"].toInt(), 2);

    const QJsonArray ms = JsonList({"measurements", "--subject", "Q'1"});
    ASSERT_EQ(ms.size(), 1);
    EXPECT_EQ(ms[0].toObject()["MKEY"].toInt(), mkey);
    EXPECT_TRUE(ms[0].toObject()["MEVOTA"].toBool());
    EXPECT_EQ(ms[0].toObject()["MEMO1"].toString(), "first");
    EXPECT_EQ(ms[0].toObject()["Values"].toArray().size(), 24);

    // Renumbering carries the measurement; deleting removes both.
    ASSERT_EQ(Cli({"subject", "change", "--no", "Q'1", "--new-no", "N1", "--tel", "123"}).exitCode, 0);
    EXPECT_EQ(Cli({"subject", "change", "--no", "N1", "--new-no", "b2"}).exitCode, 2);
    EXPECT_EQ(JsonList({"measurements", "--subject", "N1"}).size(), 1);
    EXPECT_EQ(JsonList({"subjects", "--search", "N"})[0].toObject()["TEL"].toString(), "123");
    const CliRun del = Cli({"subject", "delete", "--no", "n1"});
    EXPECT_EQ(del.exitCode, 0) << del.err;
    EXPECT_EQ(JsonList({"subjects"}).size(), 1);
}

TEST_F(RecordCommands, ExportAndImportBetweenWorkingDirectories) {
    ASSERT_EQ(Cli({"subject", "add", "--no", "E1"}).exitCode, 0);
    ASSERT_EQ(Cli({"save", "--subject", "E1", "--values", Values(33)}).exitCode, 0);
    const QString usb = tmp.path() + "/usb";
    QDir().mkpath(usb);
    const CliRun exported = Cli({"export", "--to", usb, "--records"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_NE(exported.out.find("資料匯出成功 !!"), std::string::npos);

    const QString other = tmp.path() + "/other";
    ASSERT_EQ(Cli({"import", "--from", usb}, other).exitCode, 0);
    ASSERT_EQ(Cli({"import", "--from", usb, "--records"}, other).exitCode, 0);
    EXPECT_EQ(Cli({"subjects", "--json"}, other).out.find("E1") != std::string::npos, true);
    const CliRun replaced = Cli({"import", "--from", usb, "--replace"}, other);
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_NE(replaced.out.find("資料匯入成功，原有的資料已被取代 !!"), std::string::npos);
    EXPECT_NE(replaced.err.find("來源的 [專家療程] 資料是空的，將跳過匯入動作。"), std::string::npos);
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(Cli({"subjects", "--json"}, other).out))
                  .array()
                  .size(),
              1);
    EXPECT_EQ(Cli({"import", "--from", tmp.path()}, other).exitCode, 2); // no MeTran.mdb there
}

TEST_F(RecordCommands, AnalyzeAStoredLiverExcessMeasurement) {
    ASSERT_EQ(Cli({"subject", "add", "--no", "LV", "--birth", "1970-01-01"}).exitCode, 0);
    const CliRun saved =
        Cli({"save", "--subject", "LV", "--values", Values(40, 14, 20, 90), "--date", "2026-12-01"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const CliRun run = Cli({"analyze", "--mkey", QString::fromStdString(saved.out).trimmed(), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject r = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_EQ(r["PointGrade"].toArray()[13].toInt(), r["PointGrade"].toArray()[19].toInt());
    EXPECT_GT(r["PointGrade"].toArray()[13].toInt(), 0);
    bool liver = false;
    for (const QJsonValue& f : r["Findings"].toArray())
        if (f.toObject()["Code"].toInt() == 8) {
            liver = true;
            EXPECT_EQ(f.toObject()["Item"].toString(), "【肝經異常辨證】");
            EXPECT_GT(f.toObject()["Texts"].toArray().size(), 6); // the excess text follows the general ones
        }
    EXPECT_TRUE(liver);
    EXPECT_FALSE(r["ReferencePrograms"].toArray().isEmpty());
    EXPECT_TRUE(r["ExpertPrograms"].isArray());
    EXPECT_TRUE(r["Diet"].isArray());
    EXPECT_EQ(Cli({"analyze", "--mkey", "999"}).exitCode, 2);

    // Plain values read the reference databases of the directory and create nothing there.
    const QString refOnly = tmp.path() + "/ref";
    QDir().mkpath(refOnly);
    for (const char* name : {"orukTW.mdb", "orukMTW.mdb"})
        ASSERT_TRUE(QFile::copy(work + "/" + name, refOnly + "/" + name));
    const auto before = Files(refOnly);
    const CliRun values = Cli({"analyze", "--values", Values(40, 14, 20, 90), "--json"}, refOnly);
    ASSERT_EQ(values.exitCode, 0) << values.err;
    const QJsonObject v = QJsonDocument::fromJson(QByteArray::fromStdString(values.out)).object();
    EXPECT_EQ(v["ReferencePrograms"], r["ReferencePrograms"]);
    EXPECT_EQ(Files(refOnly), before);
}

} // namespace
} // namespace oruk

#include "CliRun.h"
#include "analysis/Analysis.h"
#include "analysis/OleDate.h"
#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace oruk {
namespace {

class AnalyzeCommand : public ::testing::Test {
protected:
    QTemporaryDir workDir;

    CliRun Analyze(QStringList args) const {
        args.prepend("analyze");
        if (!args.contains("--workdir"))
            args << "--workdir" << workDir.path();
        return RunCli(args, OffscreenEnvironment(runtimeDir.path()), 30000);
    }

    QJsonObject AnalyzeJson(QStringList args) const {
        args << "--json";
        const CliRun run = Analyze(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
        return doc.object();
    }

private:
    QTemporaryDir runtimeDir;
};

QString Join(const std::vector<double>& values) {
    QStringList parts;
    for (double v : values)
        parts << QString::number(v, 'g', 17);
    return parts.join(',');
}

const std::vector<double> kSample{42, 38, 45, 40, 36, 39, 44, 37, 46, 41, 35, 40,
                                  33, 52, 31, 34, 30, 36, 32, 55, 30, 35, 29, 35.7};

TEST_F(AnalyzeCommand, UniformThirtyWithUnitCoefficients) {
    const QJsonObject r =
        AnalyzeJson({"--values", Join(std::vector<double>(24, 30)), "--coefficients", "unit"});

    const QStringList keys{
        "BodyEnergy", "QualityAverage", "LowEnergy",       "Compensated",   "GroupMean",      "YinMean",
        "YangMean",   "UpperMean",      "LowerMean",       "LeftMean",      "RightMean",      "GroupMin",
        "GroupMax",   "BandUnit",       "UpBand1",         "UpBand2",       "DownBand1",      "DownBand2",
        "DiffBand1",  "DiffBand2",      "ElementPairMean", "ElementMean",   "ElementGrade",   "Deviation",
        "PointGrade", "MeridianGrade",  "SideGrade",       "PairMeanGrade", "PairDiffGrade",  "IndexGrade",
        "IndexText",  "ExpectedEnergy", "OverallBalance",  "PointBalance",  "MeridianBalance"};
    QStringList sortedKeys = keys;
    sortedKeys.sort();
    EXPECT_EQ(r.keys(), sortedKeys);

    EXPECT_EQ(r["BodyEnergy"].toDouble(), 30);
    EXPECT_EQ(r["BandUnit"].toDouble(), 0.83125);
    EXPECT_EQ(r["ExpectedEnergy"].toDouble(), 58);
    EXPECT_NEAR(r["OverallBalance"].toDouble(), 75.52, 0.005);
    for (const char* key :
         {"PointGrade", "MeridianGrade", "SideGrade", "PairMeanGrade", "PairDiffGrade", "IndexGrade"})
        for (const QJsonValue& g : r[key].toArray())
            EXPECT_EQ(g.toInt(-99), 0) << key;
    ASSERT_EQ(r["ElementGrade"].toArray().size(), 7);
    for (const QJsonValue& row : r["ElementGrade"].toArray()) {
        ASSERT_EQ(row.toArray().size(), 3);
        for (const QJsonValue& g : row.toArray())
            EXPECT_EQ(g.toInt(-99), 0);
    }
    ASSERT_EQ(r["PointBalance"].toArray().size(), 24);
    for (const QJsonValue& b : r["PointBalance"].toArray())
        EXPECT_EQ(b.toDouble(), 10.0);
    EXPECT_EQ(r["IndexText"].toArray()[0].toString(), QString::fromUtf8("體能及元氣狀態正常"));
    // Reading the settings never creates them.
    EXPECT_TRUE(QDir(workDir.path()).isEmpty());
}

// Every number of the JSON reads back to exactly the double the analysis computed.
TEST_F(AnalyzeCommand, JsonNumbersRoundTripExactly) {
    MeasurementRecord record;
    for (int i = 1; i <= kPointCount; ++i)
        record.Values[i] = kSample[static_cast<std::size_t>(i - 1)];
    record.MeDate = *ParseIsoDate("2024-03-05T10:20:30");
    const double birth = *ParseIsoDate("1961-07-09");
    const AnalysisResult expected = Analyse(record, false, birth, DefaultDisplayTables());

    const QJsonObject r =
        AnalyzeJson({"--values", Join(kSample), "--sex", "female", "--birth", "1961-07-09", "--date",
                     "2024-03-05T10:20:30", "--coefficients", "default", "--order", "default"});
    EXPECT_EQ(r["BodyEnergy"].toDouble(), expected.BodyEnergy);
    EXPECT_EQ(r["OverallBalance"].toDouble(), expected.OverallBalance);
    EXPECT_EQ(r["ExpectedEnergy"].toDouble(), expected.ExpectedEnergy);
    EXPECT_EQ(r["UpBand1"].toDouble(), expected.UpBand1);
    EXPECT_EQ(r["MeridianBalance"].toDouble(), expected.MeridianBalance);
    for (int i = 1; i <= kPointCount; ++i) {
        EXPECT_EQ(r["Compensated"].toArray()[i - 1].toDouble(), expected.Compensated[i]) << i;
        EXPECT_EQ(r["Deviation"].toArray()[i - 1].toDouble(), expected.Deviation[i]) << i;
        EXPECT_EQ(r["PointGrade"].toArray()[i - 1].toInt(), expected.PointGrade[i]) << i;
        EXPECT_EQ(r["PointBalance"].toArray()[i - 1].toDouble(), expected.PointBalance[i]) << i;
    }
    for (int row = 1; row <= 7; ++row)
        for (int col = 1; col <= 3; ++col)
            EXPECT_EQ(r["ElementMean"].toArray()[row - 1].toArray()[col - 1].toDouble(),
                      expected.ElementMean[row][col]);
    // Default coefficients: the body energy is still the mean of the raw values.
    double sum = 0;
    for (double v : kSample)
        sum += v;
    EXPECT_EQ(r["BodyEnergy"].toDouble(), sum / 24);
    EXPECT_EQ(r["Compensated"].toArray()[13].toDouble(), 52 * 1.2424);
}

TEST_F(AnalyzeCommand, SettingsOfTheWorkingDirectoryChooseCoefficientsAndOrder) {
    Settings settings;
    settings.CoefficientMode = 2;
    settings.CustomCoefficient[1] = 2.0; // LU
    settings.MeridianOrderMode = 1;
    const std::filesystem::path file =
        std::filesystem::path(workDir.path().toStdString()) / kSettingsFileName;
    WriteSettingsFile(file, settings);
    QFile stored(QString::fromStdString(file.string()));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QByteArray before = stored.readAll();
    stored.close();

    const QString values = Join(kSample);
    const QJsonObject custom = AnalyzeJson({"--values", values});
    EXPECT_EQ(custom["Compensated"].toArray()[0].toDouble(), 2 * kSample[0]);
    EXPECT_EQ(custom["Compensated"].toArray()[13].toDouble(), kSample[13]);
    const QJsonObject overridden = AnalyzeJson({"--values", values, "--coefficients", "default"});
    EXPECT_EQ(overridden["Compensated"].toArray()[0].toDouble(), kSample[0] * 0.8541);

    const CliRun text = Analyze({"--values", values});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_LT(text.out.find("\n大腸"), text.out.find("\n心包"));
    const CliRun plain = Analyze({"--values", values, "--order", "default"});
    EXPECT_GT(plain.out.find("\n大腸"), plain.out.find("\n心包"));

    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), before);
}

TEST_F(AnalyzeCommand, TextShowsTheFirstAnalysisPage) {
    const CliRun run =
        Analyze({"--values", Join(std::vector<double>(24, 30)), "--coefficients", "unit", "--order",
                 "alternative", "--sex", "female", "--birth", "1980-01-01", "--date", "2020-01-01"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& t = run.out;
    for (const char* expected :
         {"性別: 女  性", "生日: 1980/1/1", "測量方式: 標準電位(正常)", "經絡平均能量= 30.0", "(28 - 61)",
          "(0.78-1.09)", "上  30.0 / 下  30.0 =  1.00", "體能及元氣狀態正常", "全身自律神經系統功能正常",
          "整體平衡指標: ", "經絡平衡指標: 10.0", "[10.0]", "測量日期: 2020/1/1", "測量年齡: 40.0",
          "Avg: 30.0"})
        EXPECT_NE(t.find(expected), std::string::npos) << expected << "\n" << t;
    EXPECT_EQ(t.find("平均能量過低"), std::string::npos);
    EXPECT_EQ(t.find("測量檢定值"), std::string::npos); // no quality scores given

    // Meridian rows follow the alternative order: each yin meridian before its yang partner.
    std::vector<std::size_t> at;
    for (const char* name : {"\n肺經", "\n大腸", "\n心包", "\n三焦", "\n心經", "\n小腸", "\n脾經", "\n胃經"})
        at.push_back(t.find(name));
    for (std::size_t k = 0; k < at.size(); ++k) {
        ASSERT_NE(at[k], std::string::npos) << k;
        if (k > 0) {
            EXPECT_LT(at[k - 1], at[k]) << k;
        }
    }
}

TEST_F(AnalyzeCommand, LowEnergyAndQualityScoresInText) {
    std::vector<double> scores(24, 90);
    scores[0] = -4;
    const CliRun run = Analyze(
        {"--values", Join(std::vector<double>(24, 12)), "--std", Join(scores), "--coefficients", "unit"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("平均能量過低"), std::string::npos);
    const std::size_t grid = run.out.find("測量檢定值");
    ASSERT_NE(grid, std::string::npos) << run.out;
    EXPECT_NE(run.out.find("    0.0   90.0", grid), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Avg: 86.1", grid), std::string::npos) << run.out; // (23 * 90 - 4) / 24
}

TEST_F(AnalyzeCommand, BadInputFailsWithOneMessageAndExitCodeTwo) {
    const QString ok = Join(std::vector<double>(24, 30));
    std::vector<double> withZero(24, 30);
    withZero[4] = 0;
    const struct {
        QStringList args;
        const char* mention;
    } cases[] = {
        {{"--values", Join(std::vector<double>(23, 30))}, "24"},
        {{"--values", Join(std::vector<double>(25, 30))}, "24"},
        {{"--values", ok + ","}, "24"},
        {{"--values", QString(ok).replace(0, 2, "3x")}, "ME1"},
        {{"--values", Join(withZero)}, "ME5"},
        {{"--values", QString(ok).replace(0, 2, "-3")}, "ME1"},
        {{"--values", QString(ok).replace(0, 2, "nan")}, "ME1"},
        {{"--values", ok, "--std", "1,2,3"}, "--std"},
        {{}, "--values"},
        {{"--values", ok, "--colour", "red"}, "--colour"},
        {{"--values", ok, "extra"}, "extra"},
        {{"--values", ok, "--date", "2024-13-01"}, "--date"},
        {{"--values", ok, "--birth", "1970-02-30"}, "--birth"},
        {{"--values", ok, "--birth", "1970-01-01T10:00"}, "--birth"},
        {{"--values", ok, "--birth", "2024-01-02", "--date", "2024-01-01"}, "--birth"},
        {{"--values", ok, "--sex", "other"}, "--sex"},
        {{"--values", ok, "--coefficients", "custom"}, "--coefficients"},
        {{"--values", ok, "--order", "random"}, "--order"},
    };
    for (const auto& c : cases) {
        const CliRun run = Analyze(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 2) << what;
        EXPECT_TRUE(run.out.empty()) << what << "\n" << run.out;
        ASSERT_FALSE(run.err.empty()) << what;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << what << "\n" << run.err;
        EXPECT_NE(run.err.find(c.mention), std::string::npos) << what << "\n" << run.err;
    }
    EXPECT_TRUE(QDir(workDir.path()).isEmpty());
}

} // namespace
} // namespace oruk

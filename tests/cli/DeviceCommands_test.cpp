#include "CliRun.h"
#include "app/SettingsFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace oruk;
namespace fs = std::filesystem;

namespace {

CliRun Cli(const QStringList& args) {
    return RunCli(args);
}

class DeviceCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("oruk-device-cli-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    QString Path(const char* name) const { return QString::fromStdString((dir / name).string()); }
    QStringList WorkDir() const { return {"--workdir", QString::fromStdString(dir.string())}; }

    std::vector<std::pair<long, std::string>> Trace(const char* name) const {
        std::ifstream in(dir / name);
        std::vector<std::pair<long, std::string>> out;
        long ms = 0;
        std::string command;
        while (in >> ms >> command)
            out.emplace_back(ms, command);
        return out;
    }
    fs::path dir;
};

TEST_F(DeviceCliTest, MeasureOnTheSimulatedSubject) {
    {
        std::ofstream subject(dir / "subject.txt");
        subject << "# uA by point index\n";
        for (int p = 1; p <= 24; ++p)
            subject << 30 + 2 * p << (p % 6 ? ", " : "\n");
    }
    const auto run = Cli(QStringList{"measure", "--simulate", "--fast", "--json", "--subject",
                                     Path("subject.txt"), "--trace", Path("trace.txt")} +
                         WorkDir());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    const QJsonArray values = json["Values"].toArray();
    const QJsonArray compensated = json["Compensated"].toArray();
    const QJsonArray std = json["Std"].toArray();
    ASSERT_EQ(values.size(), 24);
    ASSERT_EQ(compensated.size(), 24);
    ASSERT_EQ(std.size(), 24);
    for (int i = 0; i < 24; ++i) {
        EXPECT_NEAR(values[i].toDouble(), 30 + 2 * (i + 1), 0.3) << i;
        EXPECT_GT(compensated[i].toDouble(), 0);
        EXPECT_GT(std[i].toDouble(), 80);
    }

    const auto trace = Trace("trace.txt");
    ASSERT_GT(trace.size(), 7u);
    std::vector<std::string> first;
    for (std::size_t i = 0; i < 6; ++i)
        first.push_back(trace[i].second);
    EXPECT_EQ(first, (std::vector<std::string>{"X0000", "L0000", "I0000", "K0001", "F007F", "C0000"}));
    EXPECT_EQ(trace.back().second, "X0000");
    EXPECT_TRUE(std::is_sorted(trace.begin(), trace.end(),
                               [](const auto& a, const auto& b) { return a.first < b.first; }));
}

TEST_F(DeviceCliTest, MeasureTextListsTheTwentyFourPoints) {
    const auto run = Cli(QStringList{"measure", "--simulate=stored", "--fast", "--sound", "0"} + WorkDir());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string header;
    std::getline(lines, header);
    EXPECT_NE(header.find("value"), std::string::npos);
    int point = 0;
    double value = 0, compensated = 0, quality = 0;
    int rows = 0;
    while (lines >> point >> value >> compensated >> quality) {
        ++rows;
        EXPECT_EQ(point, rows);
        EXPECT_GT(value, 0);
    }
    EXPECT_EQ(rows, 24);
}

TEST_F(DeviceCliTest, BadInputExitsWithTwo) {
    {
        std::ofstream short_(dir / "short.txt");
        short_ << "1 2 3\n";
        std::ofstream text(dir / "text.txt");
        for (int p = 1; p <= 24; ++p)
            text << (p == 7 ? "abc" : "40") << "\n";
    }
    const QStringList cases[] = {
        {"measure", "--fast"},
        {"measure", "--simulate=other"},
        {"measure", "--simulate", "--sound", "3"},
        {"measure", "--simulate", "--subject", Path("short.txt")},
        {"measure", "--simulate", "--subject", Path("text.txt")},
        {"measure", "--simulate", "--subject", Path("missing.txt")},
        {"measure", "--simulate", "extra"},
        {"calibrate", "--simulate", "--level"},
        {"device"},
        {"device", "scan"},
        {"device", "list", "--simulate"},
        {"device", "check", "--simulate", "--trace", Path("no/such/dir/trace.txt")},
    };
    for (const auto& args : cases) {
        const auto run = Cli(args + WorkDir());
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.empty()) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.empty()) << args.join(' ').toStdString();
    }
}

TEST_F(DeviceCliTest, CalibrateWritesTheMeasuredPairIntoTheSettings) {
    struct {
        QStringList options;
        bool pad;
    } cases[] = {{{}, false}, {{"--pad"}, true}};
    for (const auto& c : cases) {
        const auto run =
            Cli(QStringList{"calibrate", "--simulate", "--fast", "--json"} + c.options + WorkDir());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
        EXPECT_TRUE(json["Passed"].toBool());
        EXPECT_TRUE(json["SettingsWritten"].toBool());
        EXPECT_EQ(json["Mode"].toString(), c.pad ? "pad" : "probe");
        const auto settings = ReadSettingsFile(dir / kSettingsFileName);
        ASSERT_TRUE(settings);
        EXPECT_FALSE(settings->CalibrationDate.empty());
        EXPECT_EQ(c.pad ? settings->ChannelSdvL : settings->ProbeSdvL, json["SdvL"].toInt());
    }
}

TEST_F(DeviceCliTest, CalibrateAStoredCalibrationDeviceShowsItsGains) {
    const auto run = Cli({"calibrate", "--simulate=stored", "--fast", "--trace", Path("trace.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Gains before: CRG-L 29  CRG-H 30"), std::string::npos) << run.out;
    // The simulated device reads 20 counts low at gain 20: the trim raises the standard gain by 3.
    EXPECT_NE(run.out.find("Gains after:  CRG-L 23  CRG-H 30"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("pass"), std::string::npos);
    const auto trace = Trace("trace.txt");
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back().second, "X0000");
}

TEST_F(DeviceCliTest, StatusCheckOnTheSimulatedDevice) {
    const auto run = Cli({"device", "check", "--simulate", "--trace", Path("trace.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Device Mdl: Kv-50"), std::string::npos);
    EXPECT_NE(run.out.find("Done."), std::string::npos);
    std::vector<std::string> commands;
    for (const auto& [ms, c] : Trace("trace.txt"))
        commands.push_back(c);
    EXPECT_EQ(commands,
              (std::vector<std::string>{"C007F", "F00FF", "A00FF", "A0000", "B00FF", "A00FF", "X0000"}));
}

} // namespace

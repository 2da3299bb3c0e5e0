#include "CliRun.h"
#include "app/SettingsFields.h"
#include "app/SettingsFile.h"
#include "app/TextCipher.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace oruk;
namespace fs = std::filesystem;

namespace {

CliRun RunSettingsCommand(const QStringList& args,
                          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    return RunCli(QStringList{"settings"} + args, env, 30000);
}

class SettingsCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("oruk-settings-cli-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        file = dir / kSettingsFileName;
    }
    void TearDown() override { fs::remove_all(dir); }

    QStringList WorkDir() const { return {"--workdir", QString::fromStdString(dir.string())}; }

    std::string Slurp() const {
        std::ifstream in(file, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    // The deciphered lines of the file.
    std::vector<std::string> Plain() const {
        std::vector<std::string> out;
        std::istringstream in(Slurp());
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            out.push_back(DecipherText(line, CipherKey::Settings).value_or("<invalid>"));
        }
        return out;
    }

    fs::path dir, file;
};

} // namespace

TEST_F(SettingsCommandTest, WritesTheDefaultsWhenTheFileIsMissing) {
    const CliRun r = RunSettingsCommand(WorkDir());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string content = Slurp();

    std::size_t lines = 0;
    for (std::size_t pos = 0; pos < content.size();) {
        const std::size_t end = content.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        const std::string line = content.substr(pos, end - pos);
        EXPECT_EQ(line.find_first_not_of("0123456789ABCDEF"), std::string::npos) << line;
        ++lines;
        pos = end + 2;
    }
    EXPECT_EQ(lines, 78u);

    Settings defaults;
    defaults.CalibrationDate = TodayShortDate();
    EXPECT_EQ(ParseSettingsFileText(content), defaults);

    // The listing shows the 78 values by name, in file order.
    std::istringstream listing(r.out);
    std::vector<std::string> shown;
    for (std::string line; std::getline(listing, line);)
        shown.push_back(line);
    ASSERT_EQ(shown.size(), 78u);
    EXPECT_EQ(shown[0], "ProbeSdvL=4000");
    EXPECT_EQ(shown[26], "UserFuncVisible=111000");
    EXPECT_EQ(shown[40], "UserFuncProgram[2]=wmplayer.exe");
    EXPECT_EQ(shown[77], "AnalysisChartMode=1");

    // Running again rewrites the same values with new cipher text.
    ASSERT_EQ(RunSettingsCommand(WorkDir()).exitCode, 0);
    EXPECT_NE(Slurp(), content);
    EXPECT_EQ(ParseSettingsFileText(Slurp()), defaults);
}

TEST_F(SettingsCommandTest, ReadsFallbacksAndPrintsJson) {
    fs::create_directories(dir);
    std::string content;
    Settings stored;
    stored.SystemTitle = "診所";
    for (const SettingField& f : SettingFields()) {
        std::string plain = FormatSetting(stored, f);
        if (f.Line == 1)
            plain = "1500";
        if (f.Line == 27)
            plain = "";
        content += EncipherText(plain, CipherKey::Settings) + "\r\n";
    }
    std::ofstream(file, std::ios::binary) << content;

    const CliRun r = RunSettingsCommand(WorkDir() + QStringList{"--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QJsonParseError error{};
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
    EXPECT_EQ(json.size(), 36); // 30 single values and 6 lists
    EXPECT_EQ(json["ProbeSdvL"].toInt(), 4000);
    EXPECT_EQ(json["UserFuncVisible"].toString(), "000000");
    EXPECT_EQ(json["SystemTitle"].toString(), QString::fromUtf8("診所"));
    EXPECT_EQ(json["Sensitivity"].toDouble(), 1.0);
    EXPECT_EQ(json["StoredFlag13"].toBool(), true);
    EXPECT_EQ(json["UserFuncHint"].toArray().size(), 6);
    EXPECT_EQ(json["UserFuncHint"].toArray()[1].toString(), QString::fromUtf8("啟動影音播放功能"));
    EXPECT_EQ(json["CustomMeridianOrder"].toArray()[11].toInt(), 12);
    EXPECT_EQ(json["CustomCoefficient"].toArray().size(), 12);

    // The rewritten file holds what was read.
    const auto plain = Plain();
    EXPECT_EQ(plain[0], "4000");
    EXPECT_EQ(plain[26], "000000");
    EXPECT_EQ(plain[7], "診所");
}

TEST_F(SettingsCommandTest, SetChangesOnlyTheNamedValues) {
    ASSERT_EQ(RunSettingsCommand(WorkDir() + QStringList{"--set", "OrgName=Clinic"}).exitCode, 0);
    const CliRun r = RunSettingsCommand(
        WorkDir() + QStringList{"--json", "--set", "UserFuncHint[3]=say \"hi\"\nbye", "--set=Sensitivity=0.5",
                                "--set", "StoredFlag14=true", "--set", "CustomCoefficient[12]=1.25", "--set",
                                "UserFuncParams[1]="});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Settings s = *ReadSettingsFile(file);
    EXPECT_EQ(s.OrgName, "Clinic");
    EXPECT_EQ(s.UserFuncHint[3], "say \"hi\"\nbye");
    EXPECT_EQ(s.Sensitivity, 0.5);
    EXPECT_TRUE(s.StoredFlag14);
    EXPECT_EQ(s.CustomCoefficient[12], 1.25);
    EXPECT_EQ(s.UserFuncParams[1], "");
    EXPECT_EQ(s.ReportTitle, Settings{}.ReportTitle);

    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_EQ(json["UserFuncHint"].toArray()[2].toString(), "say \"hi\"\nbye");
    EXPECT_EQ(json["CustomCoefficient"].toArray()[11].toDouble(), 1.25);
}

TEST_F(SettingsCommandTest, BadInputChangesNothing) {
    const QStringList bad[] = {
        {"--set", "Bogus=1"},
        {"--set", "OrgName=Fine", "--set", "ProbeSdvL=1500"},
        {"--set", "UserFuncHint[7]=x"},
        {"--set", "Sensitivity=abc"},
        {"--set", "UserFuncVisible=1111"},
        {"--set", "ProbeSdvL"},
        {"--set"},
        {"--bogus"},
        {"extra"},
    };
    // Without a file nothing is created.
    for (const QStringList& args : bad) {
        const CliRun r = RunSettingsCommand(WorkDir() + args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(fs::exists(file)) << args.join(' ').toStdString();
    }
    // With a file its bytes stay as they were.
    ASSERT_EQ(RunSettingsCommand(WorkDir()).exitCode, 0);
    const std::string before = Slurp();
    for (const QStringList& args : bad) {
        EXPECT_EQ(RunSettingsCommand(WorkDir() + args).exitCode, 2);
        EXPECT_EQ(Slurp(), before) << args.join(' ').toStdString();
    }
    const CliRun r = RunSettingsCommand(WorkDir() + QStringList{"--set", "ProbeSdvL=1500"});
    EXPECT_NE(r.err.find("ProbeSdvL"), std::string::npos) << r.err;
}

TEST_F(SettingsCommandTest, AnUnreadableFileIsNotReplaced) {
    fs::create_directories(file / "keep");
    const CliRun r = RunSettingsCommand(WorkDir());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_TRUE(fs::is_directory(file / "keep"));
}

TEST_F(SettingsCommandTest, WithoutWorkdirUsesTheDefaultWorkingDirectory) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QString::fromStdString(dir.string()));
    const CliRun r = RunSettingsCommand({"--set", "OrgUnit=Here"}, env);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto read = ReadSettingsFile(dir / "Sorvan" / "ORUK" / kSettingsFileName);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->OrgUnit, "Here");
}

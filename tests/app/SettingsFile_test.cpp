#include "app/SettingsFields.h"
#include "app/SettingsFile.h"
#include "app/SharedState.h"
#include "app/TextCipher.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace oruk;
namespace fs = std::filesystem;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("oruk-settings-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir / kSettingsFileName;
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string Slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void Put(const fs::path& p, const std::string& content) {
        std::ofstream(p, std::ios::binary) << content;
    }

    // The file's raw lines (without their CR LF) and the deciphered texts.
    static std::vector<std::string> RawLines(const std::string& content) {
        std::vector<std::string> lines;
        std::size_t pos = 0;
        while (pos < content.size()) {
            const std::size_t end = content.find("\r\n", pos);
            lines.push_back(content.substr(pos, end - pos));
            pos = end == std::string::npos ? content.size() : end + 2;
        }
        return lines;
    }
    static std::vector<std::string> PlainLines(const std::string& content) {
        std::vector<std::string> out;
        for (const std::string& line : RawLines(content))
            out.push_back(DecipherText(line, CipherKey::Settings).value_or("<invalid>"));
        return out;
    }

    // A file of the default values with some lines replaced by other plain texts.
    static std::string FileWith(const std::map<int, std::string>& plainByLine) {
        std::string content;
        const Settings defaults;
        for (const SettingField& f : SettingFields()) {
            const auto it = plainByLine.find(f.Line);
            const std::string plain = it != plainByLine.end() ? it->second : FormatSetting(defaults, f);
            content += EncipherText(plain, CipherKey::Settings) + "\r\n";
        }
        return content;
    }

    fs::path dir, file;
};

} // namespace

TEST_F(SettingsFileTest, MissingFileIsWrittenWithTheDefaultsAndReadsBack) {
    const Settings loaded = LoadOrCreateSettings(dir);
    ASSERT_TRUE(fs::exists(file));
    const std::string content = Slurp(file);

    // 78 lines, every one ended by CR LF, upper-case hex only, no bare LF.
    const auto raw = RawLines(content);
    ASSERT_EQ(raw.size(), 78u);
    EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
    for (const std::string& line : raw)
        EXPECT_EQ(line.find_first_not_of("0123456789ABCDEF"), std::string::npos) << line;

    // The deciphered lines are the default values at their places.
    const auto plain = PlainLines(content);
    const std::map<int, std::string> expected = {
        {1, "4000"},
        {4, "4000"},
        {5, "011100000000000000000000000000100000201111"},
        {6, "1"},
        {7, TodayShortDate()},
        {8, "ORUK經絡能量分析系統"},
        {9, "ORUK 經絡能量分析報表"},
        {10, "素凡事業有限公司"},
        {11, "自然醫學研究中心"},
        {12, "11000"},
        {13, "1"},
        {14, "0"},
        {15, "2"},
        {16, "0"},
        {18, "1"},
        {23, "0"},
        {25, "2000"},
        {26, "500"},
        {27, "111000"},
        {28, "功能1"},
        {33, "功能6"},
        {34, "連結素凡全球資訊網"},
        {35, "啟動影音播放功能"},
        {36, "文件編輯功能"},
        {37, ""},
        {40, ""},
        {41, "wmplayer.exe"},
        {42, "winword.exe"},
        {46, branding::kWebAddress},
        {47, ""},
        {52, "0"},
        {53, "1"},
        {64, "12"},
        {65, "0"},
        {66, "1"},
        {77, "1"},
        {78, "1"},
    };
    for (const auto& [line, text] : expected)
        EXPECT_EQ(plain[line - 1], text) << "line " << line;

    Settings defaults;
    defaults.CalibrationDate = TodayShortDate();
    EXPECT_EQ(loaded, defaults);
    EXPECT_EQ(ReadSettingsFile(file), defaults);
    EXPECT_FALSE(defaults.CalibrationDate.empty());
}

TEST_F(SettingsFileTest, ExistingFileIsReadNotRewritten) {
    Settings s;
    s.SystemTitle = "Clinic";
    s.CalibrationDate = "2024/1/2";
    WriteSettingsFile(file, s);
    const std::string before = Slurp(file);
    EXPECT_EQ(LoadOrCreateSettings(dir), s);
    EXPECT_EQ(Slurp(file), before);
}

TEST_F(SettingsFileTest, RewritingTheSameValuesChangesTheCipherTextOnly) {
    Settings s;
    s.CalibrationDate = "2024/1/2";
    WriteSettingsFile(file, s);
    const std::string first = Slurp(file);
    WriteSettingsFile(file, s);
    const std::string second = Slurp(file);
    EXPECT_NE(first, second);
    EXPECT_EQ(PlainLines(first), PlainLines(second));
}

TEST_F(SettingsFileTest, EveryValueRoundTrips) {
    Settings s;
    s.ProbeSdvL = 2000;
    s.ChannelSdvH = 4095;
    s.AnalysisOptionFlags = "222222222222222222222222222222222222222222";
    s.Sensitivity = 0.1;
    s.CalibrationDate = "2024/12/31";
    s.SystemTitle = "  padded title  "; // non-blank texts keep their blanks
    s.StoredFlag13 = false;
    s.StoredFlag17 = true;
    s.StoredReal16 = -1234567.891;
    s.ChannelMode = -1;
    s.UserFuncVisible = "000001";
    s.UserFuncCaption[6] = "";
    s.UserFuncHint[5] = "含\r\n換行";
    s.UserFuncParams[6] = "/home/me/My Documents/a;b.txt";
    s.MeridianOrderMode = 2;
    for (int k = 1; k <= kMeridianCount; ++k) {
        s.CustomMeridianOrder[k] = kMeridianCount + 1 - k;
        s.CustomCoefficient[k] = 0.25 * k;
    }
    s.CustomCoefficient[1] = 1.23456789012345;
    s.CoefficientMode = 7;
    s.AnalysisChartMode = 3;
    WriteSettingsFile(file, s);
    EXPECT_EQ(ReadSettingsFile(file), s);
}

TEST_F(SettingsFileTest, NumbersAreWrittenInGeneralFormWithADecimalPoint) {
    const SettingField& sensitivity = *FindSettingField("Sensitivity");
    const struct {
        double value;
        const char* text;
    } cases[] = {{1.0, "1"},
                 {0.1, "0.1"},
                 {2.5, "2.5"},
                 {-0.5, "-0.5"},
                 {0.1 + 0.2, "0.3"},
                 {1e20, "1e+20"},
                 {123456.75, "123456.75"}};
    for (const auto& c : cases) {
        Settings s;
        s.Sensitivity = c.value;
        EXPECT_EQ(FormatSetting(s, sensitivity), c.text);
    }
}

TEST_F(SettingsFileTest, LinesTakeTheirFallbacks) {
    const struct {
        int line;
        std::string stored;
        const char* field;
        std::string reads;
    } cases[] = {
        {1, "1500", "ProbeSdvL", "4000"},
        {1, "2000", "ProbeSdvL", "2000"},
        {1, "1999", "ProbeSdvL", "4000"},
        {2, "abc", "ProbeSdvH", "4000"},
        {3, "-3000", "ChannelSdvL", "4000"},
        {4, " 3000 ", "ChannelSdvH", "3000"},
        {4, "99999999999", "ChannelSdvH", "4000"},
        {5, "      ", "AnalysisOptionFlags", "011100000000000000000000000000100000201111"},
        {5, "0101", "AnalysisOptionFlags", "0101"},
        {6, "0.7", "Sensitivity", "0.7"},
        {6, "0,7", "Sensitivity", "1"},
        {6, "nan", "Sensitivity", "1"},
        {6, "", "Sensitivity", "1"},
        {7, " ", "CalibrationDate", TodayShortDate()},
        {8, " \t ", "SystemTitle", "ORUK經絡能量分析系統"},
        {8, " My title", "SystemTitle", " My title"},
        {12, "", "OptionString5", "11000"},
        {13, "1", "StoredFlag13", "1"},
        {13, "", "StoredFlag13", "0"},
        {13, "true", "StoredFlag13", "0"},
        {13, " 1", "StoredFlag13", "0"},
        {14, "1", "StoredFlag14", "1"},
        {15, "3.0", "StoredInt15", "2"},
        {15, "x", "StoredInt15", "2"},
        {16, "", "StoredReal16", "0"},
        {18, "3", "PointPictureStyle", "3"},
        {23, "", "ChannelMode", "0"},
        {25, "", "LiveChartBase", "2000"},
        {26, "12.5", "LiveChartMargin", "500"},
        {27, "", "UserFuncVisible", "000000"},
        {27, "   ", "UserFuncVisible", "000000"},
        {27, "010101", "UserFuncVisible", "010101"},
        {28, "", "UserFuncCaption[1]", ""},
        {34, "", "UserFuncHint[1]", ""},
        {53, "x", "CustomMeridianOrder[1]", "1"},
        {64, "", "CustomMeridianOrder[12]", "12"},
        {60, "3", "CustomMeridianOrder[8]", "3"},
        {66, "2", "CustomCoefficient[1]", "2"},
        {67, "", "CustomCoefficient[2]", "2"},
        {77, "bad", "CustomCoefficient[12]", "12"},
        {68, "0.5", "CustomCoefficient[3]", "0.5"},
        {78, "", "AnalysisChartMode", "1"},
    };
    for (const auto& c : cases) {
        const SettingField* field = FindSettingField(c.field);
        ASSERT_NE(field, nullptr) << c.field;
        ASSERT_EQ(field->Line, c.line) << c.field;
        const Settings read = ParseSettingsFileText(FileWith({{c.line, c.stored}}));
        EXPECT_EQ(FormatSetting(read, *field), c.reads) << "line " << c.line << " \"" << c.stored << "\"";
    }
}

TEST_F(SettingsFileTest, DamagedAndShortFilesTakeFallbacksLineByLine) {
    // Line 1 is not cipher text, line 2 is valid: only line 1 takes its fallback.
    std::string content = FileWith({{1, "3000"}, {2, "3100"}, {27, "101010"}});
    content.replace(0, content.find("\r\n"), "ZZ12");
    Put(file, content);
    const Settings damaged = *ReadSettingsFile(file);
    EXPECT_EQ(damaged.ProbeSdvL, 4000);
    EXPECT_EQ(damaged.ProbeSdvH, 3100);
    EXPECT_EQ(damaged.UserFuncVisible, "101010");

    // A text line that is not cipher text reads as blank, which here means the fallback.
    auto lines = RawLines(FileWith({}));
    lines[26] = "not hex";
    std::string joined;
    for (const auto& l : lines)
        joined += l + "\r\n";
    EXPECT_EQ(ParseSettingsFileText(joined).UserFuncVisible, "000000");

    // Ten lines with LF only: the first ten are read, the rest take their fallbacks.
    std::string shortFile;
    for (int k = 0; k < 10; ++k)
        shortFile += lines[static_cast<std::size_t>(k)] + "\n";
    const Settings s = ParseSettingsFileText(shortFile);
    EXPECT_EQ(s.SystemTitle, "ORUK經絡能量分析系統");
    EXPECT_EQ(s.Sensitivity, 1.0);
    EXPECT_FALSE(s.StoredFlag13);
    EXPECT_EQ(s.UserFuncVisible, "000000");
    EXPECT_EQ(s.UserFuncHint[1], "");
    EXPECT_EQ(s.CustomCoefficient[3], 3.0);
    EXPECT_EQ(s.AnalysisChartMode, 1);

    // An empty file is every fallback.
    Put(file, "");
    EXPECT_EQ(ReadSettingsFile(file)->ProbeSdvL, 4000);
    EXPECT_EQ(ReadSettingsFile(file)->UserFuncVisible, "000000");
}

TEST_F(SettingsFileTest, WritingReplacesTheFileWhole) {
    Settings s;
    s.CalibrationDate = "2024/1/2";
    WriteSettingsFile(file, s);
    ::chmod(file.c_str(), 0640);
    s.OrgName = "Other";
    WriteSettingsFile(file, s);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadSettingsFile(file)->OrgName, "Other");
    // Nothing but the settings file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    // When the new file cannot take the old one's place, the old content stays and no
    // half-written file remains.
    const fs::path blocked = dir / "blocked";
    fs::create_directories(blocked / "inside");
    EXPECT_THROW(WriteSettingsFile(blocked, s), std::runtime_error);
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
    EXPECT_THROW(WriteSettingsFile(dir / "missing" / kSettingsFileName, s), std::runtime_error);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(SettingsFileTest, AnUnreadableFileIsReportedNotReplaced) {
    fs::create_directories(file / "x"); // the settings "file" is a directory
    EXPECT_THROW(ReadSettingsFile(file), std::runtime_error);
    EXPECT_THROW(LoadOrCreateSettings(dir), std::runtime_error);
    EXPECT_TRUE(fs::is_directory(file / "x"));
    EXPECT_EQ(ReadSettingsFile(dir / "none.ini"), std::nullopt);
}

TEST_F(SettingsFileTest, LoadOrCreateMakesTheWorkingDirectory) {
    const fs::path nested = dir / "a" / "b";
    LoadOrCreateSettings(nested);
    EXPECT_TRUE(fs::exists(nested / kSettingsFileName));
}

TEST(SettingFields, NamesAndLinesFollowTheFile) {
    ASSERT_EQ(SettingFields().size(), 78u);
    for (std::size_t i = 0; i < SettingFields().size(); ++i) {
        EXPECT_EQ(SettingFields()[i].Line, static_cast<int>(i) + 1);
        EXPECT_EQ(FindSettingField(SettingFields()[i].Name), &SettingFields()[i]);
    }
    const std::pair<const char*, int> lines[] = {
        {"ProbeSdvL", 1},           {"ChannelSdvH", 4},           {"Sensitivity", 6},
        {"OptionString5", 12},      {"StoredInt21", 21},          {"LiveChartMargin", 26},
        {"UserFuncCaption[1]", 28}, {"UserFuncHint[1]", 34},      {"UserFuncProgram[1]", 40},
        {"UserFuncParams[6]", 51},  {"MeridianOrderMode", 52},    {"CustomMeridianOrder[12]", 64},
        {"CoefficientMode", 65},    {"CustomCoefficient[1]", 66}, {"AnalysisChartMode", 78}};
    for (const auto& [name, line] : lines) {
        ASSERT_NE(FindSettingField(name), nullptr) << name;
        EXPECT_EQ(FindSettingField(name)->Line, line) << name;
    }
    for (const char* bad : {"UserFuncHint[0]", "UserFuncHint[7]", "UserFuncHint", "probesdvl", ""})
        EXPECT_EQ(FindSettingField(bad), nullptr) << bad;
}

TEST(SettingFields, SettingByHandAcceptsOnlyValuesThatReadBack) {
    const struct {
        const char* name;
        const char* text;
        bool accepted;
    } cases[] = {
        {"ProbeSdvL", "2000", true},
        {"ProbeSdvL", "1999", false},
        {"ProbeSdvL", "20x0", false},
        {"ProbeSdvL", " 3000", false},
        {"ProbeSdvL", "+3000", true},
        {"ProbeSdvL", "+-3000", false},
        {"Sensitivity", "+-1", false},
        {"Sensitivity", "1.5", true},
        {"Sensitivity", "1,5", false},
        {"Sensitivity", "inf", false},
        {"StoredFlag13", "0", true},
        {"StoredFlag13", "false", true},
        {"StoredFlag13", "yes", false},
        {"AnalysisOptionFlags", "012012012012012012012012012012012012012012", true},
        {"AnalysisOptionFlags", "0120", false},
        {"UserFuncVisible", "101010", true},
        {"UserFuncVisible", "10101", false},
        {"UserFuncVisible", "101012", false},
        {"SystemTitle", "  ", false},
        {"CalibrationDate", "", false},
        {"UserFuncHint[4]", "", true},
        {"CustomMeridianOrder[3]", "12", true},
        {"CustomMeridianOrder[3]", "13", false},
        {"CustomMeridianOrder[3]", "0", false},
        {"CustomCoefficient[2]", "0.5", true},
        {"MeridianOrderMode", "-7", true},
    };
    for (const auto& c : cases) {
        Settings s;
        const Settings before = s;
        const auto refused = SetSetting(s, *FindSettingField(c.name), c.text);
        EXPECT_EQ(!refused.has_value(), c.accepted) << c.name << "=" << c.text;
        if (refused) {
            EXPECT_EQ(s, before) << c.name;
            continue;
        }
        s.CalibrationDate = "2024/1/2";
        const Settings read = ParseSettingsFileText(SettingsFileText(s));
        EXPECT_EQ(FormatSetting(read, *FindSettingField(c.name)), FormatSetting(s, *FindSettingField(c.name)))
            << c.name << "=" << c.text;
    }
}

TEST_F(SettingsFileTest, SharedStateRebuildsItsTablesAfterReadAndWrite) {
    SharedState state;
    state.WorkDir = dir;
    state.LoadOrCreateSettings();
    EXPECT_EQ(state.tables.MeridianOrder, DefaultDisplayTables().MeridianOrder);

    state.settings.MeridianOrderMode = 1;
    state.settings.CoefficientMode = 1;
    state.WriteSettings();
    EXPECT_EQ(state.tables.MeridianOrder, AlternativeMeridianOrder());
    EXPECT_EQ(state.tables.MeridianCoefficient[1], 1.0);

    Settings other = *ReadSettingsFile(state.SettingsFilePath());
    other.MeridianOrderMode = 0;
    other.CoefficientMode = 0;
    WriteSettingsFile(state.SettingsFilePath(), other);
    state.ReadSettings();
    EXPECT_EQ(state.settings.MeridianOrderMode, 0);
    EXPECT_EQ(state.tables.MeridianOrder, DefaultDisplayTables().MeridianOrder);
    EXPECT_EQ(state.tables.MeridianCoefficient, DefaultMeridianCoefficients());
}

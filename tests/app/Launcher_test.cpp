#include "app/Launcher.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using namespace oruk;

namespace {

// Records what the launcher asked the system to do; the files in `existing` are the only ones.
struct FakeSystem {
    std::set<std::string> existing;
    std::vector<std::string> checked;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
    std::vector<std::string> opened;

    LaunchHooks Hooks() {
        LaunchHooks h;
        h.fileExists = [this](const std::string& p) {
            checked.push_back(p);
            return existing.count(p) > 0;
        };
        h.startDetached = [this](const std::string& p, const std::vector<std::string>& a) {
            started.emplace_back(p, a);
            return true;
        };
        h.openWithDesktop = [this](const std::string& t) {
            opened.push_back(t);
            return true;
        };
        return h;
    }
};

} // namespace

TEST(LauncherTest, DriveSearchFindsTheFirstDriveHoldingTheFile) {
    FakeSystem sys;
    sys.existing = {"E:\\Tools\\play.exe", "F:\\Tools\\play.exe"};
    auto out = LaunchProgram("D:\\Tools\\play.exe", "", sys.Hooks());
    EXPECT_EQ(out.kind, LaunchKind::Program);
    ASSERT_EQ(sys.started.size(), 1u);
    EXPECT_EQ(sys.started[0].first, "E:\\Tools\\play.exe");
    // D itself, then C, D, E of the list.
    EXPECT_EQ(sys.checked, (std::vector<std::string>{"D:\\Tools\\play.exe", "C:\\Tools\\play.exe",
                                                     "D:\\Tools\\play.exe", "E:\\Tools\\play.exe"}));
}

TEST(LauncherTest, NoDriveHoldsTheProgramStartsNothingSilently) {
    FakeSystem sys;
    auto out = LaunchProgram("D:\\Tools\\play.exe", "http://example.org", sys.Hooks());
    EXPECT_EQ(out.kind, LaunchKind::NotStarted);
    EXPECT_TRUE(sys.started.empty());
    EXPECT_TRUE(sys.opened.empty());
    // The file itself plus the 15 letters C..Q, nothing beyond Q.
    EXPECT_EQ(sys.checked.size(), 16u);
    EXPECT_EQ(sys.checked.back(), "Q:\\Tools\\play.exe");
}

TEST(LauncherTest, ColonPositionDecidesWhetherToSearch) {
    struct Case {
        std::string program;
        bool searched; // whether drive letters were tried
    };
    const Case cases[] = {
        {"vlc", false},              // no colon: usable as is (PATH lookup by the starter)
        {":x", false},               // colon at 1
        {"D:\\a.exe", true},         // colon at 2
        {"\"D:\\a.exe", true},       // colon at 3
        {"abc:\\a.exe", false},      // colon at 4
        {"/usr/bin/vlc:odd", false}, // colon far away
    };
    for (const auto& c : cases) {
        FakeSystem sys;
        LaunchProgram(c.program, "", sys.Hooks());
        EXPECT_EQ(sys.checked.size() > 1, c.searched) << c.program;
        EXPECT_EQ(sys.started.size(), c.searched ? 0u : 1u) << c.program;
    }
}

TEST(LauncherTest, ParameterSearchReplacesOnlyOnAHit) {
    FakeSystem sys;
    sys.existing = {"G:\\docs\\a.doc"};
    LaunchProgram("writer", "D:\\docs\\a.doc", sys.Hooks());
    ASSERT_EQ(sys.started.size(), 1u);
    EXPECT_EQ(sys.started[0].second, (std::vector<std::string>{"G:\\docs\\a.doc"}));

    FakeSystem miss;
    LaunchProgram("writer", "D:\\docs\\b.doc", miss.Hooks());
    ASSERT_EQ(miss.started.size(), 1u);
    EXPECT_EQ(miss.started[0].second, (std::vector<std::string>{"D:\\docs\\b.doc"}));
}

TEST(LauncherTest, EmptyProgramOpensTheParameterWithTheDesktop) {
    FakeSystem sys;
    auto out = LaunchProgram("   ", "  https://www.example.com.tw  ", sys.Hooks());
    EXPECT_EQ(out.kind, LaunchKind::Document);
    EXPECT_EQ(sys.opened, (std::vector<std::string>{"https://www.example.com.tw"}));
    EXPECT_TRUE(sys.started.empty());

    FakeSystem none;
    EXPECT_EQ(LaunchProgram("", " ", none.Hooks()).kind, LaunchKind::NotStarted);
    EXPECT_TRUE(none.opened.empty());
}

TEST(LauncherTest, FailureOfTheStarterIsOnlyReported) {
    FakeSystem sys;
    auto hooks = sys.Hooks();
    hooks.startDetached = [](const std::string&, const std::vector<std::string>&) { return false; };
    auto out = LaunchProgram("missing-program", "", hooks);
    EXPECT_EQ(out.kind, LaunchKind::Program);
    EXPECT_FALSE(out.succeeded);
}

TEST(LauncherTest, ParametersAreSplitWithoutAShell) {
    struct Case {
        std::string text;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"", {}},
        {"  a  b ", {"a", "b"}},
        {"--file \"my report.odt\"", {"--file", "my report.odt"}},
        {"'x y'z", {"x yz"}},
        {"\"\"", {""}},
        {"a;rm -rf ~ $(id) `id` | cat", {"a;rm", "-rf", "~", "$(id)", "`id`", "|", "cat"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitParameters(c.text), c.args) << c.text;
}

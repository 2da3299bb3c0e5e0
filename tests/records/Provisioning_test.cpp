#include "RecordsFixture.h"
#include "programs/ProgramLibrary.h"
#include "records/Provisioning.h"
#include "records/ReferenceBuild.h"

#include <fstream>
#include <thread>

namespace oruk::test {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

using ProvisioningTest = TempDirTest;

TEST_F(ProvisioningTest, FirstStartCopiesTheInstalledDataAndKeepsTheUsersFiles) {
    const fs::path installed = dir / "share", work = dir / "work";
    fs::create_directories(installed / "Data" / "sub");
    CreateTemplateFile(installed / dbfiles::Template);
    std::ofstream(installed / dbfiles::Texts) << "texts v1";
    std::ofstream(installed / dbfiles::Programs) << "programs v1";
    std::ofstream(installed / "Data" / "PLh1.bmp") << "picture";
    std::ofstream(installed / "Data" / "sub" / "x.png") << "nested";

    const auto written = ProvisionWorkDir(work, installed);
    EXPECT_EQ(written.size(), 5u);
    EXPECT_EQ(Read(work / dbfiles::Texts), "texts v1");
    EXPECT_EQ(Read(work / "Data" / "sub" / "x.png"), "nested");

    // The operator's own files stay; the installed reference data is refreshed when newer.
    std::ofstream(work / "Data" / "PLh1.bmp") << "changed by the user";
    std::ofstream(work / dbfiles::Main) << "main";
    EXPECT_TRUE(ProvisionWorkDir(work, installed).empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ofstream(installed / dbfiles::Texts) << "texts v2";
    fs::last_write_time(installed / dbfiles::Texts,
                        fs::last_write_time(work / dbfiles::Texts) + std::chrono::seconds(5));
    const auto again = ProvisionWorkDir(work, installed);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(Read(work / dbfiles::Texts), "texts v2");
    EXPECT_EQ(Read(work / "Data" / "PLh1.bmp"), "changed by the user");
    EXPECT_EQ(Read(work / dbfiles::Main), "main");
}

TEST_F(ProvisioningTest, ReferenceProgramsAreBuiltFromTheirSource) {
    std::ofstream(dir / "programs.json") << R"({"programs": [
        {"ProNo": "R02", "ProName": "Two", "ProData": "text", "ProMed1": "針", "ProHel5": "按",
         "conditions": [{"ProSubN": 1, "ProNote": "n", "ProAnd": "000000000000010000000000",
                         "ProCond": "000000000000020000000000", "ProEng": 12.5, "ProAGL": 20, "ProAGH": 70,
                         "ProFlg": true}]},
        {"ProNo": "R01", "ProName": "One", "conditions": []}]})";
    BuildProgramDatabase(dir / "programs.json", dir / "orukMTW.mdb");
    DbSession db(dir / "orukMTW.mdb", DbMode::ReadOnly);
    ProgramLibrary lib(db);
    const auto programs = lib.ProgramsInMatchOrder();
    ASSERT_EQ(programs.size(), 2u);
    EXPECT_EQ(programs[0].ProNo, "R01");
    const auto two = *lib.FindProgramByName("Two");
    EXPECT_EQ(two.ProMed[1], "針");
    EXPECT_EQ(two.ProHel[5], "按");
    const auto conditions = lib.Conditions("R02");
    ASSERT_EQ(conditions.size(), 1u);
    EXPECT_EQ(conditions[0].ProSubN, "1");
    EXPECT_DOUBLE_EQ(conditions[0].ProEng, 12.5);
    EXPECT_EQ(conditions[0].ProAGH, 70);
    EXPECT_TRUE(conditions[0].ProFlg);
    EXPECT_EQ(lib.ForMatching()[1].Conditions.size(), 1u);

    std::ofstream(dir / "broken.json") << R"({"programs": [{"ProName": "no number"}]})";
    EXPECT_THROW(BuildProgramDatabase(dir / "broken.json", dir / "other.mdb"), std::runtime_error);
    EXPECT_FALSE(fs::exists(dir / "other.mdb"));
    EXPECT_FALSE(fs::exists(dir / "other.mdb.tmp"));
}

} // namespace
} // namespace oruk::test

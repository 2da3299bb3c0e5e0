#include "RecordsFixture.h"
#include "programs/ProgramLibrary.h"

namespace oruk::test {
namespace {

TEST(ConditionMasks, BoxesEncodeAsTheEditorStoresThem) {
    ConditionBoxes range;
    range.Item[1] = true;
    range.Range = true;
    range.RangeChoice = 1; // "大於 >"
    EXPECT_EQ(EncodeConditionBoxes(range).ProCond, "500000000000000000000000");
    EXPECT_EQ(EncodeConditionBoxes(range).ProAnd, "100000000000000000000000");
    range.RangeChoice = -1; // nothing chosen counts as "等於 ="
    EXPECT_EQ(EncodeConditionBoxes(range).ProCond[0], '4');

    ConditionBoxes lung; // both options of LU without the meridian's own box
    lung.First[6] = lung.Second[6] = true;
    lung.First[3] = true;  // musculoskeletal "異常"
    lung.Second[4] = true; // metabolism "增強"
    lung.First[19] = true; // fire deficiency
    lung.AgeAtLeast = lung.AgeAtMost = true;
    lung.SexCondition = true;
    lung.Female = true;
    const auto masks = EncodeConditionBoxes(lung);
    EXPECT_EQ(masks.ProCond, "001203000000000000100032");
    EXPECT_EQ(masks.ProAnd, "000000000000000000000000");
    EXPECT_EQ(DecodeConditionMasks(masks.ProCond, masks.ProAnd), lung);

    ConditionBoxes unticked; // the sex radio buttons count only with the sex box ticked
    unticked.Female = true;
    EXPECT_EQ(EncodeConditionBoxes(unticked).ProCond[23], '0');

    // Blank and short masks count as all "0"; a digit of 2 on items 3 and 5 still ticks "異常".
    EXPECT_EQ(DecodeConditionMasks("", "   "), ConditionBoxes{});
    const auto odd = DecodeConditionMasks("0020261", "1");
    EXPECT_TRUE(odd.Item[1]);
    EXPECT_TRUE(odd.First[3]);
    EXPECT_TRUE(odd.First[5]);
    EXPECT_FALSE(odd.Range);
    EXPECT_TRUE(odd.First[7]);
    EXPECT_TRUE(odd.Second[6]);
    EXPECT_FALSE(odd.First[6]);
}

class ProgramLibraryTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        CreateTemplateFile(dir / "oruk6.mdb");
        db.Open(dir / "oruk6.mdb", DbMode::ReadWrite);
    }
    void TearDown() override {
        db.Close();
        TempDirTest::TearDown();
    }
    Program Make(const std::string& no, const std::string& name) {
        Program p;
        p.ProNo = no;
        p.ProName = name;
        return p;
    }
    DbSession db;
    ProgramLibrary lib{db};
};

TEST_F(ProgramLibraryTest, ProgramsAndConditionsKeepTheirRules) {
    Program first = Make("P2", "Calm");
    first.ProFN = "1010";
    first.ProPrg[3] = "/usr/bin/true";
    first.ProPict = std::string("\x89PNG\0x", 6);
    const auto added = lib.AddProgram(first);
    ASSERT_EQ(added.outcome, ProgramChange::Done);
    ASSERT_EQ(lib.AddProgram(Make("p1", "Sleep")).outcome, ProgramChange::Done);
    const auto dup = lib.AddProgram(Make(" p2 ", "Other"));
    EXPECT_EQ(dup.outcome, ProgramChange::Duplicate);
    EXPECT_EQ(DuplicateProgramMessage(dup.duplicateName),
              "您所輸入的群組編號已經與另一群組 [ Calm ] 重覆!!請重新指定另一個編號。");
    EXPECT_EQ(lib.AddProgram(Make(" ", "Blank")).outcome, ProgramChange::EmptyNumber);

    const auto list = lib.Programs();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].ProNo, "p1");
    const auto stored = *lib.FindProgramByKey(added.mkey);
    EXPECT_EQ(stored.ProPict, first.ProPict);
    EXPECT_TRUE(stored.FunctionKeyEnabled(1));
    EXPECT_FALSE(stored.FunctionKeyEnabled(2));
    EXPECT_TRUE(stored.FunctionKeyEnabled(3));
    EXPECT_FALSE(stored.FunctionKeyEnabled(4));
    EXPECT_EQ(stored.ProPrg[3], "/usr/bin/true");

    Program changed = stored;
    changed.ProNo = "ignored";
    changed.ProName = "Calmer";
    EXPECT_EQ(lib.ChangeProgram(changed).outcome, ProgramChange::Done);
    EXPECT_EQ(lib.FindProgram("P2")->ProName, "Calmer");

    Condition c;
    c.ProSubN = "one";
    c.ProCond = "100000000000000000000000";
    c.ProFlg = true;
    const int c1 = *lib.AddCondition("p2", c); // takes the program's own number
    c.ProSubN = "two";
    lib.AddCondition("P2", c);
    lib.AddCondition("P1", c);
    EXPECT_FALSE(lib.AddCondition("none", c));
    const auto conds = lib.Conditions("P2");
    ASSERT_EQ(conds.size(), 2u);
    EXPECT_EQ(conds[0].ProNo, "P2");
    EXPECT_EQ(conds[0].ProSubN, "one");
    c.MKey = c1;
    c.ProEng = 30.5;
    EXPECT_TRUE(lib.ChangeCondition(c));
    EXPECT_DOUBLE_EQ(lib.Conditions("P2")[0].ProEng, 30.5);

    const auto matching = lib.ForMatching();
    ASSERT_EQ(matching.size(), 2u);
    EXPECT_EQ(matching[0].ProNo, "p1");
    EXPECT_EQ(matching[0].Conditions.size(), 1u);
    EXPECT_EQ(matching[1].Conditions.size(), 2u);
    EXPECT_TRUE(matching[1].Conditions[0].ProFlg);
    EXPECT_EQ(ProFlgC(conds[0]), "X");
    EXPECT_EQ(ProFlgC(lib.Conditions("P1")[0]), "X");
    Condition optional;
    EXPECT_EQ(ProFlgC(optional), "");

    EXPECT_EQ(lib.DeleteProgram("p2"), 3); // the program and both of its conditions
    EXPECT_EQ(lib.ProgramCount(), 1);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM MEPRDT").toInt(), 1);
    EXPECT_EQ(lib.DeleteProgram("P2"), 0);
    EXPECT_TRUE(lib.DeleteCondition(lib.Conditions("P1")[0].MKey));
    EXPECT_EQ(lib.ConditionCount("P1"), 0);

    // An appending import may bring a second program with the same number: deleting one leaves
    // the other (the conditions of that number go, as the detail link shows them under both).
    db.Exec("INSERT INTO MEPRO (ProNo, ProName) VALUES ('P1', 'Imported')");
    lib.AddCondition("P1", c);
    EXPECT_EQ(lib.DeleteProgram("p1"), 2);
    ASSERT_EQ(lib.Programs().size(), 1u);
    EXPECT_EQ(lib.Programs()[0].ProName, "Imported");
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM MEPRDT").toInt(), 0);
}

} // namespace
} // namespace oruk::test

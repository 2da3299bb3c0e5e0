#include "RecordsFixture.h"
#include "analysis/EvaluationTexts.h"
#include "app/TextCipher.h"
#include "records/ReferenceBuild.h"
#include "records/ReferenceTexts.h"

#include <fstream>

namespace oruk::test {
namespace {

ReferenceTopic Topic(int mkey) {
    ReferenceTopic t;
    t.MKey = mkey;
    const std::string p = std::to_string(mkey) + ":";
    for (int i = 1; i <= 3; ++i)
        t.DtMA[i] = p + "MA" + std::to_string(i);
    for (int i = 1; i <= 5; ++i) {
        t.DtMH[i] = p + "MH" + std::to_string(i);
        t.DtML[i] = p + "ML" + std::to_string(i);
    }
    return t;
}

void Grade(AnalysisResult& r, int meridian, int left, int right) {
    r.PointGrade[LeftPointOf(meridian)] = left;
    r.PointGrade[RightPointOf(meridian)] = right;
}

std::vector<std::string> Items(const std::vector<EvaluationItem>& items) {
    std::vector<std::string> out;
    for (const auto& i : items)
        out.push_back(i.Item);
    return out;
}

TEST(EvaluationTexts, ListsAndTheTextsEachItemSelects) {
    AnalysisResult r;
    Grade(r, 1, 1, -1);   // LU: both deviate, opposite ways
    Grade(r, 3, 0, 2);    // HT: one side only, not abnormal
    Grade(r, 8, 2, 1);    // LR: excess
    Grade(r, 12, -1, -3); // ST: deficiency
    EXPECT_EQ(Items(FindingItems(r)),
              (std::vector<std::string>{"   身體能量狀況", "   精神壓力狀態", "   肌肉骨骼系統",
                                        "   機體新陳代謝", "   自律神經功能", "【肺經異常辨證】",
                                        "【肝經異常辨證】", "【胃經異常辨證】"}));
    EXPECT_EQ(FindingItems(r)[0].Code, 13);
    EXPECT_EQ(Items(DietItems(r)),
              (std::vector<std::string>{"【肺經異常食療】", "【肝經異常食療】", "【胃經異常食療】"}));
    EXPECT_EQ(Items(PrescriptionItems(r)), (std::vector<std::string>{"【肝經異常】", "【胃經異常】"}));

    const auto lu = Topic(1), lr = Topic(8), st = Topic(12);
    const auto luFindings = FindingTextsFor({1, "【肺經異常辨證】"}, r, &lu);
    EXPECT_EQ(luFindings.Details,
              (std::vector<std::string>{"【肺經異常辨證】", "", "1:MA2", "", "1:MA1", ""}));
    EXPECT_TRUE(luFindings.Ryodoraku.empty());
    const auto lrFindings = FindingTextsFor({8, "【肝經異常辨證】"}, r, &lr);
    EXPECT_EQ(lrFindings.Details.back(), "8:MH1");
    EXPECT_EQ(lrFindings.Ryodoraku, std::vector<std::string>{"8:MH5"});
    EXPECT_EQ(FindingTextsFor({12, ""}, r, &st).Ryodoraku, std::vector<std::string>{"12:ML5"});

    EXPECT_EQ(DietTextsFor({1, ""}, r, &lu), (std::vector<std::string>{"1:MA3", ""}));
    EXPECT_EQ(DietTextsFor({8, ""}, r, &lr), (std::vector<std::string>{"8:MA3", "", "8:MH4"}));
    EXPECT_EQ(PrescriptionTextsFor({8, ""}, r, &lr), (std::vector<std::string>{"8:MH3", "", "8:MH2"}));
    EXPECT_EQ(PrescriptionTextsFor({12, ""}, r, &st), (std::vector<std::string>{"12:ML3", "", "12:ML2"}));
    // A missing row shows empty texts, never a failure.
    EXPECT_EQ(PrescriptionTextsFor({8, ""}, r, nullptr), (std::vector<std::string>{"", "", ""}));

    // Index topics by their grade; the body-energy warning only at -3.
    const auto energy = Topic(13);
    for (const auto& [grade, last] : std::vector<std::pair<int, std::string>>{
             {0, "13:MA2"}, {2, "13:MH1"}, {-2, "13:ML1"}, {-3, kLowEnergyWarning}}) {
        r.IndexGrade[1] = grade;
        const auto t = FindingTextsFor({13, "   身體能量狀況"}, r, &energy);
        EXPECT_EQ(t.Details.front(), "13:MA1");
        EXPECT_EQ(t.Details.back(), last) << grade;
    }

    // The lists follow each other by position.
    EXPECT_EQ(FollowFromFinding(6, 3), 1);
    EXPECT_FALSE(FollowFromFinding(2, 3));
    EXPECT_FALSE(FollowFromFinding(7, 2)); // the prescription list may be shorter
    EXPECT_EQ(FollowToFinding(1, 8), 6);
}

using ReferenceTextsTest = TempDirTest;

TEST_F(ReferenceTextsTest, GeneratedTextsAreEncipheredAndReadBackPlain) {
    std::ofstream(dir / "texts.json") << R"({"rows": [
        {"MKEY": 8, "DtEA1": "裡", "DtMH1": "肝經實證", "DtGpM": "LR.png"},
        {"MKEY": 13, "DtMA1": "能量", "DtGpM": "missing.png"}]})";
    std::ofstream(dir / "LR.png", std::ios::binary) << std::string("\x89PNG\r\n", 6);
    BuildTextDatabase(dir / "texts.json", dir, dir / "orukTW.mdb");

    DbSession texts(dir / "orukTW.mdb", DbMode::ReadOnly);
    const QString stored = texts.Scalar("SELECT DtMH1 FROM MEMTDB WHERE MKEY = 8").toString();
    EXPECT_NE(stored.toStdString(), "肝經實證");
    EXPECT_EQ(DecipherText(stored.toStdString(), CipherKey::Texts), "肝經實證");

    const auto lr = ReadReferenceTopic(texts, 8);
    ASSERT_TRUE(lr);
    EXPECT_EQ(lr->DtEA[1], "裡");
    EXPECT_EQ(lr->DtMH[1], "肝經實證");
    EXPECT_EQ(lr->DtML[1], "");
    EXPECT_EQ(lr->DtGpM, std::string("\x89PNG\r\n", 6));
    EXPECT_TRUE(ReadReferenceTopic(texts, 13)->DtGpM.empty());
    EXPECT_FALSE(ReadReferenceTopic(texts, 2));
    EXPECT_EQ(ReadReferenceTopics(texts).size(), 2u);
    texts.Close();

    // A text that is not cipher text reads as empty.
    {
        DbSession edit(dir / "orukTW.mdb", DbMode::ReadWrite);
        edit.Exec("UPDATE MEMTDB SET DtMH1 = 'not cipher text!' WHERE MKEY = 8");
    }
    DbSession again(dir / "orukTW.mdb", DbMode::ReadOnly);
    EXPECT_EQ(ReadReferenceTopic(again, 8)->DtMH[1], "");
    EXPECT_EQ(ReadReferenceTopic(again, 8)->DtEA[1], "裡");
}

} // namespace
} // namespace oruk::test

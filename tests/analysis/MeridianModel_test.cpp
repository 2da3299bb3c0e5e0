#include "analysis/MeasurementRecord.h"
#include "analysis/MeridianModel.h"

#include <gtest/gtest.h>

using namespace oruk;

namespace {
OneBased<int, 12> IdentityOrder() {
    OneBased<int, 12> o;
    for (int k = 1; k <= 12; ++k)
        o[k] = k;
    return o;
}
OneBased<double, 12> Ones() {
    OneBased<double, 12> c;
    c.fill(1.0);
    return c;
}
} // namespace

TEST(MeridianModel, TableOrderAndTexts) {
    const auto& t = MeridianTable();
    EXPECT_EQ(t[1].Code, "LU");
    EXPECT_EQ(t[8].Name, "肝經");
    EXPECT_EQ(t[10].SourcePoint, "束骨 BL65");
    EXPECT_EQ(t[12].EnglishName, "Stomach Meridian(ST)");
}

TEST(MeridianModel, DefaultOrderMapsPositionsToPoints) {
    const auto t = BuildDisplayTables(0, IdentityOrder(), 0, Ones());
    const int byPos[] = {1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 7, 8, 9, 10, 11, 12};
    for (int p = 1; p <= 24; ++p) {
        EXPECT_EQ(t.PointIndexByPos[p], p);
        EXPECT_EQ(t.MeridianByPos[p], byPos[p - 1]);
    }
}

TEST(MeridianModel, AlternativeOrderPairsYinWithYang) {
    const auto t = BuildDisplayTables(1, IdentityOrder(), 0, Ones());
    EXPECT_EQ(t.PointIndexByPos[2], 6);
    EXPECT_EQ(t.PointIndexByPos[8], 12);
    EXPECT_EQ(t.PointIndexByPos[14], 18);
    EXPECT_EQ(t.PointIndexByPos[20], 24);
    EXPECT_EQ(t.MeridianPointPair[8], std::make_pair(18, 24));
}

TEST(MeridianModel, CustomOrderWithFootMeridianFirst) {
    auto order = IdentityOrder();
    std::swap(order[1], order[7]); // SP in column 1, LU in column 7
    const auto t = BuildDisplayTables(2, order, 0, Ones());
    EXPECT_EQ(t.PointIndexByPos[1], 13);
    EXPECT_EQ(t.PointIndexByPos[7], 19);
    EXPECT_EQ(PositionText(DisplayTables::SideOfPosition(1), t.MeridianByPos[1]), "左  腳");
    EXPECT_EQ(PositionText(DisplayTables::SideOfPosition(7), t.MeridianByPos[7]), "右  腳");
    EXPECT_EQ(t.PointIndexByPos[13], 1);
}

TEST(MeridianModel, CustomOrderOutsideTheTableFallsBackToTheColumnsMeridian) {
    // A hand-edited settings file may hold any integer; every reader of the order indexes the
    // meridian table with it, so the order itself must name a meridian.
    auto order = IdentityOrder();
    order[1] = 0;
    order[9] = 13;
    order[12] = -4;
    const auto t = BuildDisplayTables(2, order, 0, Ones());
    for (int k = 1; k <= 12; ++k)
        EXPECT_EQ(t.MeridianOrder[k], k) << "column " << k;
    EXPECT_EQ(t.MeridianPointPair[9], std::make_pair(15, 21));
    EXPECT_EQ(t.MeridianByPos[15], 9);
}

TEST(MeridianModel, CoefficientModes) {
    auto custom = Ones();
    custom[3] = 2.5;
    EXPECT_DOUBLE_EQ(BuildDisplayTables(0, IdentityOrder(), 0, custom).MeridianCoefficient[8], 1.2424);
    EXPECT_DOUBLE_EQ(BuildDisplayTables(0, IdentityOrder(), 1, custom).MeridianCoefficient[8], 1.0);
    EXPECT_DOUBLE_EQ(BuildDisplayTables(0, IdentityOrder(), 7, custom).MeridianCoefficient[3], 2.5);

    MeasurementRecord r;
    for (int i = 1; i <= 24; ++i)
        r.Values[i] = 10 + i;
    r.Compensate(BuildDisplayTables(0, IdentityOrder(), 1, custom));
    EXPECT_EQ(r.Compensated, r.Values);
}

TEST(MeridianModel, PictureFileNames) {
    EXPECT_EQ(PointPictureFileName(1, 1), "PLh1.bmp");
    EXPECT_EQ(PointPictureFileName(12, 2), "GRh6.bmp");
    EXPECT_EQ(PointPictureFileName(19, 3), "CRf1.bmp");
    EXPECT_EQ(PointPictureFileName(18, 1), "PLf6.bmp");
}

TEST(StdColumn, FormatsFiveCharacterFields) {
    PointValues zeros{};
    std::string expected;
    for (int i = 0; i < 24; ++i)
        expected += "  0.0";
    EXPECT_EQ(FormatStd(zeros), expected);

    PointValues s{};
    s[1] = 5.0;
    s[2] = 12.34;
    s[3] = 100.0;
    s[4] = -250; // would widen the field; held at the edge so later slices stay in place
    s[5] = 97.5;
    const std::string text = FormatStd(s);
    EXPECT_EQ(text.size(), 120u);
    EXPECT_EQ(text.substr(0, 20), "  5.0 12.3100.0-99.9");
    const PointValues back = ParseStd(text);
    EXPECT_DOUBLE_EQ(back[1], 5.0);
    EXPECT_DOUBLE_EQ(back[2], 12.3);
    EXPECT_DOUBLE_EQ(back[3], 100.0);
    EXPECT_DOUBLE_EQ(back[5], 97.5);
}

TEST(StdColumn, EmptyAndUnreadableFieldsReadAsZero) {
    EXPECT_EQ(ParseStd(""), PointValues{});
    const PointValues back = ParseStd("  5.0  abc 12.3");
    EXPECT_DOUBLE_EQ(back[1], 5.0);
    EXPECT_DOUBLE_EQ(back[2], 0.0);
    EXPECT_DOUBLE_EQ(back[3], 12.3);
    EXPECT_DOUBLE_EQ(back[4], 0.0);
}

TEST(MemoText, SplitsAndJoinsLines) {
    const std::vector<std::string> lines{"第一行", "", "third"};
    EXPECT_EQ(SplitMemo(JoinMemo(lines)), lines);
    EXPECT_EQ(SplitMemo("a\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitMemo("").empty());
}

#include "analysis/Analysis.h"
#include "analysis/IndexTexts.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace oruk {
namespace {

DisplayTables UnitTables() {
    OneBased<int, kMeridianCount> order{};
    OneBased<double, kMeridianCount> coefficients{};
    for (int k = 1; k <= kMeridianCount; ++k) {
        order[k] = k;
        coefficients[k] = 1.0;
    }
    return BuildDisplayTables(0, order, 1, coefficients);
}

MeasurementRecord Uniform(double value) {
    MeasurementRecord r;
    r.MeDate = 46000;
    r.Values.fill(value);
    r.Std.fill(90);
    return r;
}

TEST(Analyse, UniformThirtyWithUnitCoefficientsIsPerfectlyBalanced) {
    MeasurementRecord rec = Uniform(30);
    const AnalysisResult r = Analyse(rec, true, 0, UnitTables());

    EXPECT_DOUBLE_EQ(r.BodyEnergy, 30);
    EXPECT_DOUBLE_EQ(r.QualityAverage, 90);
    EXPECT_FALSE(r.LowEnergy);
    EXPECT_DOUBLE_EQ(r.BandUnit, 0.83125);
    EXPECT_DOUBLE_EQ(r.UpBand1, 11.5 * 0.83125);
    EXPECT_DOUBLE_EQ(r.DiffBand2, 41 * 0.83125);
    for (int i = 1; i <= kPointCount; ++i) {
        EXPECT_EQ(rec.Compensated[i], 30);
        EXPECT_EQ(r.PointGrade[i], 0);
        EXPECT_EQ(r.PointBalance[i], 10.0);
    }
    for (int n = 1; n <= kMeridianCount; ++n) {
        EXPECT_EQ(r.MeridianGrade[n], 0);
        EXPECT_EQ(r.SideGrade[n], 0);
        EXPECT_EQ(r.PairMeanGrade[n], 0);
        EXPECT_EQ(r.PairDiffGrade[n], 0);
    }
    for (int row = 1; row <= 7; ++row)
        for (int col = 1; col <= 3; ++col) {
            EXPECT_DOUBLE_EQ(r.ElementMean[row][col], 30);
            EXPECT_EQ(r.ElementGrade[row][col], 0);
        }
    for (int k = 1; k <= kIndexCount; ++k) {
        EXPECT_EQ(r.IndexGrade[k], 0);
        EXPECT_EQ(r.IndexText[k], IndexText(k, 0));
    }
    EXPECT_EQ(r.IndexText[1], "體能及元氣狀態正常");
    EXPECT_DOUBLE_EQ(r.GroupMin, 30);
    EXPECT_DOUBLE_EQ(r.GroupMax, 30);
    EXPECT_DOUBLE_EQ(r.ExpectedEnergy, 58);
    // No birth date: scored as aged 40, so only the low energy lowers the start value.
    EXPECT_NEAR(r.OverallBalance, 90 - 0.3 * (28.0 / 58 * 100), 1e-12);
    EXPECT_NEAR(r.OverallBalance, 75.52, 0.005);
    EXPECT_DOUBLE_EQ(r.MeridianBalance, 10.0);
}

// Hand-worked: all 40 except LU left 64 and LU right 16 (E = 40, k = 0.915625).
TEST(Analyse, AsymmetricLungCaseMatchesHandComputation) {
    MeasurementRecord rec = Uniform(40);
    rec.Values[1] = 64;
    rec.Values[7] = 16;
    const AnalysisResult r = Analyse(rec, true, 0, UnitTables());

    EXPECT_DOUBLE_EQ(r.BodyEnergy, 40);
    EXPECT_DOUBLE_EQ(r.BandUnit, 0.915625);
    EXPECT_DOUBLE_EQ(r.GroupMean[1], 48);
    EXPECT_DOUBLE_EQ(r.GroupMean[3], 32);
    EXPECT_DOUBLE_EQ(r.LeftMean, 42);
    EXPECT_DOUBLE_EQ(r.RightMean, 38);
    EXPECT_DOUBLE_EQ(r.GroupMin, 32);
    EXPECT_DOUBLE_EQ(r.GroupMax, 48);
    EXPECT_DOUBLE_EQ(r.ElementPairMean[5], 52);
    EXPECT_DOUBLE_EQ(r.ElementPairMean[11], 28);
    EXPECT_DOUBLE_EQ(r.ElementMean[5][2], 40); // the LU mean is unchanged

    EXPECT_EQ(r.PointGrade[1], 2);
    EXPECT_EQ(r.PointGrade[7], -2);
    EXPECT_EQ(r.MeridianGrade[1], 0);
    EXPECT_EQ(r.SideGrade[1], 2);
    EXPECT_EQ(r.PairMeanGrade[5], 1);
    EXPECT_EQ(r.PairDiffGrade[5], 1);
    EXPECT_EQ(r.PairMeanGrade[11], -1);
    EXPECT_EQ(r.PairDiffGrade[11], -1);
    // Max/min is exactly 1.5, still the normal autonomic grade.
    for (int k = 1; k <= kIndexCount; ++k)
        EXPECT_EQ(r.IndexGrade[k], 0) << k;

    // 90 - 0.3 * 18/58*100 - 2.4 (points) - 1.2 (LU side) - 2 * (0.5 + 0.5) (pairs 5 and 11)
    EXPECT_NEAR(r.OverallBalance, 90 - 0.3 * (18.0 / 58 * 100) - 2.4 - 1.2 - 2.0, 1e-9);

    // Points 1 and 7: 100 - 24, grade adjustment, side grade 2, then pair 5 (1 + 1) and the twin's 0.6 * 2.
    // Points 6 and 12: pair 11 (1 + 1) and 0.3 * grade of the LU point on their side.
    EXPECT_EQ(r.PointBalance[1], 6.8);
    EXPECT_EQ(r.PointBalance[7], 6.7);
    EXPECT_EQ(r.PointBalance[6], 9.8);
    EXPECT_EQ(r.PointBalance[12], 9.8);
    for (int i : {2, 3, 4, 5, 8, 9, 10, 11, 13, 18, 19, 24})
        EXPECT_EQ(r.PointBalance[i], 10.0) << i;
    EXPECT_DOUBLE_EQ(r.MeridianBalance, (6.8 + 6.7 + 9.8 + 9.8 + 200) / 24);
}

TEST(Analyse, DefaultCoefficientsGradeCompensatedValuesButBodyEnergyUsesRawOnes) {
    MeasurementRecord rec = Uniform(100);
    const AnalysisResult r = Analyse(rec, true, 0, DefaultDisplayTables());
    EXPECT_DOUBLE_EQ(r.BodyEnergy, 100);
    EXPECT_DOUBLE_EQ(rec.Compensated[14], 124.24); // LR left
    EXPECT_DOUBLE_EQ(r.Compensated[5], 80.39);     // TE left
    EXPECT_DOUBLE_EQ(r.Deviation[14], 124.24 - 100);
    EXPECT_EQ(r.PointGrade[14], 1);
    EXPECT_EQ(r.PointGrade[5], -1);
    EXPECT_EQ(r.PointGrade[15], 0); // KI has coefficient 1
}

TEST(Analyse, GroupExtremesAreTheTrueOnesAboveFullScale) {
    // Compensation can lift every group above 200 µA; the minimum is still the smallest group.
    MeasurementRecord rec = Uniform(250);
    rec.Values[1] = 280;
    const AnalysisResult r = Analyse(rec, true, 0, UnitTables());
    EXPECT_DOUBLE_EQ(r.GroupMin, 250);
    EXPECT_DOUBLE_EQ(r.GroupMax, 260);
    EXPECT_EQ(r.IndexGrade[5], 0);
}

TEST(Analyse, LowEnergyThresholdIsInclusive) {
    MeasurementRecord at = Uniform(12), above = Uniform(12.01);
    EXPECT_TRUE(Analyse(at, true, 0, UnitTables()).LowEnergy);
    EXPECT_FALSE(Analyse(above, true, 0, UnitTables()).LowEnergy);
}

TEST(Analyse, OverallBalanceLimits) {
    // Aged 10: expected 75, so E = 150 gives exactly 100, which stays; a little more becomes 99.
    MeasurementRecord exact = Uniform(150), over = Uniform(150.3);
    const double birth = exact.MeDate - 3650;
    EXPECT_EQ(Analyse(exact, true, birth, UnitTables()).OverallBalance, 100.0);
    EXPECT_EQ(Analyse(over, true, birth, UnitTables()).OverallBalance, 99.0);

    // Strong left side, nearly nothing on the right: deductions far beyond the start value.
    MeasurementRecord lopsided = Uniform(0.5);
    for (int i = 1; i <= kPointCount; ++i)
        if (SideOfPoint(i) == Side::Left)
            lopsided.Values[i] = 35;
    EXPECT_EQ(Analyse(lopsided, true, 0, UnitTables()).OverallBalance, 5.0);

    // A point many times the body energy would score far below zero; it is held at 1.0.
    MeasurementRecord spike = Uniform(10);
    spike.Values[1] = 200;
    const AnalysisResult r = Analyse(spike, true, 0, UnitTables());
    EXPECT_EQ(r.PointBalance[1], 1.0);
    for (int i = 1; i <= kPointCount; ++i)
        EXPECT_GE(r.PointBalance[i], 1.0);
}

TEST(Analyse, AgeComesFromMeasurementDateAndSex) {
    struct Case {
        double ageYears;
        bool male;
        double expected;
    };
    for (const Case& c : {Case{20, true, 75}, Case{20.01, true, 68}, Case{40, true, 58},
                          Case{40, false, 58 * 0.94}, Case{65, true, 36}, Case{66, true, 32}}) {
        MeasurementRecord rec = Uniform(40);
        const AnalysisResult r = Analyse(rec, c.male, rec.MeDate - c.ageYears * 365, UnitTables());
        EXPECT_DOUBLE_EQ(r.ExpectedEnergy, c.expected) << c.ageYears;
    }
    MeasurementRecord female = Uniform(40);
    EXPECT_DOUBLE_EQ(Analyse(female, false, 0, UnitTables()).ExpectedEnergy, 58 - 0.06 * 58);
}

// One point raised alone so that only its own point grade is 1: the points whose balance drops
// are that point, the same meridian's point on the other side (not for the stomach points, which
// take their own grade) and the partner meridian's point on the same side.
TEST(Analyse, CrossDeductionsReachTwinAndPartnerPoints) {
    const int partner[13] = {0, 6, 5, 4, 3, 2, 1, 12, 11, 10, 9, 8, 7};
    auto pointOf = [](int meridian, Side side) {
        return side == Side::Left ? LeftPointOf(meridian) : RightPointOf(meridian);
    };
    for (int i = 1; i <= kPointCount; ++i) {
        MeasurementRecord rec = Uniform(40);
        rec.Values[i] = 60;
        const AnalysisResult r = Analyse(rec, true, 0, UnitTables());
        ASSERT_EQ(r.PointGrade[i], 1) << i;
        for (int n = 1; n <= kMeridianCount; ++n)
            ASSERT_EQ(r.MeridianGrade[n] | r.SideGrade[n] | r.PairMeanGrade[n] | r.PairDiffGrade[n], 0) << i;

        const int m = MeridianOfPoint(i);
        const Side side = SideOfPoint(i);
        std::set<int> expected{i, pointOf(partner[m], side)};
        if (m != 12)
            expected.insert(pointOf(m, side == Side::Left ? Side::Right : Side::Left));
        std::set<int> dropped;
        for (int k = 1; k <= kPointCount; ++k)
            if (r.PointBalance[k] < 10.0)
                dropped.insert(k);
        EXPECT_EQ(dropped, expected) << "raised point " << i;
    }
}

TEST(Analyse, RefusesRecordsThatCannotBeGraded) {
    for (double bad :
         {0.0, -3.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        MeasurementRecord rec = Uniform(30);
        rec.Values[5] = bad;
        try {
            Analyse(rec, true, 0, UnitTables());
            ADD_FAILURE() << "no error for " << bad;
        } catch (const AnalysisError& e) {
            EXPECT_NE(std::string(e.what()).find("ME5"), std::string::npos) << e.what();
        }
    }
    // A zero custom coefficient empties the left and right hand yin groups.
    OneBased<int, kMeridianCount> order{};
    OneBased<double, kMeridianCount> coefficients{};
    for (int k = 1; k <= kMeridianCount; ++k) {
        order[k] = k;
        coefficients[k] = k <= 3 ? 0.0 : 1.0;
    }
    MeasurementRecord rec = Uniform(30);
    EXPECT_THROW(Analyse(rec, true, 0, BuildDisplayTables(0, order, 2, coefficients)), AnalysisError);
}

TEST(GradingFunctions, BandEdges) {
    const GradeBands b = GradeBands::ForBodyEnergy(30);
    const auto below = [](double x) { return std::nextafter(x, 0.0); };
    struct Case {
        double d;
        int four, three, diff;
    };
    const Case cases[] = {
        {0.0, 0, 0, 0},
        {-0.0, 0, 0, 0},
        {below(b.UpBand1), 0, 0, 0},
        {b.UpBand1, 1, 1, 0},
        {b.UpBand2, 2, 2, 0},
        {b.UpBand2 + b.UpBand1, 3, 2, 1},
        {-below(b.DownBand1), 0, 0, 0},
        {-b.DownBand1, -1, -1, 0},
        {-b.DownBand2, -2, -2, 0},
        {-(b.DownBand2 + b.DownBand1), -3, -2, -1},
        {below(b.DiffBand1), 2, 2, 0},
        {b.DiffBand1, 2, 2, 1},
        {-b.DiffBand1, -2, -2, -1},
        {b.DiffBand2, 3, 2, 2},
        {-b.DiffBand2, -3, -2, -2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FourLevelDeviationGrade(c.d, b), c.four) << c.d;
        EXPECT_EQ(ThreeLevelDeviationGrade(c.d, b), c.three) << c.d;
        EXPECT_EQ(ThreeLevelDifferenceGrade(c.d, b), c.diff) << c.d;
    }
    EXPECT_DOUBLE_EQ(b.DiffBand1, 22 * 0.83125);
    EXPECT_DOUBLE_EQ(b.DownBand2, 20 * 0.83125);
}

TEST(GradingFunctions, IndexLimits) {
    struct Case {
        int index;
        double value;
        bool male;
        int grade;
    };
    const Case cases[] = {
        {1, 30, true, 0},     {1, 29.99, true, -1},    {1, 65, true, 1},    {1, 18.99, true, -3},
        {1, 19, true, -2},    {1, 75, true, 3},        {1, 28, false, 0},   {1, 27.99, false, -1},
        {2, 1.2, true, 1},    {2, 1.1, false, 1},      {2, 0.78, false, 0}, {2, 0.78, true, -2},
        {3, 1.15, false, 1},  {4, 0.62, true, -2},     {4, 1.45, true, 3},  {5, 1.0, true, 0},
        {5, 1.5, true, 0},    {5, 1.5000001, true, 1}, {5, 1.8, false, 1},  {5, 2.0, true, 2},
        {5, 2.0001, true, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GradeIndex(c.index, c.value, c.male), c.grade) << c.index << " " << c.value;
}

TEST(GradingFunctions, RoundHalfEven) {
    const double cases[][2] = {{100.5, 100}, {99.5, 100}, {98.5, 98}, {98.51, 99},
                               {2.4999, 2},  {0.5, 0},    {-0.5, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c[0]), c[1]) << c[0];
}

TEST(IndexTexts, EveryGradeHasItsText) {
    EXPECT_EQ(IndexText(1, -3), "體能狀況低落,元氣不足");
    EXPECT_EQ(IndexText(2, 3), "上焦氣血旺盛,有明顯精神壓力傾向");
    EXPECT_EQ(IndexText(3, -2), "右側氣血旺盛,肌骨系統運作失調");
    EXPECT_EQ(IndexText(4, 1), "陰盛於陽,機體代謝稍低");
    EXPECT_EQ(IndexText(5, 2), "自律神經系統有中度失衡傾象");
    for (int k = 1; k <= 4; ++k)
        for (int g = -3; g <= 3; ++g)
            EXPECT_FALSE(IndexText(k, g).empty()) << k << " " << g;
    EXPECT_TRUE(IndexText(5, -1).empty());
    EXPECT_TRUE(IndexText(6, 0).empty());
    EXPECT_EQ(IndexRangeText(2, false), "(0.78-1.09)");
}

} // namespace
} // namespace oruk

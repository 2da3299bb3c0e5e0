#include "analysis/Analysis.h"

#include "analysis/IndexTexts.h"

#include <array>
#include <cmath>
#include <string>

namespace oruk {

namespace {

struct PointPair {
    int yin, yang;
};

// Interior-exterior pairs in five-element order (wood, sovereign fire, ministerial fire, earth,
// metal, water), left side first, then right.
constexpr std::array<PointPair, 12> kElementPairs{{
    {14, 17},
    {3, 4},
    {2, 5},
    {13, 18},
    {1, 6},
    {15, 16},
    {20, 23},
    {9, 10},
    {8, 11},
    {19, 24},
    {7, 12},
    {21, 22},
}};

// Yin and yang meridian of the five-element rows 1..6.
constexpr std::array<PointPair, 6> kElementMeridians{{
    {8, 11}, // wood: LR, GB
    {3, 4},  // sovereign fire: HT, SI
    {2, 5},  // ministerial fire: PC, TE
    {7, 12}, // earth: SP, ST
    {1, 6},  // metal: LU, LI
    {9, 10}, // water: KI, BL
}};

// Per point: the pair j, the other-side point o, the partner meridian q and the partner's point s
// whose grades a point's balance score also loses. The stomach points take their own point as o.
struct CrossRow {
    int j, o, q, s;
};
constexpr std::array<CrossRow, kPointCount> kCross{{
    {5, 7, 6, 6},    // 1 LU L
    {3, 8, 5, 5},    // 2 PC L
    {2, 9, 4, 4},    // 3 HT L
    {8, 10, 3, 3},   // 4 SI L
    {9, 11, 2, 2},   // 5 TE L
    {11, 12, 1, 1},  // 6 LI L
    {5, 1, 6, 12},   // 7 LU R
    {3, 2, 5, 11},   // 8 PC R
    {2, 3, 4, 10},   // 9 HT R
    {8, 4, 3, 9},    // 10 SI R
    {9, 5, 2, 8},    // 11 TE R
    {11, 6, 1, 7},   // 12 LI R
    {4, 19, 12, 18}, // 13 SP L
    {1, 20, 11, 17}, // 14 LR L
    {6, 21, 10, 16}, // 15 KI L
    {12, 22, 9, 15}, // 16 BL L
    {7, 23, 8, 14},  // 17 GB L
    {10, 18, 7, 13}, // 18 ST L
    {4, 13, 12, 24}, // 19 SP R
    {1, 14, 11, 23}, // 20 LR R
    {6, 15, 10, 22}, // 21 KI R
    {12, 16, 9, 21}, // 22 BL R
    {7, 17, 8, 20},  // 23 GB R
    {10, 24, 7, 19}, // 24 ST R
}};

struct IndexLimits {
    std::array<double, 6> male, female;
};
constexpr std::array<IndexLimits, 4> kIndexLimits{{
    {{19, 28, 30, 65, 70, 75}, {18, 24, 28, 62, 67, 72}},
    {{0.73, 0.83, 0.88, 1.2, 1.3, 1.4}, {0.65, 0.75, 0.78, 1.1, 1.15, 1.25}},
    {{0.68, 0.78, 0.88, 1.15, 1.25, 1.35}, {0.68, 0.78, 0.88, 1.15, 1.25, 1.35}},
    {{0.62, 0.72, 0.82, 1.25, 1.35, 1.45}, {0.62, 0.72, 0.82, 1.25, 1.35, 1.45}},
}};

double Mean4(double a, double b, double c, double d) {
    return (a + b + c + d) / 4;
}

} // namespace

GradeBands GradeBands::ForBodyEnergy(double bodyEnergy) {
    GradeBands b;
    b.BandUnit = 0.6625 + 0.0084375 * (bodyEnergy - 10);
    b.UpBand1 = 11.5 * b.BandUnit;
    b.UpBand2 = 21 * b.BandUnit;
    b.DownBand1 = 10.5 * b.BandUnit;
    b.DownBand2 = 20 * b.BandUnit;
    b.DiffBand1 = b.UpBand1 + b.DownBand1;
    b.DiffBand2 = b.UpBand2 + b.DownBand2;
    return b;
}

int FourLevelDeviationGrade(double d, const GradeBands& b) {
    if (d >= 0) {
        if (d < b.UpBand1)
            return 0;
        if (d < b.UpBand2)
            return 1;
        if (d < b.UpBand2 + b.UpBand1)
            return 2;
        return 3;
    }
    const double a = std::fabs(d);
    if (a < b.DownBand1)
        return 0;
    if (a < b.DownBand2)
        return -1;
    if (a < b.DownBand2 + b.DownBand1)
        return -2;
    return -3;
}

int ThreeLevelDeviationGrade(double d, const GradeBands& b) {
    if (d >= 0) {
        if (d < b.UpBand1)
            return 0;
        return d < b.UpBand2 ? 1 : 2;
    }
    const double a = std::fabs(d);
    if (a < b.DownBand1)
        return 0;
    return a < b.DownBand2 ? -1 : -2;
}

int ThreeLevelDifferenceGrade(double d, const GradeBands& b) {
    const double a = std::fabs(d);
    const int grade = a < b.DiffBand1 ? 0 : a < b.DiffBand2 ? 1 : 2;
    return d >= 0 ? grade : -grade;
}

int GradeIndex(int index, double value, bool male) {
    if (index == 5) {
        if (value <= 1.5)
            return 0;
        if (value <= 1.8)
            return 1;
        return value <= 2.0 ? 2 : 3;
    }
    if (index < 1 || index > 4)
        return 0;
    const IndexLimits& limits = kIndexLimits[static_cast<std::size_t>(index - 1)];
    const auto& l = male ? limits.male : limits.female;
    int grade = -3;
    for (double limit : l) {
        if (value < limit)
            break;
        ++grade;
    }
    return grade;
}

double ExpectedEnergyFor(double age, bool male) {
    double x;
    if (age <= 20)
        x = 75;
    else if (age <= 30)
        x = 68;
    else if (age <= 35)
        x = 63;
    else if (age <= 40)
        x = 58;
    else if (age <= 45)
        x = 53;
    else if (age <= 50)
        x = 48;
    else if (age <= 55)
        x = 43;
    else if (age <= 60)
        x = 40;
    else if (age <= 65)
        x = 36;
    else
        x = 32;
    return male ? x : x - 0.06 * x;
}

double RoundHalfEven(double x) {
    const double lower = std::floor(x);
    const double fraction = x - lower;
    if (fraction < 0.5)
        return lower;
    if (fraction > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

AnalysisResult Analyse(MeasurementRecord& record, bool male, double birth, const DisplayTables& tables) {
    for (int i = 1; i <= kPointCount; ++i) {
        const double v = record.Values[i];
        if (!(v > 0) || !std::isfinite(v))
            throw AnalysisError("point ME" + std::to_string(i) +
                                " has no measured value above 0; "
                                "only a complete measurement can be analysed");
    }

    AnalysisResult r;
    // Compensation, body energy (from the raw values), quality average.
    record.Compensate(tables);
    r.Compensated = record.Compensated;
    const PointValues& C = r.Compensated;
    double valueSum = 0, stdSum = 0;
    for (int i = 1; i <= kPointCount; ++i) {
        valueSum += record.Values[i];
        stdSum += record.Std[i];
    }
    const double E = valueSum / kPointCount;
    r.BodyEnergy = E;
    r.QualityAverage = stdSum / kPointCount;
    r.LowEnergy = E <= 12;

    // Group means of three points each.
    for (int g = 1; g <= 8; ++g) {
        r.GroupMean[g] = (C[3 * g - 2] + C[3 * g - 1] + C[3 * g]) / 3;
        // A non-positive coefficient can empty a group; the ratios below would be meaningless.
        if (!(r.GroupMean[g] > 0) || !std::isfinite(r.GroupMean[g]))
            throw AnalysisError(
                "group " + std::to_string(g) +
                " of compensated values has a mean of 0 or less; check the meridian coefficients");
    }

    const GradeBands gb = GradeBands::ForBodyEnergy(E);
    r.BandUnit = gb.BandUnit;
    r.UpBand1 = gb.UpBand1;
    r.UpBand2 = gb.UpBand2;
    r.DownBand1 = gb.DownBand1;
    r.DownBand2 = gb.DownBand2;
    r.DiffBand1 = gb.DiffBand1;
    r.DiffBand2 = gb.DiffBand2;

    for (int j = 1; j <= 12; ++j) {
        const PointPair& p = kElementPairs[static_cast<std::size_t>(j - 1)];
        r.ElementPairMean[j] = (C[p.yin] + C[p.yang]) / 2;
    }

    // Five-element table: column 1 the element, 2 its yin, 3 its yang meridian(s).
    auto meridianMean = [&](int m) { return (C[LeftPointOf(m)] + C[RightPointOf(m)]) / 2; };
    for (int row = 1; row <= 6; ++row) {
        const PointPair& m = kElementMeridians[static_cast<std::size_t>(row - 1)];
        r.ElementMean[row][2] = meridianMean(m.yin);
        r.ElementMean[row][3] = meridianMean(m.yang);
        r.ElementMean[row][1] = (r.ElementMean[row][2] + r.ElementMean[row][3]) / 2;
    }
    r.ElementMean[7][2] = (meridianMean(3) + meridianMean(2)) / 2;
    r.ElementMean[7][3] = (meridianMean(4) + meridianMean(5)) / 2;
    r.ElementMean[7][1] = (r.ElementMean[2][1] + r.ElementMean[3][1]) / 2;
    for (int row = 1; row <= 7; ++row)
        for (int col = 1; col <= 3; ++col)
            r.ElementGrade[row][col] = ThreeLevelDeviationGrade(r.ElementMean[row][col] - E, gb);

    const auto& G = r.GroupMean;
    r.YinMean = Mean4(G[1], G[3], G[5], G[7]);
    r.YangMean = Mean4(G[2], G[4], G[6], G[8]);
    r.UpperMean = Mean4(G[1], G[2], G[3], G[4]);
    r.LowerMean = Mean4(G[5], G[6], G[7], G[8]);
    r.LeftMean = Mean4(G[1], G[2], G[5], G[6]);
    r.RightMean = Mean4(G[3], G[4], G[7], G[8]);
    // The true extremes: a fixed start of 200 would report 200 as the minimum when every group
    // lies above it, which compensated values near full scale can.
    r.GroupMin = G[1];
    r.GroupMax = G[1];
    for (int g = 2; g <= 8; ++g) {
        if (G[g] < r.GroupMin)
            r.GroupMin = G[g];
        if (G[g] > r.GroupMax)
            r.GroupMax = G[g];
    }

    for (int i = 1; i <= kPointCount; ++i) {
        r.Deviation[i] = C[i] - E;
        r.PointGrade[i] = FourLevelDeviationGrade(r.Deviation[i], gb);
    }

    for (int n = 1; n <= kMeridianCount; ++n) {
        const int L = LeftPointOf(n), R = RightPointOf(n);
        r.MeridianGrade[n] = FourLevelDeviationGrade((C[L] + C[R]) / 2 - E, gb);
        r.SideGrade[n] = ThreeLevelDifferenceGrade(C[L] - C[R], gb);
        r.PairMeanGrade[n] = ThreeLevelDeviationGrade(r.ElementPairMean[n] - E, gb);
        const PointPair& p = kElementPairs[static_cast<std::size_t>(n - 1)];
        r.PairDiffGrade[n] = ThreeLevelDifferenceGrade(C[p.yin] - C[p.yang], gb);
    }

    const std::array<double, kIndexCount> indexValues{E, r.UpperMean / r.LowerMean, r.LeftMean / r.RightMean,
                                                      r.YinMean / r.YangMean, r.GroupMax / r.GroupMin};
    for (int k = 1; k <= kIndexCount; ++k) {
        r.IndexGrade[k] = GradeIndex(k, indexValues[static_cast<std::size_t>(k - 1)], male);
        r.IndexText[k] = std::string(IndexText(k, r.IndexGrade[k]));
    }

    // Expected energy and the start of the overall balance.
    const double age = birth <= 0 ? 40.0 : (record.MeDate - birth) / 365;
    r.ExpectedEnergy = ExpectedEnergyFor(age, male);
    const double pct = (E - r.ExpectedEnergy) / r.ExpectedEnergy * 100;
    double s = pct >= 0 ? 0.1 * pct : 0.3 * pct;
    if (E <= 10)
        s *= 1.5;
    else if (E <= 15)
        s *= 1.4;
    else if (E <= 20)
        s *= 1.3;
    else if (E <= 25)
        s *= 1.2;
    double overall = 90 + s;

    // Deductions.
    PointValues P{};
    for (int i = 1; i <= kPointCount; ++i) {
        const int g = r.PointGrade[i];
        overall -= std::fabs(0.6 * g);
        P[i] = 100 - std::fabs((C[i] - E) / E) * 40;
        if (g >= 0)
            P[i] -= 1.5 * g;
        else
            P[i] += 2 * g;
    }
    for (int n = 1; n <= kMeridianCount; ++n) {
        overall -= std::fabs(0.6 * r.MeridianGrade[n]);
        overall -= std::fabs(0.6 * r.SideGrade[n]);
        overall -= std::fabs(0.5 * r.PairMeanGrade[n]);
        overall -= std::fabs(0.5 * r.PairDiffGrade[n]);
        const int loss =
            std::abs(r.MeridianGrade[n]) + std::abs(r.SideGrade[n]) + (r.MeridianGrade[n] < 0 ? 1 : 0);
        P[LeftPointOf(n)] -= loss;
        P[RightPointOf(n)] -= loss;
    }
    overall -=
        std::abs(r.IndexGrade[2]) + std::abs(r.IndexGrade[3]) + std::abs(r.IndexGrade[4]) + r.IndexGrade[5];
    for (int i = 1; i <= kPointCount; ++i) {
        const CrossRow& x = kCross[static_cast<std::size_t>(i - 1)];
        P[i] -= std::abs(r.PairDiffGrade[x.j]) + std::abs(r.PairMeanGrade[x.j]) +
                std::fabs(0.6 * r.PointGrade[x.o]) + std::fabs(0.3 * r.MeridianGrade[x.q]) +
                std::fabs(0.3 * r.PointGrade[x.s]);
    }

    // Limits and rounding.
    if (overall > 100)
        overall = 99.0;
    else if (overall < 5)
        overall = 5.0;
    r.OverallBalance = overall;
    double balanceSum = 0;
    for (int i = 1; i <= kPointCount; ++i) {
        double b = RoundHalfEven(P[i] + 0.5) / 10;
        if (b < 1.0)
            b = 1.0;
        r.PointBalance[i] = b;
        balanceSum += b;
    }
    r.MeridianBalance = balanceSum / kPointCount;
    return r;
}

} // namespace oruk

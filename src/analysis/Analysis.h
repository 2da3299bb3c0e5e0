#pragma once

#include "analysis/MeasurementRecord.h"
#include "analysis/MeridianModel.h"

#include <stdexcept>
#include <string>

namespace oruk {

// Everything computed from one measurement. Tables are 1-based like the formulas.
struct AnalysisResult {
    double BodyEnergy = 0;
    double QualityAverage = 0;
    bool LowEnergy = false;
    PointValues Compensated{};
    OneBased<double, 8> GroupMean{};
    double YinMean = 0, YangMean = 0, UpperMean = 0, LowerMean = 0, LeftMean = 0, RightMean = 0;
    double GroupMin = 0, GroupMax = 0;
    double BandUnit = 0, UpBand1 = 0, UpBand2 = 0, DownBand1 = 0, DownBand2 = 0, DiffBand1 = 0, DiffBand2 = 0;
    OneBased<double, 12> ElementPairMean{};
    OneBased<OneBased<double, 3>, 7> ElementMean{};
    OneBased<OneBased<int, 3>, 7> ElementGrade{};
    PointValues Deviation{};
    OneBased<int, kPointCount> PointGrade{};
    OneBased<int, kMeridianCount> MeridianGrade{}, SideGrade{}, PairMeanGrade{}, PairDiffGrade{};
    OneBased<int, 5> IndexGrade{};
    OneBased<std::string, 5> IndexText{};
    double ExpectedEnergy = 0;
    double OverallBalance = 0;
    PointValues PointBalance{};
    double MeridianBalance = 0;
};

// Raised for a record the formulas cannot grade (a value of 0 or less, a zero group mean).
class AnalysisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The grading bands, scaled by the body energy; shared with the energy comparison.
struct GradeBands {
    double BandUnit = 0, UpBand1 = 0, UpBand2 = 0, DownBand1 = 0, DownBand2 = 0, DiffBand1 = 0, DiffBand2 = 0;
    static GradeBands ForBodyEnergy(double bodyEnergy);
};

// d is the graded difference; 0 counts as positive.
int FourLevelDeviationGrade(double d, const GradeBands& bands);   // -3 .. 3
int ThreeLevelDeviationGrade(double d, const GradeBands& bands);  // -2 .. 2
int ThreeLevelDifferenceGrade(double d, const GradeBands& bands); // -2 .. 2, on the DiffBand widths

// Grade of index 1..5 (body energy, upper/lower, left/right, yin/yang, max/min group mean).
int GradeIndex(int index, double value, bool male);

// Expected body energy for an age in years; female subjects 6 % lower.
double ExpectedEnergyFor(double ageYears, bool male);

// Nearest integer, ties to the even neighbour, whatever the floating-point rounding mode.
double RoundHalfEven(double x);

// male = true for a male subject; birth <= 0 means no birth date (scored as aged 40); the age is
// counted to record.MeDate. Fills record.Compensated; MeridianBalance is filled too (mean of the
// 24 PointBalance). Throws AnalysisError for a value of 0 or less (or not finite) and for a group
// of compensated values whose mean is not above 0 (a zero custom coefficient).
AnalysisResult Analyse(MeasurementRecord& record, bool male, double birth, const DisplayTables& tables);

} // namespace oruk

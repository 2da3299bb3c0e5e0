#include "programs/ProgramMatching.h"

#include "analysis/OleDate.h"

#include <cmath>
#include <utility>

namespace oruk {

namespace {

constexpr int kPositionCount = 24;

// Digit at a 1-based position; a missing or non-digit character counts as 0, so a blank mask
// is all zeros.
int DigitAt(const std::string& mask, int position) {
    const auto i = static_cast<std::size_t>(position - 1);
    if (i >= mask.size())
        return 0;
    const char c = mask[i];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

// Left and right point of the meridians at positions 6..17, in the editor's order.
constexpr std::pair<int, int> kMeridianPoints[] = {
    {1, 7},   // 6 LU
    {6, 12},  // 7 LI
    {2, 8},   // 8 PC
    {5, 11},  // 9 TE
    {3, 9},   // 10 HT
    {4, 10},  // 11 SI
    {13, 19}, // 12 SP
    {18, 24}, // 13 ST
    {14, 20}, // 14 LR
    {17, 23}, // 15 GB
    {15, 21}, // 16 KI
    {16, 22}, // 17 BL
};

// Element rows at positions 18..22: wood, fire as a whole, earth, metal, water.
constexpr int kElementRows[] = {1, 7, 4, 5, 6};

// A graded finding against the options "low" (1), "high" (2), either (3).
bool GradeTest(int v, bool q, int grade) {
    switch (v) {
    case 0:
        return q && grade == 0;
    case 1:
        return grade < 0;
    case 2:
        return grade > 0;
    case 3:
        return grade != 0;
    default:
        return false;
    }
}

// A finding whose options all mean "abnormal".
bool AbnormalTest(int v, bool q, int grade) {
    if (v == 0)
        return q && grade == 0;
    return v <= 3 && grade != 0;
}

bool MeridianTest(int v, bool q, int left, int right) {
    switch (v) {
    case 0:
        return q && left == 0 && right == 0;
    case 1:
        return left < 0 && right < 0;
    case 2:
        return left > 0 && right > 0;
    case 3:
        return left != 0 || right != 0;
    default:
        return false;
    }
}

int CalendarYear(double days) {
    return FromOleDate(days).year;
}

} // namespace

bool ConditionHolds(const ProgramCondition& condition, const AnalysisResult& result,
                    const MatchSubject& subject) {
    const int age = CalendarYear(subject.Today) - CalendarYear(subject.Birth);
    const double energy = std::trunc(result.BodyEnergy);
    bool holds = false;
    for (int p = 1; p <= kPositionCount; ++p) {
        const int v = DigitAt(condition.ProCond, p);
        const bool q = DigitAt(condition.ProAnd, p) == 1;

        if (p == 23 || p == 24) {
            // Age and sex: any chosen option must pass; an unchosen one has no effect.
            if (v == 0 || (p == 23 && age <= 0))
                continue;
            bool pass = false;
            if (p == 23) {
                const bool atLeast = age >= condition.ProAGL;
                const bool atMost = age <= condition.ProAGH;
                pass = v == 1 ? atLeast : v == 2 ? atMost : v == 3 ? atLeast && atMost : false;
            } else {
                pass = v == 1 ? subject.Male : v == 2 ? !subject.Male : false;
            }
            if (!pass)
                return false;
            holds = true;
            continue;
        }

        bool test = false;
        if (p == 1) {
            const int g = result.IndexGrade[1];
            switch (v) {
            case 4:
                test = energy == condition.ProEng;
                break;
            case 5:
                test = energy > condition.ProEng;
                break;
            case 6:
                test = energy < condition.ProEng;
                break;
            default:
                test = GradeTest(v, q, g);
            }
        } else if (p == 2) {
            test = GradeTest(v, q, result.IndexGrade[2]);
        } else if (p == 3) {
            test = AbnormalTest(v, q, result.IndexGrade[3]);
        } else if (p == 4) {
            // Option 1 ("weakened") matches a raised metabolism grade, option 2 a lowered one.
            const int g = result.IndexGrade[4];
            test = v == 1 ? g > 0 : v == 2 ? g < 0 : GradeTest(v, q, g);
        } else if (p == 5) {
            test = AbnormalTest(v, q, result.IndexGrade[5]);
        } else if (p <= 17) {
            const auto [left, right] = kMeridianPoints[p - 6];
            test = MeridianTest(v, q, result.PointGrade[left], result.PointGrade[right]);
        } else {
            test = GradeTest(v, q, result.ElementGrade[kElementRows[p - 18]][1]);
        }

        if (q && !test)
            return false;
        if (test)
            holds = true;
    }
    return holds;
}

std::vector<ProgramMatch> MatchPrograms(const std::vector<ProgramForMatching>& programs,
                                        const AnalysisResult& result, const MatchSubject& subject) {
    std::vector<ProgramMatch> matches;
    for (const ProgramForMatching& program : programs) {
        bool matched = false;
        for (const ProgramCondition& condition : program.Conditions) {
            const bool holds = ConditionHolds(condition, result, subject);
            if (condition.ProFlg && !holds) {
                matched = false;
                break;
            }
            if (holds)
                matched = true;
        }
        if (matched)
            matches.push_back({program.ProName, program.MKey});
    }
    return matches;
}

} // namespace oruk

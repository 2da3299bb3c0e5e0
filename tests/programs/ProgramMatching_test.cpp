#include "analysis/OleDate.h"
#include "programs/ProgramMatching.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace oruk;

namespace oruk {
void PrintTo(const ProgramMatch& m, std::ostream* os) {
    *os << "(" << m.ProName << ", " << m.MKey << ")";
}
} // namespace oruk

namespace {

// A 24-character mask with the given digits at 1-based positions, "0" elsewhere.
std::string Mask(const std::map<int, char>& digits) {
    std::string m(24, '0');
    for (const auto& [pos, d] : digits)
        m[static_cast<std::size_t>(pos - 1)] = d;
    return m;
}

ProgramCondition Cond(const std::map<int, char>& options, const std::map<int, char>& items = {},
                      bool mandatory = false) {
    ProgramCondition c;
    c.ProCond = Mask(options);
    c.ProAnd = Mask(items);
    c.ProFlg = mandatory;
    return c;
}

double Day(int y, int m, int d) {
    return ToOleDate({y, m, d});
}

const MatchSubject kMan{true, Day(1980, 6, 15), Day(2024, 3, 1)}; // 44 by calendar year
const MatchSubject kWoman{false, Day(1980, 6, 15), Day(2024, 3, 1)};

using Setup = std::function<void(AnalysisResult&)>;

struct Case {
    const char* what;
    ProgramCondition condition;
    Setup setup;
    bool holds;
    MatchSubject subject = kMan;
};

Setup Lung(int left, int right) {
    return [=](AnalysisResult& r) {
        r.PointGrade[1] = left;
        r.PointGrade[7] = right;
    };
}

Setup Both(Setup a, Setup b) {
    return [=](AnalysisResult& r) {
        a(r);
        b(r);
    };
}

Setup LargeIntestine(int left, int right) {
    return [=](AnalysisResult& r) {
        r.PointGrade[6] = left;
        r.PointGrade[12] = right;
    };
}

Setup Index(int i, int grade) {
    return [=](AnalysisResult& r) { r.IndexGrade[i] = grade; };
}

Setup Energy(double e) {
    return [=](AnalysisResult& r) { r.BodyEnergy = e; };
}

Setup Element(int row, int grade) {
    return [=](AnalysisResult& r) { r.ElementGrade[row][1] = grade; };
}

const Setup kNormal = [](AnalysisResult&) {};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        AnalysisResult r;
        c.setup(r);
        EXPECT_EQ(ConditionHolds(c.condition, r, c.subject), c.holds) << c.what;
    }
}

ProgramCondition WithEnergy(ProgramCondition c, double eng) {
    c.ProEng = eng;
    return c;
}

ProgramCondition WithAges(ProgramCondition c, double low, double high) {
    c.ProAGL = low;
    c.ProAGH = high;
    return c;
}

} // namespace

TEST(ConditionHolds, MeridianItemsAndOptions) {
    const auto lungItem = Cond({}, {{6, '1'}});
    const auto lungLowOrLiHigh = Cond({{6, '1'}, {7, '2'}});
    const auto lungLowAndLiHigh = Cond({{6, '1'}, {7, '2'}}, {{6, '1'}, {7, '1'}});
    RunCases({
        {"lung item, both points normal", lungItem, kNormal, true},
        {"lung item, left point high", lungItem, Lung(1, 0), false},
        {"lung item, right point low", lungItem, Lung(0, -2), false},
        {"options only: lung deficient", lungLowOrLiHigh, Lung(-1, -2), true},
        {"options only: LI excess", lungLowOrLiHigh, LargeIntestine(1, 2), true},
        {"options only: lung low on one side only", lungLowOrLiHigh, Lung(-1, 0), false},
        {"options only: nothing shown", lungLowOrLiHigh, kNormal, false},
        {"both items: both shown", lungLowAndLiHigh, Both(Lung(-1, -1), LargeIntestine(2, 1)), true},
        {"both items: only lung shown", lungLowAndLiHigh, Lung(-1, -1), false},
        {"both items: only LI shown", lungLowAndLiHigh, LargeIntestine(2, 1), false},
        {"either state: one side off", Cond({{6, '3'}}), Lung(0, -1), true},
        {"either state: normal", Cond({{6, '3'}}), kNormal, false},
        {"option 2 wants both sides high", Cond({{6, '2'}}), Lung(1, -1), false},
        {"an unknown option fails its ticked item", Cond({{6, '4'}, {7, '2'}}, {{6, '1'}}),
         LargeIntestine(1, 1), false},
        {"BL is points 16 and 22", Cond({{17, '1'}}),
         [](AnalysisResult& r) { r.PointGrade[16] = r.PointGrade[22] = -1; }, true},
        {"ST is points 18 and 24", Cond({{13, '2'}}),
         [](AnalysisResult& r) { r.PointGrade[18] = r.PointGrade[24] = 1; }, true},
        {"TE is points 5 and 11", Cond({{9, '1'}}),
         [](AnalysisResult& r) { r.PointGrade[5] = r.PointGrade[11] = -3; }, true},
        {"SP is points 13 and 19, not 12", Cond({{12, '1'}}),
         [](AnalysisResult& r) { r.PointGrade[12] = r.PointGrade[6] = -1; }, false},
    });
}

TEST(ConditionHolds, IndexAndElementFindings) {
    RunCases({
        {"weak: body energy grade low", Cond({{1, '1'}}), Index(1, -1), true},
        {"weak: grade high", Cond({{1, '1'}}), Index(1, 1), false},
        {"excited: grade high", Cond({{1, '2'}}), Index(1, 2), true},
        {"mental declining: low grade", Cond({{2, '1'}}), Index(2, -2), true},
        {"mental declining: high grade", Cond({{2, '1'}}), Index(2, 2), false},
        {"musculoskeletal abnormal either way", Cond({{3, '1'}}), Index(3, -1), true},
        {"musculoskeletal abnormal, normal grade", Cond({{3, '1'}}), kNormal, false},
        {"metabolism weakened matches a positive grade", Cond({{4, '1'}}), Index(4, 1), true},
        {"metabolism weakened, negative grade", Cond({{4, '1'}}), Index(4, -1), false},
        {"metabolism strengthened matches a negative grade", Cond({{4, '2'}}), Index(4, -1), true},
        {"autonomic abnormal, option 2", Cond({{5, '2'}}), Index(5, 3), true},
        {"autonomic option 4 fails", Cond({{5, '4'}}), Index(5, 3), false},
        {"wood deficiency", Cond({{18, '1'}}), Element(1, -1), true},
        {"fire is the whole-fire row 7", Cond({{19, '2'}}), Element(7, 1), true},
        {"fire ignores row 2", Cond({{19, '2'}}), Element(2, 1), false},
        {"earth row 4", Cond({{20, '3'}}), Element(4, -1), true},
        {"metal row 5", Cond({{21, '1'}}), Element(5, -1), true},
        {"water row 6", Cond({{22, '2'}}), Element(6, 2), true},
        {"every item ticked and everything normal", Cond({}, {{1, '1'}, {5, '1'}, {6, '1'}, {22, '1'}}),
         kNormal, true},
        {"every item ticked, one finding off", Cond({}, {{1, '1'}, {5, '1'}, {6, '1'}, {22, '1'}}),
         Element(6, 1), false},
        {"empty masks hold nothing", ProgramCondition{}, kNormal, false},
        {"blank masks hold nothing", Cond({}), kNormal, false},
        {"non-digits count as zero", ProgramCondition{"x1", "  ", false, 0, 0, 0}, Index(2, -1), true},
    });
}

TEST(ConditionHolds, BodyEnergyRange) {
    const auto equal30 = WithEnergy(Cond({{1, '4'}}, {{1, '1'}}), 30);
    const auto above30 = WithEnergy(Cond({{1, '5'}}), 30);
    const auto below30 = WithEnergy(Cond({{1, '6'}}), 30);
    RunCases({
        {"= 30 at 30.0", equal30, Energy(30.0), true},
        {"= 30 at 30.99", equal30, Energy(30.99), true},
        {"= 30 at 31.0", equal30, Energy(31.0), false},
        {"= 30 at 29.99", equal30, Energy(29.99), false},
        {"> 30 at 30.9", above30, Energy(30.9), false},
        {"> 30 at 31", above30, Energy(31), true},
        {"< 30 at 29.9", below30, Energy(29.9), true},
        {"< 30 at 30.5", below30, Energy(30.5), false},
        {"option 7 never holds", WithEnergy(Cond({{1, '7'}}), 30), Energy(30), false},
    });
}

TEST(ConditionHolds, AgeAndSex) {
    const MatchSubject noBirth{true, 0, Day(2024, 3, 1)};
    const MatchSubject lateBirthday{true, Day(1990, 12, 31), Day(2024, 1, 1)}; // 34 by calendar year
    const MatchSubject unborn{true, Day(2025, 1, 1), Day(2024, 1, 1)};
    const auto atLeast60 = WithAges(Cond({{23, '1'}}), 60, 0);
    const auto atLeast34 = WithAges(Cond({{23, '1'}}), 34, 0);
    const auto atLeast35 = WithAges(Cond({{23, '1'}}), 35, 0);
    const auto from30to40 = WithAges(Cond({{23, '3'}}), 30, 40);
    const auto male = Cond({{24, '1'}, {2, '1'}});
    RunCases({
        {"no birth date counts from 1899", atLeast60, kNormal, true, noBirth},
        {"age by calendar year: 34", atLeast34, kNormal, true, lateBirthday},
        {"age by calendar year: not 35", atLeast35, kNormal, false, lateBirthday},
        {"30 to 40 holds at 34", from30to40, kNormal, true, lateBirthday},
        {"30 to 40 fails at 125", from30to40, kNormal, false, noBirth},
        {"at most 30 fails and ends the condition", WithAges(Cond({{23, '2'}, {2, '1'}}), 0, 30),
         Index(2, -1), false, lateBirthday},
        {"age option 4 fails", WithAges(Cond({{23, '4'}, {2, '1'}}), 0, 99), Index(2, -1), false},
        {"no age yet: the age test is skipped", WithAges(Cond({{23, '1'}, {2, '1'}}), 60, 0), Index(2, -1),
         true, unborn},
        {"no age yet: skipped age alone holds nothing", atLeast60, kNormal, false, unborn},
        {"male with a passing item", male, Index(2, -1), true, kMan},
        {"male never matches a woman", male, Index(2, -1), false, kWoman},
        {"female", Cond({{24, '2'}}), kNormal, true, kWoman},
        {"sex option 3 fails", Cond({{24, '3'}, {2, '1'}}), Index(2, -1), false},
        {"unticked sex has no effect", Cond({{2, '1'}}), Index(2, -1), true, kWoman},
    });
}

TEST(MatchPrograms, WalksProgramsAndTheirConditions) {
    AnalysisResult r;
    r.IndexGrade[2] = -1; // mental state declining
    const auto holds = Cond({{2, '1'}});
    const auto fails = Cond({{2, '2'}});
    auto mandatory = [](ProgramCondition c) {
        c.ProFlg = true;
        return c;
    };
    const std::vector<ProgramForMatching> programs = {
        {1, "P1", "no conditions", {}},
        {2, "P2", "one condition holds", {fails, holds}},
        {3, "P3", "mandatory fails after a hold", {holds, mandatory(fails)}},
        {4, "P4", "mandatory fails before a hold", {mandatory(fails), holds}},
        {5, "P5", "mandatory holds, another fails", {mandatory(holds), fails}},
        {6, "P6", "nothing holds", {fails, fails}},
        {7, "P7", "only a mandatory that holds", {mandatory(holds)}},
    };
    const std::vector<ProgramMatch> expected = {{"one condition holds", 2},
                                                {"mandatory holds, another fails", 5},
                                                {"only a mandatory that holds", 7}};
    EXPECT_EQ(MatchPrograms(programs, r, kMan), expected);

    // The walk keeps the order it is given.
    std::vector<ProgramForMatching> reversed(programs.rbegin(), programs.rend());
    const std::vector<ProgramMatch> reversedExpected(expected.rbegin(), expected.rend());
    EXPECT_EQ(MatchPrograms(reversed, r, kMan), reversedExpected);
    EXPECT_TRUE(MatchPrograms({}, r, kMan).empty());
}

#pragma once

#include "analysis/Analysis.h"

#include <string>
#include <vector>

namespace oruk {

// One condition row (MEPRDT) as the matching reads it.
struct ProgramCondition {
    std::string ProCond; // 24 digits, one option per finding position
    std::string ProAnd;  // 24 "0"/"1": the finding's own box ticked; blank = all "0"
    bool ProFlg = false; // mandatory
    double ProEng = 0;
    double ProAGL = 0;
    double ProAGH = 0;
};

// One program (MEPRO) with its conditions in table order.
struct ProgramForMatching {
    int MKey = 0;
    std::string ProNo;
    std::string ProName;
    std::vector<ProgramCondition> Conditions;
};

struct ProgramMatch {
    std::string ProName;
    int MKey = 0;
    friend bool operator==(const ProgramMatch&, const ProgramMatch&) = default;
};

// The subject side of the matching: sex, and the age by calendar year.
struct MatchSubject {
    bool Male = true;
    double Birth = 0; // days; 0 counts as the year 1899
    double Today = 0; // days
};

// Programs are examined in the order given (the MeProB order); matches keep that order.
std::vector<ProgramMatch> MatchPrograms(const std::vector<ProgramForMatching>& programs,
                                        const AnalysisResult& result, const MatchSubject& subject);

// Whether one condition holds (exposed for the program editor's tests and hints).
bool ConditionHolds(const ProgramCondition& condition, const AnalysisResult& result,
                    const MatchSubject& subject);

} // namespace oruk

#pragma once

#include "analysis/Analysis.h"
#include "app/cli/Json.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace oruk::cli {

// Who and what was analysed, for the text output's subject block and value grid.
struct AnalysisSubject {
    std::string CustNo; // "編號:"
    std::string Name;   // "姓名:"
    std::string Tel;    // "電話:"
    bool Male = true;
    double Birth = 0; // days, 0 or less = no birth date
};

// What a command adds to the plain analysis (programs, findings, advice ...).
struct AnalysisExtras {
    // Further members of the JSON object, after the analysis keys, in this order: key and
    // the member's value as JSON text (build it with the helpers of Json.h).
    std::vector<std::pair<std::string, std::string>> JsonMembers;
    // Further blocks of the text output, printed after the analysis, each after a blank line.
    std::vector<std::string> TextSections;
};

// One JSON object keyed by the result's field names, then the extras' members; ends with a newline.
void WriteAnalysisJson(std::ostream& out, const AnalysisResult& result, const AnalysisExtras& extras = {});

// The analysis as the first analysis page shows it: subject, the five index rows, the balance
// indices and grid, and the value grid. Meridian rows and columns follow tables.MeridianOrder;
// today is the date the subject's age is counted to.
void WriteAnalysisText(std::ostream& out, const AnalysisResult& result, const MeasurementRecord& record,
                       const AnalysisSubject& subject, const DisplayTables& tables, double today,
                       const AnalysisExtras& extras = {});

} // namespace oruk::cli

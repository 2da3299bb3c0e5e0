#pragma once

#include <string>
#include <string_view>

namespace oruk {

// The print options of the analysis report, read from the 42-character option string
// ("1" = ticked). Positions missing from a short string read as unticked; the header space as 20 mm.
struct ReportOptions {
    bool detailed = false;            // 1: "詳細資料" (else "精簡資料")
    bool measuredValues = false;      // 2
    bool barChart = false;            // 3
    bool indexBlock = false;          // 4
    bool findings = false;            // 5
    bool diet = false;                // 6
    bool expertPrograms = false;      // 7
    bool slopeChart = false;          // 8
    bool yinYangChart = false;        // 9
    bool qiBloodChart = false;        // 10
    bool treatmentRecord = false;     // 11
    bool prescriptions = false;       // 14
    bool ryodorakuFindings = false;   // 15
    bool singleCompound = false;      // 16
    bool ryodorakuChart = false;      // 17
    bool autonomicChart = false;      // 18
    bool energyBalanceChart = false;  // 19
    bool eciChart = false;            // 26
    bool fiveElementsChart = false;   // 28
    bool colour = false;              // 31
    bool smallFont = false;           // 32
    bool headerSpace = false;         // 33
    bool headerFirstPageOnly = false; // 34 ("第一頁"; else "每一頁")
    bool headerInches = false;        // 35
    double headerSpaceMm = 20;        // 36-38
    bool reportTitle = false;         // 39
    bool subjectData = false;         // 40
    bool compensatedValues = false;   // 41
    bool subjectComplete = false;     // 42 ("完整"; else "簡易")

    static ReportOptions Parse(std::string_view flags);
    // Every section and chart ticked, detailed, colour, normal font, complete subject data.
    static ReportOptions All();

    int FontSize() const { return smallFont ? 8 : 10; }
    // Extra top space on pages after the first.
    double TopMarginMm() const { return headerSpace && !headerFirstPageOnly ? headerSpaceMm : 0; }
};

// True when text is a valid option string: exactly 42 characters "0" or "1" (positions 36-38 digits).
bool IsValidOptionString(std::string_view flags);

} // namespace oruk

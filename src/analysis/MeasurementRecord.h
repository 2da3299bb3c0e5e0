#pragma once

#include "analysis/MeridianModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace oruk {

using PointValues = OneBased<double, kPointCount>;

// One measurement in memory. Values, compensated values and quality scores by point index.
struct MeasurementRecord {
    double MeDate = 0;        // days since 1899-12-30, fraction = time of day; 0 = no measurement
    bool HighVoltage = false; // true = high potential
    PointValues Values{};     // µA, 0 = not measured
    PointValues Compensated{};
    PointValues Std{}; // data quality score, at most 100
    int MKey = 0;      // MEDATA key, 0 = not stored
    std::vector<std::string> Memo;

    bool IsComplete() const; // every value above 0
    void Compensate(const DisplayTables& tables);
};

// The STD column: 24 fields of 5 characters, "%3.1f" right-aligned.
std::string FormatStd(const PointValues& scores);
PointValues ParseStd(std::string_view text);

// Memo lines <-> the MEMO1 text (lines joined with CR LF, as stored).
std::string JoinMemo(const std::vector<std::string>& lines);
std::vector<std::string> SplitMemo(std::string_view text);

} // namespace oruk

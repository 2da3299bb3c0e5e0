#pragma once

#include "analysis/MeasurementRecord.h"
#include "charts/Canvas.h"
#include "charts/PrintLayout.h"

#include <optional>
#include <string>

namespace oruk {

// One side of the energy comparison: a measurement with its subject.
struct ComparisonSide {
    std::string custNo, name;
    PointValues compensated{}; // stored values times the meridian coefficients
    double bodyEnergy = 0;     // mean of the 24 stored values, before compensation
    bool highVoltage = false;
    double date = 0; // days since 1899-12-30
};

ComparisonSide MakeComparisonSide(const std::string& custNo, const std::string& name,
                                  const MeasurementRecord& record, const DisplayTables& tables);

struct ComparisonInput {
    ComparisonSide source;
    std::optional<ComparisonSide> comparison; // empty until a comparison record is chosen
    bool lineChart = false;                   // "曲線圖"; else bars ("長條圖")
    DisplayTables tables = DefaultDisplayTables();
    std::string orgName, orgUnit;
    double now = 0; // printing time
};

inline constexpr const char* kComparisonJobTitle = "O.R.U.K 能量比對資料.";

// The two-panel chart of the comparison window, on a box of the canvas's size.
void DrawComparisonChart(Canvas& canvas, const ComparisonInput& input);

// The one-page comparison report, always in colour. True when the job ended normally.
bool PrintComparisonReport(PrintDevice& device, const ComparisonInput& input,
                           PrintObserver* observer = nullptr, std::string* error = nullptr);

} // namespace oruk

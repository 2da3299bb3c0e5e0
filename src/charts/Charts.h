#pragma once

#include "analysis/Analysis.h"
#include "charts/Canvas.h"
#include "charts/PrintLayout.h"

#include <optional>
#include <string>
#include <string_view>

namespace oruk {

enum class ChartKind { EnergyBalance, Eci, Autonomic, Bar, Slope, Ryodoraku, YinYang, QiBlood, FiveElements };

// What every chart reads: the analysis result, the display order and the subject's sex.
struct ChartInput {
    const AnalysisResult* result = nullptr;
    const DisplayTables* tables = nullptr;
    bool male = true;
    std::string workDir; // the energy balance chart's background picture lies under it
};

// The caption set above the chart box when the chart is drawn on screen.
std::string_view ChartCaption(ChartKind kind);
// The title printed above the chart on paper.
std::string_view ChartPaperTitle(ChartKind kind);
// Command-line names: "energy-balance", "eci", "autonomic", "bar", "slope", "ryodoraku", "yin-yang",
// "qi-blood", "five-elements".
std::string_view ChartName(ChartKind kind);
std::optional<ChartKind> ChartKindFromName(std::string_view name);

// Draws the chart into a chart box of the canvas's size.
void DrawScreenChart(ChartKind kind, Canvas& canvas, const ChartInput& input);
// Prints the chart as a report section at the layout's cursor and advances it.
void PrintChart(ChartKind kind, PrintLayout& layout, const ChartInput& input);

// The body energy state block of the report (paper only).
void PrintIndexBlock(PrintLayout& layout, const ChartInput& input);

// The background picture of the energy balance chart under the working directory.
std::string EnergyBalancePicturePath(const std::string& workDir);

} // namespace oruk

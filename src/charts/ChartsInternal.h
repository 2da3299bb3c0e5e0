#pragma once

#include "charts/Charts.h"

namespace oruk {

void DrawMeridianChartScreen(ChartKind kind, Canvas& canvas, const ChartInput& in);
void PrintMeridianChart(ChartKind kind, PrintLayout& layout, const ChartInput& in);
void DrawBalanceChartScreen(ChartKind kind, Canvas& canvas, const ChartInput& in);
void PrintBalanceChart(ChartKind kind, PrintLayout& layout, const ChartInput& in);
void DrawRadialChartScreen(ChartKind kind, Canvas& canvas, const ChartInput& in);
void PrintRadialChart(ChartKind kind, PrintLayout& layout, const ChartInput& in);
void DrawEnergyBalanceScreen(Canvas& canvas, const ChartInput& in);
void PrintEnergyBalance(PrintLayout& layout, const ChartInput& in);

} // namespace oruk

#pragma once

#include "charts/Charts.h"

#include <QImage>
#include <functional>
#include <string>

namespace oruk {

// The screen chart as the analysis window draws it, on a white box of width x height pixels at 96 dpi.
QImage RenderChartImage(ChartKind kind, const ChartInput& input, int width, int height);

// Write the screen chart to a PNG or SVG file. The file appears complete or not at all;
// on failure error holds the reason.
bool SaveChartPng(ChartKind kind, const ChartInput& input, int width, int height, const std::string& path,
                  std::string& error);
// Any drawing of a white box of width x height pixels at 96 dpi, as an image or a PNG file.
QImage RenderImage(const std::function<void(Canvas&)>& draw, int width, int height);
bool SavePng(const std::function<void(Canvas&)>& draw, int width, int height, const std::string& path,
             std::string& error);
bool SaveChartSvg(ChartKind kind, const ChartInput& input, int width, int height, const std::string& path,
                  std::string& error);

} // namespace oruk

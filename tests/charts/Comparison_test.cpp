#include "charts/ChartMath.h"
#include "charts/Comparison.h"
#include "charts/RecordingCanvas.h"
#include "charts/RecordingPrintDevice.h"
#include "charts/painter/ChartOutput.h"
#include "charts/painter/PdfPrintDevice.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace oruk {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;

MeasurementRecord Record(double base, double spread) {
    MeasurementRecord r;
    r.MeDate = 46000.5;
    for (int i = 1; i <= 24; ++i)
        r.Values[i] = base + spread * ((i % 5) - 2);
    return r;
}

ComparisonInput Input(bool chosen, bool line = false) {
    ComparisonInput in;
    in.source = MakeComparisonSide("0042", "王小明", Record(40, 6), in.tables);
    if (chosen)
        in.comparison = MakeComparisonSide("0077", "李大華", Record(70, 9), in.tables);
    in.lineChart = line;
    in.orgName = "素凡事業有限公司";
    in.orgUnit = "自然醫學研究中心";
    in.now = 46001.5;
    return in;
}

std::vector<Op> Bars(const RecordingCanvas& c) {
    return c.Select(
        [](const Op& op) { return op.kind == Kind::Rectangle && op.brush.style == BrushStyle::Solid; });
}

TEST(ComparisonChart, SecondPanelEmptyUntilChosen) {
    RecordingCanvas empty(965, 554), chosen(965, 554);
    DrawComparisonChart(empty, Input(false));
    DrawComparisonChart(chosen, Input(true));
    EXPECT_EQ(Bars(empty).size(), 24u);
    EXPECT_EQ(Bars(chosen).size(), 48u);
    // the empty panel still has its title, average line and labels
    EXPECT_EQ(empty.Texts("2.比對資料").size(), 1u);
    EXPECT_EQ(empty.Texts("肺經").size(), 2u);
    const ComparisonInput in = Input(true);
    const std::string e1 = Format("%3.1f", in.source.bodyEnergy),
                      e2 = Format("%3.1f", in.comparison->bodyEnergy);
    EXPECT_EQ(empty.Texts(e1).size(), 1u);
    EXPECT_EQ(empty.Texts(e2).size(), 0u);
    EXPECT_EQ(chosen.Texts(e2).size(), 1u);
    // first bar of panel 1 starts on its middle line: top 5, bottom 252, middle 129 (rounded half to even:
    // 128.5)
    auto bars = Bars(chosen);
    EXPECT_EQ(bars[0].v[0], 30);
    EXPECT_EQ(bars[0].v[1], RoundEven(5 + 247 / 2.0));
    EXPECT_EQ(bars[23].v[2], 965);
}

TEST(ComparisonChart, BandsGrowWithTheAverageAndClipToThePanel) {
    ComparisonInput in = Input(true);
    RecordingCanvas c(965, 554);
    DrawComparisonChart(c, in);
    auto redLines = c.Select([](const Op& op) {
        return op.kind == Kind::Line && op.pen.colour == Rgb{0xFF, 0, 0} && op.pen.style == PenStyle::Dotted;
    });
    ASSERT_GE(redLines.size(), 2u);
    // panel 1 upper red band at ym - f*UpBand2, labelled with its value; each panel's bands
    // come from its own average, so the larger average has the wider bands in µA
    const double h1 = 252 - 5, E1 = in.source.bodyEnergy, E2 = in.comparison->bodyEnergy;
    const auto b1 = GradeBands::ForBodyEnergy(E1), b2 = GradeBands::ForBodyEnergy(E2);
    EXPECT_EQ(redLines[0].v[1], RoundEven(RoundEven(5 + h1 / 2) - b1.UpBand2 * h1 / 2 / E1));
    EXPECT_EQ(c.Texts(Format("%3.1f", E1 + b1.UpBand2)).size(), 1u);
    EXPECT_EQ(c.Texts(Format("%3.1f", E2 + b2.UpBand2)).size(), 1u);
    EXPECT_GT(b2.UpBand2, b1.UpBand2);
    // a deviation beyond the panel is clipped at its top
    in.source.compensated[in.tables.MeridianPointPair[1].first] = 500;
    RecordingCanvas clipped(965, 554);
    DrawComparisonChart(clipped, in);
    EXPECT_EQ(Bars(clipped)[0].v[3], 5);
}

TEST(ComparisonChart, ZeroAverageCountsAsOne) {
    ComparisonInput in = Input(false);
    in.source = MakeComparisonSide("1", "x", MeasurementRecord{}, in.tables);
    RecordingCanvas c(965, 554);
    DrawComparisonChart(c, in);
    EXPECT_EQ(c.Texts("0.0").size(), 1u); // the average label
    auto b = GradeBands::ForBodyEnergy(1);
    // band labels come from an average of 1; the lower ones fall outside the panel
    EXPECT_EQ(c.Texts(Format("%3.1f", 1 + b.UpBand2)).size(), 0u); // above the top: not drawn
    EXPECT_EQ(Bars(c).size(), 24u);
}

TEST(ComparisonChart, LineModeDrawsSquaresAndDottedLinks) {
    RecordingCanvas c(965, 554);
    DrawComparisonChart(c, Input(true, true));
    auto squares = Bars(c);
    ASSERT_EQ(squares.size(), 48u);
    EXPECT_EQ(squares[0].v[2] - squares[0].v[0], 8);
    auto links = c.Select([](const Op& op) {
        return op.kind == Kind::Line && op.pen.colour == Rgb{0, 0, 0} && op.pen.style == PenStyle::Dotted;
    });
    EXPECT_EQ(links.size(), 46u);
}

TEST(ComparisonReport, OnePageWithBothBlocksOrOnlyTheSource) {
    for (bool chosen : {false, true}) {
        RecordingPrintDevice dev(600);
        ASSERT_TRUE(PrintComparisonReport(dev, Input(chosen)));
        EXPECT_EQ(dev.Pages(), 1);
        EXPECT_EQ(dev.Title(), "O.R.U.K 能量比對資料.");
        auto& rec = dev.Recording();
        EXPECT_EQ(rec.Texts("2. 比對資料").size(), chosen ? 2u : 1u); // block heading and panel title
        EXPECT_EQ(rec.Texts("編號:  0077").size(), chosen ? 1u : 0u);
        EXPECT_EQ(Bars(rec).size(), chosen ? 48u : 24u);
        EXPECT_EQ(rec.Texts("列印時間: 2025/12/10, 12:00:00").size(), 1u);
        for (const Op& op : rec.Ops()) {
            if (op.kind == Kind::Text) {
                EXPECT_LT(op.v[1], dev.PageHeight() - PrintLayout(dev).MmToDots(10)) << op.text;
            }
        }
    }
}

TEST(ComparisonReport, PdfAndPng) {
    QTemporaryDir tmp;
    const char* keep = std::getenv("ORUK_CHART_OUTPUT");
    std::string dir = keep && *keep ? keep : tmp.path().toStdString();
    std::string pdf = dir + "/compare.pdf", png = dir + "/compare.png";
    PdfPrintDevice device(pdf, 600);
    std::string error;
    ASSERT_TRUE(PrintComparisonReport(device, Input(true), nullptr, &error)) << error;
    ASSERT_TRUE(std::filesystem::file_size(pdf) > 1000);
    ASSERT_TRUE(SavePng([](Canvas& c) { DrawComparisonChart(c, Input(true)); }, 965, 554, png, error))
        << error;
}

} // namespace
} // namespace oruk

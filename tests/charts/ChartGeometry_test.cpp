#include "ChartFixture.h"
#include "charts/ChartMath.h"
#include "charts/Charts.h"
#include "charts/RecordingCanvas.h"
#include "charts/RecordingPrintDevice.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace oruk {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;
using testing::ChartFixture;

constexpr Rgb kYellowMarker{0xFF, 0xEE, 0};

RecordingCanvas DrawScreen(ChartKind kind, const ChartFixture& fx) {
    RecordingCanvas c(965, 554);
    DrawScreenChart(kind, c, fx.input);
    return c;
}

std::vector<Op> Polygons(const RecordingCanvas& c) {
    return c.Select(Kind::Polygon);
}

TEST(MeridianCharts, BarsStartOnTheMiddleLineAndAreClampedAtTheBox) {
    ChartFixture fx;
    const int p1 = fx.tables.MeridianPointPair[1].first, p2 = fx.tables.MeridianPointPair[1].second;
    fx.r.Deviation[p1] = fx.r.BodyEnergy * 1.5;  // beyond the top
    fx.r.Deviation[p2] = -fx.r.BodyEnergy * 1.5; // beyond the bottom
    auto c = DrawScreen(ChartKind::Bar, fx);
    auto bars = c.Select([](const Op& op) { return op.kind == Kind::Rectangle && op.v[1] == 277; });
    ASSERT_EQ(bars.size(), 24u);
    EXPECT_EQ(bars[0].v, (std::vector<int>{50, 277, 88, 5}));
    EXPECT_EQ(bars[1].v, (std::vector<int>{88, 277, 126, 549}));
    EXPECT_EQ(bars[23].v[2], 965);
    // A deviation of half the body energy spans a quarter of the height.
    const int p3 = fx.tables.MeridianPointPair[2].first;
    fx.r.Deviation[p3] = fx.r.BodyEnergy / 2;
    fx.r.PointGrade[p3] = 2;
    auto c2 = DrawScreen(ChartKind::Bar, fx);
    auto bars2 = c2.Select([](const Op& op) { return op.kind == Kind::Rectangle && op.v[1] == 277; });
    EXPECT_EQ(bars2[2].v[3], RoundEven(277 - 277.0 / 2));
    EXPECT_EQ(bars2[2].brush.colour, ChartRed);
    // axes: 3 px, vertical and the middle line
    auto first = c.Select(Kind::Line).front();
    EXPECT_EQ(first.v, (std::vector<int>{50, 0, 50, 554}));
    EXPECT_EQ(first.pen.width, 3);
    EXPECT_EQ(c.Texts(Format("%5.1f", fx.r.BodyEnergy)).front().v, (std::vector<int>{10, 277 - 8}));
}

TEST(MeridianCharts, SideMarkersOnlyForUnevenMeridiansAndPointTheirWay) {
    ChartFixture fx; // LU side grade +1, KI side grade -2, the rest 0
    for (ChartKind kind : {ChartKind::Bar, ChartKind::Slope, ChartKind::Ryodoraku}) {
        auto c = DrawScreen(kind, fx);
        auto tri = Polygons(c);
        ASSERT_EQ(tri.size(), 2u) << ChartName(kind);
        // LU in column 1: centre 88, pointing right
        EXPECT_EQ(tri[0].points, (std::vector<Point>{{101, 30}, {89, 22}, {89, 38}}));
        // KI in column 9: centre 698, pointing left, red
        EXPECT_EQ(tri[1].points, (std::vector<Point>{{685, 30}, {697, 22}, {697, 38}}));
        EXPECT_EQ(tri[1].pen.style, PenStyle::None);
        const bool ryodoraku = kind == ChartKind::Ryodoraku;
        EXPECT_EQ(tri[0].brush.colour, ryodoraku ? kYellowMarker : ChartYellow);
        EXPECT_EQ(tri[1].brush.colour, ryodoraku ? (Rgb{0xFF, 0, 0}) : ChartRed);
    }
}

TEST(MeridianCharts, CustomOrderMovesLabelsAndMarkersTogether) {
    ChartFixture fx;
    fx.tables = BuildDisplayTables(1, {}, 0, {});
    fx.input.tables = &fx.tables;
    auto c = DrawScreen(ChartKind::Bar, fx);
    int kiColumn = 0;
    for (int k = 1; k <= 12; ++k)
        if (fx.tables.MeridianOrder[k] == 9)
            kiColumn = k;
    ASSERT_GT(kiColumn, 0);
    int cx = 50 + RoundEven(915.0 / 12 * (kiColumn - 1) + 915.0 / 24);
    auto tri = Polygons(c);
    ASSERT_EQ(tri.size(), 2u);
    bool found = false;
    for (const Op& t : tri)
        found |= t.points[0] == Point{cx - 13, 30};
    EXPECT_TRUE(found);
    auto name = c.Texts(std::string(MeridianTable()[9].Name));
    ASSERT_FALSE(name.empty());
    EXPECT_NEAR(name[0].v[0] + c.TextWidth(std::string(MeridianTable()[9].Name)) / 2, cx, 2);
}

TEST(MeridianCharts, EqualSlopeIsRedAndRisingSlopeBlue) {
    ChartFixture fx;
    auto [l1, r1] = fx.tables.MeridianPointPair[1];
    auto [l2, r2] = fx.tables.MeridianPointPair[2];
    fx.r.Deviation[l1] = fx.r.Deviation[r1] = 3;
    fx.r.Deviation[l2] = 1;
    fx.r.Deviation[r2] = 2;
    auto c = DrawScreen(ChartKind::Slope, fx);
    auto segs = c.Select(
        [](const Op& op) { return op.kind == Kind::Line && op.pen.width == 2 && op.v[0] != op.v[2]; });
    ASSERT_GE(segs.size(), 12u);
    // from the middle of the left slot to the middle of the right slot
    EXPECT_EQ(segs[0].v[0], 50 + RoundEven(915.0 / 48));
    EXPECT_EQ(segs[0].v[2], 50 + RoundEven(915.0 / 24 + 915.0 / 48));
    EXPECT_EQ(segs[0].pen.colour, (Rgb{0xFF, 0, 0}));
    EXPECT_EQ(segs[1].pen.colour, (Rgb{0, 0, 0xFF}));
}

TEST(MeridianCharts, RyodorakuValueAbove150SitsFiveBelowTheTop) {
    ChartFixture fx;
    const int p = fx.tables.MeridianPointPair[1].first;
    fx.r.Compensated[p] = 180;
    auto c = DrawScreen(ChartKind::Ryodoraku, fx);
    auto boxes = c.Select([](const Op& op) {
        return op.kind == Kind::Rectangle && op.v[3] - op.v[1] == 10 && op.pen.style == PenStyle::Solid;
    });
    ASSERT_EQ(boxes.size(), 24u);
    EXPECT_EQ(boxes[0].v, (std::vector<int>{52, 0, 50 + RoundEven(915.0 / 24 - 1), 10}));
    // 0 µA at the bottom of a box 50 pixels shorter than the chart box
    const int p2 = fx.tables.MeridianPointPair[1].second;
    fx.r.Compensated[p2] = 75;
    auto c2 = DrawScreen(ChartKind::Ryodoraku, fx);
    auto b2 = c2.Select([](const Op& op) {
        return op.kind == Kind::Rectangle && op.v[3] - op.v[1] == 10 && op.pen.style == PenStyle::Solid;
    });
    EXPECT_EQ(b2[1].v[1], 504 - 252 - 5);
}

TEST(MeridianCharts, PaperBandLineOutsideTheBoxIsDroppedButDrawnOnScreen) {
    ChartFixture fx;
    fx.SetBodyEnergy(4); // the lower warning band lies far below the plot
    auto lowerLabel = Format("%5.1f", fx.r.BodyEnergy - fx.r.DownBand2);
    auto screen = DrawScreen(ChartKind::Bar, fx);
    EXPECT_EQ(screen.Texts(lowerLabel).size(), 1u);

    RecordingPrintDevice dev(600);
    PrintLayout layout(dev);
    ASSERT_TRUE(layout.StartJob("t", 10, true, 0));
    PrintChart(ChartKind::Bar, layout, fx.input);
    EXPECT_TRUE(dev.Recording().Texts(lowerLabel).empty());
    EXPECT_TRUE(dev.Recording()
                    .Select([](const Op& op) {
                        return op.kind == Kind::Line && op.pen.colour == Rgb{0xFF, 0, 0};
                    })
                    .empty());

    ChartFixture normal; // bands inside the box print with their labels
    RecordingPrintDevice dev2(600);
    PrintLayout layout2(dev2);
    ASSERT_TRUE(layout2.StartJob("t", 10, true, 0));
    PrintChart(ChartKind::Bar, layout2, normal.input);
    EXPECT_EQ(dev2.Recording().Texts(Format("%5.1f", normal.r.BodyEnergy - normal.r.DownBand2)).size(), 1u);
}

TEST(MeridianCharts, PaperBarClampAndFrame) {
    ChartFixture fx;
    const int p = fx.tables.MeridianPointPair[1].second;
    fx.r.Deviation[p] = -fx.r.BodyEnergy * 2;
    RecordingPrintDevice dev(600);
    PrintLayout layout(dev);
    ASSERT_TRUE(layout.StartJob("t", 10, true, 0));
    const int start = layout.CursorY, L = layout.LineHeight;
    PrintChart(ChartKind::Bar, layout, fx.input);
    const int y0 = start + 3 * L;
    auto& rec = dev.Recording();
    auto title = rec.Texts("經絡虛實分析圖 - 長條");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].v[1], start + L);
    EXPECT_EQ(title[0].font.colour, (Rgb{0, 0, 0xFF}));
    auto bars = rec.Select([&](const Op& op) { return op.kind == Kind::Rectangle && op.v[1] == y0 + 1063; });
    ASSERT_EQ(bars.size(), 24u);
    EXPECT_EQ(bars[1].v[3], y0 + 2126 - 24); // H - 1 mm
    EXPECT_EQ(bars[0].v[0], 709);            // 30 mm
    EXPECT_EQ(layout.CursorY, start + 2 * L + 2126 + 2 * L);
}

TEST(BalanceCharts, PairMarkersAtExactlyTheDifferenceBands) {
    ChartFixture fx;
    for (int i = 1; i <= 24; ++i)
        fx.r.Deviation[i] = 0;
    fx.r.DiffBand1 = 4;
    fx.r.DiffBand2 = 8;
    // pair 1 LR-GB differs by exactly DiffBand1, pair 2 HT-SI by exactly DiffBand2
    fx.r.Deviation[LeftPointOf(8)] = fx.r.Deviation[RightPointOf(8)] = 4;
    fx.r.Deviation[LeftPointOf(3)] = fx.r.Deviation[RightPointOf(3)] = 8;
    auto c = DrawScreen(ChartKind::YinYang, fx);
    auto tri = Polygons(c);
    ASSERT_EQ(tri.size(), 2u);
    EXPECT_EQ(tri[0].points, (std::vector<Point>{{134, 17}, {126, 3}, {118, 17}}));
    EXPECT_EQ(tri[0].brush.colour, (Rgb{0xFF, 0xFF, 0}));
    EXPECT_EQ(tri[1].brush.colour, (Rgb{0xFF, 0, 0}));
    // just below the band: no marker
    fx.r.Deviation[LeftPointOf(8)] = fx.r.Deviation[RightPointOf(8)] = 3.999;
    EXPECT_EQ(Polygons(DrawScreen(ChartKind::YinYang, fx)).size(), 1u);

    RecordingPrintDevice dev(600);
    PrintLayout layout(dev);
    ASSERT_TRUE(layout.StartJob("t", 10, true, 0));
    fx.r.Deviation[LeftPointOf(8)] = fx.r.Deviation[RightPointOf(8)] = 4;
    PrintChart(ChartKind::YinYang, layout, fx.input);
    auto ptri = Polygons(dev.Recording());
    ASSERT_EQ(ptri.size(), 2u);
    EXPECT_EQ(ptri[0].brush.colour, kYellowMarker);
    const int xj = 709 + RoundEven(3543.0 / 6) - RoundEven(3543.0 / 12);
    EXPECT_EQ(ptri[0].points[1].x, xj); // the tip is centred on the pair
}

TEST(BalanceCharts, QiBloodComparesTheSidesAndLabelsThePairs) {
    ChartFixture fx;
    auto c = DrawScreen(ChartKind::QiBlood, fx);
    EXPECT_EQ(c.Texts("肝經+膽經-L").size(), 1u);
    EXPECT_EQ(c.Texts("肝經+膽經-R").size(), 1u);
    EXPECT_EQ(c.Texts("- 木 -").size(), 1u);
    EXPECT_EQ(c.Texts("左側").size(), 1u);
    auto y = DrawScreen(ChartKind::YinYang, fx);
    EXPECT_EQ(y.Texts("肝經-LR").size(), 1u);
    EXPECT_EQ(y.Texts("膽經-LR").size(), 1u);
    EXPECT_EQ(y.Texts("陰臟").size(), 1u);
    EXPECT_EQ(y.Texts("+  40").size(), 1u);
    EXPECT_EQ(y.Texts("-  40").size(), 1u);
}

TEST(BalanceCharts, AutonomicSharedMaximumNamesTheLaterSector) {
    ChartFixture fx;
    fx.r.GroupMean[3] = 50; // sector 1
    fx.r.GroupMean[1] = 50; // sector 8
    fx.r.GroupMean[8] = 32.5;
    fx.r.GroupMean[6] = 40;
    auto c = DrawScreen(ChartKind::Autonomic, fx);
    auto filled =
        c.Select([](const Op& op) { return op.kind == Kind::Pie && op.brush.style == BrushStyle::Solid; });
    ASSERT_EQ(filled.size(), 8u);
    EXPECT_EQ(filled[0].brush.colour, ChartBlue);
    EXPECT_EQ(filled[7].brush.colour, ChartBlue);
    EXPECT_EQ(filled[0].d[4], 90);
    EXPECT_EQ(filled[0].d[5], 135);
    // GroupMax at the full radius, 0 at 3/17 of it
    const double Rx = (RoundEven(965.0 / 12 * 9.5) - 30 - (RoundEven(965.0 / 12 * 2.5) + 30)) / 2.0;
    EXPECT_DOUBLE_EQ(filled[0].d[2], Rx);
    EXPECT_NE(c.FindText("最高: 左手三陰 50.0"), nullptr);

    for (int g = 1; g <= 8; ++g)
        fx.r.GroupMean[g] = 40;
    fx.r.GroupMax = fx.r.GroupMin = 40;
    auto all = DrawScreen(ChartKind::Autonomic, fx);
    for (const Op& op :
         all.Select([](const Op& op) { return op.kind == Kind::Pie && op.brush.style == BrushStyle::Solid; }))
        EXPECT_EQ(op.brush.colour, ChartBlue);
    EXPECT_EQ(all.Texts("1.00").size(), 1u);
}

TEST(RadialCharts, EciSectorRadiusFollowsTheScore) {
    ChartFixture fx;
    auto& t = fx.tables;
    auto setColumn = [&](int k, double s) {
        fx.r.PointBalance[t.PointIndexByPos[k]] = s;
        fx.r.PointBalance[t.PointIndexByPos[k + 6]] = s;
    };
    setColumn(1, 10.0);
    setColumn(2, 1.0);
    setColumn(3, 8.0);
    setColumn(4, 7.0);
    auto c = DrawScreen(ChartKind::Eci, fx);
    auto filled =
        c.Select([](const Op& op) { return op.kind == Kind::Pie && op.brush.style == BrushStyle::Solid; });
    ASSERT_EQ(filled.size(), 12u);
    const double Rx = (572 - 69) / 2.0, Ry = 247;
    EXPECT_DOUBLE_EQ(filled[0].d[0], 320); // centre rounded half to even
    EXPECT_DOUBLE_EQ(filled[0].d[1], 277);
    EXPECT_DOUBLE_EQ(filled[0].d[2], Rx);
    EXPECT_DOUBLE_EQ(filled[0].d[3], Ry);
    EXPECT_EQ(filled[0].brush.colour, ChartGreen);
    EXPECT_DOUBLE_EQ(filled[1].d[2], Rx * 5 / 14);
    EXPECT_EQ(filled[1].brush.colour, ChartRed);
    EXPECT_EQ(filled[2].brush.colour, ChartGreen);
    EXPECT_EQ(filled[3].brush.colour, ChartYellow);
    EXPECT_EQ(filled[1].d[4], 120);
    // table: 8.0 green text, 7.0 olive text
    auto bold = [&](const std::string& t) {
        return c.Select([&](const Op& op) { return op.kind == Kind::Text && op.text == t && op.font.bold; });
    };
    auto eight = bold("8.0");
    ASSERT_FALSE(eight.empty());
    EXPECT_EQ(eight[0].font.colour, (Rgb{0x35, 0xD2, 0x2D}));
    auto seven = bold("7.0");
    ASSERT_FALSE(seven.empty());
    EXPECT_EQ(seven[0].font.colour, (Rgb{0x80, 0x80, 0}));
}

TEST(RadialCharts, FiveElementRadiiFollowTheBodyEnergy) {
    ChartFixture fx;
    const double E = fx.r.BodyEnergy;
    fx.r.ElementMean[1][1] = E;     // wood on the red ring
    fx.r.ElementMean[2][1] = 2 * E; // sovereign fire at the outer ellipse
    fx.r.ElementMean[4][1] = 0;     // earth at a third
    auto c = DrawScreen(ChartKind::FiveElements, fx);
    auto filled =
        c.Select([](const Op& op) { return op.kind == Kind::Pie && op.brush.style == BrushStyle::Solid; });
    ASSERT_EQ(filled.size(), 6u);
    const double Rx = (734 - 231) / 2.0;
    EXPECT_DOUBLE_EQ(filled[0].d[0], 482);
    EXPECT_NEAR(filled[0].d[2], Rx * 2 / 3, 1e-9);
    EXPECT_NEAR(filled[1].d[2], Rx, 1e-9);
    EXPECT_NEAR(filled[2].d[2], Rx / 3, 1e-9);
    EXPECT_EQ(filled[0].d[4], 54);
    EXPECT_EQ(filled[5].d[4], 162);                 // ministerial fire last
    EXPECT_EQ(filled[1].brush.colour, ChartYellow); // ElementGrade of row 2 is 1
    // the red ring is two thirds of the full radius
    auto rings =
        c.Select([](const Op& op) { return op.kind == Kind::Ellipse && op.pen.style == PenStyle::Dotted; });
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].v[0], RoundEven(482 - Rx * 2 / 3));
    EXPECT_EQ(Polygons(c).size(), 10u);
}

TEST(EnergyBalanceChart, PointOnTheAxesAtEvenRatiosAndHeldInsideBeyondTheScale) {
    ChartFixture fx;
    fx.r.LeftMean = fx.r.RightMean = 40;
    fx.r.UpperMean = fx.r.LowerMean = 40;
    fx.r.IndexGrade[2] = fx.r.IndexGrade[3] = 0;
    auto c = DrawScreen(ChartKind::EnergyBalance, fx);
    auto discs = c.Select(
        [](const Op& op) { return op.kind == Kind::Ellipse && op.brush.style == BrushStyle::Solid; });
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_EQ(discs[0].v, (std::vector<int>{374, 230, 398, 254}));
    EXPECT_EQ(discs[0].brush.colour, (Rgb{0, 0xFF, 0}));
    // the axes cross at (386, 242)
    auto lines = c.Select(Kind::Line);
    bool vertical = false, horizontal = false;
    for (const Op& l : lines) {
        vertical |= l.v == std::vector<int>{386, 30, 386, 455};
        horizontal |= l.v == std::vector<int>{30, 242, 742, 242};
    }
    EXPECT_TRUE(vertical);
    EXPECT_TRUE(horizontal);

    fx.r.LeftMean = 120; // ratio 3.0
    fx.r.UpperMean = 4;  // ratio 0.1
    fx.r.IndexGrade[3] = -3;
    auto far = DrawScreen(ChartKind::EnergyBalance, fx);
    auto d2 = far.Select(
        [](const Op& op) { return op.kind == Kind::Ellipse && op.brush.style == BrushStyle::Solid; });
    ASSERT_EQ(d2.size(), 1u);
    EXPECT_EQ(d2[0].v, (std::vector<int>{-7, 468, 17, 492}));
    EXPECT_EQ(d2[0].brush.colour, (Rgb{0xFF, 0, 0}));
}

TEST(EnergyBalanceChart, FemaleRegionsAndZonesAndTheBackgroundPicture) {
    ChartFixture fx;
    fx.input.workDir = "/w";
    RecordingCanvas male(965, 554);
    male.AddPicture("/w/Data/mebkmg.msi", 200, 100);
    DrawScreenChart(ChartKind::EnergyBalance, male, fx.input);
    auto pics = male.Select(Kind::Picture);
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_EQ(pics[0].v, (std::vector<int>{286, 202})); // centred on the field, 10 lower
    fx.input.male = false;
    auto female = DrawScreen(ChartKind::EnergyBalance, fx); // no picture there: skipped
    EXPECT_TRUE(female.Select(Kind::Picture).empty());
    auto greens = [](const RecordingCanvas& c) {
        return c.Select([](const Op& op) {
            return op.kind == Kind::Rectangle && op.brush.style == BrushStyle::Solid &&
                   op.brush.colour == ChartGreen;
        });
    };
    // normal body energy zone: 30..65 male, 28..62 female on the 0..140 scale
    auto yv = [](double v) { return RoundEven(30 + 424.75 - 424.75 * v / 140); };
    auto mz = greens(male), fz = greens(female);
    ASSERT_FALSE(mz.empty());
    ASSERT_FALSE(fz.empty());
    EXPECT_EQ(mz[0].v[1], yv(65));
    EXPECT_EQ(fz[0].v[1], yv(62));
    EXPECT_EQ(fz[0].v[3], yv(28));
}

TEST(EnergyBalanceChart, PictureFolderFoundInEitherCase) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    EXPECT_EQ(EnergyBalancePicturePath(root), root + "/Data/mebkmg.msi");
    std::filesystem::create_directories(root + "/DATA");
    std::ofstream(root + "/DATA/mebkmg.msi") << "x";
    EXPECT_EQ(EnergyBalancePicturePath(root), root + "/DATA/mebkmg.msi");
    EXPECT_EQ(EnergyBalancePicturePath(""), "");
}

// Every printed chart stays inside its band of the page and advances the cursor the same way.
TEST(PaperCharts, EveryChartPrintsInsideItsAreaAndAdvancesTheCursor) {
    ChartFixture fx;
    for (ChartKind kind :
         {ChartKind::EnergyBalance, ChartKind::Eci, ChartKind::Autonomic, ChartKind::Bar, ChartKind::Slope,
          ChartKind::Ryodoraku, ChartKind::YinYang, ChartKind::QiBlood, ChartKind::FiveElements}) {
        for (bool colour : {true, false}) {
            RecordingPrintDevice dev(600);
            PrintLayout layout(dev);
            ASSERT_TRUE(layout.StartJob("t", 10, colour, 0));
            const int start = layout.CursorY, L = layout.LineHeight;
            PrintChart(kind, layout, fx.input);
            EXPECT_EQ(layout.CursorY, start + 4 * L + layout.MmToDots(90)) << ChartName(kind);
            const int top = start + L, bottom = start + 5 * L + layout.MmToDots(100);
            for (const Op& op : dev.Recording().Ops()) {
                if (op.kind == Kind::Text || op.kind == Kind::Line || op.kind == Kind::Rectangle) {
                    EXPECT_GE(op.v[0], 0) << ChartName(kind) << " " << op.text;
                    EXPECT_LE(op.v[0], layout.RightEdge) << ChartName(kind) << " " << op.text;
                    EXPECT_GE(op.v[1], top) << ChartName(kind) << " " << op.text;
                    EXPECT_LE(op.v[1], bottom) << ChartName(kind) << " " << op.text;
                }
                if (!colour && op.kind != Kind::NewPage) {
                    // monochrome: every colour is a grey
                    EXPECT_EQ(op.pen.colour.r, op.pen.colour.g);
                    EXPECT_EQ(op.font.colour.r, op.font.colour.b);
                }
            }
            auto title = dev.Recording().Texts(std::string(ChartPaperTitle(kind)));
            ASSERT_EQ(title.size(), 1u);
            EXPECT_EQ(title[0].v[0], layout.RightEdge / 2 - dev.Recording().TextWidth(title[0].text) / 2);
        }
    }
}

TEST(PaperCharts, MonochromeHatchesInsteadOfSolidFills) {
    ChartFixture fx;
    RecordingPrintDevice dev(600);
    PrintLayout layout(dev);
    ASSERT_TRUE(layout.StartJob("t", 10, false, 0));
    PrintChart(ChartKind::Autonomic, layout, fx.input);
    auto pies = dev.Recording().Select(
        [](const Op& op) { return op.kind == Kind::Pie && op.brush.style != BrushStyle::None; });
    ASSERT_EQ(pies.size(), 8u);
    int cross = 0, down = 0, up = 0;
    for (const Op& p : pies) {
        cross += p.brush.style == BrushStyle::HatchCross;
        down += p.brush.style == BrushStyle::HatchDown;
        up += p.brush.style == BrushStyle::HatchUp;
    }
    EXPECT_EQ(cross, 1);
    EXPECT_EQ(down, 1);
    EXPECT_EQ(up, 6);
}

TEST(PaperCharts, IndexBlockRangesBySex) {
    ChartFixture fx;
    fx.input.male = false;
    RecordingPrintDevice dev(600);
    PrintLayout layout(dev);
    ASSERT_TRUE(layout.StartJob("t", 10, true, 0));
    const int start = layout.CursorY;
    PrintIndexBlock(layout, fx.input);
    auto& rec = dev.Recording();
    EXPECT_EQ(rec.Texts("(28 - 61)").size(), 1u);
    EXPECT_EQ(rec.Texts("(0.78-1.09)").size(), 1u);
    EXPECT_EQ(rec.Texts("(0.88-1.14)").size(), 1u);
    EXPECT_EQ(layout.CursorY, start + 7 * layout.LineHeight);
    auto label = rec.Texts("身體能量:");
    ASSERT_EQ(label.size(), 1u);
    EXPECT_EQ(label[0].v[0] + rec.TextWidth("身體能量:"), layout.MmToDots(40));
    auto value = rec.Texts(Format("%5.2f", fx.r.YinMean / fx.r.YangMean));
    ASSERT_EQ(value.size(), 1u);
    EXPECT_EQ(value[0].font.colour, (Rgb{0xFB, 0xD6, 0x04})); // grade -1
    EXPECT_EQ(rec.Texts("陰  40.0 / 陽  42.0 =").size(), 1u);
}

} // namespace
} // namespace oruk

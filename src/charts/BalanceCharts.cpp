// The yin-yang and qi-blood pair charts and the autonomic nerve balance chart.
#include "charts/ChartFrame.h"
#include "charts/ChartsInternal.h"

#include <cmath>
#include <numbers>

namespace oruk {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// Yin meridian and its yang partner, in the charts' fixed order: LR-GB, HT-SI, PC-TE, SP-ST, LU-LI, KI-BL.
constexpr std::pair<int, int> kPairs[6] = {{8, 11}, {3, 4}, {2, 5}, {7, 12}, {1, 6}, {9, 10}};

double Ratio(double a, double b) {
    return a / (b != 0 ? b : 1.0);
}

void DrawPairChart(ChartFrame& f, const ChartInput& in, bool yinYang, int x0, int y0, int W, int H) {
    Canvas& c = f.c;
    const AnalysisResult& r = *in.result;
    const auto& table = MeridianTable();
    const double Ws = W, Hs = H;
    const int m = H / 2;
    const bool paper = f.Paper();
    auto xj = [&](int j) { return x0 + RoundEven(Ws / 6 * j) - RoundEven(Ws / 12); };
    auto yv = [&](double v) { return RoundEven(m - Hs / 100 * v); };
    auto dev = [&](int meridian) {
        return (r.Deviation[LeftPointOf(meridian)] + r.Deviation[RightPointOf(meridian)]) / 2;
    };
    double A[7] = {}, B[7] = {};
    std::string labelA[7], labelB[7], labelE[7];
    for (int j = 1; j <= 6; ++j) {
        auto [yin, yang] = kPairs[j - 1];
        std::string yinName(table[yin].Name), yangName(table[yang].Name);
        if (yinYang) {
            A[j] = dev(yin);
            B[j] = dev(yang);
            labelA[j] = yinName + "-LR";
            labelB[j] = yangName + "-LR";
        } else {
            A[j] = (r.Deviation[LeftPointOf(yin)] + r.Deviation[LeftPointOf(yang)]) / 2;
            B[j] = (r.Deviation[RightPointOf(yin)] + r.Deviation[RightPointOf(yang)]) / 2;
            labelA[j] = yinName + "+" + yangName + "-L";
            labelB[j] = yinName + "+" + yangName + "-R";
        }
        labelE[j] = "- " + std::string(table[yin].Element) + " -";
    }
    // 1. axes
    f.SetPen(kBlack, f.Len(3, 0.3));
    f.LineSeg(x0, y0, x0, y0 + H);
    f.LineSeg(x0, y0 + m, x0 + W, y0 + m);
    // 2. body energy
    f.NoBrush();
    std::string energy = Format("%3.1f", r.BodyEnergy);
    if (paper)
        f.TextRight(x0 - f.Mm(3), y0 + m - f.Mm(2), kRed, energy);
    else
        f.TextAt(10, m - 8, kRed, energy);
    // 3. pair lines
    f.SetPen(kGrey, f.Len(1, 0.1), PenStyle::Dotted);
    for (int j = 1; j <= 6; ++j) {
        if (paper)
            f.LineSeg(xj(j), y0 + H / 20, xj(j), y0 + H - 2 * (H / 20));
        else
            f.LineSeg(xj(j), H / 20, xj(j), H - H / 10);
    }
    // 4-5. points, series lines and pair markers
    const int half = f.Len(6, 1);
    for (int series = 0; series < 2; ++series) {
        const double* v = series == 0 ? A : B;
        Pen linePen = series == 0 ? Pen{f.Col(kBlack), f.Len(1, 0.2), PenStyle::Dotted}
                                  : Pen{f.Col(kBlue), paper ? f.Mm(1) / 5 : 1, PenStyle::Solid};
        Point last{};
        for (int j = 1; j <= 6; ++j) {
            int x = xj(j), y = y0 + yv(v[j]);
            f.SetPen(kBlack, f.Len(1, 0.2));
            f.SetBrush(series == 0 ? ChartRed : ChartGreen);
            if (series == 0 && f.Mono())
                c.Ellipse(x - half, y - half, x + half, y + half);
            else
                c.Rectangle(x - half, y - half, x + half, y + half);
            if (series == 0) {
                double diff = std::fabs(A[j] - B[j]);
                if (diff >= r.DiffBand1) {
                    Rgb fill = diff >= r.DiffBand2 ? kRed : (paper ? Rgb{0xFF, 0xEE, 0} : Rgb{0xFF, 0xFF, 0});
                    f.SetPen(kBlack, 1, PenStyle::None);
                    f.SetBrush(fill);
                    int xm = x0 + RoundEven(Ws / 6) * j - RoundEven(Ws / 12);
                    if (paper) {
                        c.Rectangle(xm - f.Mm(2), y0 + f.Mm(3.5), xm + f.Mm(2), y0 + f.Mm(4));
                        c.Polygon({{x + f.Mm(2), y0 + f.Mm(3)}, {x, y0}, {x - f.Mm(2), y0 + f.Mm(3)}});
                    } else {
                        c.Rectangle(xm - 8, 19, xm + 9, 23);
                        c.Polygon({{xm + 8, 17}, {xm, 3}, {xm - 8, 17}});
                    }
                }
            }
            c.pen = linePen;
            if (j == 1)
                c.MoveTo(x, y);
            else {
                c.MoveTo(last.x, last.y);
                c.LineTo(x, y);
            }
            last = {x, y};
        }
    }
    // 6. band lines
    const int bandWidth = paper ? f.Mm(1) / 5 : 1;
    f.SetPen(kRed, bandWidth, PenStyle::Dotted);
    f.LineSeg(x0, y0 + RoundEven(m - Hs / 100 * r.UpBand2), x0 + W, y0 + RoundEven(m - Hs / 100 * r.UpBand2));
    f.LineSeg(x0, y0 + RoundEven(Hs / 100 * r.DownBand2 + m), x0 + W,
              y0 + RoundEven(Hs / 100 * r.DownBand2 + m));
    f.SetPen(kOlive, bandWidth, PenStyle::Dotted);
    f.LineSeg(x0, y0 + RoundEven(m - Hs / 100 * r.UpBand1), x0 + W, y0 + RoundEven(m - Hs / 100 * r.UpBand1));
    f.LineSeg(x0, y0 + RoundEven(Hs / 100 * r.DownBand1 + m), x0 + W,
              y0 + RoundEven(Hs / 100 * r.DownBand1 + m));
    // 7. scale
    f.SetPen(kBlack, f.Len(1, 0.1));
    f.NoBrush();
    for (int i = 1; i <= 9; ++i) {
        if (i == 5)
            continue;
        int y = y0 + RoundEven(Hs / 10 * i);
        f.LineSeg(x0, y, x0 + W / 80, y);
        std::string label = i < 5 ? "+" + Format("%4d", 50 - 10 * i) : "-" + Format("%4d", 10 * i - 50);
        if (paper)
            f.TextRight(x0 - f.Mm(3), y0 + RoundEven(Hs / 10 * i - 8) - f.Mm(2), kBlack, label);
        else
            f.TextAt(5, RoundEven(Hs / 10 * i - 8), kBlack, label);
    }
    // 8. pair labels
    const int ly[3] = {paper ? y0 + H - f.Mm(10) : H - 46, paper ? y0 + H - f.Mm(6) : H - 30,
                       paper ? y0 + H - f.Mm(2) : H - 15};
    for (int j = 1; j <= 6; ++j) {
        f.TextAt(xj(j) - c.TextWidth(labelA[j]) / 2, ly[0], kRed, labelA[j]);
        f.TextAt(xj(j) - c.TextWidth(labelB[j]) / 2, ly[1], kGreen, labelB[j]);
        f.TextAt(xj(j) - c.TextWidth(labelE[j]) / 2, ly[2], kBlue, labelE[j]);
    }
    // 9. legend, from the box's left edge
    const std::string legendA = yinYang ? "陰臟" : "左側", legendB = yinYang ? "陽腑" : "右側";
    if (paper) {
        for (int s = 0; s < 2; ++s) {
            int ly0 = y0 + f.Mm(s == 0 ? 7 : 14);
            if (s == 0)
                f.SetPen(kBlack, f.Mm(0.2), PenStyle::Dotted);
            else
                f.SetPen(kBlue, f.Mm(1) / 5);
            f.LineSeg(W + f.Mm(2), ly0, W - f.Mm(6), ly0);
            f.SetPen(kBlack, f.Mm(0.2));
            f.SetBrush(s == 0 ? ChartRed : ChartGreen);
            int top = y0 + f.Mm(s == 0 ? 6 : 13), bottom = y0 + f.Mm(s == 0 ? 8 : 15);
            if (s == 0 && f.Mono())
                c.Ellipse(W - f.Mm(3), top, W - f.Mm(1), bottom);
            else
                c.Rectangle(W - f.Mm(3), top, W - f.Mm(1), bottom);
            f.NoBrush();
            f.TextAt(W + f.Mm(6), y0 + f.Mm(s == 0 ? 4 : 11), s == 0 ? kRed : kGreen,
                     s == 0 ? legendA : legendB);
        }
    } else {
        f.SetPen(kBlack, 1, PenStyle::Dotted);
        f.LineSeg(W - 135, 45, W - 95, 45);
        f.SetPen(kBlack, 1);
        f.SetBrush(ChartRed);
        c.Rectangle(W - 121, 38, W - 109, 52);
        f.NoBrush();
        f.TextAt(W - 80, 39, kRed, legendA);
        f.SetPen(kBlue, 1);
        f.LineSeg(W - 135, 80, W - 95, 80);
        f.SetPen(kBlack, 1);
        f.SetBrush(ChartGreen);
        c.Rectangle(W - 121, 73, W - 109, 87);
        f.NoBrush();
        f.TextAt(W - 80, 74, kGreen, legendB);
    }
}

// The autonomic chart on a box of width Wp whose top is `top` (screen: the whole chart box).
void DrawAutonomic(ChartFrame& f, const ChartInput& in) {
    Canvas& c = f.c;
    const AnalysisResult& r = *in.result;
    const bool paper = f.Paper();
    double L, R, T, Bt, Wp, Hp;
    int areaTop = 0;
    if (paper) {
        areaTop = f.Top();
        Wp = f.Mm(160);
        Hp = f.Mm(90);
        L = f.Mm(20) + RoundEven(Wp / 12 * 2.5);
        R = f.Mm(10) + RoundEven(Wp / 12 * 9.5);
        T = areaTop + f.Mm(10);
        Bt = areaTop + f.Mm(90);
    } else {
        Wp = c.Width();
        Hp = c.Height();
        L = RoundEven(Wp / 12 * 2.5) + 30;
        R = RoundEven(Wp / 12 * 9.5) - 30;
        T = 30;
        Bt = Hp - 30;
    }
    const double Rx = (R - L) / 2, Ry = (Bt - T) / 2;
    const int cx = RoundEven(L + Rx), cy = RoundEven(T + Ry);
    const double M = r.GroupMax > 0 ? r.GroupMax : 1.0;
    auto rx = [&](double v) { return Rx / (M + 3 * M / 14) * (3 * M / 14 + v); };
    auto ry = [&](double v) { return Ry / (M + 3 * M / 14) * (3 * M / 14 + v); };

    // 1.
    f.SetPen(kBlack, f.Len(2, 0.2));
    c.brush.style = BrushStyle::Solid;
    c.font.size = paper ? f.Layout().FontSize : 8;
    // 2. sectors
    static constexpr int kGroupOfSector[8] = {3, 4, 7, 8, 6, 5, 2, 1};
    static const char* kGroupNames[9] = {"",         "左手三陰", "左手三陽", "右手三陰", "右手三陽",
                                         "左腳三陰", "左腳三陽", "右腳三陰", "右腳三陽"};
    std::string maxName, minName;
    const double factor = paper ? 7.0 / 6.0 : 1.1;
    const int lift = paper ? f.Mm(2) : 5;
    for (int i = 1; i <= 8; ++i) {
        int g = kGroupOfSector[i - 1];
        double v = r.GroupMean[g];
        Rgb colour = ChartGreen;
        BrushStyle hatch = BrushStyle::HatchUp;
        if (v == r.GroupMax) {
            colour = ChartBlue;
            hatch = BrushStyle::HatchCross;
            maxName = kGroupNames[g];
        } else if (v == r.GroupMin) {
            colour = ChartOrange;
            hatch = BrushStyle::HatchDown;
            minName = kGroupNames[g];
        }
        double from = (i - 1) * 45 + 90, to = (i - 1) * 45 + 135;
        f.SetPen(colour, 1);
        f.SetBrush(colour, f.Mono() ? hatch : BrushStyle::Solid);
        c.Pie(cx, cy, rx(v), ry(v), from, to);
        f.SetPen(Rgb{0xEE, 0xEE, 0xEE}, f.Len(2, 0.3));
        f.NoBrush();
        c.Pie(cx, cy, Rx, Ry, from, to);
        double tm = ((i - 1) * 45 + 112) * kDeg;
        std::string name = kGroupNames[g];
        int ny = RoundEven(cy - std::sin(tm) * factor * Ry) - lift;
        int nx = i <= 4 ? RoundEven(cx - std::cos(tm) * factor * Rx)
                        : RoundEven(cx - (c.TextWidth(name) + factor * Rx) * std::cos(tm));
        f.TextAt(nx, ny, kNavy, name);
        std::string value = Format("%3.1f", v);
        f.TextAt(RoundEven(cx - (std::cos(tm) * Rx / 2 + c.TextWidth(value) / 2.0)),
                 RoundEven(cy - std::sin(tm) * Ry / 2), kBlack, value);
    }
    // 3. body energy ring
    f.SetPen(kRed, f.Len(1, 0.2), PenStyle::Dotted);
    f.NoBrush();
    double ex = rx(r.BodyEnergy), ey = ry(r.BodyEnergy);
    c.Ellipse(RoundEven(cx - ex), RoundEven(cy - ey), RoundEven(cx + ex), RoundEven(cy + ey));
    // 4. outer ellipse
    f.SetPen(kGrey, f.Len(3, 0.4));
    c.Ellipse(RoundEven(L), RoundEven(T), RoundEven(R), RoundEven(Bt));
    // 5. zero disc
    f.SetPen(paper ? kSilver : Rgb{0xEE, 0xEE, 0xEE}, 1);
    f.SetBrush(Rgb{0xDD, 0xDE, 0xFF});
    c.Ellipse(RoundEven(cx - 3 * Rx / 14), RoundEven(cy - 3 * Ry / 14), RoundEven(cx + 3 * Rx / 14),
              RoundEven(cy + 3 * Ry / 14));
    // 6. ratio
    f.NoBrush();
    const double ratio = Ratio(r.GroupMax, r.GroupMin);
    const int g5 = r.IndexGrade[5];
    Rgb ratioColour = g5 == 0 ? kGreen : (g5 == 3 || g5 == -3) ? kRed : Rgb{0xFB, 0xD6, 0x04};
    Font saved = c.font;
    c.font.name = "Times New Roman";
    c.font.bold = true;
    c.font.size = paper ? f.Layout().FontSize + 4 : 23;
    std::string ratioText = Format("%1.2f", ratio);
    f.TextAt(cx - c.TextWidth(ratioText) / 2, paper ? cy - f.Mm(5) : cy - 20, ratioColour, ratioText);
    // 7. average
    c.font = saved;
    c.font.name = "Tahoma";
    c.font.bold = false;
    c.font.size = paper ? f.Layout().FontSize - 2 : 8;
    std::string avg = "Avg: " + Format("%3.1f", r.BodyEnergy);
    f.TextAt(cx - c.TextWidth(avg) / 2, paper ? cy + f.Mm(2) : cy + 25, kBlack, avg);
    // 8. summary
    c.font.size = paper ? f.Layout().FontSize : 8;
    int sx = paper ? f.Mm(10) + RoundEven(Wp - Wp / 12) : RoundEven(Wp - Wp / 8);
    int sy = paper ? areaTop + RoundEven(Hp - Hp / 5) : RoundEven(Hp - Hp / 5);
    const int step[4] = {0, f.Len(20, 5), f.Len(40, 10), f.Len(60, 15)};
    f.TextAt(sx, sy + step[0], kBlue, "平均: " + Format("%3.1f", r.BodyEnergy));
    f.TextAt(sx, sy + step[1], kBlue, "最高: " + maxName + " " + Format("%3.1f", r.GroupMax));
    f.TextAt(sx, sy + step[2], kBlue, "最低: " + minName + " " + Format("%3.1f", r.GroupMin));
    f.TextAt(sx, sy + step[3], kBlue, "比值: " + Format("%1.2f", ratio) + (paper ? " (1~1.5)" : "  (1~1.5)"));
}

} // namespace

void DrawBalanceChartScreen(ChartKind kind, Canvas& canvas, const ChartInput& in) {
    ChartFrame f(canvas);
    if (kind == ChartKind::Autonomic)
        DrawAutonomic(f, in);
    else
        DrawPairChart(f, in, kind == ChartKind::YinYang, 50, 0, canvas.Width() - 50, canvas.Height());
}

void PrintBalanceChart(ChartKind kind, PrintLayout& layout, const ChartInput& in) {
    int y0 = BeginPaperChart(layout, ChartPaperTitle(kind));
    ChartFrame f(layout, y0);
    if (kind == ChartKind::Autonomic)
        DrawAutonomic(f, in);
    else
        DrawPairChart(f, in, kind == ChartKind::YinYang, f.Mm(30), y0, f.Mm(150), f.Mm(90));
    EndPaperChart(layout);
}

} // namespace oruk

// The energy composition chart (E.C.I.), the five-element chart and the printed index block.
#include "charts/ChartFrame.h"
#include "charts/ChartsInternal.h"

#include <cmath>
#include <numbers>

namespace oruk {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr Rgb kDiscFill{0xDD, 0xDE, 0xFF};
constexpr Rgb kSectorEdge{0xEE, 0xEE, 0xEE};

struct Ellipse {
    double L, R, T, B, Rx, Ry;
    int cx, cy;
};

Ellipse MakeEllipse(double L, double R, double T, double B) {
    Ellipse e{L, R, T, B, (R - L) / 2, (B - T) / 2, 0, 0};
    e.cx = RoundEven(L + e.Rx);
    e.cy = RoundEven(T + e.Ry);
    return e;
}

void DrawEllipseRadii(Canvas& c, const Ellipse& e, double rx, double ry) {
    c.Ellipse(RoundEven(e.cx - rx), RoundEven(e.cy - ry), RoundEven(e.cx + rx), RoundEven(e.cy + ry));
}

// Table colours of a balance score.
Rgb ScoreTextColour(double s) {
    return s >= 8 ? Rgb{0x35, 0xD2, 0x2D} : s >= 7 ? kOlive : kRed;
}

double LeftScore(const AnalysisResult& r, const DisplayTables& t, int k) {
    return r.PointBalance[t.PointIndexByPos[k <= 6 ? k : k + 6]];
}
double RightScore(const AnalysisResult& r, const DisplayTables& t, int k) {
    return r.PointBalance[t.PointIndexByPos[k <= 6 ? k + 6 : k + 12]];
}

void DrawEci(ChartFrame& f, const ChartInput& in) {
    Canvas& c = f.c;
    const AnalysisResult& r = *in.result;
    const DisplayTables& t = *in.tables;
    const bool paper = f.Paper();
    const auto& table = MeridianTable();
    Ellipse e{};
    int top = 0;
    double W = c.Width(), H = c.Height();
    if (paper) {
        top = f.Top();
        double Wp = f.Mm(160);
        e = MakeEllipse(f.Mm(10) + RoundEven(Wp / 14), f.Mm(10) + RoundEven(Wp / 14 * 8.3), top + f.Mm(10),
                        top + f.Mm(90));
    } else {
        e = MakeEllipse(RoundEven(W / 14), RoundEven(W / 14 * 8.3), 30, H - 30);
    }
    const double factor = paper ? 9.0 / 8.0 : 1.1;
    const int lift = paper ? f.Mm(3) : 5;
    // 1. sectors
    for (int k = 1; k <= 12; ++k) {
        double s = (LeftScore(r, t, k) + RightScore(r, t, k)) / 2;
        Rgb colour;
        BrushStyle hatch;
        if (s >= 8) {
            colour = paper ? Rgb{0x91, 0xFF, 0x71} : ChartGreen;
            hatch = BrushStyle::HatchCross;
        } else if (s >= 7) {
            colour = paper ? Rgb{0xFE, 0xF9, 0x8D} : ChartYellow;
            hatch = BrushStyle::HatchDown;
        } else {
            colour = paper ? Rgb{0xFF, 0x6F, 0x72} : ChartRed;
            hatch = BrushStyle::HatchUp;
        }
        double from = (k - 1) * 30 + 90, to = from + 30;
        f.SetPen(colour, 1);
        f.SetBrush(colour, f.Mono() ? hatch : BrushStyle::Solid);
        c.Pie(e.cx, e.cy, e.Rx * (s + 4) / 14, e.Ry * (s + 4) / 14, from, to);
        f.SetPen(kSectorEdge, f.Len(2, 0.3));
        f.NoBrush();
        c.Pie(e.cx, e.cy, e.Rx, e.Ry, from, to);
        double tm = ((k - 1) * 30 + 105) * kDeg;
        std::string name(table[t.MeridianOrder[k]].Name);
        double tw = c.TextWidth(name);
        int nx = k <= 6 ? RoundEven(e.cx - (factor * e.Rx - tw / 2) * std::cos(tm))
                        : RoundEven(e.cx - (tw / 2 + factor * e.Rx) * std::cos(tm));
        f.TextAt(nx, RoundEven(e.cy - std::sin(tm) * factor * e.Ry) - lift, kBlack, name);
        std::string value = Format("%3.1f", s);
        f.TextAt(RoundEven(e.cx - (std::cos(tm) * e.Rx / 2 + c.TextWidth(value) / 2.0)),
                 RoundEven(e.cy - std::sin(tm) * e.Ry / 2) - lift, kBlack, value);
    }
    // 2. outer ellipse and inner disc
    f.SetPen(kGrey, f.Len(3, 0.4));
    f.NoBrush();
    c.Ellipse(RoundEven(e.L), RoundEven(e.T), RoundEven(e.R), RoundEven(e.B));
    f.SetPen(paper ? kSilver : kSectorEdge, 1);
    f.SetBrush(kDiscFill);
    DrawEllipseRadii(c, e, 3 * e.Rx / 14, 3 * e.Ry / 14);
    f.NoBrush();
    // 3. overall balance and its caption
    const int baseSize = paper ? f.Layout().FontSize : 8;
    c.font.name = "Times New Roman";
    c.font.bold = true;
    c.font.size = paper ? baseSize + 4 : 23;
    std::string overall = Format("%3.1f", r.OverallBalance);
    f.TextAt(e.cx - c.TextWidth(overall) / 2, e.cy, kBlue, overall);
    c.font.name = "Tahoma";
    c.font.bold = false;
    c.font.size = baseSize;
    std::string caption = paper ? "整體指標" : "整體平衡指標";
    f.TextAt(e.cx - c.TextWidth(caption) / 2, paper ? e.cy - f.Mm(5) : e.cy - 20, kBlack, caption);
    // 4. score table
    int TX, TY;
    double TW;
    if (paper) {
        double Wp = f.Mm(160);
        TX = RoundEven(Wp - Wp / 3);
        TY = top + f.Mm(45);
        TW = f.Mm(30) + Wp - TX - f.Mm(10);
    } else {
        TX = RoundEven(W - W / 3 - 50);
        TY = RoundEven(H - H / 3);
        TW = W - TX - 80;
    }
    auto colX = [&](double col) { return TX + TW / 7 * col; };
    auto centred = [&](double col, int y, Rgb colour, const std::string& text) {
        f.TextAt(RoundEven(colX(col) - c.TextWidth(text) / 2.0), y, colour, text);
    };
    auto dy = [&](int px, double mm) { return TY + f.Len(px, mm); };
    const int labelX = RoundEven(colX(1)) - f.Len(5, 2);
    centred(4.5, dy(-40, -10), kBlue, "經絡組成平衡指標");
    const int ruleEnd = RoundEven(TX + TW) + f.Len(15, 4);
    f.SetPen(kBlack, f.Len(2, 0.3));
    f.LineSeg(labelX, dy(-20, -3), ruleEnd, dy(-20, -3));
    f.LineSeg(labelX, dy(130, 33), ruleEnd, dy(130, 33));
    f.SetPen(kBlack, f.Len(1, 0.2));
    f.LineSeg(labelX, dy(50, 15), ruleEnd, dy(50, 15));
    f.TextAt(labelX, dy(10, 3), kMaroon, "左側");
    f.TextAt(labelX, dy(30, 8), kMaroon, "右側");
    f.TextAt(labelX, dy(80, 21), kMaroon, "左側");
    f.TextAt(labelX, dy(100, 26), kMaroon, "右側");
    double leftSum = 0, rightSum = 0;
    for (int k = 1; k <= 12; ++k) {
        bool hand = k <= 6;
        int col = hand ? k + 1 : k - 5;
        double ls = LeftScore(r, t, k), rs = RightScore(r, t, k);
        leftSum += ls;
        rightSum += rs;
        c.font.bold = false;
        centred(col, hand ? dy(-10, -2) : dy(60, 16), kNavy, std::string(table[t.MeridianOrder[k]].Name));
        c.font.bold = true;
        centred(col, hand ? dy(10, 3) : dy(80, 21), ScoreTextColour(ls), Format("%2.1f", ls));
        centred(col, hand ? dy(30, 8) : dy(100, 26), ScoreTextColour(rs), Format("%2.1f", rs));
    }
    c.font.bold = false;
    centred(4, dy(140, 36), kBlue, "左側");
    centred(5, dy(140, 36), kBlue, "右側");
    centred(7, dy(140, 36), kBlue, "合併");
    c.font.bold = true;
    f.TextAt(labelX, dy(160, 41), kNavy, "平均");
    double lm = leftSum / 12, rm = rightSum / 12, all = (leftSum + rightSum) / 24;
    centred(4, dy(160, 41), ScoreTextColour(lm), Format("%2.1f", lm));
    centred(5, dy(160, 41), ScoreTextColour(rm), Format("%2.1f", rm));
    c.font.size = paper ? baseSize + 4 : 14;
    centred(7, dy(160, 41), ScoreTextColour(all), Format("%2.1f", all));
    c.font.size = baseSize;
    c.font.bold = false;
}

void DrawFiveElements(ChartFrame& f, const ChartInput& in) {
    Canvas& c = f.c;
    const AnalysisResult& r = *in.result;
    const bool paper = f.Paper();
    Ellipse e{};
    if (paper) {
        int top = f.Top();
        double Wp = f.Mm(160);
        e = MakeEllipse(f.Mm(20) + RoundEven(Wp / 12 * 2.5), f.Mm(10) + RoundEven(Wp / 12 * 9.5),
                        top + f.Mm(10), top + f.Mm(90));
    } else {
        double W = c.Width(), H = c.Height();
        e = MakeEllipse(RoundEven(W / 12 * 2.5) + 30, RoundEven(W / 12 * 9.5) - 30, 30, H - 30);
    }
    const double E = r.BodyEnergy > 0 ? r.BodyEnergy : 1.0;
    auto radius = [&](double full, double v) { return full * (2 * E + (v - E)) / (3 * E); };
    struct Sector {
        int row;
        double from, to, label;
        const char* text;
    };
    static constexpr Sector kSectors[6] = {
        {1, 54, 126, 90, "木 - 肝經/膽經"},   {2, 126, 162, 144, "君火 - 心臟/小腸"},
        {4, 198, 270, 234, "土 - 脾經/胃經"}, {5, 270, 342, 306, "金 - 肺經/大腸"},
        {6, 342, 414, 378, "水 - 腎經/膀胱"}, {3, 162, 198, 180, "相火 - 心包/三焦"},
    };
    const double factor = paper ? 8.0 / 7.0 : 1.1;
    const int lift = paper ? f.Mm(2) : 5;
    for (int i = 1; i <= 6; ++i) {
        const Sector& s = kSectors[i - 1];
        double v = r.ElementMean[s.row][1];
        int g = std::abs(r.ElementGrade[s.row][1]);
        Rgb colour = g == 1 ? ChartYellow : g == 2 ? ChartRed : ChartGreen;
        BrushStyle hatch = g == 1   ? BrushStyle::HatchDown
                           : g == 2 ? BrushStyle::HatchUp
                                    : BrushStyle::HatchCross;
        f.SetPen(colour, f.Len(2, 0.3));
        f.SetBrush(colour, f.Mono() ? hatch : BrushStyle::Solid);
        c.Pie(e.cx, e.cy, radius(e.Rx, v), radius(e.Ry, v), s.from, s.to);
        f.SetPen(kSectorEdge, f.Len(2, 0.3));
        f.NoBrush();
        c.Pie(e.cx, e.cy, e.Rx, e.Ry, s.from, s.to);
        double th = s.label * kDeg;
        std::string label = s.text;
        double tw = c.TextWidth(label);
        int lx;
        if (i == 1)
            lx = RoundEven(e.cx - tw / 2);
        else if (i == 4 || i == 5)
            lx = RoundEven(e.cx - (tw + factor * e.Rx) * std::cos(th));
        else
            lx = RoundEven(e.cx - std::cos(th) * factor * e.Rx);
        f.TextAt(lx, RoundEven(e.cy - std::sin(th) * factor * e.Ry) - lift, kBlue, label);
        std::string value = Format("%3.1f", v);
        f.TextAt(RoundEven(e.cx - (std::cos(th) * e.Rx / 2 + c.TextWidth(value) / 2.0)),
                 RoundEven(e.cy - std::sin(th) * e.Ry / 2), kBlack, value);
    }
    // 3. rings
    f.SetPen(kRed, f.Len(1, 0.2), PenStyle::Dotted);
    f.NoBrush();
    DrawEllipseRadii(c, e, 2 * e.Rx / 3, 2 * e.Ry / 3);
    f.SetPen(kGrey, f.Len(3, 0.4));
    c.Ellipse(RoundEven(e.L), RoundEven(e.T), RoundEven(e.R), RoundEven(e.B));
    f.SetPen(paper ? kSilver : kSectorEdge, 1);
    f.SetBrush(kDiscFill);
    DrawEllipseRadii(c, e, e.Rx / 3, e.Ry / 3);
    // 4. cycle arrows
    auto arrow = [&](double phiDeg, const double(*pts)[2]) {
        double phi = phiDeg * kDeg;
        std::vector<Point> poly;
        for (int i = 0; i < 7; ++i) {
            double u = pts[i][0], v = pts[i][1];
            poly.push_back({e.cx + RoundEven(u * std::cos(phi) - v * std::sin(phi)),
                            e.cy + RoundEven(u * std::sin(phi) + v * std::cos(phi))});
        }
        c.Polygon(poly);
    };
    auto d = [&](double px, double mm) { return paper ? static_cast<double>(f.Mm(mm)) : px; };
    f.SetPen(kSilver, 1);
    f.SetBrush(Rgb{0xFF, 0xE8, 0xE8});
    {
        double r1 = e.Rx / 3;
        const double pts[7][2] = {{r1 - d(20, 3.3), -d(25, 4.1)}, {r1 - d(34, 5.6), -d(35, 5.8)},
                                  {r1 - d(34, 5.6), -d(29, 4.8)}, {d(22, 3.6) - r1, -d(29, 4.8)},
                                  {d(22, 3.6) - r1, -d(21, 3.5)}, {r1 - d(34, 5.6), -d(21, 3.5)},
                                  {r1 - d(34, 5.6), -d(15, 2.5)}};
        for (double phi : {0.0, 72.0, 144.0, 216.0, 288.0})
            arrow(phi, pts);
    }
    f.SetBrush(kBlue);
    {
        double r2 = 3 * e.Rx / 4;
        const double pts[7][2] = {
            {-r2, -d(20, 3.3)},           {d(15, 2.5) - r2, 0},          {d(8, 1.3) - r2, 0},
            {d(8, 1.3) - r2, d(10, 1.6)}, {-d(8, 1.3) - r2, d(10, 1.6)}, {-d(8, 1.3) - r2, 0},
            {-d(15, 2.5) - r2, 0}};
        for (double phi : {54.0, 126.0, 198.0, 270.0, 342.0})
            arrow(phi, pts);
    }
    // 5. centre
    f.NoBrush();
    c.font.bold = true;
    f.TextAt(e.cx - c.TextWidth("Avg") / 2, paper ? e.cy - f.Mm(6) : e.cy - 15, kRed, "Avg");
    std::string avg = Format("%3.1f", r.BodyEnergy);
    f.TextAt(e.cx - c.TextWidth(avg) / 2, e.cy, kRed, avg);
    c.font.bold = false;
}

Rgb IndexGradeColour(int g) {
    if (g == 0)
        return kGreen;
    if (g == 3 || g == -3)
        return kRed;
    return Rgb{0xFB, 0xD6, 0x04};
}

double Ratio(double a, double b) {
    return a / (b != 0 ? b : 1.0);
}

} // namespace

void DrawRadialChartScreen(ChartKind kind, Canvas& canvas, const ChartInput& in) {
    ChartFrame f(canvas);
    if (kind == ChartKind::Eci)
        DrawEci(f, in);
    else
        DrawFiveElements(f, in);
}

void PrintRadialChart(ChartKind kind, PrintLayout& layout, const ChartInput& in) {
    ChartFrame f(layout, BeginPaperChart(layout, ChartPaperTitle(kind)));
    if (kind == ChartKind::Eci)
        DrawEci(f, in);
    else
        DrawFiveElements(f, in);
    EndPaperChart(layout);
}

void PrintIndexBlock(PrintLayout& layout, const ChartInput& in) {
    if (layout.PrintAborted())
        return;
    const AnalysisResult& r = *in.result;
    Canvas& c = layout.canvas();
    ChartFrame f(layout, layout.CursorY);
    layout.AdvanceLine();
    f.NoBrush();
    f.TextRight(f.Mm(40), layout.CursorY, kBlack, "能量組成(E.C.I.):");
    c.font.name = "Times New Roman";
    c.font.bold = true;
    c.font.size = layout.FontSize + 2;
    f.TextAt(f.Mm(79), layout.CursorY, Rgb{0xE9, 0x7A, 0x16}, Format("%5.1f", r.OverallBalance));
    c.font.name = "Tahoma";
    c.font.bold = false;
    c.font.size = layout.FontSize;
    layout.AdvanceLine();
    struct Row {
        const char* label;
        std::string formula, range, value;
    };
    auto formula = [](const char* a, double x, const char* b, double y) {
        return std::string(a) + Format("%6.1f", x) + b + Format("%6.1f", y) + " =";
    };
    const Row rows[5] = {
        {"身體能量:", "", in.male ? "(30 - 64)" : "(28 - 61)", Format("%5.1f", r.BodyEnergy)},
        {"精神狀態比值:", formula("上", r.UpperMean, " / 下", r.LowerMean),
         in.male ? "(0.88-1.19)" : "(0.78-1.09)", Format("%5.2f", Ratio(r.UpperMean, r.LowerMean))},
        {"左右肌骨系統:", formula("左", r.LeftMean, " / 右", r.RightMean), "(0.88-1.14)",
         Format("%5.2f", Ratio(r.LeftMean, r.RightMean))},
        {"新陳代謝功能:", formula("陰", r.YinMean, " / 陽", r.YangMean), "(0.82-1.24)",
         Format("%5.2f", Ratio(r.YinMean, r.YangMean))},
        {"自律神經平衡度:", formula("高", r.GroupMax, " / 低", r.GroupMin), "(1.0-1.5)",
         Format("%5.2f", Ratio(r.GroupMax, r.GroupMin))},
    };
    for (int i = 0; i < 5; ++i) {
        const Row& row = rows[i];
        int y = layout.CursorY;
        f.TextRight(f.Mm(40), y, kBlack, row.label);
        if (!row.formula.empty())
            f.TextAt(f.Mm(42), y, kBlue, row.formula);
        f.TextAt(f.Mm(89), y, kBlue, row.range);
        f.TextAt(f.Mm(79), y, IndexGradeColour(r.IndexGrade[i + 1]), row.value);
        f.TextAt(f.Mm(109), y, kBlack, r.IndexText[i + 1]);
        layout.AdvanceLine();
    }
}

} // namespace oruk

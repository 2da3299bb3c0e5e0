// The energy balance chart: the left/right and upper/lower ratios as a point in a four-quadrant
// field, the yin/yang bar below it and the body energy and autonomic gauges beside it.
#include "charts/ChartFrame.h"
#include "charts/ChartsInternal.h"

#include <algorithm>
#include <cmath>

namespace oruk {

namespace {

constexpr Rgb kMarkerYellow{0xFF, 0xEE, 0};

Rgb MarkerFill(int grade) {
    if (grade == 0)
        return kLime;
    return std::abs(grade) > 2 ? kRed : kMarkerYellow;
}

double Ratio(double a, double b) {
    return a / (b != 0 ? b : 1.0);
}

class EnergyBalance {
public:
    EnergyBalance(ChartFrame& f, const ChartInput& in) : f_(f), c_(f.c), r_(*in.result), in_(in) {
        paper_ = f.Paper();
        if (paper_) {
            ox_ = f.Mm(30);
            oy_ = f.Top();
            AW_ = f.Mm(150) * 4.0 / 5.0;
            AH_ = f.Mm(90) * 7.0 / 8.0;
            g_ = f.Mm(6);
        } else {
            AW_ = c_.Width() * 4.0 / 5.0;
            AH_ = c_.Height() * 7.0 / 8.0;
            g_ = 30;
        }
        F_ = AW_ - 2 * g_;
        G_ = AH_ - 2 * g_;
        hx_ = F_ / 2;
        hy_ = G_ / 2;
    }

    void Draw() {
        Background();
        Field();
        YinYangBar();
        EnergyGauge();
        AutonomicGauge();
        Values();
    }

private:
    ChartFrame& f_;
    Canvas& c_;
    const AnalysisResult& r_;
    const ChartInput& in_;
    bool paper_ = false;
    int ox_ = 0, oy_ = 0;
    double AW_, AH_, g_, F_, G_, hx_, hy_;

    // A length in pixels on the screen, in millimetres on paper.
    double L(double px, double mm) const { return paper_ ? f_.Mm(mm) : px; }
    int X(double v) const { return ox_ + RoundEven(v); }
    int Y(double v) const { return oy_ + RoundEven(v); }
    double XRatio(double r) const { return RoundEven(g_ + F_ - F_ * (r - 0.3) / 1.4); }
    double YRatio(double r) const { return RoundEven(g_ + G_ - G_ * (r - 0.3) / 1.4); }
    void Seg(double x1, double y1, double x2, double y2) { f_.LineSeg(X(x1), Y(y1), X(x2), Y(y2)); }
    void Rect(double x1, double y1, double x2, double y2) { c_.Rectangle(X(x1), Y(y1), X(x2), Y(y2)); }
    void Txt(double x, double y, Rgb colour, const std::string& t) { f_.TextAt(X(x), Y(y), colour, t); }
    void Fill(Rgb colour, BrushStyle monoHatch) {
        f_.SetBrush(colour, f_.Mono() ? monoHatch : BrushStyle::Solid);
    }

    void Background() {
        if (paper_)
            return;
        std::string path = EnergyBalancePicturePath(in_.workDir);
        int w = 0, h = 0;
        if (path.empty() || !c_.PictureSize(path, w, h))
            return; // the picture is decoration only
        c_.Picture(RoundEven(g_ + hx_ - w / 2.0), RoundEven(g_ + hy_ - h / 2.0 + 10), path);
    }

    void Field() {
        // 2. border
        f_.NoBrush();
        f_.SetPen(kOrange, f_.Len(3, 0.3));
        Rect(1, 1, RoundEven(AW_ - 1), RoundEven(AH_ - 1));
        f_.SetPen(kBlack, f_.Len(2, 0.2));
        Rect(1, 1, RoundEven(AW_ - 1), RoundEven(AH_ - 1));
        // 3. axes
        f_.SetPen(kBlack, f_.Len(2, 0.3));
        Seg(RoundEven(g_ + hx_), g_, RoundEven(g_ + hx_), RoundEven(AH_ - g_));
        Seg(g_, RoundEven(g_ + hy_), RoundEven(AW_ - g_), RoundEven(g_ + hy_));
        // 4. normal regions
        const bool male = in_.male;
        struct Region {
            Rgb colour;
            double x1, x2, y1, y2;
        };
        const Region regions[2] = {
            {kOlive, 0.87, 1.15, male ? 0.87 : 0.77, male ? 1.2 : 1.1},
            {kRed, 0.67, 1.35, male ? 0.73 : 0.64, male ? 1.4 : 1.25},
        };
        for (const Region& rg : regions) {
            f_.SetPen(rg.colour, f_.Len(1, 0.2), PenStyle::Dotted);
            Rect(XRatio(rg.x2), YRatio(rg.y2), XRatio(rg.x1), YRatio(rg.y1));
        }
        // 5. direction labels
        const int baseSize = paper_ ? f_.Layout().FontSize : 8;
        c_.font.size = baseSize;
        c_.font.bold = false;
        if (paper_) {
            Txt(g_ + hx_ - L(9, 2), AH_ - L(20, 5), kBlue, "-下-");
            Txt(g_ + hx_ - L(9, 2), L(10, 1), kBlue, "-上-");
            Txt(L(5, 1.5), g_ + hy_ - L(9, 2), kBlue, "左");
            Txt(AW_ - L(25, 4.5), g_ + hy_ - L(9, 2), kBlue, "右");
        } else {
            Txt(RoundEven(g_ + hx_ - 9), RoundEven(AH_ - 20), kBlue, "-下-");
            Txt(RoundEven(g_ + hx_ - 9), 10, kBlue, "-上-");
            Txt(5, RoundEven(g_ + hy_ - 9), kBlue, "-左-");
            Txt(RoundEven(AW_) - 25, RoundEven(g_ + hy_ - 9), kBlue, "-右-");
        }
        // 6. quadrant numbers
        c_.font.size = paper_ ? baseSize + 2 : 18;
        if (paper_) {
            Txt(AW_ - L(0, 5), L(0, 3), kGreen, "I");
            Txt(L(0, 4), L(0, 3), kGreen, "II");
            Txt(L(0, 4), AH_ - L(0, 8), kGreen, "III");
            Txt(AW_ - L(0, 8), AH_ - L(0, 8), kGreen, "IV");
        } else {
            Txt(RoundEven(AW_) - g_ - 6, g_, kGreen, "I");
            Txt(g_, g_, kGreen, "II");
            Txt(g_, RoundEven(AH_ - g_ - 30), kGreen, "III");
            Txt(RoundEven(AW_) - g_ - 20, RoundEven(AH_ - g_ - 30), kGreen, "IV");
        }
        c_.font.size = baseSize;
        c_.font.colour = f_.Col(kMaroon);
        // 7. axis ticks and labels
        const double major = L(6, 1), minor = L(4, 0.7);
        const double ax = g_ + hx_, ay = g_ + hy_;
        for (int i = 0; i <= 14; ++i) {
            double y = g_ + G_ - G_ / 14 * i, x = g_ + F_ - F_ / 14 * i;
            if (i != 7) {
                f_.SetPen(kBlack, f_.Len(1, 0.1));
                Seg(ax - major, y, ax + major, y);
                Seg(x, ay - major, x, ay + major);
            }
            if (i != 14) {
                f_.SetPen(kGrey, f_.Len(1, 0.1));
                Seg(ax - minor, y - G_ / 28, ax + minor, y - G_ / 28);
                Seg(x - F_ / 28, ay - minor, x - F_ / 28, ay + minor);
            }
            if (i != 7) {
                std::string label = Format("%1.1f", (i + 3) / 10.0);
                Txt(ax + L(8, 1.5), y - L(6, 1.5), kMaroon, label);
                Txt(x - L(6, 1.5), ay + L(8, 1.5), kMaroon, label);
            }
        }
        // 8. the point
        double A = std::clamp(XRatio(Ratio(r_.LeftMean, r_.RightMean)), 5.0, AW_ - 5);
        double B = std::clamp(YRatio(Ratio(r_.UpperMean, r_.LowerMean)), 5.0, AH_ - 5);
        int g2 = r_.IndexGrade[2], g3 = r_.IndexGrade[3];
        Rgb fill = (g2 == 0 && g3 == 0)                     ? kLime
                   : (std::abs(g2) > 2 || std::abs(g3) > 2) ? kRed
                                                            : kMarkerYellow;
        double disc = L(12, 2), ring = L(19, 2.8), s1 = L(3, 0.7), s2 = L(23, 3.5);
        f_.SetPen(kBlack, f_.Len(2, 0.2));
        f_.SetBrush(fill);
        c_.Ellipse(X(A - disc), Y(B - disc), X(A + disc), Y(B + disc));
        f_.SetPen(kBlack, f_.Len(1, 0.1));
        Seg(A - s1, B, A - s2, B);
        Seg(A, B - s1, A, B - s2);
        Seg(A + s1, B, A + s2, B);
        Seg(A, B + s1, A, B + s2);
        f_.SetPen(kOrange, f_.Len(2, 0.2));
        f_.NoBrush();
        c_.Ellipse(X(A - ring), Y(B - ring), X(A + ring), Y(B + ring));
    }

    void YinYangBar() {
        const double top = AH_ + L(10, 3), bottom = AH_ + L(30, 7);
        f_.NoBrush();
        f_.SetPen(kOrange, f_.Len(3, 0.3));
        Rect(g_, top, AW_ - g_, bottom);
        f_.SetPen(kBlack, f_.Len(1, 0.1));
        Fill(kSilver, BrushStyle::HatchCross);
        Rect(g_, top, AW_ / 2, bottom);
        if (f_.Mono())
            f_.NoBrush(); // the white half stays unfilled on a monochrome print
        else
            f_.SetBrush(kWhite);
        Rect(AW_ / 2, top, AW_ - g_, bottom);
        // centre mark
        f_.SetPen(kBlack, f_.Len(3, 0.3));
        double mx = paper_ ? AW_ / 2 - f_.Mm(0.15) : RoundEven(AW_ / 2) - 1;
        Seg(mx, AH_ + L(6, 2.5), mx, AH_ + L(34, 7.5));
        // limit marks
        const std::pair<Rgb, double> marks[4] = {{kOlive, 1.25}, {kOlive, 0.81}, {kRed, 1.45}, {kRed, 0.61}};
        for (const auto& [colour, ratio] : marks) {
            f_.SetPen(colour, f_.Len(1, 0.2), PenStyle::Dotted);
            Seg(XRatio(ratio), top, XRatio(ratio), bottom);
        }
        f_.NoBrush();
        Txt(L(7, 1.5), AH_ + L(15, 3.5), kBlue, "陰");
        Txt(paper_ ? AW_ - f_.Mm(4.5) : RoundEven(AW_) - 18, AH_ + L(15, 3.5), kBlue, "陽");
        // scale
        const double sy = AH_ + L(45, 9.2);
        f_.SetPen(kBlack, f_.Len(2, 0.2));
        Seg(g_, sy, AW_ - g_, sy);
        for (int i = 0; i <= 14; ++i) {
            double x = g_ + F_ - F_ / 14 * i;
            f_.SetPen(kBlack, f_.Len(1, 0.1));
            Seg(x, sy, x, AH_ + L(55, 11.5));
            if (i != 14) {
                f_.SetPen(kGrey, f_.Len(1, 0.1));
                Seg(x - F_ / 28, sy, x - F_ / 28, AH_ + L(52, 10.7));
            }
            Txt(x - L(6, 1.5), AH_ + L(57, 12.5), kMaroon, Format("%1.1f", 0.3 + 0.1 * i));
        }
        // marker
        double E = std::clamp(XRatio(Ratio(r_.YinMean, r_.YangMean)), 5.0, AW_ - 5);
        f_.SetPen(kBlack, f_.Len(2, 0.35));
        f_.SetBrush(MarkerFill(r_.IndexGrade[4]));
        Rect(E - L(6, 1.2), AH_ + L(9, 3), E + L(6, 1.2), AH_ + L(31, 7));
        f_.SetPen(kOrange, f_.Len(2, 0.2));
        f_.NoBrush();
        Rect(E - L(10, 2.2), AH_ + L(5, 2), E + L(11, 2.2), AH_ + L(36, 8));
        f_.SetPen(kBlack, f_.Len(1, 0.1));
        Seg(E, AH_ + L(9, 3), E, AH_ + L(2, 1.3));
        Seg(E, AH_ + L(31, 7), E, AH_ + L(38, 8.7));
    }

    // One gauge column with its zones: zones run from their y to the given bottom.
    void Column(double x1, double x2) {
        f_.NoBrush();
        f_.SetPen(kOrange, f_.Len(3, 0.3));
        Rect(x1, g_, x2, AH_ - g_);
        f_.SetPen(kBlack, f_.Len(1, 0.1));
        Rect(x1, g_, x2, AH_ - g_);
    }

    void Marker(double x1, double x2, double frameL, double frameR, double strokeL, double strokeR, double y,
                Rgb fill) {
        f_.SetPen(kBlack, f_.Len(2, 0.35));
        f_.SetBrush(fill);
        Rect(x1, y - L(6, 1.2), x2, y + L(6, 1.2));
        f_.SetPen(kOrange, f_.Len(2, 0.2));
        f_.NoBrush();
        Rect(frameL, y - L(10, 2.2), frameR, y + L(11, 2.2));
        f_.SetPen(kBlack, f_.Len(1, 0.1));
        Seg(x1, y, strokeL, y);
        Seg(x2, y, strokeR, y);
    }

    void EnergyGauge() {
        auto yv = [&](double v) { return static_cast<double>(RoundEven(g_ + G_ - G_ * v / 140)); };
        const double x1 = AW_ + L(10, 3), x2 = AW_ + L(30, 7);
        f_.SetPen(ChartRed, 1);
        Fill(ChartRed, BrushStyle::HatchUp);
        Rect(x1, g_, x2, AH_ - g_);
        const bool male = in_.male;
        f_.SetPen(ChartYellow, 1);
        Fill(ChartYellow, BrushStyle::HatchDown);
        Rect(x1, yv(male ? 75 : 72), x2, yv(male ? 19 : 18));
        f_.SetPen(ChartGreen, 1);
        Fill(ChartGreen, BrushStyle::HatchCross);
        Rect(x1, yv(male ? 65 : 62), x2, yv(male ? 30 : 28));
        Column(x1, x2);
        const double sx = AW_ + L(45, 9);
        f_.SetPen(kBlack, f_.Len(2, 0.2));
        Seg(sx, g_, sx, AH_ - g_);
        for (int i = 0; i <= 14; ++i) {
            double y = g_ + G_ - G_ / 14 * i;
            f_.SetPen(kBlack, f_.Len(1, 0.1));
            Seg(sx, y, AW_ + L(55, 11.3), y);
            if (i != 14) {
                f_.SetPen(kGrey, f_.Len(1, 0.1));
                Seg(sx, y - G_ / 28, AW_ + L(51, 10.4), y - G_ / 28);
            }
            Txt(AW_ + L(60, 12.5), y - L(6, 1.5), kMaroon, Format("%3d", i * 10));
        }
        Txt(x1, AH_ - L(20, 4.5), kBlue, "身體能量");
        double I = std::clamp(yv(r_.BodyEnergy), 5.0, AH_ - 5);
        Marker(AW_ + L(9, 3), AW_ + L(31, 7), AW_ + L(5, 2), AW_ + L(36, 8), AW_ + L(1, 1.3),
               AW_ + L(38, 8.7), I, MarkerFill(r_.IndexGrade[1]));
    }

    void AutonomicGauge() {
        auto ya = [&](double v) { return static_cast<double>(RoundEven(g_ + G_ - G_ * v / 5)); };
        const double x1 = AW_ + L(110, 23), x2 = AW_ + L(130, 27);
        f_.SetPen(ChartRed, 1);
        Fill(ChartRed, BrushStyle::HatchUp);
        Rect(x1, g_, x2, AH_ - g_);
        f_.SetPen(ChartYellow, 1);
        Fill(ChartYellow, BrushStyle::HatchDown);
        Rect(x1, ya(2.0), x2, AH_ - g_);
        f_.SetPen(ChartGreen, 1);
        Fill(ChartGreen, BrushStyle::HatchCross);
        Rect(x1, ya(1.5), x2, AH_ - g_);
        Column(x1, x2);
        const double sx = AW_ + L(145, 29.2);
        f_.SetPen(kBlack, f_.Len(2, 0.2));
        Seg(sx, g_, sx, AH_ - g_);
        for (int i = 2; i <= 10; ++i) {
            double y = g_ + G_ - G_ / 10 * i;
            f_.SetPen(kBlack, f_.Len(1, 0.1));
            Seg(sx, y, AW_ + L(155, 31.5), y);
            if (i != 10) {
                f_.SetPen(kGrey, f_.Len(1, 0.1));
                Seg(sx, y - G_ / 20, AW_ + L(151, 30.6), y - G_ / 20);
            }
            Txt(AW_ + L(160, 33), y - L(6, 1.5), kMaroon, Format("%1.1f", i / 2.0));
        }
        f_.SetPen(kGrey, 1);
        f_.SetBrush(kGrey);
        Rect(sx, ya(1.0), AW_ + L(150, 30.4), AH_ - g_ + 1);
        f_.NoBrush();
        Txt(x1, AH_ - L(20, 4.5), kBlue, "自律神經");
        double Lm = std::clamp(ya(Ratio(r_.GroupMax, r_.GroupMin)), 5.0, AH_ - 5);
        int g5 = r_.IndexGrade[5];
        Rgb fill = g5 == 0 ? kLime : std::abs(g5) >= 3 ? kRed : kMarkerYellow;
        Marker(AW_ + L(109, 23), AW_ + L(131, 27), AW_ + L(105, 22), AW_ + L(136, 28), AW_ + L(102, 21.3),
               AW_ + L(138, 28.7), Lm, fill);
    }

    void Values() {
        f_.NoBrush();
        Txt(AW_ + L(20, 2), AH_ + L(15, 3.5), kNavy,
            "上/下 : " + Format("%1.2f", Ratio(r_.UpperMean, r_.LowerMean)));
        Txt(AW_ + L(20, 2), AH_ + L(32, 7.8), kNavy,
            "左/右 : " + Format("%1.2f", Ratio(r_.LeftMean, r_.RightMean)));
        Txt(AW_ + L(20, 2), AH_ + L(49, 12.1), kNavy,
            "陰/陽 : " + Format("%1.2f", Ratio(r_.YinMean, r_.YangMean)));
        Txt(AW_ + L(100, 24), AH_ + L(15, 3.5), kNavy, "身體能量 : " + Format("%3.1f", r_.BodyEnergy));
        Txt(AW_ + L(100, 24), AH_ + L(32, 7.8), kNavy,
            "自律神經 : " + Format("%1.2f", Ratio(r_.GroupMax, r_.GroupMin)));
    }
};

} // namespace

void DrawEnergyBalanceScreen(Canvas& canvas, const ChartInput& in) {
    ChartFrame f(canvas);
    EnergyBalance(f, in).Draw();
}

void PrintEnergyBalance(PrintLayout& layout, const ChartInput& in) {
    ChartFrame f(layout, BeginPaperChart(layout, ChartPaperTitle(ChartKind::EnergyBalance)));
    EnergyBalance(f, in).Draw();
    EndPaperChart(layout);
}

} // namespace oruk

// The three charts over the 24 points: excess/deficiency bars, slope curve, Ryodoraku chart.
#include "charts/ChartFrame.h"
#include "charts/ChartsInternal.h"

#include <cmath>

namespace oruk {

namespace {

enum class Style { Bar, Slope, Ryodoraku };

Rgb GradeColour(int grade) {
    if (grade == 0)
        return ChartGreen;
    if (grade == 1 || grade == -1)
        return ChartYellow;
    return ChartRed;
}

struct Plot {
    int x0, y0, W, H;
    double Ws, Hs;
    int m;
    int Cx(int k) const { return x0 + RoundEven(Ws / 12 * (k - 1) + Ws / 24); }
};

class MeridianChart {
public:
    MeridianChart(ChartFrame& f, const ChartInput& in, Style style, const Plot& p)
        : f_(f), r_(*in.result), t_(*in.tables), style_(style), p_(p) {
        e_ = r_.BodyEnergy > 0 ? r_.BodyEnergy : 1.0;
    }

    void Draw() {
        if (style_ == Style::Ryodoraku)
            DrawRyodoraku();
        else
            DrawDeviationChart();
    }

private:
    ChartFrame& f_;
    const AnalysisResult& r_;
    const DisplayTables& t_;
    Style style_;
    Plot p_;
    double e_;

    int PointOfSlot(int s) const {
        const auto& pair = t_.MeridianPointPair[(s + 1) / 2];
        return s % 2 == 1 ? pair.first : pair.second;
    }

    // Offset from y0 of a deviation, with the clamps of each copy.
    int DeviationY(double d) const {
        const double m = p_.m;
        if (d >= 0) {
            int y = RoundEven(m - m / e_ * d);
            int top = (f_.Paper() && style_ == Style::Slope) ? f_.Mm(2) : 5;
            return y < 5 ? top : y;
        }
        int y = RoundEven(m + m / e_ * std::fabs(d));
        if (y > p_.H)
            y = f_.Paper() ? p_.H - f_.Mm(1) : p_.H - 5;
        return y;
    }

    void DrawDeviationChart() {
        Canvas& c = f_.c;
        const int x0 = p_.x0, y0 = p_.y0, W = p_.W, H = p_.H, m = p_.m;
        const double Ws = p_.Ws, Hs = p_.Hs;
        const bool bar = style_ == Style::Bar;
        // 1. axes
        f_.SetPen(kBlack, f_.Len(3, 0.3));
        f_.LineSeg(x0, y0, x0, y0 + H);
        f_.LineSeg(x0, y0 + m, x0 + W + (f_.Paper() ? f_.Mm(2) : 0), y0 + m);
        // 2. body energy
        f_.NoBrush();
        std::string energy = Format("%5.1f", r_.BodyEnergy);
        if (f_.Paper())
            f_.TextRight(x0 - f_.Mm(3), y0 + m - f_.Mm(2), kNavy, energy);
        else
            f_.TextAt(10, m - 8, kNavy, energy);
        // 3. hand/foot divider
        int dividerTop = f_.Paper() ? (bar ? y0 + H - (H / 10) * 9 : y0 + H / 16) : (bar ? H / 8 : H / 14);
        f_.SetPen(kBlack, f_.Len(2, 0.3));
        f_.LineSeg(x0 + W / 2, y0 + H, x0 + W / 2, dividerTop);
        // 4. column lines
        int colStart = f_.Paper() ? (bar ? y0 + H / 6 : y0 + H / 14) : (bar ? H / 6 : H / 12);
        int midStart = f_.Paper() ? (bar ? y0 + m : y0 + H / 12) : (bar ? m : H / 10);
        f_.SetPen(kNavy, f_.Len(1, 0.1), PenStyle::Dotted);
        for (int k = 1; k <= 12; ++k)
            if (k != 6)
                f_.LineSeg(x0 + RoundEven(Ws / 12 * k), colStart, x0 + RoundEven(Ws / 12 * k), y0 + H);
        f_.SetPen(kGrey, f_.Len(1, 0.1), PenStyle::Dotted);
        for (int k = 1; k <= 12; ++k) {
            int x = x0 + RoundEven(Ws / 24) + RoundEven(Ws / 12 * (k - 1));
            f_.LineSeg(x, midStart, x, y0 + H - RoundEven(Hs / 10));
        }
        // 5. the chart's own marks
        if (bar)
            DrawBars();
        else
            DrawSlopes();
        // 6. side markers
        DrawSideMarkers(false);
        // 7. band lines with their labels
        struct Band {
            Rgb colour;
            double dev;
        };
        const Band bands[4] = {
            {kRed, r_.UpBand2}, {kRed, -r_.DownBand2}, {kOlive, r_.UpBand1}, {kOlive, -r_.DownBand1}};
        int bandY[4];
        for (int i = 0; i < 4; ++i) {
            double d = bands[i].dev;
            bandY[i] = d >= 0 ? RoundEven(m - m / e_ * d) : RoundEven(m + m / e_ * -d);
        }
        auto shown = [&](int y) { return !f_.Paper() || (y >= 0 && y <= H); };
        for (int i = 0; i < 4; ++i) {
            if (!shown(bandY[i]))
                continue;
            f_.SetPen(bands[i].colour, f_.Paper() ? f_.Mm(1) / 7 : 1, PenStyle::Dotted);
            f_.LineSeg(x0, y0 + bandY[i], x0 + W, y0 + bandY[i]);
        }
        for (int i = 0; i < 4; ++i) {
            if (!shown(bandY[i]))
                continue;
            std::string label = Format("%5.1f", r_.BodyEnergy + bands[i].dev);
            if (f_.Paper())
                f_.TextRight(x0 - f_.Mm(3), y0 + bandY[i] - f_.Mm(2), bands[i].colour, label);
            else
                f_.TextAt(10, bandY[i] - 8, bands[i].colour, label);
        }
        // 8. ticks
        f_.SetPen(kBlack, f_.Len(1, 0.1));
        for (int i = 1; i <= 18; ++i) {
            if (i == 10)
                continue;
            int y = y0 + RoundEven(Hs / 20 * i);
            f_.LineSeg(x0, y, x0 + (f_.Paper() ? f_.Mm(2) : W / 80), y);
        }
        // 9-10. labels
        DrawColumnLabels(f_.Paper() ? y0 + H - f_.Mm(7) : H - 46, f_.Paper() ? y0 + H - f_.Mm(3) : H - 30,
                         f_.Paper() ? y0 + H + f_.Mm(2) : H - 15);
        // 11. legend
        DrawLegend();
        (void)c;
    }

    void DrawBars() {
        const double Ws = p_.Ws;
        f_.SetPen(kBlack, f_.Paper() ? f_.Mm(1) / 5 : 1);
        for (int s = 1; s <= 24; ++s) {
            int p = PointOfSlot(s);
            f_.SetBrush(GradeColour(r_.PointGrade[p]));
            f_.c.Rectangle(p_.x0 + RoundEven(Ws / 24 * (s - 1)), p_.y0 + p_.m, RoundEven(Ws / 24 * s + p_.x0),
                           p_.y0 + DeviationY(r_.Deviation[p]));
        }
    }

    void PointBox(int s, int y, int p, int outline) {
        const double Ws = p_.Ws;
        int inL = f_.Paper() ? f_.Mm(0.3) : 2, inR = f_.Paper() ? f_.Mm(0.3) : 1;
        int half = f_.Paper() ? f_.Mm(0.6) : 5;
        f_.SetPen(kBlack, outline);
        f_.SetBrush(GradeColour(r_.PointGrade[p]));
        f_.c.Rectangle(p_.x0 + RoundEven(Ws / 24 * (s - 1) + inL), y - half,
                       p_.x0 + RoundEven(Ws / 24 * (s - 1) + Ws / 24 - inR), y + half);
    }

    void DrawSlopes() {
        const double Ws = p_.Ws;
        for (int k = 1; k <= 12; ++k) {
            int L = t_.MeridianPointPair[k].first, R = t_.MeridianPointPair[k].second;
            int yL = p_.y0 + DeviationY(r_.Deviation[L]), yR = p_.y0 + DeviationY(r_.Deviation[R]);
            // Wide dotted pens draw continuous lines on the surfaces this chart was designed for.
            f_.SetPen(r_.Deviation[R] > r_.Deviation[L] ? kBlue : kRed, f_.Len(2, 0.3));
            f_.LineSeg(p_.x0 + RoundEven(Ws / 24 * (2 * k - 2) + Ws / 48), yL,
                       p_.x0 + RoundEven(Ws / 24 * (2 * k - 1) + Ws / 48), yR);
            int outline = f_.Len(1, 0.2);
            PointBox(2 * k - 1, yL, L, outline);
            PointBox(2 * k, yR, R, outline);
        }
    }

    void DrawSideMarkers(bool ryodoraku) {
        Canvas& c = f_.c;
        for (int k = 1; k <= 12; ++k) {
            int g = r_.SideGrade[t_.MeridianOrder[k]];
            if (g == 0)
                continue;
            bool caution = g == 1 || g == -1;
            Rgb fill = (f_.Paper() || ryodoraku) ? (caution ? Rgb{0xFF, 0xEE, 0} : kRed)
                                                 : (caution ? ChartYellow : ChartRed);
            f_.SetPen(kBlack, 1, PenStyle::None);
            f_.SetBrush(fill);
            int x = p_.Cx(k);
            int dir = g > 0 ? 1 : -1;
            if (f_.Paper()) {
                int y0 = p_.y0;
                int a = f_.Mm(0.5), b = f_.Mm(1), tip = f_.Mm(2.5);
                if (dir > 0)
                    c.Rectangle(x - b, y0 + f_.Mm(1), x - a, y0 + f_.Mm(4));
                else
                    c.Rectangle(x + a, y0 + f_.Mm(1), x + b, y0 + f_.Mm(4));
                c.Polygon({{x + dir * tip, y0 + f_.Mm(2.5)}, {x, y0 + f_.Mm(1)}, {x, y0 + f_.Mm(4)}});
            } else {
                if (dir > 0) {
                    c.Rectangle(x - 5, 22, x - 1, 40);
                    c.Polygon({{x + 13, 30}, {x + 1, 22}, {x + 1, 38}});
                } else {
                    c.Rectangle(x + 1, 22, x + 5, 40);
                    c.Polygon({{x - 13, 30}, {x - 1, 22}, {x - 1, 38}});
                }
            }
        }
    }

    int CentredX(int k, const std::string& text) {
        return RoundEven(p_.Ws / 12 * (k - 1) + p_.Ws / 24 - f_.c.TextWidth(text) / 2) + p_.x0;
    }

    void DrawColumnLabels(int nameY, int elementY, int limbY) {
        f_.NoBrush();
        const auto& table = MeridianTable();
        for (int k = 1; k <= 12; ++k) {
            const MeridianInfo& info = table[t_.MeridianOrder[k]];
            std::string name(info.Name), element(info.Element);
            f_.TextAt(CentredX(k, name), nameY, kGreen, name);
            f_.TextAt(CentredX(k, element), elementY, kBlue, element);
        }
        std::string lr = f_.Paper() ? "左   右" : "左    右";
        const std::pair<int, std::string> limbs[4] = {{1, lr}, {7, lr}, {4, "Hand  手"}, {10, "Foot 足"}};
        for (const auto& [k, text] : limbs)
            f_.TextAt(CentredX(k, text), limbY, kRed, text);
    }

    void DrawLegend() {
        Canvas& c = f_.c;
        const double Ws = p_.Ws;
        const int x0 = p_.x0;
        const Rgb fills[3] = {ChartGreen, ChartYellow, ChartRed};
        const char* labels[3] = {"正常", "注意", "警告"};
        const int screenSlots[3] = {15, 18, 21}, paperSlots[3] = {14, 18, 22};
        for (int i = 0; i < 3; ++i) {
            f_.SetPen(kBlack, f_.Paper() ? f_.Mm(1) / 6 : 1);
            f_.SetBrush(fills[i]);
            if (f_.Paper()) {
                int k = paperSlots[i];
                int top = p_.y0 - f_.Layout().LineHeight;
                double sk = Ws / 24 * k;
                int labelX = 0, labelY = 0;
                switch (style_) {
                case Style::Bar:
                    c.Rectangle(x0 + RoundEven(sk), top, x0 + RoundEven(f_.Mm(5) + sk), top + f_.Mm(4));
                    labelX = x0 + RoundEven(f_.Mm(8) + sk);
                    labelY = top;
                    break;
                case Style::Slope:
                    c.Rectangle(x0 + RoundEven(sk), top, x0 + RoundEven(f_.Mm(3) + sk), top + f_.Mm(3));
                    labelX = x0 + RoundEven(f_.Mm(5) + sk);
                    labelY = top - f_.Mm(1);
                    break;
                case Style::Ryodoraku:
                    c.Rectangle(x0 + RoundEven(sk) - f_.Mm(3), top + f_.Mm(1) / 2,
                                x0 + RoundEven(f_.Mm(3) + sk), top + f_.Mm(2));
                    labelX = x0 + RoundEven(f_.Mm(5) + sk);
                    labelY = top - f_.Mm(1);
                    break;
                }
                f_.NoBrush();
                f_.TextAt(labelX, labelY, kBlack, labels[i]);
            } else {
                int k = screenSlots[i];
                double sk = Ws / 24 * k;
                switch (style_) {
                case Style::Bar:
                    c.Rectangle(x0 + RoundEven(sk) + 2, 0, x0 + RoundEven(sk + 25), 20);
                    break;
                case Style::Slope:
                    c.Rectangle(x0 + RoundEven(sk) + 10, 5, x0 + RoundEven(sk + 23), 17);
                    break;
                case Style::Ryodoraku:
                    c.Rectangle(x0 + RoundEven(sk) + 7, 7, x0 + RoundEven(sk + 25), 15);
                    break;
                }
                f_.NoBrush();
                f_.TextAt(x0 + RoundEven(sk + 32), 4, kBlue, labels[i]);
            }
        }
    }

    void DrawRyodoraku() {
        Canvas& c = f_.c;
        const int x0 = p_.x0, y0 = p_.y0, W = p_.W, H = p_.H;
        const double Ws = p_.Ws, Hs = p_.Hs;
        const bool paper = f_.Paper();
        // 1. axis
        f_.SetPen(kBlack, f_.Len(3, 0.3));
        f_.LineSeg(x0, y0, x0, y0 + H + (paper ? 0 : 50));
        // 2. mean line and its value
        int ym = y0 + RoundEven(H - Hs / 150 * r_.BodyEnergy);
        if (paper)
            f_.SetPen(kBlue, f_.Mm(0.3));
        else
            f_.SetPen(kBlue, 2, PenStyle::Dotted);
        f_.LineSeg(x0, ym, x0 + W, ym);
        f_.NoBrush();
        c.font.bold = true;
        std::string mean = Format("%3.1f", r_.BodyEnergy);
        if (paper)
            f_.TextAt(x0 - f_.Mm(13), ym - f_.Mm(2), kRed, mean);
        else
            f_.TextAt(8, ym - 6, kRed, mean);
        c.font.bold = false;
        // 3. vertical lines
        for (int i = 1; i <= 24; ++i) {
            int x = x0 + RoundEven(Ws / 24 * i);
            if (i % 2 == 1) {
                f_.SetPen(kGrey, f_.Len(1, 0.1), PenStyle::Dotted);
                if (paper)
                    f_.LineSeg(x, y0 + H / 17, x, y0 + H - f_.Mm(7));
                else
                    f_.LineSeg(x, H / 12, x, H);
                continue;
            }
            if (i == 12)
                f_.SetPen(kGrey, f_.Len(2, 0.3));
            else if (paper)
                f_.SetPen(kBlue, f_.Mm(0.1));
            else
                f_.SetPen(kBlue, 1, PenStyle::Dotted);
            if (paper)
                f_.LineSeg(x, y0 + H / 17 - f_.Mm(2), x, y0 + H);
            else
                f_.LineSeg(x, H / 16, x, H + 50);
        }
        // 4. y scale
        f_.SetPen(kBlack, f_.Len(1, 0.1));
        for (int i = 0; i <= 15; ++i) {
            int y = y0 + H - RoundEven(Hs / 15 * i);
            f_.LineSeg(x0, y, x0 + W / 80, y);
            std::string label = Format("%3d", i * 10);
            if (paper)
                f_.TextAt(x0 - f_.Mm(10), y - f_.Mm(2), kNavy, label);
            else
                f_.TextAt(12, y - 6, kNavy, label);
        }
        // 5-6. labels
        DrawColumnLabels(paper ? y0 + H - f_.Mm(7) : H + 4, paper ? y0 + H - f_.Mm(3) : H + 20,
                         paper ? y0 + H + f_.Mm(2) : H + 35);
        // 7. legend, then band lines
        DrawLegend();
        struct Band {
            Rgb colour;
            double value;
        };
        const Band bands[4] = {{kRed, r_.BodyEnergy + r_.UpBand2},
                               {kRed, r_.BodyEnergy - r_.DownBand2},
                               {kOlive, r_.BodyEnergy + r_.UpBand1},
                               {kOlive, r_.BodyEnergy - r_.DownBand1}};
        for (const Band& b : bands) {
            f_.SetPen(b.colour, paper ? f_.Mm(1) / 6 : 1, PenStyle::Dotted);
            int y = y0 + RoundEven(H - b.value * Hs / 150);
            f_.LineSeg(x0, y, x0 + W, y);
        }
        // 8. points
        int outline = paper ? f_.Mm(1) / 6 : 1;
        for (int s = 1; s <= 24; ++s) {
            int p = PointOfSlot(s);
            int y = H - RoundEven(Hs / 150 * r_.Compensated[p]);
            if (y < 5)
                y = 5;
            PointBox(s, y0 + y, p, outline);
        }
        // 9. side markers
        DrawSideMarkers(true);
    }
};

Plot MakePlot(int x0, int y0, int W, int H) {
    return Plot{x0, y0, W, H, static_cast<double>(W), static_cast<double>(H), H / 2};
}

Style StyleOf(ChartKind kind) {
    return kind == ChartKind::Bar ? Style::Bar : kind == ChartKind::Slope ? Style::Slope : Style::Ryodoraku;
}

} // namespace

void DrawMeridianChartScreen(ChartKind kind, Canvas& canvas, const ChartInput& in) {
    ChartFrame f(canvas);
    Style style = StyleOf(kind);
    int H = canvas.Height() - (style == Style::Ryodoraku ? 50 : 0);
    MeridianChart(f, in, style, MakePlot(50, 0, canvas.Width() - 50, H)).Draw();
}

void PrintMeridianChart(ChartKind kind, PrintLayout& layout, const ChartInput& in) {
    int y0 = BeginPaperChart(layout, ChartPaperTitle(kind));
    ChartFrame f(layout, y0);
    MeridianChart(f, in, StyleOf(kind), MakePlot(f.Mm(30), y0, f.Mm(150), f.Mm(90))).Draw();
    EndPaperChart(layout);
}

} // namespace oruk

#include "charts/Comparison.h"

#include "analysis/Analysis.h"
#include "charts/AnalysisReport.h"
#include "charts/ChartMath.h"

#include <algorithm>
#include <functional>

namespace oruk {

ComparisonSide MakeComparisonSide(const std::string& custNo, const std::string& name,
                                  const MeasurementRecord& record, const DisplayTables& tables) {
    ComparisonSide s;
    s.custNo = custNo;
    s.name = name;
    double sum = 0;
    for (int i = 1; i <= kPointCount; ++i) {
        sum += record.Values[i];
        s.compensated[i] = record.Values[i] * tables.MeridianCoefficient[MeridianOfPoint(i)];
    }
    s.bodyEnergy = sum / kPointCount;
    s.highVoltage = record.HighVoltage;
    s.date = record.MeDate;
    return s;
}

namespace {

// Where one panel lies and the pens it uses: screen pixels or printer dots.
struct PanelGeometry {
    double x0, s; // plot from x0 to x0 + s
    double top, bottom;
    bool paper;
    int mm1; // MmToDots(1) on paper, for label offsets
    int axisPen, centrePen, averagePen, bandPen, tickPen, separatorPen, markPen;
    double tickLength; // of the scale ticks
    double labelX;     // left of the average and band labels
    double labelLift;  // labels sit this far above their line
};

void DrawPanel(Canvas& c, const PanelGeometry& g, int k, const ComparisonSide* side, bool lineChart,
               const DisplayTables& tables, std::function<int(double)> mm) {
    const double h = g.bottom - g.top;
    const int ym = RoundEven(g.top + h / 2);
    auto line = [&](double x1, double y1, double x2, double y2) {
        c.MoveTo(RoundEven(x1), RoundEven(y1));
        c.LineTo(RoundEven(x2), RoundEven(y2));
    };
    // 2. axes
    c.pen = Pen{kBlack, g.axisPen, PenStyle::Solid};
    line(g.x0, g.top, g.x0, g.bottom);
    c.pen.width = g.centrePen;
    const double half = g.paper ? g.s / 2 : static_cast<int>(g.s) / 2;
    line(g.x0 + half, g.bottom, g.x0 + half, g.top + h / 20);
    // 3. title
    c.brush.style = BrushStyle::None;
    c.font.colour = kBlue;
    std::string title =
        g.paper ? (k == 1 ? "1. 原始資料" : "2. 比對資料") : (k == 1 ? "1.原始資料" : "2.比對資料");
    double titleY = g.paper ? g.top - mm(7) : g.top - 3;
    c.Text(RoundEven(g.x0 + g.s / 2 - c.TextWidth(title) / 2.0), RoundEven(titleY), title);
    // 4. average line
    c.pen = Pen{kBlack, g.averagePen, PenStyle::Solid};
    line(g.x0, g.top + h / 2, g.x0 + g.s, g.top + h / 2);
    if (side) {
        // 5. average and bands; an average of 0 counts as 1 for the scale and the band labels
        const double E = side->bodyEnergy;
        const double Es = E == 0 ? 1.0 : E;
        const GradeBands b = GradeBands::ForBodyEnergy(Es);
        const double f = (h / 2) / Es;
        c.font.colour = kNavy;
        c.Text(RoundEven(g.labelX), RoundEven(ym - g.labelLift), Format("%3.1f", E));
        struct Band {
            Rgb colour;
            double y, value;
            bool shown;
        };
        const Band bands[4] = {
            {kRed, ym - f * b.UpBand2, Es + b.UpBand2, ym - f * b.UpBand2 >= g.top},
            {kRed, ym + f * b.DownBand2, Es - b.DownBand2, ym + f * b.DownBand2 <= g.bottom},
            {kOlive, ym - f * b.UpBand1, Es + b.UpBand1, ym - f * b.UpBand1 >= g.top},
            {kOlive, ym + f * b.DownBand1, Es - b.DownBand1, ym + f * b.DownBand1 <= g.bottom},
        };
        for (const Band& band : bands) {
            if (!band.shown)
                continue;
            c.pen = Pen{band.colour, g.bandPen, PenStyle::Dotted};
            line(g.x0, band.y, g.x0 + g.s, band.y);
            c.font.colour = band.colour;
            c.Text(RoundEven(g.labelX), RoundEven(band.y - g.labelLift), Format("%3.1f", band.value));
        }
    }
    // 6. ticks
    c.pen = Pen{kBlack, g.tickPen, PenStyle::Solid};
    for (int i = 1; i <= 19; ++i)
        if (i != 10)
            line(g.x0, g.top + h * i / 20, g.x0 + g.tickLength, g.top + h * i / 20);
    // 7. column separators
    c.pen = Pen{kGrey, g.separatorPen, PenStyle::Dotted};
    for (int i = 1; i <= 12; ++i)
        if (i != 6)
            line(g.x0 + g.s * i / 12, g.bottom, g.x0 + g.s * i / 12, g.top + h / 15);
    // 8. bars or points
    if (side) {
        const double E = side->bodyEnergy;
        const double Es = E == 0 ? 1.0 : E;
        const GradeBands b = GradeBands::ForBodyEnergy(Es);
        const double f = (h / 2) / Es;
        std::optional<Point> previous;
        for (int n = 1; n <= 24; ++n) {
            const auto& pair = tables.MeridianPointPair[(n + 1) / 2];
            int point = n % 2 == 1 ? pair.first : pair.second;
            double d = side->compensated[point] - E;
            Rgb fill;
            if (d >= 0)
                fill = d >= b.UpBand2 ? ChartRed : d >= b.UpBand1 ? ChartYellow : ChartGreen;
            else
                fill = -d >= b.DownBand2 ? ChartRed : -d >= b.DownBand1 ? ChartYellow : ChartGreen;
            double end = d >= 0 ? std::max(ym - d * f, g.top) : std::min(ym - d * f, g.bottom);
            double xl = g.x0 + g.s * (n - 1) / 24;
            if (!lineChart) {
                c.pen = Pen{kBlack, g.markPen, PenStyle::Solid};
                c.brush = Brush{fill, BrushStyle::Solid};
                c.Rectangle(RoundEven(xl), ym, RoundEven(g.x0 + g.s * n / 24), RoundEven(end));
                continue;
            }
            Point centre{RoundEven(xl + g.s / 48), RoundEven(end)};
            const int r = g.paper ? mm(1) : 4;
            auto square = [&] {
                c.pen = Pen{kBlack, g.markPen, PenStyle::Solid};
                c.brush = Brush{fill, BrushStyle::Solid};
                c.Rectangle(centre.x - r, centre.y - r, centre.x + r, centre.y + r);
            };
            auto link = [&] {
                if (previous) {
                    c.pen = Pen{kBlack, g.markPen, PenStyle::Dotted};
                    c.MoveTo(previous->x, previous->y);
                    c.LineTo(centre.x, centre.y);
                }
            };
            // Paper draws the link first so the square covers its end; the screen the other way.
            if (g.paper) {
                link();
                square();
            } else {
                square();
                link();
            }
            previous = centre;
        }
    }
    // 9. labels
    c.brush.style = BrushStyle::None;
    const auto& table = MeridianTable();
    auto colCentre = [&](int col) { return g.x0 + g.s * (col - 1) / 12 + g.s / 24; };
    auto place = [&](double xc, double y, Rgb colour, const std::string& text) {
        c.font.colour = colour;
        int w = c.TextWidth(text);
        // The screen puts the right end on the column centre; paper centres the text.
        int x = g.paper ? RoundEven(xc - w / 2.0) : RoundEven(xc) - w;
        c.Text(x, RoundEven(y), text);
    };
    for (int col = 1; col <= 12; ++col) {
        const MeridianInfo& info = table[tables.MeridianOrder[col]];
        place(colCentre(col), g.paper ? g.bottom - mm(7) : g.bottom - 16, kGreen, std::string(info.Name));
        place(colCentre(col), g.paper ? g.bottom - mm(3) : g.bottom, kBlue, std::string(info.Element));
    }
    const double limbY = g.paper ? g.bottom + mm(2) : g.bottom + 15;
    place(colCentre(1), limbY, kRed, "左    右");
    place(colCentre(7), limbY, kRed, "左    右");
    place(colCentre(4), limbY, kRed, "Hand  手");
    place(colCentre(10), limbY, kRed, "Foot 足");
}

} // namespace

void DrawComparisonChart(Canvas& c, const ComparisonInput& in) {
    const int W = c.Width(), H = c.Height();
    const double s = W - 30;
    c.font.size = 8;
    c.font.name = "Tahoma";
    c.font.bold = false;
    for (int k = 1; k <= 2; ++k) {
        PanelGeometry g{};
        g.x0 = 30;
        g.s = s;
        g.top = k == 1 ? 5 : H / 2 + 10;
        g.bottom = k == 1 ? H / 2 - 25 : H - 30;
        g.paper = false;
        g.axisPen = g.centrePen = g.averagePen = 2;
        g.bandPen = g.tickPen = g.separatorPen = g.markPen = 1;
        g.tickLength = static_cast<int>(s) / 80;
        g.labelX = 1;
        g.labelLift = 8;
        const ComparisonSide* side = k == 1 ? &in.source : (in.comparison ? &*in.comparison : nullptr);
        DrawPanel(c, g, k, side, in.lineChart, in.tables, [](double) { return 0; });
        if (k == 1) {
            c.pen = Pen{kSilver, 2, PenStyle::Solid};
            c.MoveTo(0, H / 2 + 6);
            c.LineTo(30 + static_cast<int>(s), H / 2 + 6);
        }
    }
}

bool PrintComparisonReport(PrintDevice& device, const ComparisonInput& in, PrintObserver* observer,
                           std::string* error) {
    PrintLayout layout(device, observer);
    if (!layout.StartJob(kComparisonJobTitle, 10, true, 0)) {
        if (error)
            *error = device.ErrorText();
        layout.EndJob();
        return false;
    }
    auto mm = [&](double v) { return layout.MmToDots(v); };
    Canvas& c = layout.canvas();
    c.font.name = "Tahoma";
    c.font.bold = false;
    c.brush.style = BrushStyle::None;
    const int L = layout.LineHeight;
    int y = mm(10);
    auto centred = [&](int yy, Rgb colour, const std::string& t) {
        c.font.colour = colour;
        c.Text(layout.RightEdge / 2 - c.TextWidth(t) / 2, yy, t);
    };
    auto text = [&](double xmm, Rgb colour, const std::string& t) {
        c.font.colour = colour;
        c.Text(mm(xmm), y, t);
    };
    if (!layout.PrintAborted()) {
        c.font.size = 14;
        centred(y, kBlack, "O.R.U.K. 能量比對分析報表");
        y += mm(4) + L;
        c.font.size = 12;
        centred(y, kBlue, in.orgName);
        y += L;
        centred(y, kBlue, in.orgUnit);
        y += mm(3) + L;
        c.font.size = 10;
        text(10, kBlack, "列印時間: " + ReportDateText(in.now) + ", " + ReportTimeText(in.now));
        y += L;
        c.pen = Pen{kBlack, mm(0.4), PenStyle::Solid};
        c.MoveTo(mm(3), y);
        c.LineTo(layout.RightEdge - mm(2), y);
        y += L;
        auto block = [&](const ComparisonSide& side) {
            text(10, kBlack, "編號:  " + side.custNo);
            text(60, kBlack, "姓名:  " + side.name);
            text(115, kBlack, "體能:  " + Format("%3.1f", side.bodyEnergy));
            text(160, kBlack, "測量電位:  ");
            c.font.colour = side.highVoltage ? kRed : kGreen;
            c.Text(mm(160) + c.TextWidth("測量電位:  "), y, side.highVoltage ? "高電位" : "標準電位");
            y += L;
            text(10, kBlack, "測量日期:  " + ReportDateText(side.date));
            text(115, kBlack, "測量時間:  " + ReportTimeText(side.date));
        };
        text(10, kBlue, "1. 原始資料");
        y += mm(3) + L;
        block(in.source);
        if (in.comparison) {
            y += mm(6) + L;
            text(10, kBlue, "2. 比對資料");
            y += mm(3) + L;
            block(*in.comparison);
        }
        y += mm(10) + L;
    }
    if (!layout.PrintAborted()) {
        const int x0 = mm(30), y0 = y + L;
        for (int k = 1; k <= 2; ++k) {
            PanelGeometry g{};
            g.x0 = x0;
            g.s = mm(150);
            g.top = y0 + (k == 1 ? mm(2) : mm(90));
            g.bottom = y0 + (k == 1 ? mm(68) : mm(160));
            g.paper = true;
            g.axisPen = mm(0.4);
            g.centrePen = g.averagePen = mm(0.3);
            g.bandPen = g.tickPen = g.markPen = mm(0.1);
            g.separatorPen = mm(0.2);
            g.tickLength = mm(150) / 80;
            g.labelX = x0 - mm(10);
            g.labelLift = mm(2.5);
            const ComparisonSide* side = k == 1 ? &in.source : (in.comparison ? &*in.comparison : nullptr);
            DrawPanel(c, g, k, side, in.lineChart, in.tables, mm);
            if (k == 1) {
                c.pen = Pen{kSilver, mm(0.4), PenStyle::Solid};
                int sy = static_cast<int>(g.bottom) + mm(12);
                c.MoveTo(x0, sy);
                c.LineTo(x0 + mm(150), sy);
            }
        }
    }
    bool ok = layout.EndJob();
    if (!ok && error && !layout.PrintAborted())
        *error = device.ErrorText();
    return ok;
}

} // namespace oruk

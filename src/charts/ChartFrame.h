#pragma once

#include "charts/Canvas.h"
#include "charts/ChartMath.h"
#include "charts/Charts.h"
#include "charts/PrintLayout.h"

namespace oruk {

// One chart algorithm draws both copies: the screen copy in pixels of the chart box, the paper
// copy in printer dots at the layout's cursor, with every colour passed through PrintColour.
class ChartFrame {
public:
    // Screen placement.
    explicit ChartFrame(Canvas& canvas) : c(canvas), layout_(nullptr) {}
    // Paper placement; top is the chart area's top (y0).
    ChartFrame(PrintLayout& layout, int top) : c(layout.canvas()), layout_(&layout), top_(top) {}

    Canvas& c;

    bool Paper() const { return layout_ != nullptr; }
    PrintLayout& Layout() const { return *layout_; }
    int Top() const { return top_; }
    int Mm(double mm) const { return layout_->MmToDots(mm); }
    // A length given in pixels for the screen and in millimetres for paper.
    int Len(int px, double mm) const { return Paper() ? Mm(mm) : px; }
    Rgb Col(Rgb colour) const { return Paper() ? layout_->PrintColour(colour) : colour; }
    bool Mono() const { return Paper() && !layout_->ColourMode; }

    void SetPen(Rgb colour, int width, PenStyle style = PenStyle::Solid) {
        c.pen = Pen{Col(colour), width, style};
    }
    void SetBrush(Rgb colour, BrushStyle style = BrushStyle::Solid) { c.brush = Brush{Col(colour), style}; }
    void NoBrush() { c.brush.style = BrushStyle::None; }
    void SetFontColour(Rgb colour) { c.font.colour = Col(colour); }
    void TextAt(int x, int y, Rgb colour, const std::string& text) {
        SetFontColour(colour);
        c.Text(x, y, text);
    }
    // Text with its right end at x.
    void TextRight(int xRight, int y, Rgb colour, const std::string& text) {
        SetFontColour(colour);
        c.Text(xRight - c.TextWidth(text), y, text);
    }
    void LineSeg(int x1, int y1, int x2, int y2) {
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    }

private:
    PrintLayout* layout_;
    int top_ = 0;
};

// The frame every printed chart shares: space check, centred blue title, and the final advance.
// Returns y0 for the drawing: the cursor at the chart's start plus three lines, so that the legend
// line sits right under the title.
int BeginPaperChart(PrintLayout& layout, std::string_view title);
void EndPaperChart(PrintLayout& layout);

} // namespace oruk

#include "charts/PrintLayout.h"

#include "charts/ChartMath.h"

#include <algorithm>

namespace oruk {

PrintLayout::PrintLayout(PrintDevice& device, PrintObserver* observer)
    : device_(device), observer_(observer) {
    Dpi = device.Dpi();
    RightEdge = std::min(device.PageWidth(), 8 * Dpi);
}

int PrintLayout::MmToDots(double mm) const {
    return RoundEven(Dpi * mm / 25.4);
}

Rgb PrintLayout::PrintColour(Rgb colour) const {
    if (ColourMode)
        return colour;
    int g = (colour.r + colour.g + colour.b) / 3;
    if (g > 112)
        g = 112;
    auto v = static_cast<std::uint8_t>(g);
    return {v, v, v};
}

std::string PageNumberText(int page) {
    return "第" + Format("%4d", page) + " 頁";
}

bool PrintLayout::StartJob(const std::string& title, int fontSize, bool colourMode, double topMarginMm) {
    FontSize = fontSize;
    ColourMode = colourMode;
    Dpi = device_.Dpi();
    RightEdge = std::min(device_.PageWidth(), 8 * Dpi);
    CursorY = MmToDots(10);
    if (!device_.Begin(title))
        return false;
    started_ = true;
    if (observer_)
        observer_->JobStarted(title);
    Canvas& c = canvas();
    c.font.size = FontSize;
    TopMarginMm = topMarginMm;
    Font saved = c.font;
    c.font.name = "Tahoma";
    c.font.bold = false;
    LineHeight = MmToDots(1) + c.TextHeight("X");
    c.font = saved;
    return true;
}

bool PrintLayout::EndJob() {
    if (observer_)
        observer_->JobEnded();
    if (!started_)
        return false;
    started_ = false;
    if (aborted_)
        return false;
    return device_.End();
}

void PrintLayout::Abort() {
    if (aborted_)
        return;
    aborted_ = true;
    if (started_)
        device_.Abort();
}

bool PrintLayout::PrintAborted() {
    if (!aborted_ && observer_ && observer_->AbortRequested())
        Abort();
    return aborted_;
}

void PrintLayout::NewPage() {
    CursorY = MmToDots(15) + MmToDots(TopMarginMm);
    if (PrintAborted())
        return;
    Canvas& c = canvas();
    c.brush.style = BrushStyle::None;
    device_.NewPage();
    ++PageNumber;
    c.font.colour = PrintColour(kBlack);
    std::string text = PageNumberText(PageNumber);
    c.Text(RightEdge - 30 - c.TextWidth(text), 40, text);
}

void PrintLayout::ReserveChartSpace() {
    if (PageHeight() - MmToDots(5) < CursorY + MmToDots(86) + 5 * LineHeight)
        NewPage();
}

void PrintLayout::AdvanceLine() {
    CursorY += LineHeight;
    if (CursorY > PageHeight() - MmToDots(20))
        NewPage();
}

void PrintLayout::PrintTextLine(const std::string& text) {
    if (!PrintAborted())
        canvas().Text(MmToDots(20), CursorY, text);
    AdvanceLine();
}

} // namespace oruk

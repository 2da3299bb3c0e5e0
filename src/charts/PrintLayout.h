#pragma once

#include "charts/Canvas.h"

#include <string>

namespace oruk {

// A paged output: a PDF file, a printer or a recording. Begin opens the job, End finishes it
// (a file appears only then), Abort discards everything sent so far.
class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    virtual bool Begin(const std::string& title) = 0;
    virtual Canvas& GetCanvas() = 0;
    virtual int Dpi() const = 0;        // horizontal dots per inch
    virtual int PageWidth() const = 0;  // dots
    virtual int PageHeight() const = 0; // dots
    virtual void NewPage() = 0;
    virtual bool End() = 0;
    virtual void Abort() = 0;
    virtual std::string ErrorText() const { return {}; }
};

// Watches a print job: the progress box of the windows, or nothing. AbortRequested is asked at
// every section boundary; once it answers true the job is aborted for good.
class PrintObserver {
public:
    virtual ~PrintObserver() = default;
    virtual void JobStarted(const std::string& /*title*/) {}
    virtual void JobEnded() {}
    virtual bool AbortRequested() { return false; }
};

// An observer whose abort flag a window's abort button sets ("中斷列印").
class AbortFlagObserver : public PrintObserver {
public:
    void RequestAbort() { abort_ = true; }
    bool AbortRequested() override { return abort_; }

private:
    bool abort_ = false;
};

// The state of one print job that every printed section reads and advances, and the page
// operations over it.
class PrintLayout {
public:
    PrintLayout(PrintDevice& device, PrintObserver* observer = nullptr);

    int Dpi = 600;
    int RightEdge = 0;
    int CursorY = 0;
    int LineHeight = 0;
    double TopMarginMm = 0;
    int FontSize = 10;
    bool ColourMode = true;
    int PageNumber = 1;

    Canvas& canvas() { return device_.GetCanvas(); }
    PrintDevice& device() { return device_; }
    int PageHeight() const { return device_.PageHeight(); }

    int MmToDots(double mm) const;
    Rgb PrintColour(Rgb colour) const;

    // Opens the job: the title shows in the print queue. False when the device cannot start.
    bool StartJob(const std::string& title, int fontSize, bool colourMode, double topMarginMm);
    // Ends the job normally unless it was aborted; true when the output was completed.
    bool EndJob();

    void ReserveChartSpace();
    void AdvanceLine();
    void PrintTextLine(const std::string& text);
    bool PrintAborted();
    void Abort();

    // Starts a new page (used by the two operations above).
    void NewPage();

private:
    PrintDevice& device_;
    PrintObserver* observer_;
    bool aborted_ = false;
    bool started_ = false;
};

// The page number text of later pages: "第" + "%4d" + " 頁".
std::string PageNumberText(int page);

} // namespace oruk

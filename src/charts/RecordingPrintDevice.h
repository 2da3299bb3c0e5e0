#pragma once

#include "charts/PrintLayout.h"
#include "charts/RecordingCanvas.h"

namespace oruk {

// A print device that records its pages: for tests and for measuring a report without output.
class RecordingPrintDevice : public PrintDevice {
public:
    // A4 at the given resolution unless told otherwise.
    explicit RecordingPrintDevice(int dpi = 600, int pageWidth = 0, int pageHeight = 0)
        : dpi_(dpi), width_(pageWidth ? pageWidth : dpi * 210 * 10 / 254),
          height_(pageHeight ? pageHeight : dpi * 297 * 10 / 254), canvas_(width_, height_, dpi) {}

    bool Begin(const std::string& title) override {
        title_ = title;
        begun_ = true;
        pages_ = 1;
        return true;
    }
    Canvas& GetCanvas() override { return canvas_; }
    int Dpi() const override { return dpi_; }
    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }
    void NewPage() override {
        ++pages_;
        canvas_.NewPage();
    }
    bool End() override {
        ended_ = true;
        return true;
    }
    void Abort() override { aborted_ = true; }

    RecordingCanvas& Recording() { return canvas_; }
    const std::string& Title() const { return title_; }
    int Pages() const { return pages_; }
    bool Begun() const { return begun_; }
    bool Ended() const { return ended_; }
    bool Aborted() const { return aborted_; }

private:
    int dpi_, width_, height_;
    RecordingCanvas canvas_;
    std::string title_;
    int pages_ = 0;
    bool begun_ = false, ended_ = false, aborted_ = false;
};

} // namespace oruk

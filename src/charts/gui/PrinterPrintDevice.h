#pragma once

#include "charts/PrintLayout.h"
#include "charts/painter/PainterCanvas.h"

#include <QPainter>
#include <QPrinter>
#include <memory>

class QWidget;

namespace oruk {

// Pages onto a real printer (CUPS through Qt PrintSupport). Coordinates start at the printable
// area's top-left corner; the resolution is the printer's.
class PrinterPrintDevice : public PrintDevice {
public:
    explicit PrinterPrintDevice(QPrinter& printer);
    ~PrinterPrintDevice() override;

    bool Begin(const std::string& title) override;
    Canvas& GetCanvas() override { return *canvas_; }
    int Dpi() const override { return printer_.resolution(); }
    int PageWidth() const override { return printer_.width(); }
    int PageHeight() const override { return printer_.height(); }
    void NewPage() override { printer_.newPage(); }
    bool End() override;
    void Abort() override;
    std::string ErrorText() const override { return error_; }

private:
    QPrinter& printer_;
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
    std::string error_;
};

// The system's print dialog ("列印設定"), modal to parent; false when the operator cancels.
bool ChoosePrinter(QWidget* parent, QPrinter& printer);

} // namespace oruk

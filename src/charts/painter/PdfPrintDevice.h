#pragma once

#include "charts/PrintLayout.h"
#include "charts/painter/PainterCanvas.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <memory>
#include <string>

namespace oruk {

// Pages into a PDF file, A4 portrait at the given resolution. The file is written under a temporary
// name and appears only when the job ends normally; an aborted or failed job leaves no file.
class PdfPrintDevice : public PrintDevice {
public:
    explicit PdfPrintDevice(const std::string& path, int dpi = 600);
    ~PdfPrintDevice() override;

    bool Begin(const std::string& title) override;
    Canvas& GetCanvas() override { return *canvas_; }
    int Dpi() const override { return dpi_; }
    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }
    void NewPage() override;
    bool End() override;
    void Abort() override;
    std::string ErrorText() const override { return error_; }

private:
    std::string path_;
    int dpi_;
    int width_, height_;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
    std::string error_;
};

} // namespace oruk

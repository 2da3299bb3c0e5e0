#include "charts/painter/PdfPrintDevice.h"

#include <QPageLayout>
#include <QPageSize>
#include <cmath>

namespace oruk {

PdfPrintDevice::PdfPrintDevice(const std::string& path, int dpi) : path_(path), dpi_(dpi) {
    // A4 in dots, as the writer lays it out.
    width_ = static_cast<int>(std::lround(210.0 / 25.4 * dpi));
    height_ = static_cast<int>(std::lround(297.0 / 25.4 * dpi));
    canvas_ = std::make_unique<PainterCanvas>(painter_, width_, height_, dpi);
}

PdfPrintDevice::~PdfPrintDevice() {
    if (painter_.isActive())
        painter_.end();
    if (file_)
        file_->cancelWriting();
}

bool PdfPrintDevice::Begin(const std::string& title) {
    file_ = std::make_unique<QSaveFile>(QString::fromStdString(path_));
    if (!file_->open(QIODevice::WriteOnly)) {
        error_ = file_->errorString().toStdString();
        file_.reset();
        return false;
    }
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    writer_->setTitle(QString::fromStdString(title));
    writer_->setCreator("ORUK");
    writer_->setResolution(dpi_);
    writer_->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    if (!painter_.begin(writer_.get())) {
        error_ = "cannot start the PDF output";
        file_->cancelWriting();
        file_.reset();
        return false;
    }
    width_ = writer_->width();
    height_ = writer_->height();
    canvas_->SetSize(width_, height_);
    canvas_->Activate();
    return true;
}

void PdfPrintDevice::NewPage() {
    if (writer_)
        writer_->newPage();
}

bool PdfPrintDevice::End() {
    if (!file_)
        return false;
    painter_.end();
    writer_.reset();
    bool ok = file_->commit();
    if (!ok)
        error_ = file_->errorString().toStdString();
    file_.reset();
    return ok;
}

void PdfPrintDevice::Abort() {
    if (painter_.isActive())
        painter_.end();
    writer_.reset();
    if (file_) {
        file_->cancelWriting();
        file_.reset();
    }
}

} // namespace oruk

#include "charts/gui/PrinterPrintDevice.h"

#include <QPrintDialog>
#include <QString>

namespace oruk {

PrinterPrintDevice::PrinterPrintDevice(QPrinter& printer) : printer_(printer) {
    canvas_ =
        std::make_unique<PainterCanvas>(painter_, printer_.width(), printer_.height(), printer_.resolution());
}

PrinterPrintDevice::~PrinterPrintDevice() {
    if (painter_.isActive())
        painter_.end();
}

bool PrinterPrintDevice::Begin(const std::string& title) {
    printer_.setDocName(QString::fromStdString(title));
    if (!painter_.begin(&printer_)) {
        error_ = "the printer cannot start the job";
        return false;
    }
    canvas_ =
        std::make_unique<PainterCanvas>(painter_, printer_.width(), printer_.height(), printer_.resolution());
    return true;
}

bool PrinterPrintDevice::End() {
    if (!painter_.isActive())
        return false;
    painter_.end();
    if (printer_.printerState() == QPrinter::Error) {
        error_ = "the printer reported an error";
        return false;
    }
    return true;
}

void PrinterPrintDevice::Abort() {
    printer_.abort();
    if (painter_.isActive())
        painter_.end();
}

bool ChoosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle("列印設定");
    return dialog.exec() == QDialog::Accepted;
}

} // namespace oruk

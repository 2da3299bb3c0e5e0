#include "charts/painter/ChartOutput.h"

#include "charts/painter/PainterCanvas.h"

#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace oruk {

namespace {
constexpr int kScreenDpi = 96;
constexpr int kDotsPerMeter = 3780; // 96 dpi
} // namespace

QImage RenderChartImage(ChartKind kind, const ChartInput& input, int width, int height) {
    return RenderImage([&](Canvas& c) { DrawScreenChart(kind, c, input); }, width, height);
}

QImage RenderImage(const std::function<void(Canvas&)>& draw, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterCanvas canvas(painter, width, height, kScreenDpi);
    draw(canvas);
    painter.end();
    return image;
}

bool SaveChartPng(ChartKind kind, const ChartInput& input, int width, int height, const std::string& path,
                  std::string& error) {
    return SavePng([&](Canvas& c) { DrawScreenChart(kind, c, input); }, width, height, path, error);
}

bool SavePng(const std::function<void(Canvas&)>& draw, int width, int height, const std::string& path,
             std::string& error) {
    QImage image = RenderImage(draw, width, height);
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        error = "cannot encode the image";
        return false;
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

bool SaveChartSvg(ChartKind kind, const ChartInput& input, int width, int height, const std::string& path,
                  std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setResolution(kScreenDpi);
        svg.setTitle(QString::fromStdString(std::string(ChartCaption(kind))));
        QPainter painter;
        if (!painter.begin(&svg)) {
            file.cancelWriting();
            error = "cannot start the SVG output";
            return false;
        }
        painter.fillRect(QRect(0, 0, width, height), Qt::white);
        PainterCanvas canvas(painter, width, height, kScreenDpi);
        DrawScreenChart(kind, canvas, input);
        painter.end();
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace oruk

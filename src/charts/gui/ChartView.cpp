#include "charts/gui/ChartView.h"

#include "charts/painter/PainterCanvas.h"

#include <QPaintEvent>
#include <QPainter>

namespace oruk {

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

void ChartView::ShowChart(ChartKind kind, const ChartInput& input) {
    ShowDrawing([kind, input](Canvas& c) { DrawScreenChart(kind, c, input); });
}

void ChartView::ShowDrawing(std::function<void(Canvas&)> draw) {
    draw_ = std::move(draw);
    update();
}

void ChartView::Clear() {
    draw_ = nullptr;
    update();
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!draw_)
        return;
    PainterCanvas canvas(painter, width(), height(), logicalDpiX());
    draw_(canvas);
}

} // namespace oruk

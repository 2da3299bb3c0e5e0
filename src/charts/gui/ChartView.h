#pragma once

#include "charts/Charts.h"

#include <QWidget>
#include <functional>
#include <optional>

namespace oruk {

// The chart box of a window: draws the chosen chart with the box's current size on every repaint.
// The input's result and tables must outlive the view (or be replaced before the next repaint).
class ChartView : public QWidget {
public:
    explicit ChartView(QWidget* parent = nullptr);

    // Shows one of the analysis charts.
    void ShowChart(ChartKind kind, const ChartInput& input);
    // Shows any drawing (the comparison chart, for one).
    void ShowDrawing(std::function<void(Canvas&)> draw);
    // Empties the box.
    void Clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(Canvas&)> draw_;
};

} // namespace oruk

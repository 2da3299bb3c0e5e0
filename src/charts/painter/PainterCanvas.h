#pragma once

#include "charts/Canvas.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <map>
#include <string>

namespace oruk {

// The families a font name of the charts maps to: the Windows faces the charts were designed with
// are not on Linux, so each maps to an installed face plus a CJK face covering Traditional Chinese.
// Screen and paper use the same mapping.
QStringList FontFamiliesFor(const std::string& name);
QFont MakeQFont(const Font& font);

// The drawing canvas over a QPainter: a widget, an image, an SVG file, a PDF file or a printer.
class PainterCanvas : public Canvas {
public:
    // The painter must be active on a device of width x height device units at dpi.
    PainterCanvas(QPainter& painter, int width, int height, int dpi);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int Dpi() const override { return dpi_; }

    void Line(int x1, int y1, int x2, int y2) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Pie(double cx, double cy, double rx, double ry, double fromDeg, double toDeg) override;
    void Polygon(const std::vector<Point>& points) override;
    void Text(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    bool Picture(int x, int y, const std::string& path) override;
    bool PictureSize(const std::string& path, int& width, int& height) override;

    // Sets the painter's hints; called again once a painter that was not yet active has begun.
    void Activate();

    void SetSize(int width, int height) {
        width_ = width;
        height_ = height;
    }

private:
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();
    const QImage* LoadPicture(const std::string& path);

    QPainter& p_;
    int width_, height_, dpi_;
    std::map<std::string, QImage> pictures_;
};

} // namespace oruk

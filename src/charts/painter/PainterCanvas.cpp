#include "charts/painter/PainterCanvas.h"

#include <QBitmap>
#include <QImageReader>
#include <QPolygon>
#include <QRectF>
#include <QString>
#include <cmath>

namespace oruk {

QStringList FontFamiliesFor(const std::string& name) {
    if (name == "Times New Roman")
        return {"DejaVu Serif", "Noto Serif CJK TC", "Noto Sans CJK TC"};
    if (name == "Tahoma" || name.empty())
        return {"DejaVu Sans", "Noto Sans CJK TC"};
    return {QString::fromStdString(name), "DejaVu Sans", "Noto Sans CJK TC"};
}

QFont MakeQFont(const Font& font) {
    QFont f;
    f.setFamilies(FontFamiliesFor(font.name));
    f.setPointSize(font.size > 0 ? font.size : 1);
    f.setBold(font.bold);
    return f;
}

namespace {
QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}
} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, int width, int height, int dpi)
    : p_(painter), width_(width), height_(height), dpi_(dpi) {
    if (p_.isActive())
        Activate();
}

void PainterCanvas::Activate() {
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
    // Hatches print as lines scaled to the page, not as a grey dither.
    p_.setRenderHint(QPainter::NonCosmeticBrushPatterns, true);
}

void PainterCanvas::ApplyPen() {
    if (pen.style == PenStyle::None) {
        p_.setPen(Qt::NoPen);
        return;
    }
    QPen qp(ToQColor(pen.colour));
    qp.setWidthF(pen.width > 0 ? pen.width : 1);
    qp.setStyle(pen.style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    qp.setCapStyle(Qt::FlatCap);
    qp.setJoinStyle(Qt::MiterJoin);
    p_.setPen(qp);
}

void PainterCanvas::ApplyBrush() {
    p_.setBackgroundMode(Qt::TransparentMode);
    switch (brush.style) {
    case BrushStyle::None:
        p_.setBrush(Qt::NoBrush);
        return;
    case BrushStyle::Solid:
        p_.setBrush(QBrush(ToQColor(brush.colour)));
        return;
    default:
        break;
    }
    Qt::BrushStyle style = brush.style == BrushStyle::HatchUp     ? Qt::BDiagPattern
                           : brush.style == BrushStyle::HatchDown ? Qt::FDiagPattern
                                                                  : Qt::DiagCrossPattern;
    QBrush b(ToQColor(brush.colour), style);
    // Patterns are 8 device units wide; widen them to their screen look on high-resolution pages.
    if (dpi_ > 120)
        b.setTransform(QTransform::fromScale(dpi_ / 96.0, dpi_ / 96.0));
    p_.setBrush(b);
    p_.setBackgroundMode(Qt::OpaqueMode);
    p_.setBackground(Qt::white);
}

void PainterCanvas::ApplyFont() {
    p_.setFont(MakeQFont(font));
}

void PainterCanvas::Line(int x1, int y1, int x2, int y2) {
    ApplyPen();
    p_.setBackgroundMode(Qt::TransparentMode);
    p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    ApplyPen();
    ApplyBrush();
    p_.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
}

void PainterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    ApplyPen();
    ApplyBrush();
    p_.drawEllipse(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
}

void PainterCanvas::Pie(double cx, double cy, double rx, double ry, double fromDeg, double toDeg) {
    ApplyPen();
    ApplyBrush();
    // Our angles run clockwise from 9 o'clock; Qt's run counter-clockwise from 3 o'clock.
    int start = static_cast<int>(std::lround((180.0 - toDeg) * 16));
    int span = static_cast<int>(std::lround((toDeg - fromDeg) * 16));
    p_.drawPie(QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry), start, span);
}

void PainterCanvas::Polygon(const std::vector<Point>& points) {
    ApplyPen();
    ApplyBrush();
    QPolygon poly;
    for (const Point& pt : points)
        poly << QPoint(pt.x, pt.y);
    p_.drawPolygon(poly);
}

void PainterCanvas::Text(int x, int y, const std::string& text) {
    ApplyFont();
    p_.setBackgroundMode(Qt::TransparentMode);
    p_.setPen(ToQColor(font.colour));
    QFontMetrics fm = p_.fontMetrics();
    p_.drawText(QPointF(x, y + fm.ascent()), QString::fromStdString(text));
}

int PainterCanvas::TextWidth(const std::string& text) {
    ApplyFont();
    return p_.fontMetrics().horizontalAdvance(QString::fromStdString(text));
}

int PainterCanvas::TextHeight(const std::string&) {
    ApplyFont();
    return p_.fontMetrics().height();
}

const QImage* PainterCanvas::LoadPicture(const std::string& path) {
    auto it = pictures_.find(path);
    if (it != pictures_.end())
        return it->second.isNull() ? nullptr : &it->second;
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    if (!img.isNull()) {
        // Drawn transparent: the colour of the bottom-left pixel is see-through.
        img = img.convertToFormat(QImage::Format_ARGB32);
        QRgb key = img.pixel(0, img.height() - 1);
        for (int yy = 0; yy < img.height(); ++yy) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
            for (int xx = 0; xx < img.width(); ++xx)
                if (line[xx] == key)
                    line[xx] = qRgba(0, 0, 0, 0);
        }
    }
    auto& slot = pictures_[path];
    slot = img;
    return slot.isNull() ? nullptr : &slot;
}

bool PainterCanvas::PictureSize(const std::string& path, int& width, int& height) {
    const QImage* img = LoadPicture(path);
    if (!img)
        return false;
    width = img->width();
    height = img->height();
    return true;
}

bool PainterCanvas::Picture(int x, int y, const std::string& path) {
    const QImage* img = LoadPicture(path);
    if (!img)
        return false;
    p_.drawImage(QPoint(x, y), *img);
    return true;
}

} // namespace oruk

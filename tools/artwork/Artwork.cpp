#include "Artwork.h"

#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPathStroker>
#include <cmath>
#include <cstdio>

namespace oruk::artwork {

QFont UiFont(double pixelSize, bool bold) {
    QFont font(QStringLiteral("Noto Sans CJK TC"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setBold(bold);
    return font;
}

QPainterPath TaperedSegment(QPointF a, QPointF b, double wa, double wb) {
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    QPainterPath path;
    if (len <= 0)
        return path;
    const QPointF n(-d.y() / len, d.x() / len);
    QPolygonF poly;
    poly << a + n * (wa / 2) << b + n * (wb / 2) << b - n * (wb / 2) << a - n * (wa / 2);
    path.addPolygon(poly);
    path.closeSubpath();
    QPainterPath ends;
    ends.addEllipse(a, wa / 2, wa / 2);
    ends.addEllipse(b, wb / 2, wb / 2);
    return path.united(ends);
}

QPainterPath Capsule(QPointF a, QPointF b, double width) {
    return TaperedSegment(a, b, width, width);
}

QPainterPath Polyline(const std::vector<QPointF>& points) {
    QPainterPath path;
    if (points.empty())
        return path;
    path.moveTo(points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    return path;
}

// Catmull-Rom through the points, so hand-placed courses read as smooth lines.
QPainterPath SmoothPolyline(const std::vector<QPointF>& pts) {
    QPainterPath path;
    if (pts.size() < 3)
        return Polyline(pts);
    path.moveTo(pts[0]);
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        const QPointF p0 = i == 0 ? pts[0] : pts[i - 1];
        const QPointF p1 = pts[i];
        const QPointF p2 = pts[i + 1];
        const QPointF p3 = i + 2 < pts.size() ? pts[i + 2] : pts[i + 1];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    return path;
}

void DrawPointMarker(QPainter& p, QPointF at, double radius, bool glow) {
    p.save();
    if (glow) {
        QRadialGradient halo(at, radius * 2.6);
        halo.setColorAt(0, QColor(255, 60, 60, 150));
        halo.setColorAt(1, QColor(255, 60, 60, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(at, radius * 2.6, radius * 2.6);
    }
    p.setPen(QPen(Qt::white, std::max(1.0, radius * 0.35)));
    p.setBrush(palette::Point);
    p.drawEllipse(at, radius, radius);
    p.setPen(QPen(palette::Point, std::max(1.0, radius * 0.22)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, radius * 1.75, radius * 1.75);
    p.restore();
}

void DrawLabel(QPainter& p, QPointF anchor, const QString& text, const QRectF& bounds, double fontPx,
               QPointF preferredOffset) {
    p.save();
    const QFont font = UiFont(fontPx, true);
    p.setFont(font);
    const QFontMetricsF fm(font);
    const double w = fm.horizontalAdvance(text) + fontPx * 0.9;
    const double h = fm.height() + fontPx * 0.3;
    auto place = [&](QPointF offset) {
        QRectF box(anchor + offset - QPointF(w / 2, h / 2), QSizeF(w, h));
        if (box.left() < bounds.left())
            box.moveLeft(bounds.left());
        if (box.right() > bounds.right())
            box.moveRight(bounds.right());
        if (box.top() < bounds.top())
            box.moveTop(bounds.top());
        if (box.bottom() > bounds.bottom())
            box.moveBottom(bounds.bottom());
        return box;
    };
    // The box must never hide the marker: after clamping into the bounds, try the other quadrants.
    const double px = preferredOffset.x(), py = preferredOffset.y();
    const double far = std::max(std::abs(py), h + 14.0);
    QRectF box = place(preferredOffset);
    for (QPointF offset :
         {QPointF(px, py), QPointF(px, -py), QPointF(-px, py), QPointF(-px, -py), QPointF(0, -far),
          QPointF(0, far), QPointF(w / 2 + 16, 0), QPointF(-w / 2 - 16, 0)}) {
        const QRectF candidate = place(offset);
        if (!candidate.adjusted(-12, -12, 12, 12).contains(anchor)) {
            box = candidate;
            break;
        }
    }
    // Leader from the marker's ring to the nearest point of the box.
    const QPointF target(std::clamp(anchor.x(), box.left(), box.right()),
                         std::clamp(anchor.y(), box.top(), box.bottom()));
    p.setPen(QPen(palette::Label, 1.2));
    p.drawLine(anchor, target);
    p.setPen(QPen(palette::Label, 1.0));
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawRoundedRect(box, h * 0.3, h * 0.3);
    p.setPen(palette::Label);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

void DrawCourse(QPainter& p, const std::vector<QPointF>& course, double width, const QColor& colour,
                bool arrow) {
    if (course.size() < 2)
        return;
    p.save();
    const QPainterPath path = SmoothPolyline(course);
    QColor halo = Qt::white;
    halo.setAlpha(170);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(halo, width + 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    if (arrow) {
        const double t = 0.5;
        const QPointF at = path.pointAtPercent(t);
        const double angle = path.angleAtPercent(t); // degrees, counter-clockwise
        const double rad = -angle * M_PI / 180.0;
        const QPointF dir(std::cos(rad), std::sin(rad));
        const QPointF nrm(-dir.y(), dir.x());
        const double s = width * 2.6 + 3;
        QPolygonF head;
        head << at + dir * s << at - dir * (s * 0.6) + nrm * (s * 0.75)
             << at - dir * (s * 0.6) - nrm * (s * 0.75);
        p.setPen(QPen(Qt::white, 1.0));
        p.setBrush(colour);
        p.drawPolygon(head);
    }
    p.restore();
}

bool SaveImage(const QImage& image, const std::filesystem::path& file, const char* format) {
    QImageWriter writer(QString::fromStdString(file.string()), format);
    if (!writer.write(image)) {
        std::fprintf(stderr, "oruk_artwork: cannot write %s: %s\n", file.string().c_str(),
                     writer.errorString().toLocal8Bit().constData());
        return false;
    }
    return true;
}

} // namespace oruk::artwork

// The faint background figure of the energy balance chart.

#include "Artwork.h"

#include <QPainter>

namespace oruk::artwork {

bool WriteBalanceBackground(const std::filesystem::path& dataDir) {
    // White is the chart's paper and the colour the chart treats as transparent.
    constexpr int w = 300, h = 300;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // A faint yin-yang disc behind a faint standing figure.
    const QPointF c(w / 2.0, h / 2.0);
    const double r = 128;
    const QColor light(0xf1, 0xf5, 0xf9), mid(0xe6, 0xed, 0xf3), line(0xdc, 0xe5, 0xed);
    p.setPen(QPen(line, 2));
    p.setBrush(light);
    p.drawEllipse(c, r, r);
    QPainterPath dark;
    dark.moveTo(c.x(), c.y() - r);
    dark.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 90, 180);
    dark.arcTo(QRectF(c.x() - r / 2, c.y(), r, r), 270, -180);
    dark.arcTo(QRectF(c.x() - r / 2, c.y() - r, r, r), 270, 180);
    p.setPen(Qt::NoPen);
    p.setBrush(mid);
    p.drawPath(dark);
    p.setBrush(light);
    p.drawEllipse(QPointF(c.x(), c.y() + r / 2), r / 7, r / 7);
    p.setBrush(mid);
    p.drawEllipse(QPointF(c.x(), c.y() - r / 2), r / 7, r / 7);

    p.translate(c.x(), 22);
    p.scale(0.256, 0.256);
    p.setPen(QPen(QColor(0xd2, 0xdc, 0xe6), 5));
    p.setBrush(QColor(0xfa, 0xfb, 0xfd, 210));
    p.drawPath(BodyOutline());
    p.end();
    return SaveImage(image, dataDir / "mebkmg.msi", "bmp");
}

} // namespace oruk::artwork

#pragma once

// Drawing helpers shared by the picture generators. Everything is drawn with QPainter from
// coordinates in this folder, so the pictures are reproducible from the sources.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <filesystem>
#include <vector>

namespace oruk::artwork {

// One palette for every picture: warm skin tones, a deep teal for meridians, red for points.
namespace palette {
inline const QColor Ink{0x3b, 0x2f, 0x2a};
inline const QColor SkinLight{0xf6, 0xd9, 0xbf};
inline const QColor SkinMid{0xea, 0xbc, 0x98};
inline const QColor SkinDark{0xc9, 0x8f, 0x6c};
inline const QColor Crease{0xb7, 0x7e, 0x60};
inline const QColor Nail{0xf7, 0xe1, 0xd6};
inline const QColor Meridian{0x0b, 0x7a, 0x8c};
inline const QColor Point{0xd6, 0x24, 0x2a};
inline const QColor Paper{0xfd, 0xfb, 0xf7};
inline const QColor Label{0x1f, 0x3a, 0x5f};
} // namespace palette

QFont UiFont(double pixelSize, bool bold = false);

// A tapered limb segment from a to b (widths wa, wb) with round ends.
QPainterPath TaperedSegment(QPointF a, QPointF b, double wa, double wb);
QPainterPath Capsule(QPointF a, QPointF b, double width);
QPainterPath Polyline(const std::vector<QPointF>& points);
QPainterPath SmoothPolyline(const std::vector<QPointF>& points);

// The red source-point marker and its label box with a leader line; the label stays inside bounds.
void DrawPointMarker(class QPainter& p, QPointF at, double radius, bool glow);
void DrawLabel(class QPainter& p, QPointF anchor, const QString& text, const QRectF& bounds, double fontPx,
               QPointF preferredOffset);
// A meridian course with a small arrow in the middle showing the flow direction.
void DrawCourse(class QPainter& p, const std::vector<QPointF>& course, double width, const QColor& colour,
                bool arrow);

bool SaveImage(const QImage& image, const std::filesystem::path& file, const char* format);

// The generators; each returns false after reporting a failure on stderr.
bool WritePointPictures(const std::filesystem::path& dataDir);
bool WriteMeridianDiagrams(const std::filesystem::path& artworkDir);
bool WriteBalanceBackground(const std::filesystem::path& dataDir);

// Body figure shared by the diagrams and the background: outline path of one standing figure in
// figure units (height 1000, midline x = 0), seen from the front or the back.
QPainterPath BodyOutline();

} // namespace oruk::artwork

// The 72 point pictures: each of the 24 measuring points as a hand or foot seen by the operator,
// in three styles (photo-like, drawing, composite with the meridian's course).

#include "Artwork.h"
#include "analysis/MeridianModel.h"

#include <QPainter>
#include <array>
#include <cstdio>
#include <random>
#include <string>

namespace oruk::artwork {
namespace {

constexpr int kSize = 200;

enum class View { Palm, HandBack, FootTop, FootInner, FootOuter };

// Geometry of one view, drawn for the right side; the left side is its mirror image.
struct Shape {
    QPainterPath outline;
    QPainterPath details; // creases, nails, knuckles: thin strokes
};

QPainterPath Closed(const std::vector<QPointF>& pts) {
    QPainterPath path = SmoothPolyline(pts);
    path.closeSubpath();
    return path;
}

// Right palm, fingers up, thumb on the right.
Shape PalmShape() {
    Shape s;
    QPainterPath palm;
    palm.addRoundedRect(QRectF(63, 74, 74, 82), 22, 22);
    s.outline = palm.united(TaperedSegment({100, 240}, {100, 150}, 80, 72))
                    .united(Capsule({72, 94}, {70, 38}, 15))
                    .united(Capsule({89, 86}, {88, 20}, 17))
                    .united(Capsule({107, 84}, {108, 12}, 18))
                    .united(Capsule({125, 88}, {128, 22}, 17))
                    .united(TaperedSegment({124, 142}, {160, 104}, 30, 22))
                    .united(Capsule({160, 104}, {176, 80}, 19));
    QPainterPath d;
    d.moveTo(66, 104);
    d.cubicTo(84, 94, 104, 92, 126, 96); // heart line
    d.moveTo(68, 118);
    d.cubicTo(90, 110, 112, 108, 130, 112); // head line
    d.moveTo(128, 100);
    d.cubicTo(110, 116, 106, 136, 114, 154); // life line
    d.moveTo(70, 155);
    d.cubicTo(90, 158, 110, 158, 130, 155); // wrist creases
    d.moveTo(72, 162);
    d.cubicTo(90, 165, 110, 165, 128, 162);
    for (const auto& [x, top] :
         std::array<std::pair<double, double>, 4>{{{70, 38}, {88, 20}, {108, 12}, {128, 22}}}) {
        const double base = top + 58;
        for (double f : {0.33, 0.62}) {
            const double y = top + (base - top) * f;
            d.moveTo(x - 5, y);
            d.lineTo(x + 5, y);
        }
    }
    d.moveTo(160, 98);
    d.lineTo(168, 104);
    s.details = d;
    return s;
}

// Right hand from the back, fingers up, thumb on the left: the palm's mirror with nails and knuckles.
Shape HandBackShape() {
    const Shape palm = PalmShape();
    const QTransform flip(-1, 0, 0, 1, kSize, 0);
    Shape s;
    s.outline = flip.map(palm.outline);
    QPainterPath d;
    for (const auto& [x, top, w] : std::array<std::tuple<double, double, double>, 4>{
             {{130, 38, 15}, {112, 20, 17}, {92, 12, 18}, {72, 22, 17}}}) {
        d.addRoundedRect(QRectF(x - w * 0.3, top - 5, w * 0.6, 12), 4, 4); // nail
        d.moveTo(x - 6, top + 54);
        d.quadTo(x, top + 50, x + 6, top + 54); // knuckle
        d.moveTo(x, top + 64);
        d.lineTo(x + (100 - x) * 0.25, 146); // tendon
    }
    d.addRoundedRect(QRectF(20, 74, 10, 11), 4, 4); // thumb nail
    s.details = d;
    return s;
}

// Right foot from above, toes up, big toe on the left.
Shape FootTopShape() {
    Shape s;
    const QPainterPath body = Closed({{70, 200},
                                      {58, 150},
                                      {50, 100},
                                      {54, 64},
                                      {80, 52},
                                      {118, 56},
                                      {146, 70},
                                      {150, 112},
                                      {140, 160},
                                      {132, 200}});
    s.outline = body.united(TaperedSegment({100, 240}, {100, 182}, 62, 70))
                    .united(Capsule({64, 64}, {62, 20}, 27))
                    .united(Capsule({88, 60}, {90, 24}, 17))
                    .united(Capsule({106, 62}, {108, 30}, 16))
                    .united(Capsule({122, 68}, {125, 40}, 15))
                    .united(Capsule({138, 78}, {142, 52}, 13));
    QPainterPath d;
    d.addRoundedRect(QRectF(54, 12, 16, 14), 5, 5);
    d.addRoundedRect(QRectF(85, 18, 10, 9), 3, 3);
    d.addRoundedRect(QRectF(103, 24, 10, 8), 3, 3);
    d.addRoundedRect(QRectF(120, 34, 9, 8), 3, 3);
    d.addRoundedRect(QRectF(137, 46, 9, 7), 3, 3);
    d.moveTo(62, 172);
    d.quadTo(58, 182, 64, 190); // inner ankle bone
    d.moveTo(138, 178);
    d.quadTo(144, 188, 138, 196); // outer ankle bone
    d.moveTo(80, 150);
    d.cubicTo(92, 140, 110, 140, 122, 150); // ankle crease
    s.details = d;
    return s;
}

// Right foot from the inside, toes to the left, heel to the right.
Shape FootInnerShape() {
    Shape s;
    s.outline = Closed({{14, 146},
                        {22, 164},
                        {60, 166},
                        {96, 160},
                        {130, 168},
                        {166, 172},
                        {184, 156},
                        {182, 126},
                        {170, 96},
                        {164, 40},
                        {162, -10},
                        {118, -10},
                        {118, 60},
                        {112, 104},
                        {84, 120},
                        {46, 128},
                        {20, 132}});
    QPainterPath d;
    d.addRoundedRect(QRectF(14, 132, 12, 9), 3, 3); // big toe nail
    d.addEllipse(QPointF(146, 112), 9, 10);         // inner ankle bone
    d.moveTo(34, 134);
    d.quadTo(38, 148, 34, 160); // big toe joint
    d.moveTo(168, 104);
    d.quadTo(172, 130, 178, 150); // Achilles tendon
    s.details = d;
    return s;
}

// Right foot from the outside: the inner view's mirror, toes to the right.
Shape FootOuterShape() {
    const Shape inner = FootInnerShape();
    const QTransform flip(-1, 0, 0, 1, kSize, 0);
    Shape s;
    s.outline = flip.map(inner.outline);
    QPainterPath d;
    d.addRoundedRect(QRectF(176, 140, 8, 7), 3, 3); // little toe nail
    d.addEllipse(QPointF(56, 118), 9, 10);          // outer ankle bone
    d.moveTo(168, 140);
    d.quadTo(164, 150, 168, 160);
    d.moveTo(32, 104);
    d.quadTo(28, 130, 22, 150);
    s.details = d;
    return s;
}

struct PointView {
    View view;
    QPointF point;               // marker on the right side's picture
    std::vector<QPointF> course; // the meridian through it, in flow direction
    QPointF labelOffset;         // where the name box goes relative to the marker
};

// By meridian number (MeridianTable order).
PointView ViewOf(int meridian) {
    switch (meridian) {
    case 1: // LU: from the forearm to the thumb
        return {View::Palm,
                {128, 152},
                {{124, 210}, {126, 180}, {128, 152}, {140, 132}, {162, 104}, {178, 78}},
                {22, 30}};
    case 2: // PC: to the middle finger
        return {View::Palm, {100, 154}, {{100, 210}, {100, 154}, {104, 110}, {108, 14}}, {0, 32}};
    case 3: // HT: to the little finger
        return {View::Palm, {72, 152}, {{70, 210}, {72, 152}, {68, 110}, {70, 40}}, {-14, 32}};
    case 4: // SI: from the little finger up the outer edge
        return {
            View::HandBack, {136, 128}, {{137, 40}, {139, 90}, {136, 128}, {134, 160}, {138, 210}}, {10, 46}};
    case 5: // TE: from the ring finger over the back of the wrist
        return {View::HandBack, {104, 150}, {{112, 22}, {114, 90}, {104, 150}, {100, 210}}, {0, 32}};
    case 6: // LI: from the index finger through the wrist's thumb side
        return {View::HandBack, {70, 150}, {{72, 24}, {70, 70}, {64, 120}, {70, 150}, {66, 210}}, {-6, 32}};
    case 7: // SP: from the big toe along the inner edge
        return {View::FootInner,
                {64, 152},
                {{16, 146}, {40, 150}, {64, 152}, {96, 146}, {124, 112}, {130, 50}, {132, -5}},
                {-10, 28}};
    case 8: // LR: from the big toe over the instep
        return {View::FootTop,
                {78, 100},
                {{70, 14}, {76, 60}, {78, 100}, {80, 140}, {84, 175}, {86, 210}},
                {-30, 40}};
    case 9: // KI: from the sole behind the inner ankle bone
        return {View::FootInner,
                {164, 140},
                {{104, 162}, {112, 152}, {148, 134}, {164, 140}, {160, 108}, {150, 50}, {148, -5}},
                {-20, 40}};
    case 10: // BL: down behind the outer ankle bone to the little toe
        return {View::FootOuter,
                {136, 154},
                {{44, -5}, {40, 80}, {40, 120}, {56, 150}, {100, 158}, {136, 154}, {184, 146}},
                {-20, 28}};
    case 11: // GB: down the outer ankle to the fourth toe
        return {View::FootTop,
                {130, 170},
                {{134, 210}, {132, 188}, {130, 170}, {126, 110}, {126, 40}},
                {20, -60}};
    default: // ST: down the instep to the second toe
        return {
            View::FootTop, {100, 132}, {{104, 210}, {101, 170}, {100, 132}, {94, 80}, {92, 22}}, {20, 44}};
    }
}

Shape ShapeOf(View view) {
    switch (view) {
    case View::Palm:
        return PalmShape();
    case View::HandBack:
        return HandBackShape();
    case View::FootTop:
        return FootTopShape();
    case View::FootInner:
        return FootInnerShape();
    default:
        return FootOuterShape();
    }
}

QString MeridianTitle(int meridian) {
    const auto& m = MeridianTable()[meridian];
    QString name = QString::fromUtf8(m.Name.data(), static_cast<int>(m.Name.size()));
    if (!name.endsWith(QStringLiteral("經")))
        name += QStringLiteral("經");
    return QString::fromUtf8(m.Channel.data(), static_cast<int>(m.Channel.size())) + name;
}

void PaintPhotoLike(QPainter& p, const Shape& shape, const QTransform& t) {
    QRadialGradient bg(QPointF(kSize * 0.45, kSize * 0.35), kSize * 0.85);
    bg.setColorAt(0, QColor(0xf2, 0xf5, 0xf7));
    bg.setColorAt(1, QColor(0xb9, 0xc7, 0xd1));
    p.fillRect(QRectF(0, 0, kSize, kSize), bg);

    p.setTransform(t);
    // Soft shadow: a few widening translucent copies under the limb.
    p.setPen(Qt::NoPen);
    for (int i = 5; i >= 1; --i) {
        p.setBrush(QColor(40, 50, 60, 14));
        p.drawPath(shape.outline.translated(3 + i, 4 + i));
    }
    QLinearGradient skin(QPointF(40, 0), QPointF(170, 30));
    skin.setColorAt(0, palette::SkinMid);
    skin.setColorAt(0.45, palette::SkinLight);
    skin.setColorAt(1, palette::SkinDark);
    p.setBrush(skin);
    p.setPen(QPen(palette::SkinDark.darker(115), 1.0));
    p.drawPath(shape.outline);
    QRadialGradient sheen(QPointF(95, 90), 70);
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawPath(shape.outline);
    // Rounded limbs darken towards their edges; a fine fixed grain keeps the skin from looking flat.
    p.save();
    p.setClipPath(shape.outline);
    p.setBrush(Qt::NoBrush);
    for (const auto& [width, alpha] : std::array<std::pair<double, int>, 3>{{{14, 22}, {8, 30}, {3, 40}}}) {
        QColor edge = palette::SkinDark.darker(120);
        edge.setAlpha(alpha);
        p.setPen(QPen(edge, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(shape.outline);
    }
    std::mt19937 grain(20240611);
    std::uniform_real_distribution<double> where(0, kSize);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 2600; ++i) {
        p.setBrush(i % 2 ? QColor(120, 70, 40, 16) : QColor(255, 255, 255, 20));
        p.drawEllipse(QPointF(where(grain), where(grain)), 0.7, 0.7);
    }
    p.restore();
    QColor crease = palette::Crease;
    crease.setAlpha(150);
    p.setBrush(QColor(palette::Nail.red(), palette::Nail.green(), palette::Nail.blue(), 120));
    p.setPen(QPen(crease, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(shape.details);
    p.resetTransform();
}

void PaintDrawing(QPainter& p, const Shape& shape, const QTransform& t) {
    p.fillRect(QRectF(0, 0, kSize, kSize), palette::Paper);
    p.setPen(QPen(QColor(0xd8, 0xd2, 0xc8), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kSize - 1, kSize - 1));
    p.setTransform(t);
    p.setBrush(QColor(0xff, 0xfc, 0xf6));
    p.setPen(QPen(palette::Ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shape.outline);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::Ink, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(shape.details);
    p.resetTransform();
}

void PaintSideTag(QPainter& p, const QString& text, bool onDark) {
    p.save();
    const QFont font = UiFont(13, true);
    p.setFont(font);
    const QRectF box(6, kSize - 26, 44, 20);
    if (onDark) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1f, 0x3a, 0x5f, 200));
        p.drawRoundedRect(box, 6, 6);
        p.setPen(Qt::white);
    } else {
        p.setPen(QPen(palette::Label, 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(box, 6, 6);
        p.setPen(palette::Label);
    }
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

QImage PointPicture(int pointIndex, int style) {
    const int meridian = MeridianOfPoint(pointIndex);
    const Side side = SideOfPoint(pointIndex);
    const PointView pv = ViewOf(meridian);
    const Shape shape = ShapeOf(pv.view);
    const QTransform t = side == Side::Left ? QTransform(-1, 0, 0, 1, kSize, 0) : QTransform();

    QImage image(kSize, kSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (style == 2)
        PaintDrawing(p, shape, t);
    else
        PaintPhotoLike(p, shape, t);

    std::vector<QPointF> course;
    for (const QPointF& c : pv.course)
        course.push_back(t.map(c));
    const QPointF point = t.map(pv.point);
    QPointF offset = pv.labelOffset;
    if (side == Side::Left)
        offset.setX(-offset.x());

    if (style == 3) {
        DrawCourse(p, course, 3.2, palette::Meridian, true);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x0b, 0x4f, 0x5c, 215));
        p.drawRect(QRectF(0, 0, kSize, 24));
        p.setPen(Qt::white);
        p.setFont(UiFont(14, true));
        p.drawText(QRectF(8, 0, kSize - 16, 24), Qt::AlignVCenter | Qt::AlignLeft, MeridianTitle(meridian));
        const auto& m = MeridianTable()[meridian];
        p.setFont(UiFont(11));
        p.drawText(QRectF(8, 0, kSize - 16, 24), Qt::AlignVCenter | Qt::AlignRight,
                   QString::fromUtf8(m.Code.data(), static_cast<int>(m.Code.size())));
    }
    if (style == 2) {
        // Drawing style: a crosshair locates the point precisely.
        p.setPen(QPen(palette::Point, 1.0, Qt::DashLine));
        p.drawLine(point - QPointF(16, 0), point + QPointF(16, 0));
        p.drawLine(point - QPointF(0, 16), point + QPointF(0, 16));
    }
    DrawPointMarker(p, point, style == 2 ? 4.5 : 5.0, style != 2);
    const auto& info = MeridianTable()[meridian];
    const QString label =
        QString::fromUtf8(info.SourcePoint.data(), static_cast<int>(info.SourcePoint.size()));
    const QRectF bounds(4, style == 3 ? 28 : 4, kSize - 8, kSize - (style == 3 ? 32 : 8) - 24);
    DrawLabel(p, point, label, bounds, 14, offset);
    const std::string_view pos = PositionText(side, meridian);
    PaintSideTag(p, QString::fromUtf8(pos.data(), static_cast<int>(pos.size())).remove(QLatin1Char(' ')),
                 style != 2);
    p.end();
    return image;
}

} // namespace

bool WritePointPictures(const std::filesystem::path& dataDir) {
    for (int style = 1; style <= 3; ++style)
        for (int point = 1; point <= kPointCount; ++point)
            if (!SaveImage(PointPicture(point, style), dataDir / PointPictureFileName(point, style), "bmp"))
                return false;
    return true;
}

} // namespace oruk::artwork

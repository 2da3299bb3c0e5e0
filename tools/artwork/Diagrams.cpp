// The twelve meridian diagrams: a standing figure from the front and from the back with the
// meridian's course, its flow direction and its measuring point.

#include "Artwork.h"
#include "analysis/MeridianModel.h"

#include <QPainter>

namespace oruk::artwork {
namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 660;
constexpr double kScale = 0.53;
constexpr double kTop = 76;
constexpr double kFrontX = 140;
constexpr double kBackX = 420;

enum class Face { Front, Back };

// One drawn stretch of a course; x is measured outward on the subject's left side.
struct Stretch {
    Face face;
    std::vector<QPointF> points;
    bool arrow = true;
};

struct MeridianCourse {
    std::vector<Stretch> stretches;
    Face pointFace;
    QPointF point;
};

MeridianCourse CourseOf(int meridian) {
    switch (meridian) {
    case 1: // LU: chest to thumb
        return {{{Face::Front,
                  {{80, 215}, {112, 235}, {142, 300}, {163, 420}, {176, 565}, {184, 610}, {190, 640}}}},
                Face::Front,
                {176, 565}};
    case 2: // PC: chest to middle finger
        return {{{Face::Front,
                  {{64, 285}, {100, 262}, {127, 300}, {148, 420}, {168, 566}, {172, 620}, {176, 668}}}},
                Face::Front,
                {168, 566}};
    case 3: // HT: armpit to little finger
        return {{{Face::Front, {{100, 238}, {112, 300}, {133, 420}, {160, 565}, {164, 620}, {164, 655}}}},
                Face::Front,
                {160, 565}};
    case 4: // SI: little finger over the shoulder blade to the ear
        return {{{Face::Back,
                  {{162, 655},
                   {160, 610},
                   {160, 580},
                   {152, 500},
                   {133, 420},
                   {112, 300},
                   {100, 240},
                   {80, 265},
                   {96, 225},
                   {60, 205},
                   {40, 170},
                   {44, 120},
                   {42, 86}}}},
                Face::Back,
                {160, 580}};
    case 5: // TE: ring finger over the shoulder, round the ear
        return {{{Face::Back,
                  {{172, 660},
                   {170, 610},
                   {168, 566},
                   {160, 500},
                   {148, 420},
                   {128, 300},
                   {106, 198},
                   {60, 150},
                   {44, 100},
                   {38, 56}}}},
                Face::Back,
                {168, 566}};
    case 6: // LI: index finger up the arm, then across the face
        return {{{Face::Back,
                  {{182, 650}, {180, 600}, {177, 565}, {170, 500}, {162, 420}, {140, 300}, {112, 200}}},
                 {Face::Front, {{108, 198}, {50, 160}, {30, 118}, {8, 100}, {-14, 96}}, false}},
                Face::Back,
                {177, 565}};
    case 7: // SP: big toe up the inner leg to the side of the chest
        return {{{Face::Front,
                  {{60, 1000},
                   {56, 968},
                   {50, 935},
                   {46, 850},
                   {40, 735},
                   {36, 620},
                   {50, 520},
                   {85, 450},
                   {90, 350},
                   {110, 300},
                   {118, 270}}}},
                Face::Front,
                {56, 968}};
    case 8: // LR: big toe up the inner leg to the ribs
        return {{{Face::Front,
                  {{66, 1000},
                   {64, 970},
                   {54, 935},
                   {48, 870},
                   {42, 800},
                   {38, 735},
                   {30, 620},
                   {30, 530},
                   {50, 470},
                   {78, 420},
                   {70, 330}}}},
                Face::Front,
                {64, 970}};
    case 9: // KI: inner ankle up the inner leg, beside the midline to the collarbone
        return {{{Face::Front,
                  {{52, 975},
                   {46, 948},
                   {44, 900},
                   {40, 840},
                   {36, 735},
                   {22, 620},
                   {8, 520},
                   {10, 450},
                   {12, 350},
                   {36, 300},
                   {34, 205}}}},
                Face::Front,
                {46, 948}};
    case 10: // BL: over the head, down the back and leg to the little toe
        return {{{Face::Back,
                  {{12, 20},
                   {14, 60},
                   {18, 130},
                   {22, 175},
                   {24, 320},
                   {24, 480},
                   {30, 540},
                   {60, 585},
                   {62, 650},
                   {64, 735},
                   {64, 820},
                   {70, 900},
                   {78, 940},
                   {86, 965},
                   {92, 992}}},
                 {Face::Back, {{48, 190}, {48, 350}, {48, 500}, {58, 580}}, false}},
                Face::Back,
                {86, 965}};
    case 11: // GB: outer eye corner, round the side of the head, down the side to the fourth toe
        return {{{Face::Front,
                  {{26, 62},
                   {42, 78},
                   {36, 38},
                   {43, 56},
                   {42, 100},
                   {28, 148},
                   {60, 178},
                   {86, 192},
                   {104, 250},
                   {100, 320},
                   {98, 400},
                   {102, 520},
                   {102, 620},
                   {92, 735},
                   {86, 840},
                   {80, 948},
                   {82, 1000}}}},
                Face::Front,
                {80, 948}};
    default: // ST: below the eye, down the front of the body and leg to the second toe
        return {{{Face::Front, {{30, 36}, {42, 62}, {38, 116}}, false},
                 {Face::Front,
                  {{22, 62},
                   {26, 100},
                   {36, 122},
                   {30, 160},
                   {48, 195},
                   {62, 240},
                   {62, 330},
                   {32, 370},
                   {30, 480},
                   {58, 520},
                   {80, 620},
                   {84, 735},
                   {78, 840},
                   {62, 935},
                   {68, 962},
                   {72, 1000}}}},
                Face::Front,
                {68, 962}};
    }
}

QPointF ToImage(Face face, QPointF figurePoint) {
    // The subject's left side appears on the viewer's right from the front, on the left from the back.
    const double cx = face == Face::Front ? kFrontX : kBackX;
    const double sign = face == Face::Front ? 1.0 : -1.0;
    return {cx + sign * figurePoint.x() * kScale, kTop + figurePoint.y() * kScale};
}

void DrawFigure(QPainter& p, Face face, const QPainterPath& body) {
    const double cx = face == Face::Front ? kFrontX : kBackX;
    p.save();
    p.translate(cx, kTop);
    p.scale(kScale, kScale);
    QLinearGradient fill(QPointF(-200, 0), QPointF(200, 0));
    fill.setColorAt(0, QColor(0xee, 0xe2, 0xd6));
    fill.setColorAt(0.5, QColor(0xf8, 0xf0, 0xe8));
    fill.setColorAt(1, QColor(0xee, 0xe2, 0xd6));
    p.setBrush(fill);
    p.setPen(QPen(QColor(0xa8, 0x92, 0x80), 2.4 / kScale * 0.5));
    p.drawPath(body);
    // A few landmarks so front and back read at a glance.
    p.setPen(QPen(QColor(0xc9, 0xb6, 0xa6), 1.6));
    p.setBrush(Qt::NoBrush);
    if (face == Face::Front) {
        p.drawEllipse(QPointF(0, 450), 4, 4); // navel
        p.drawArc(QRectF(-62, 250, 40, 30), 200 * 16, 140 * 16);
        p.drawArc(QRectF(22, 250, 40, 30), 200 * 16, 140 * 16);
        p.drawLine(QPointF(-70, 192), QPointF(-20, 182)); // collarbones
        p.drawLine(QPointF(70, 192), QPointF(20, 182));
    } else {
        p.drawLine(QPointF(0, 175), QPointF(0, 520)); // spine
        p.drawArc(QRectF(-80, 215, 60, 90), 60 * 16, 120 * 16);
        p.drawArc(QRectF(20, 215, 60, 90), 0, 120 * 16);
    }
    p.restore();
}

QString Utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QImage Diagram(int meridian) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(palette::Paper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const auto& info = MeridianTable()[meridian];
    QString title = Utf8(info.Channel) + Utf8(info.Name);
    if (!title.endsWith(QStringLiteral("經")))
        title += QStringLiteral("經");
    p.fillRect(QRectF(0, 0, kWidth, 44), QColor(0x0b, 0x4f, 0x5c));
    p.setPen(Qt::white);
    p.setFont(UiFont(20, true));
    p.drawText(QRectF(14, 0, kWidth - 28, 44), Qt::AlignVCenter | Qt::AlignLeft,
               title + QStringLiteral("  ") + Utf8(info.Code));
    p.setFont(UiFont(13));
    p.drawText(QRectF(14, 0, kWidth - 28, 44), Qt::AlignVCenter | Qt::AlignRight, Utf8(info.EnglishName));

    p.setPen(QColor(0x6b, 0x5b, 0x50));
    p.setFont(UiFont(13, true));
    p.drawText(QRectF(kFrontX - 80, 50, 160, 20), Qt::AlignCenter, QStringLiteral("正面 Front"));
    p.drawText(QRectF(kBackX - 80, 50, 160, 20), Qt::AlignCenter, QStringLiteral("背面 Back"));
    p.setPen(QPen(QColor(0xe2, 0xd8, 0xcc), 1, Qt::DashLine));
    p.drawLine(QPointF(kWidth / 2.0, 56), QPointF(kWidth / 2.0, kHeight - 30));

    const QPainterPath body = BodyOutline();
    DrawFigure(p, Face::Front, body);
    DrawFigure(p, Face::Back, body);

    const MeridianCourse course = CourseOf(meridian);
    for (const Stretch& s : course.stretches) {
        std::vector<QPointF> pts;
        for (const QPointF& f : s.points)
            pts.push_back(ToImage(s.face, f));
        DrawCourse(p, pts, 3.0, palette::Meridian, s.arrow);
    }
    const QPointF point = ToImage(course.pointFace, course.point);
    DrawPointMarker(p, point, 5.5, true);
    const double outward = (course.pointFace == Face::Front) == (course.point.x() >= 0) ? 1.0 : -1.0;
    DrawLabel(p, point, Utf8(info.SourcePoint), QRectF(6, 60, kWidth - 12, kHeight - 96), 14,
              QPointF(outward * 62, point.y() > 560 ? -58 : 34));

    p.setPen(QColor(0x6b, 0x5b, 0x50));
    p.setFont(UiFont(12));
    p.drawText(QRectF(14, kHeight - 28, kWidth - 28, 24), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("五行：") + Utf8(info.Element) + QStringLiteral("    流注：") +
                   Utf8(info.Hours) + QStringLiteral("    圖示循行以左側為例"));
    p.end();
    return image;
}

} // namespace

QPainterPath BodyOutline() {
    QPainterPath half;
    // Right-hand half (x > 0) of the trunk; mirrored for the other half.
    const std::vector<QPointF> trunk{{0, 150},  {26, 158}, {70, 176},  {106, 194}, {120, 228}, {110, 300},
                                     {98, 380}, {92, 440}, {104, 500}, {102, 548}, {40, 566},  {0, 556}};
    std::vector<QPointF> all = trunk;
    for (auto it = trunk.rbegin() + 1; it != trunk.rend() - 1; ++it)
        all.emplace_back(-it->x(), it->y());
    QPainterPath body = SmoothPolyline(all);
    body.closeSubpath();
    QPainterPath head;
    head.addEllipse(QPointF(0, 72), 46, 60);
    body = body.united(head).united(Capsule({0, 115}, {0, 172}, 48));
    for (double s : {1.0, -1.0}) {
        auto m = [s](double x, double y) { return QPointF(s * x, y); };
        body = body.united(TaperedSegment(m(108, 210), m(148, 420), 48, 36))
                   .united(TaperedSegment(m(148, 420), m(168, 565), 36, 27))
                   .united(TaperedSegment(m(168, 565), m(176, 660), 30, 22))
                   .united(TaperedSegment(m(56, 530), m(64, 735), 96, 56))
                   .united(TaperedSegment(m(64, 735), m(62, 940), 56, 32))
                   .united(TaperedSegment(m(62, 940), m(72, 996), 34, 26));
    }
    return body.simplified();
}

bool WriteMeridianDiagrams(const std::filesystem::path& artworkDir) {
    for (int m = 1; m <= kMeridianCount; ++m) {
        const auto& code = MeridianTable()[m].Code;
        if (!SaveImage(Diagram(m), artworkDir / (std::string(code) + ".png"), "png"))
            return false;
    }
    return true;
}

} // namespace oruk::artwork

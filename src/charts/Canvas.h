#pragma once

#include "app/SharedState.h"

#include <string>
#include <vector>

namespace oruk {

// The plain 2-D drawing interface every chart and printed section draws on. Device units are
// pixels on the screen and dots on paper; y grows downwards.

enum class PenStyle { Solid, Dotted, None };

// The three hatches are drawn in the brush colour over an opaque white background.
enum class BrushStyle { Solid, None, HatchUp, HatchDown, HatchCross };

struct Pen {
    Rgb colour{};
    int width = 1;
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Rgb colour{255, 255, 255};
    BrushStyle style = BrushStyle::Solid;
    friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
    std::string name = "Tahoma";
    int size = 8; // points
    Rgb colour{};
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kNavy{0, 0, 0x80};
inline constexpr Rgb kBlue{0, 0, 0xFF};
inline constexpr Rgb kGreen{0, 0x80, 0};
inline constexpr Rgb kLime{0, 0xFF, 0};
inline constexpr Rgb kRed{0xFF, 0, 0};
inline constexpr Rgb kMaroon{0x80, 0, 0};
inline constexpr Rgb kOlive{0x80, 0x80, 0};
inline constexpr Rgb kGrey{0x80, 0x80, 0x80};
inline constexpr Rgb kSilver{0xC0, 0xC0, 0xC0};
inline constexpr Rgb kOrange{0xFF, 0x80, 0};

// The current pen, brush and font are public state, as on the drawing surfaces the charts were
// designed for: a chart sets what it needs and what it leaves set stays in force.
class Canvas {
public:
    virtual ~Canvas() = default;

    Pen pen;
    Brush brush;
    Font font;

    virtual int Width() const = 0;  // device units
    virtual int Height() const = 0; // device units
    virtual int Dpi() const = 0;    // device units per inch, for font sizes in points

    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y) {
        Line(penPos_.x, penPos_.y, x, y);
        penPos_ = {x, y};
    }
    Point PenPos() const { return penPos_; }

    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Rectangle, ellipse and polygon are outlined with the pen and filled with the brush.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    // A sector of the ellipse around (cx, cy) with half-axes rx, ry. Angles in degrees: a point at
    // angle t is (cx - rx cos t, cy - ry sin t), so 90 is 12 o'clock and growing angles run clockwise.
    virtual void Pie(double cx, double cy, double rx, double ry, double fromDeg, double toDeg) = 0;
    virtual void Polygon(const std::vector<Point>& points) = 0;
    // Text placed by its top-left corner, in the current font.
    virtual void Text(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
    // A picture file drawn with its white parts transparent; false when it cannot be read.
    virtual bool Picture(int x, int y, const std::string& path) = 0;
    // Width and height of a picture file; false when it cannot be read.
    virtual bool PictureSize(const std::string& path, int& width, int& height) = 0;

private:
    Point penPos_{};
};

} // namespace oruk

#pragma once

#include "charts/Canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace oruk {

// A canvas that keeps every drawing call with the pen, brush and font in force, for tests and for
// measuring. Text extents follow a fixed rule (a CJK character is one em wide, any other character
// 0.55 em, the height 1.2 em) so that results do not depend on installed fonts.
class RecordingCanvas : public Canvas {
public:
    enum class Kind { Line, Rectangle, Ellipse, Pie, Polygon, Text, Picture, NewPage };

    struct Op {
        Kind kind;
        std::vector<int> v;    // Line, Rectangle, Ellipse: x1 y1 x2 y2; Text, Picture: x y
        std::vector<double> d; // Pie: cx cy rx ry from to
        std::vector<Point> points;
        std::string text; // Text: the text; Picture: the path
        Pen pen;
        Brush brush;
        Font font;
    };

    RecordingCanvas(int width, int height, int dpi = 96) : width_(width), height_(height), dpi_(dpi) {}

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
    void NewPage() { Add(Kind::NewPage); }

    // Pictures the canvas pretends to find: path -> size.
    void AddPicture(const std::string& path, int width, int height);

    const std::vector<Op>& Ops() const { return ops_; }
    void Clear() { ops_.clear(); }
    std::vector<Op> Select(Kind kind) const;
    std::vector<Op> Select(const std::function<bool(const Op&)>& pred) const;
    // Every text op whose text equals text.
    std::vector<Op> Texts(const std::string& text) const;
    // First text op whose text starts with prefix; nullptr when none.
    const Op* FindText(const std::string& prefix) const;

private:
    Op& Add(Kind kind);
    int width_, height_, dpi_;
    std::vector<Op> ops_;
    struct Pic {
        std::string path;
        int w, h;
    };
    std::vector<Pic> pictures_;
};

} // namespace oruk

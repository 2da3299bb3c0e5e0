#include "charts/RecordingCanvas.h"

#include <cmath>

namespace oruk {

RecordingCanvas::Op& RecordingCanvas::Add(Kind kind) {
    ops_.push_back(Op{kind, {}, {}, {}, {}, pen, brush, font});
    return ops_.back();
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) {
    Add(Kind::Line).v = {x1, y1, x2, y2};
}
void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Add(Kind::Rectangle).v = {x1, y1, x2, y2};
}
void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Add(Kind::Ellipse).v = {x1, y1, x2, y2};
}
void RecordingCanvas::Pie(double cx, double cy, double rx, double ry, double fromDeg, double toDeg) {
    Add(Kind::Pie).d = {cx, cy, rx, ry, fromDeg, toDeg};
}
void RecordingCanvas::Polygon(const std::vector<Point>& points) {
    Add(Kind::Polygon).points = points;
}
void RecordingCanvas::Text(int x, int y, const std::string& text) {
    Op& op = Add(Kind::Text);
    op.v = {x, y};
    op.text = text;
}

namespace {
// Counts (wide, narrow) code points of a UTF-8 text.
void CountChars(const std::string& text, int& wide, int& narrow) {
    wide = narrow = 0;
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        if (len >= 3)
            ++wide;
        else
            ++narrow;
        i += len;
    }
}
} // namespace

int RecordingCanvas::TextWidth(const std::string& text) {
    int wide = 0, narrow = 0;
    CountChars(text, wide, narrow);
    double em = font.size * dpi_ / 72.0;
    return static_cast<int>(std::lround(em * wide + em * 0.55 * narrow));
}

int RecordingCanvas::TextHeight(const std::string&) {
    return static_cast<int>(std::lround(font.size * dpi_ / 72.0 * 1.2));
}

void RecordingCanvas::AddPicture(const std::string& path, int width, int height) {
    pictures_.push_back({path, width, height});
}

bool RecordingCanvas::PictureSize(const std::string& path, int& width, int& height) {
    for (const Pic& p : pictures_)
        if (p.path == path) {
            width = p.w;
            height = p.h;
            return true;
        }
    return false;
}

bool RecordingCanvas::Picture(int x, int y, const std::string& path) {
    int w = 0, h = 0;
    if (!PictureSize(path, w, h))
        return false;
    Op& op = Add(Kind::Picture);
    op.v = {x, y};
    op.text = path;
    return true;
}

std::vector<RecordingCanvas::Op> RecordingCanvas::Select(Kind kind) const {
    return Select([kind](const Op& op) { return op.kind == kind; });
}

std::vector<RecordingCanvas::Op> RecordingCanvas::Select(const std::function<bool(const Op&)>& pred) const {
    std::vector<Op> out;
    for (const Op& op : ops_)
        if (pred(op))
            out.push_back(op);
    return out;
}

std::vector<RecordingCanvas::Op> RecordingCanvas::Texts(const std::string& text) const {
    return Select([&](const Op& op) { return op.kind == Kind::Text && op.text == text; });
}

const RecordingCanvas::Op* RecordingCanvas::FindText(const std::string& prefix) const {
    for (const Op& op : ops_)
        if (op.kind == Kind::Text && op.text.rfind(prefix, 0) == 0)
            return &op;
    return nullptr;
}

} // namespace oruk

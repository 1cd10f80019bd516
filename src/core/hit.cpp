#include "core/hit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/screen.h"

namespace vendral {

namespace {

// A rectangle of whole pixels: [x0, x1) × [y0, y1).
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
    Box operator&(const Box& o) const {
        return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    }
};

Box boxOf(const Control& c) {
    const int x = pixelsOf(c.left()), y = pixelsOf(c.top());
    return {x, y, x + pixelsOf(c.def().width), y + pixelsOf(c.def().height)};
}

Box areaOf(const Screen& s) { return {0, 0, pixelsOf(s.def().width), pixelsOf(s.def().height)}; }

bool placed(const Control& c) { return c.kind() != Kind::Timer && c.visible(); }

bool raised(const Control& c) { return c.kind() == Kind::Button || c.kind() == Kind::TextBox; }

// Whether `a` lies above `b` (two controls of one screen): raised ones first,
// then the later row of the table.
bool above(const Control& a, const Control& b) {
    if (raised(a) != raised(b)) return raised(a);
    return &a > &b;
}

}  // namespace

bool takesMouse(const Control& c) {
    switch (c.kind()) {
    case Kind::Button:
    case Kind::TextBox: return true;
    case Kind::Label: return c.onClick || c.onDrop;
    case Kind::Image: return c.onClick || c.def().dragAuto;
    case Kind::Timer: return false;
    }
    return false;
}

Control* controlAt(Screen& s, ScreenPoint at) {
    const int x = pixelsOf(at.x), y = pixelsOf(at.y);
    if (!areaOf(s).contains(x, y)) return nullptr;
    Control* top = nullptr;
    // Most rows of a screen are hidden at any moment: that is looked at first.
    for (Control& c : s.controls())
        if (c.visible() && takesMouse(c) && boxOf(c).contains(x, y) && (!top || above(c, *top))) top = &c;
    return top;
}

std::optional<ScreenPoint> clickPoint(const Control& c) {
    if (!placed(c)) return std::nullopt;
    const Box whole = boxOf(c);
    const Box box = whole & areaOf(c.screen());
    if (box.empty()) return std::nullopt;
    // The centre as the window toolkit takes it: the middle pixel, the upper
    // left one of an even extent.
    const int cx = static_cast<int>((std::int64_t{whole.x0} + whole.x1 - 1) / 2);
    const int cy = static_cast<int>((std::int64_t{whole.y0} + whole.y1 - 1) / 2);
    std::vector<Box> covers;
    for (const Control& d : c.screen().controls()) {
        if (!d.visible() || &d == &c || !takesMouse(d) || !above(d, c)) continue;
        if (const Box b = boxOf(d) & box; !b.empty()) covers.push_back(b);
    }
    const auto free = [&](int x, int y) {
        return std::none_of(covers.begin(), covers.end(), [&](const Box& b) { return b.contains(x, y); });
    };
    const auto at = [](int x, int y) { return ScreenPoint{x * 15, y * 15}; };
    if (box.contains(cx, cy) && free(cx, cy)) return at(cx, cy);
    // The edges of the covering boxes cut the control into cells, each wholly
    // covered or wholly free; the nearest free point is the point of some
    // free cell nearest the centre.
    std::vector<int> xs{box.x0, box.x1}, ys{box.y0, box.y1};
    for (const Box& b : covers) {
        xs.insert(xs.end(), {b.x0, b.x1});
        ys.insert(ys.end(), {b.y0, b.y1});
    }
    for (auto* edges : {&xs, &ys}) {
        std::sort(edges->begin(), edges->end());
        edges->erase(std::unique(edges->begin(), edges->end()), edges->end());
    }
    std::optional<ScreenPoint> best;
    std::int64_t bestDistance = 0;
    int bestX = 0, bestY = 0;
    for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
        for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
            if (!free(xs[i], ys[j])) continue;
            const int x = std::clamp(cx, xs[i], xs[i + 1] - 1);
            const int y = std::clamp(cy, ys[j], ys[j + 1] - 1);
            const std::int64_t dx = x - cx, dy = y - cy, distance = dx * dx + dy * dy;
            if (best && (distance > bestDistance || (distance == bestDistance && (y > bestY || (y == bestY && x >= bestX)))))
                continue;
            best = at(x, y);
            bestDistance = distance;
            bestX = x;
            bestY = y;
        }
    }
    return best;
}

}  // namespace vendral

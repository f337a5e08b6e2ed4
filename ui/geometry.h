// Plain geometry for the widget layer: points, sizes and rectangles in logical
// pixels (96 DPI; a backend scales them to the screen).
#pragma once

namespace ui {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Half-open rectangle: right and bottom are one past the last pixel (as GDI).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect from_size(int left, int top, int width, int height)
    {
        return Rect{left, top, left + width, top + height};
    }
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    constexpr Rect offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr Rect inflate(int dx, int dy) const { return Rect{left - dx, top - dy, right + dx, bottom + dy}; }
    constexpr Rect intersect(const Rect& o) const
    {
        Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
               bottom < o.bottom ? bottom : o.bottom};
        return r.empty() ? Rect{} : r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace ui

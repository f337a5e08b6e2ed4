// Headless bitmap canvas: simple rasterising of the solid primitives.
#include "ui/headless/bitmap_canvas.h"

#include <cstdlib>

namespace ui::headless {

BitmapCanvas::BitmapCanvas(Bitmap& bmp) : RecordingCanvas(Rect{0, 0, bmp.width(), bmp.height()}), bmp_(bmp) {}

void BitmapCanvas::fill(const Rect& r, Color c)
{
    Rect a = r.intersect(clip_rect());
    for (int y = a.top; y < a.bottom; ++y)
        for (int x = a.left; x < a.right; ++x) bmp_.set_pixel(x, y, c);
}

// Bresenham; like GDI's LineTo the end point itself is left out.
void BitmapCanvas::plot_line(Point a, Point b, Color c)
{
    int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    Point p = a;
    while (p.x != b.x || p.y != b.y) {
        bmp_.set_pixel(p.x, p.y, c);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.y += sy;
        }
    }
}

void BitmapCanvas::fill_rect(const Rect& r)
{
    RecordingCanvas::fill_rect(r);
    if (brush.style == BrushStyle::Solid) fill(r, brush.color);
}

void BitmapCanvas::rectangle(const Rect& r)
{
    RecordingCanvas::rectangle(r);
    if (brush.style == BrushStyle::Solid) fill(r.inflate(-1, -1), brush.color);
    if (pen.style != PenStyle::Clear) {
        plot_line({r.left, r.top}, {r.right - 1, r.top}, pen.color);
        plot_line({r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, pen.color);
        plot_line({r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}, pen.color);
        plot_line({r.left, r.bottom - 1}, {r.left, r.top}, pen.color);
    }
}

void BitmapCanvas::line(Point a, Point b)
{
    RecordingCanvas::line(a, b);
    if (pen.style != PenStyle::Clear) plot_line(a, b, pen.color);
}

}  // namespace ui::headless

// Bevels and shapes, painted through the Canvas in both backends.
#include "ui/shape.h"

namespace ui {

Bevel::Bevel(Control* parent, std::string name, BevelShape shape)
    : Control(parent, std::move(name), ControlKind::Bevel), shape_(shape)
{
    set_tab_stop(false);
}

void Bevel::set_shape(BevelShape s)
{
    shape_ = s;
    invalidate();
}

void Bevel::set_style(BevelStyle s)
{
    style_ = s;
    invalidate();
}

// A lowered edge: shadow on the top/left line, highlight just inside it.
void Bevel::paint(Canvas& c)
{
    Color dark = colors::btn_shadow, light = colors::btn_highlight;
    if (style_ == BevelStyle::Raised) std::swap(dark, light);
    int w = width(), h = height();
    auto hline = [&](int y, Color a, Color b) {
        c.pen.color = a;
        c.line({0, y}, {w, y});
        c.pen.color = b;
        c.line({0, y + 1}, {w, y + 1});
    };
    auto vline = [&](int x, Color a, Color b) {
        c.pen.color = a;
        c.line({x, 0}, {x, h});
        c.pen.color = b;
        c.line({x + 1, 0}, {x + 1, h});
    };
    c.pen.width = 1;
    c.pen.style = PenStyle::Solid;
    switch (shape_) {
        case BevelShape::TopLine:
            hline(0, dark, light);
            break;
        case BevelShape::BottomLine:
            hline(h - 2, dark, light);
            break;
        case BevelShape::LeftLine:
            vline(0, dark, light);
            break;
        case BevelShape::RightLine:
            vline(w - 2, dark, light);
            break;
        case BevelShape::Box:
        case BevelShape::Frame:
            c.pen.color = dark;
            c.line({0, 0}, {w - 1, 0});
            c.line({0, 0}, {0, h - 1});
            c.pen.color = light;
            c.line({w - 1, 0}, {w - 1, h});
            c.line({0, h - 1}, {w, h - 1});
            if (shape_ == BevelShape::Frame) {
                c.pen.color = light;
                c.line({1, 1}, {w - 2, 1});
                c.line({1, 1}, {1, h - 2});
                c.pen.color = dark;
                c.line({w - 2, 1}, {w - 2, h - 1});
                c.line({1, h - 2}, {w - 1, h - 2});
            }
            break;
        case BevelShape::Spacer:
            break;
    }
}

Shape::Shape(Control* parent, std::string name, ShapeKind kind)
    : Control(parent, std::move(name), ControlKind::Shape), kind_(kind)
{
    set_tab_stop(false);
}

void Shape::set_shape(ShapeKind k)
{
    kind_ = k;
    invalidate();
}

void Shape::set_pen(const Pen& p)
{
    pen_ = p;
    invalidate();
}

void Shape::set_brush(const Brush& b)
{
    brush_ = b;
    invalidate();
}

void Shape::paint(Canvas& c)
{
    c.pen = pen_;
    c.brush = brush_;
    // Ellipses are drawn as their bounding rectangle; nothing here needs more.
    c.rectangle(Rect{0, 0, width(), height()});
}

}  // namespace ui

// Decorations drawn in the parent: Bevel (frames and separator lines of the
// tool bar and dialogs) and Shape (filled rectangles, e.g. 3-pixel lines).
// Neither takes input except on_click/mouse events of Control.
#pragma once

#include "ui/canvas.h"
#include "ui/control.h"

namespace ui {

enum class BevelShape : std::uint8_t { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class BevelStyle : std::uint8_t { Lowered, Raised };

class Bevel : public Control {
 public:
    Bevel(Control* parent, std::string name, BevelShape shape = BevelShape::Box);
    BevelShape shape() const { return shape_; }
    void set_shape(BevelShape s);
    BevelStyle style() const { return style_; }
    void set_style(BevelStyle s);
    void paint(Canvas& c) override;

 private:
    BevelShape shape_;
    BevelStyle style_ = BevelStyle::Lowered;
};

enum class ShapeKind : std::uint8_t { Rectangle, Ellipse };

class Shape : public Control {
 public:
    Shape(Control* parent, std::string name, ShapeKind kind = ShapeKind::Rectangle);
    ShapeKind shape() const { return kind_; }
    void set_shape(ShapeKind k);
    const Pen& pen() const { return pen_; }
    void set_pen(const Pen& p);
    const Brush& brush() const { return brush_; }
    void set_brush(const Brush& b);
    void paint(Canvas& c) override;

 private:
    ShapeKind kind_;
    Pen pen_;
    Brush brush_;
};

}  // namespace ui

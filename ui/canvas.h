// The drawing surface handed to paint handlers: pen, brush and font state plus
// the primitives the windows use. Win32 draws with GDI, headless records.
#pragma once

#include <string>
#include <string_view>

#include "ui/color.h"
#include "ui/font.h"
#include "ui/geometry.h"

namespace ui {

class Bitmap;

enum class PenStyle : std::uint8_t { Solid, Dot, Clear };
enum class BrushStyle : std::uint8_t { Solid, Clear };

struct Pen {
    Color color = colors::black;
    int width = 1;
    PenStyle style = PenStyle::Solid;
};

struct Brush {
    Color color = colors::white;
    BrushStyle style = BrushStyle::Solid;
};

class Canvas {
 public:
    virtual ~Canvas() = default;

    Pen pen;
    Brush brush;
    Font font;

    // Fills r with the brush (no outline).
    virtual void fill_rect(const Rect& r) = 0;
    // Outline with the pen, inside filled with the brush (GDI Rectangle).
    virtual void rectangle(const Rect& r) = 0;
    // A pen line from a to b; b itself is not drawn (GDI LineTo).
    virtual void line(Point a, Point b) = 0;
    // Text with its top-left corner at p in the font; the background behind the
    // glyphs is the brush colour, or left alone when the brush is Clear.
    virtual void text_out(Point p, std::string_view text) = 0;
    // Characters as code points (the wide calls), each in a cell `cell` pixels
    // wide from p whatever its glyph's width, one above U+FFFF too; the
    // background as text_out.
    virtual void text_out_cells(Point p, std::u32string_view text, int cell) = 0;
    // As text_out, clipped to clip.
    virtual void text_rect(const Rect& clip, Point p, std::string_view text) = 0;
    // Width and height of text in the current font.
    virtual Size text_extent(std::string_view text) = 0;
    // The bitmap at p; pixels of its transparent colour are not drawn.
    virtual void draw(Point p, const Bitmap& bmp) = 0;
    // The bitmap scaled into r (transparency as in draw).
    virtual void stretch_draw(const Rect& r, const Bitmap& bmp) = 0;
    // The dotted focus rectangle (drawn with XOR, so drawing it twice removes it).
    virtual void focus_rect(const Rect& r) = 0;
    // The part of the surface that needs painting now; painting outside it is
    // allowed but wasted.
    virtual Rect clip_rect() const = 0;

    // Conveniences over the primitives.
    void move_to(Point p) { pen_pos_ = p; }
    void line_to(Point p)
    {
        line(pen_pos_, p);
        pen_pos_ = p;
    }
    int text_width(std::string_view t) { return text_extent(t).width; }
    int text_height(std::string_view t) { return text_extent(t).height; }

 private:
    Point pen_pos_;
};

}  // namespace ui

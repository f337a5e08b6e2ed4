// The headless Canvas: records every draw operation with the pen, brush and
// font in force, so tests can read what was painted (a cell's fill colour,
// the text drawn where). Text metrics are fixed: a character is 3/5 of the
// font height wide (Courier 8 pt: 7 x 11 px).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/canvas.h"

namespace ui::headless {

enum class OpKind { FillRect, Rectangle, Line, Text, Draw, StretchDraw, FocusRect };

struct DrawOp {
    OpKind kind;
    Rect rect;            // fill/rectangle/stretch/focus; text: clip (or its extent)
    Point a, b;           // line ends; text/draw position in a
    std::string text;     // text drawn (by text_out_cells: '?' for a character above U+00FF)
    std::u32string wide;  // the characters text_out_cells drew
    Pen pen;
    Brush brush;
    Font font;
};

class RecordingCanvas : public Canvas {
 public:
    explicit RecordingCanvas(Rect clip) : clip_(clip) {}

    void fill_rect(const Rect& r) override;
    void rectangle(const Rect& r) override;
    void line(Point a, Point b) override;
    void text_out(Point p, std::string_view text) override;
    void text_out_cells(Point p, std::u32string_view text, int cell) override;
    void text_rect(const Rect& clip, Point p, std::string_view text) override;
    Size text_extent(std::string_view text) override;
    void draw(Point p, const Bitmap& bmp) override;
    void stretch_draw(const Rect& r, const Bitmap& bmp) override;
    void focus_rect(const Rect& r) override;
    Rect clip_rect() const override { return clip_; }

    const std::vector<DrawOp>& ops() const { return ops_; }
    void clear() { ops_.clear(); }

    // Helpers for tests.
    // Texts drawn, in order.
    std::vector<std::string> texts() const;
    // The characters drawn by text_out_cells, in order.
    std::vector<std::u32string> wide_texts() const;
    // The last solid fill or rectangle covering point p, if any: its brush colour.
    std::optional<Color> fill_at(Point p) const;
    // The last text drawn whose extent contains p.
    const DrawOp* text_at(Point p) const;

    static int char_width(const Font& f) { return (f.height_px() * 3 + 2) / 5; }

 protected:
    DrawOp& add(OpKind k);

 private:
    Rect clip_;
    std::vector<DrawOp> ops_;
};

}  // namespace ui::headless

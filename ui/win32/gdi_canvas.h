// The Canvas on a GDI device context. Coordinates are logical pixels (96 DPI);
// on other DPIs the context's mapping mode scales them.
#pragma once

#include <windows.h>

#include "ui/canvas.h"
#include "ui/image.h"
#include "ui/win32/gdi_handle.h"

namespace ui::win32 {

class GdiCanvas : public Canvas {
 public:
    // clip: the area to paint, in logical pixels.
    GdiCanvas(HDC dc, const Rect& clip);
    ~GdiCanvas() override;

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

    HDC dc() const { return dc_; }

 private:
    void select_pen();
    void select_brush();
    void select_font();

    HDC dc_;
    Rect clip_;
    int saved_;
    GdiObject<HPEN> pen_obj_;  // the pen made for the last drawing, if not a stock one
    // What pen_obj_ was made from: a chart draws thousands of lines with one
    // pen, and a new GDI pen for each would cost more than the lines.
    Pen made_pen_{};
};

// A top-down 32-bit DIB of a bitmap's pixels (red and blue swapped into
// Windows order); transparent pixels can be replaced by a fill value.
void bitmap_bits(const Bitmap& bmp, std::vector<std::uint32_t>& out, BITMAPINFO& info);
}  // namespace ui::win32

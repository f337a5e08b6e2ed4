// The draw grid: columns of set widths, fixed header rows and columns, up to
// 134,217,729 virtual rows of one height, a current cell moved by mouse and
// keys, and every cell painted by a handler. Only the cells on screen are painted.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/control.h"
#include "ui/grid_nav.h"

namespace ui {

struct GridDrawState {
    bool fixed = false;     // a header cell
    bool selected = false;  // the current cell
    bool focused = false;   // the current cell of the focused grid
};

// Rules of this control:
// - on_click fires when the user clicks a scrolled cell (even the current one),
//   when a key or the wheel moves the current cell, and when code moves it with
//   set_col(), set_row() or set_current() (only if it changed). A row or column
//   count that pulls the current cell in fires nothing.
// - Default drawing (on unless switched off) fills each cell before on_draw_cell
//   (headers button-face, the current cell highlighted while the grid is not
//   focused) and draws the focus rectangle on the current cell afterwards.
// - The wheel moves the current row by one per notch, as grids do.
class DrawGrid : public Control {
 public:
    DrawGrid(Control* parent, std::string name);

    std::int32_t col_count() const { return nav_.col_count(); }
    void set_col_count(std::int32_t n);
    std::int32_t row_count() const { return nav_.row_count(); }
    void set_row_count(std::int32_t n);
    std::int32_t fixed_cols() const { return nav_.fixed_cols(); }
    std::int32_t fixed_rows() const { return nav_.fixed_rows(); }
    void set_fixed_cols(std::int32_t n);
    void set_fixed_rows(std::int32_t n);
    int col_width(std::int32_t col) const { return nav_.col_width(col); }
    void set_col_width(std::int32_t col, int width);
    void set_default_col_width(int width);
    int default_row_height() const { return nav_.row_height(); }
    void set_default_row_height(int height);
    bool grid_lines() const { return nav_.line_width() > 0; }
    void set_grid_lines(bool on);
    bool default_drawing() const { return default_drawing_; }
    void set_default_drawing(bool on) { default_drawing_ = on; }

    std::int32_t col() const { return nav_.current().col; }
    std::int32_t row() const { return nav_.current().row; }
    void set_col(std::int32_t c) { set_current(c, row()); }
    void set_row(std::int32_t r) { set_current(col(), r); }
    void set_current(std::int32_t c, std::int32_t r);

    std::int32_t top_row() const { return nav_.top_row(); }
    void set_top_row(std::int64_t r);
    std::int32_t left_col() const { return nav_.left_col(); }
    void set_left_col(std::int64_t c);

    // The cell area (the control without its scroll bars); backends report it.
    Size view_size() const;
    void set_view_size(Size s);
    // Geometry for the current scroll position (fixed cells never scroll).
    const GridNav& nav();
    Rect cell_rect(std::int32_t c, std::int32_t r);
    std::optional<GridCell> cell_at(Point p);

    // Paints one cell: the canvas, its column and row, its rectangle, its state.
    std::function<void(Canvas&, std::int32_t col, std::int32_t row, const Rect&, GridDrawState)> on_draw_cell;

    bool focusable() const override { return true; }
    void paint(Canvas& canvas) override;

 protected:
    bool handle_key_down(KeyEvent& e) override;
    void handle_mouse_down(const MouseEvent& e) override;
    void handle_mouse_wheel(int delta, ShiftState shift) override;

 private:
    void sync_size();
    template <class F>
    void restructure(F&& change);
    void moved(bool changed);
    void draw_cell(Canvas& c, std::int32_t col, std::int32_t row, const Rect& clip);

    GridNav nav_;
    bool default_drawing_ = true;
    Size view_size_;
    bool view_size_set_ = false;
};

}  // namespace ui

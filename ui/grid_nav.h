// The draw grid's geometry and navigation, without any painting: columns and their
// widths, fixed header rows and columns, virtual rows of one height, the current
// cell, the scroll position and which cells a client area shows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ui {

struct GridCell {
    std::int32_t col = 0;
    std::int32_t row = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

struct GridRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const GridRect&, const GridRect&) = default;
};

// Cells a client area shows: fixed ones always, then scrolled ones from the
// top-left scrolled cell to the last one that is at least partly visible.
struct GridRange {
    std::int32_t first_col = 0, last_col = -1;  // scrolled columns, inclusive
    std::int32_t first_row = 0, last_row = -1;  // scrolled rows, inclusive
};

enum class GridKey { left, right, up, down, page_up, page_down, home, end };

class GridNav {
 public:
    // The largest row count: 2^31 bytes at 16 per row, plus a header row.
    static constexpr std::int32_t kMaxRows = 134217728 + 1;

    GridNav();

    void set_col_count(std::int32_t n);
    void set_row_count(std::int32_t n);  // clamped to fixed rows + 1 .. kMaxRows
    void set_fixed(std::int32_t cols, std::int32_t rows);
    void set_col_width(std::int32_t col, int width);
    void set_default_col_width(int width);
    void set_row_height(int height);
    void set_line_width(int width);  // grid lines: 1, or 0 for none
    void set_client_size(int width, int height);

    std::int32_t col_count() const { return static_cast<std::int32_t>(widths_.size()); }
    std::int32_t row_count() const { return rows_; }
    std::int32_t fixed_cols() const { return fixed_cols_; }
    std::int32_t fixed_rows() const { return fixed_rows_; }
    int col_width(std::int32_t col) const { return widths_[col]; }
    int row_height() const { return row_h_; }
    int line_width() const { return line_; }
    int client_width() const { return client_w_; }
    int client_height() const { return client_h_; }

    GridCell current() const { return cur_; }
    std::int32_t top_row() const { return top_; }
    std::int32_t left_col() const { return left_; }

    // Moves the current cell (clamped to the scrolled cells) and scrolls it into
    // view; true when it changed.
    bool set_current(GridCell cell);
    // Keyboard navigation as a grid user knows it; true when the current cell changed.
    bool key(GridKey key, bool ctrl);

    // Scrolling leaves the current cell where it is.
    void set_top_row(std::int64_t row);
    void set_left_col(std::int64_t col);
    std::int32_t max_top_row() const;
    std::int32_t max_left_col() const;
    void scroll_into_view(GridCell cell);

    // Rows entirely visible below the fixed rows (at least 1, as a page step).
    std::int32_t page_rows() const;
    GridRange visible() const;
    GridRect cell_rect(GridCell cell) const;
    std::optional<GridCell> cell_at(int x, int y) const;

 private:
    int fixed_width() const;
    int fixed_height() const;
    bool col_fully_visible(std::int32_t col) const;
    void clamp_all();

    std::vector<int> widths_;
    int default_w_ = 64;
    std::int32_t rows_ = 5;
    std::int32_t fixed_cols_ = 1, fixed_rows_ = 1;
    int row_h_ = 24;
    int line_ = 1;
    int client_w_ = 0, client_h_ = 0;
    GridCell cur_{1, 1};
    std::int32_t top_ = 1, left_ = 1;
};

}  // namespace ui

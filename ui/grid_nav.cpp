// The draw grid's geometry and navigation (see grid_nav.h).
#include "ui/grid_nav.h"

#include <algorithm>

namespace ui {

namespace {
int clamp_coord(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, -(1 << 30), 1 << 30));
}
}  // namespace

GridNav::GridNav() : widths_(5, 64) {}

void GridNav::clamp_all()
{
    cur_.col = std::clamp(cur_.col, fixed_cols_, col_count() - 1);
    cur_.row = std::clamp(cur_.row, fixed_rows_, rows_ - 1);
    top_ = std::clamp(top_, fixed_rows_, max_top_row());
    left_ = std::clamp(left_, fixed_cols_, max_left_col());
}

void GridNav::set_col_count(std::int32_t n)
{
    widths_.resize(static_cast<std::size_t>(std::max(n, fixed_cols_ + 1)), default_w_);
    clamp_all();
}

void GridNav::set_row_count(std::int32_t n)
{
    rows_ = std::clamp(n, fixed_rows_ + 1, kMaxRows);
    clamp_all();
}

void GridNav::set_fixed(std::int32_t cols, std::int32_t rows)
{
    fixed_cols_ = std::clamp(cols, 0, col_count() - 1);
    fixed_rows_ = std::clamp(rows, 0, rows_ - 1);
    clamp_all();
}

void GridNav::set_col_width(std::int32_t col, int width)
{
    if (col >= 0 && col < col_count()) widths_[col] = std::max(width, 0);
    clamp_all();
}

void GridNav::set_default_col_width(int width)
{
    default_w_ = std::max(width, 0);
    std::fill(widths_.begin(), widths_.end(), default_w_);
    clamp_all();
}

void GridNav::set_row_height(int height)
{
    row_h_ = std::max(height, 1);
    clamp_all();
}

void GridNav::set_line_width(int width)
{
    line_ = std::max(width, 0);
    clamp_all();
}

void GridNav::set_client_size(int width, int height)
{
    client_w_ = std::max(width, 0);
    client_h_ = std::max(height, 0);
    clamp_all();
}

int GridNav::fixed_width() const
{
    int w = 0;
    for (std::int32_t c = 0; c < fixed_cols_; ++c) w += widths_[c] + line_;
    return w;
}

int GridNav::fixed_height() const
{
    return fixed_rows_ * (row_h_ + line_);
}

std::int32_t GridNav::page_rows() const
{
    return std::max(1, (client_h_ - fixed_height()) / (row_h_ + line_));
}

std::int32_t GridNav::max_top_row() const
{
    return std::max(fixed_rows_, rows_ - page_rows());
}

std::int32_t GridNav::max_left_col() const
{
    int room = client_w_ - fixed_width();
    std::int32_t left = col_count() - 1;
    int used = widths_[left] + line_;
    while (left > fixed_cols_ && used + widths_[left - 1] + line_ <= room) {
        --left;
        used += widths_[left] + line_;
    }
    return std::max(left, fixed_cols_);
}

void GridNav::set_top_row(std::int64_t row)
{
    top_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(row, fixed_rows_, max_top_row()));
}

void GridNav::set_left_col(std::int64_t col)
{
    left_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(col, fixed_cols_, max_left_col()));
}

bool GridNav::col_fully_visible(std::int32_t col) const
{
    int x = fixed_width();
    for (std::int32_t c = left_; c <= col; ++c) x += widths_[c] + line_;
    return x - line_ <= client_w_;
}

void GridNav::scroll_into_view(GridCell cell)
{
    if (cell.row >= fixed_rows_) {
        if (cell.row < top_)
            set_top_row(cell.row);
        else if (cell.row >= top_ + page_rows())
            set_top_row(static_cast<std::int64_t>(cell.row) - page_rows() + 1);
    }
    if (cell.col >= fixed_cols_) {
        if (cell.col < left_) left_ = cell.col;
        while (left_ < cell.col && !col_fully_visible(cell.col)) ++left_;
    }
}

bool GridNav::set_current(GridCell cell)
{
    cell.col = std::clamp(cell.col, fixed_cols_, col_count() - 1);
    cell.row = std::clamp(cell.row, fixed_rows_, rows_ - 1);
    bool changed = cell != cur_;
    cur_ = cell;
    scroll_into_view(cur_);
    return changed;
}

bool GridNav::key(GridKey key, bool ctrl)
{
    // 64-bit arithmetic: a page step from near the last row must not wrap around.
    std::int64_t col = cur_.col, row = cur_.row;
    switch (key) {
        case GridKey::left:
            --col;
            break;
        case GridKey::right:
            ++col;
            break;
        case GridKey::up:
            --row;
            break;
        case GridKey::down:
            ++row;
            break;
        case GridKey::page_up:
            set_top_row(static_cast<std::int64_t>(top_) - page_rows());
            row -= page_rows();
            break;
        case GridKey::page_down:
            set_top_row(static_cast<std::int64_t>(top_) + page_rows());
            row += page_rows();
            break;
        case GridKey::home:
            col = fixed_cols_;
            if (ctrl) row = fixed_rows_;
            break;
        case GridKey::end:
            col = col_count() - 1;
            if (ctrl) row = rows_ - 1;
            break;
    }
    col = std::clamp<std::int64_t>(col, fixed_cols_, col_count() - 1);
    row = std::clamp<std::int64_t>(row, fixed_rows_, rows_ - 1);
    return set_current({static_cast<std::int32_t>(col), static_cast<std::int32_t>(row)});
}

GridRange GridNav::visible() const
{
    GridRange r;
    r.first_row = top_;
    int room_h = client_h_ - fixed_height();
    std::int32_t n = room_h > 0 ? (room_h + row_h_ + line_ - 1) / (row_h_ + line_) : 0;
    r.last_row = static_cast<std::int32_t>(std::min<std::int64_t>(rows_ - 1, static_cast<std::int64_t>(top_) + n - 1));
    r.first_col = left_;
    r.last_col = left_ - 1;
    int x = fixed_width();
    for (std::int32_t c = left_; c < col_count() && x < client_w_; ++c) {
        r.last_col = c;
        x += widths_[c] + line_;
    }
    return r;
}

GridRect GridNav::cell_rect(GridCell cell) const
{
    std::int64_t x = 0;
    if (cell.col < fixed_cols_) {
        for (std::int32_t c = 0; c < cell.col; ++c) x += widths_[c] + line_;
    } else {
        x = fixed_width();
        if (cell.col >= left_)
            for (std::int32_t c = left_; c < cell.col; ++c) x += widths_[c] + line_;
        else
            for (std::int32_t c = cell.col; c < left_; ++c) x -= widths_[c] + line_;
    }
    std::int64_t y = cell.row < fixed_rows_
                         ? static_cast<std::int64_t>(cell.row) * (row_h_ + line_)
                         : fixed_height() + (static_cast<std::int64_t>(cell.row) - top_) * (row_h_ + line_);
    return {clamp_coord(x), clamp_coord(y), clamp_coord(x + widths_[cell.col]), clamp_coord(y + row_h_)};
}

std::optional<GridCell> GridNav::cell_at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= client_w_ || y >= client_h_) return std::nullopt;
    GridCell cell;
    int fh = fixed_height();
    if (y < fh) {
        cell.row = y / (row_h_ + line_);
    } else {
        std::int64_t row = top_ + static_cast<std::int64_t>(y - fh) / (row_h_ + line_);
        if (row >= rows_) return std::nullopt;
        cell.row = static_cast<std::int32_t>(row);
    }
    int cx = 0;
    std::int32_t c = 0;
    int fw = fixed_width();
    if (x >= fw) {
        cx = fw;
        c = left_;
    }
    for (; c < col_count(); ++c) {
        if (x < cx + widths_[c] + line_) {
            cell.col = c;
            return cell;
        }
        cx += widths_[c] + line_;
    }
    return std::nullopt;
}

}  // namespace ui

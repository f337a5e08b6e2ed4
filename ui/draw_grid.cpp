// The draw grid (see draw_grid.h): current cell events, keys, mouse and the
// painting of the visible cells.
#include "ui/draw_grid.h"

namespace ui {

namespace {
const Color kLineColor = Color::rgb(192, 192, 192);
}

DrawGrid::DrawGrid(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::DrawGrid)
{
    set_color(colors::window);
    set_double_buffered(true);
}

Size DrawGrid::view_size() const
{
    return view_size_set_ ? view_size_ : Size{width(), height()};
}

void DrawGrid::set_view_size(Size s)
{
    view_size_ = s;
    view_size_set_ = true;
    sync_size();
    sync(Prop::Custom);
}

void DrawGrid::sync_size()
{
    Size s = view_size();
    if (s.width != nav_.client_width() || s.height != nav_.client_height()) nav_.set_client_size(s.width, s.height);
}

const GridNav& DrawGrid::nav()
{
    sync_size();
    return nav_;
}

// Structure changes: new scroll ranges and a full repaint.
template <class F>
void DrawGrid::restructure(F&& change)
{
    sync_size();
    change();
    sync(Prop::Custom);
    invalidate();
}

void DrawGrid::set_col_count(std::int32_t n)
{
    restructure([&] { nav_.set_col_count(n); });
}
void DrawGrid::set_row_count(std::int32_t n)
{
    restructure([&] { nav_.set_row_count(n); });
}
void DrawGrid::set_fixed_cols(std::int32_t n)
{
    restructure([&] { nav_.set_fixed(n, nav_.fixed_rows()); });
}
void DrawGrid::set_fixed_rows(std::int32_t n)
{
    restructure([&] { nav_.set_fixed(nav_.fixed_cols(), n); });
}
void DrawGrid::set_col_width(std::int32_t col, int width)
{
    restructure([&] { nav_.set_col_width(col, width); });
}
void DrawGrid::set_default_col_width(int width)
{
    restructure([&] { nav_.set_default_col_width(width); });
}
void DrawGrid::set_default_row_height(int height)
{
    restructure([&] { nav_.set_row_height(height); });
}
void DrawGrid::set_grid_lines(bool on)
{
    restructure([&] { nav_.set_line_width(on ? 1 : 0); });
}
void DrawGrid::set_top_row(std::int64_t r)
{
    restructure([&] { nav_.set_top_row(r); });
}
void DrawGrid::set_left_col(std::int64_t c)
{
    restructure([&] { nav_.set_left_col(c); });
}

void DrawGrid::moved(bool changed)
{
    sync(Prop::Custom);
    invalidate();
    if (changed) fire_click();
}

void DrawGrid::set_current(std::int32_t c, std::int32_t r)
{
    sync_size();
    moved(nav_.set_current(GridCell{c, r}));
}

Rect DrawGrid::cell_rect(std::int32_t c, std::int32_t r)
{
    sync_size();
    GridRect g = nav_.cell_rect(GridCell{c, r});
    return Rect{g.left, g.top, g.right, g.bottom};
}

std::optional<GridCell> DrawGrid::cell_at(Point p)
{
    sync_size();
    return nav_.cell_at(p.x, p.y);
}

bool DrawGrid::handle_key_down(KeyEvent& e)
{
    GridKey k;
    switch (e.key) {
        case keys::Left:
            k = GridKey::left;
            break;
        case keys::Right:
            k = GridKey::right;
            break;
        case keys::Up:
            k = GridKey::up;
            break;
        case keys::Down:
            k = GridKey::down;
            break;
        case keys::Prior:
            k = GridKey::page_up;
            break;
        case keys::Next:
            k = GridKey::page_down;
            break;
        case keys::Home:
            k = GridKey::home;
            break;
        case keys::End:
            k = GridKey::end;
            break;
        default:
            return false;
    }
    sync_size();
    moved(nav_.key(k, e.shift.ctrl));
    return true;
}

void DrawGrid::handle_mouse_down(const MouseEvent& e)
{
    if (e.button != MouseButton::Left) return;
    std::optional<GridCell> cell = cell_at(e.pos);
    set_focus();
    if (!cell || cell->col < fixed_cols() || cell->row < fixed_rows()) return;
    nav_.set_current(*cell);
    moved(true);
}

void DrawGrid::handle_mouse_wheel(int delta, ShiftState)
{
    int notches = delta / 120;
    if (notches == 0) return;
    sync_size();
    GridKey k = notches < 0 ? GridKey::down : GridKey::up;
    bool changed = false;
    for (int i = 0; i < (notches < 0 ? -notches : notches); ++i) changed |= nav_.key(k, false);
    moved(changed);
}

void DrawGrid::draw_cell(Canvas& c, std::int32_t col, std::int32_t row, const Rect& clip)
{
    GridRect g = nav_.cell_rect(GridCell{col, row});
    Rect r{g.left, g.top, g.right, g.bottom};
    if (r.intersect(clip).empty()) return;
    GridDrawState st;
    st.fixed = col < nav_.fixed_cols() || row < nav_.fixed_rows();
    st.selected = !st.fixed && nav_.current() == GridCell{col, row};
    st.focused = st.selected && focused();
    if (default_drawing_) {
        Color fill = st.fixed ? colors::btn_face : (st.selected && !st.focused ? colors::highlight : color());
        c.brush = Brush{fill, BrushStyle::Solid};
        c.fill_rect(r);
    }
    if (on_draw_cell) {
        c.font = font();
        c.pen = Pen{};
        c.brush = Brush{color(), BrushStyle::Solid};
        on_draw_cell(c, col, row, r, st);
    }
    if (default_drawing_ && st.focused) c.focus_rect(r);
}

void DrawGrid::paint(Canvas& c)
{
    sync_size();
    const Rect clip = c.clip_rect();
    c.brush = Brush{color(), BrushStyle::Solid};
    c.fill_rect(clip);
    GridRange v = nav_.visible();
    std::int32_t last_col = v.last_col >= v.first_col ? v.last_col : nav_.fixed_cols() - 1;
    std::int32_t last_row = v.last_row >= v.first_row ? v.last_row : nav_.fixed_rows() - 1;
    if (last_col < 0 || last_row < 0) return;
    // The grid lines are what the cells leave uncovered of one fill.
    if (nav_.line_width() > 0) {
        GridRect end = nav_.cell_rect(GridCell{last_col, last_row});
        c.brush = Brush{kLineColor, BrushStyle::Solid};
        c.fill_rect(Rect{0, 0, end.right + nav_.line_width(), end.bottom + nav_.line_width()}.intersect(clip));
    }
    auto paint_rows = [&](std::int32_t r0, std::int32_t r1) {
        for (std::int32_t r = r0; r <= r1; ++r) {
            for (std::int32_t col = 0; col < nav_.fixed_cols(); ++col) draw_cell(c, col, r, clip);
            for (std::int32_t col = v.first_col; col <= v.last_col; ++col) draw_cell(c, col, r, clip);
        }
    };
    paint_rows(0, nav_.fixed_rows() - 1);
    paint_rows(v.first_row, v.last_row);
}

}  // namespace ui

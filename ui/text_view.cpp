// The text view (see text_view.h): line operations, scrolling, wrap, selection
// and the painting of the rows on screen.
#include "ui/text_view.h"

#include <algorithm>
#include <new>
#include <vector>

#include "ui/services.h"
#include "ui/utf16.h"

namespace ui {

TextView::TextView(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::TextView)
{
    set_font(Font::monospace());
    set_color(colors::window);
    set_double_buffered(true);
    set_cursor(Cursor::IBeam);
    // Until a backend measures the font: a monospace cell 3/5 as wide as high.
    int h = font().height_px();
    char_size_ = Size{(h * 3 + 2) / 5, h};
}

void TextView::changed()
{
    if (updating_ > 0) {
        dirty_ = true;
        return;
    }
    anchor_ = lines_.clamp(anchor_);
    caret_ = lines_.clamp(caret_);
    clamp_scroll();
    sync(Prop::Custom);
    invalidate();
}

void TextView::add_line(std::string_view text)
{
    lines_.add(text);
    changed();
}

void TextView::replace_last_line(std::string_view text)
{
    lines_.replace_last(text);
    changed();
}

void TextView::append_to_last_line(std::string_view text)
{
    lines_.append_last(text);
    changed();
}

void TextView::set_line_source(const LineSource* source)
{
    lines_.set_source(source);
    clear();
}

void TextView::clear()
{
    lines_.clear();
    top_ = 0;
    left_ = 0;
    anchor_ = caret_ = TextPos{};
    goal_col_ = 0;
    changed();
}

void TextView::end_update()
{
    if (updating_ == 0) return;
    if (--updating_ == 0 && dirty_) {
        dirty_ = false;
        changed();
    }
}

Size TextView::view_size() const
{
    return view_size_set_ ? view_size_ : Size{width(), height()};
}

void TextView::set_view_size(Size s)
{
    view_size_ = s;
    view_size_set_ = true;
    relayout();
}

void TextView::set_char_size(Size s)
{
    if (s.width <= 0 || s.height <= 0 || s == char_size_) return;
    char_size_ = s;
    relayout();
    invalidate();
}

int TextView::page_rows() const
{
    return std::max(1, view_size().height / char_size_.height);
}
int TextView::page_cols() const
{
    return std::max(1, view_size().width / char_size_.width);
}

// The wrap width follows the view; the first line on screen stays first.
void TextView::relayout()
{
    std::size_t width = word_wrap_ ? static_cast<std::size_t>(page_cols()) : 0;
    if (width == layout_.wrap_width()) return;
    TextRow top = layout_.row(top_);
    layout_.set_wrap_width(width);
    top_ = lines_.empty() ? 0 : layout_.row_of({top.line, top.offset});
    if (word_wrap_) left_ = 0;
    clamp_scroll();
    sync(Prop::Custom);
    invalidate();
}

std::uint64_t TextView::row_count()
{
    relayout();
    return layout_.row_count();
}

std::uint64_t TextView::max_top_row()
{
    std::uint64_t rows = row_count();
    std::uint64_t page = static_cast<std::uint64_t>(page_rows());
    return rows > page ? rows - page : 0;
}

std::size_t TextView::max_left_col() const
{
    if (word_wrap_) return 0;
    std::size_t cols = static_cast<std::size_t>(page_cols());
    std::size_t need = lines_.max_length() + 1;  // room for the caret after the longest line
    return need > cols ? need - cols : 0;
}

void TextView::clamp_scroll()
{
    top_ = std::min(top_, max_top_row());
    left_ = std::min(left_, max_left_col());
}

void TextView::set_word_wrap(bool on)
{
    if (on == word_wrap_) return;
    word_wrap_ = on;
    relayout();
}

void TextView::set_top_row(std::uint64_t row)
{
    row = std::min(row, max_top_row());
    if (row == top_) return;
    top_ = row;
    sync(Prop::Custom);
    invalidate();
}

void TextView::set_left_col(std::size_t col)
{
    col = std::min(col, max_left_col());
    if (col == left_) return;
    left_ = col;
    sync(Prop::Custom);
    invalidate();
}

void TextView::scroll_lines(std::int64_t rows)
{
    std::int64_t to = static_cast<std::int64_t>(top_) + rows;
    set_top_row(to < 0 ? 0 : static_cast<std::uint64_t>(to));
}

void TextView::post_scroll_lines(std::int64_t rows)
{
    std::weak_ptr<bool> alive = alive_;
    post([this, alive, rows] {
        if (alive.lock()) scroll_lines(rows);
    });
}

// ---- selection ----

void TextView::select(TextPos anchor, TextPos caret)
{
    anchor_ = lines_.clamp(anchor);
    caret_ = lines_.clamp(caret);
    sync(Prop::Selection);
    invalidate();
}

void TextView::select_all()
{
    select(TextPos{}, lines_.end_pos());
}

bool TextView::copy_selection()
{
    if (!has_selection()) return false;
    try {
        // Characters beyond the code page go along as UTF-16 too.
        if (lines_.wide()) return set_clipboard_text(selected_text(), utf16_of(lines_.wide_text(anchor_, caret_)));
        return set_clipboard_text(selected_text());
    } catch (const std::bad_alloc&) {
        return false;
    }
}

TextPos TextView::pos_at(Point p)
{
    relayout();
    if (lines_.empty()) return {};
    std::int64_t row = static_cast<std::int64_t>(top_) + (p.y >= 0 ? p.y / char_size_.height : -1);
    row = std::clamp<std::int64_t>(row, 0, static_cast<std::int64_t>(layout_.row_count()) - 1);
    TextRow tr = layout_.row(static_cast<std::uint64_t>(row));
    std::size_t cell = p.x <= 0 ? 0 : static_cast<std::size_t>((p.x + char_size_.width / 2) / char_size_.width);
    if (word_wrap_) return {tr.line, tr.offset + std::min(cell, tr.length)};
    return {tr.line, std::min(left_ + cell, tr.length)};
}

void TextView::scroll_to_caret()
{
    scroll_into_view(caret_);
}

void TextView::scroll_into_view(TextPos p)
{
    relayout();
    p = lines_.clamp(p);
    std::uint64_t r = layout_.row_of(p);
    std::uint64_t page = static_cast<std::uint64_t>(page_rows());
    if (r < top_)
        set_top_row(r);
    else if (r >= top_ + page)
        set_top_row(r - page + 1);
    if (!word_wrap_) {
        std::size_t cols = static_cast<std::size_t>(page_cols());
        if (p.col < left_)
            set_left_col(p.col);
        else if (p.col >= left_ + cols)
            set_left_col(p.col - cols + 1);
    }
}

void TextView::move_caret(TextPos p, bool extend, bool keep_goal)
{
    caret_ = lines_.clamp(p);
    if (!extend) anchor_ = caret_;
    if (!keep_goal) {
        relayout();
        goal_col_ = word_wrap_ ? caret_.col - layout_.row(layout_.row_of(caret_)).offset : caret_.col;
    }
    scroll_to_caret();
    sync(Prop::Selection);
    invalidate();
}

// ---- keyboard and mouse ----

bool TextView::handle_key_down(KeyEvent& e)
{
    relayout();
    bool ext = e.shift.shift;
    if (e.shift.ctrl && (e.key == keys::Insert || e.key == 'C')) {
        copy_selection();
        return true;
    }
    if (e.shift.ctrl && e.key == 'A') {
        select_all();
        return true;
    }
    if (e.key == keys::Tab && !e.shift.ctrl && !e.shift.alt) return true;
    if (lines_.empty()) return false;
    TextPos c = caret_;
    // Up/down and page moves go by visual rows and keep the goal column.
    auto row_move = [&](std::int64_t delta) {
        std::int64_t rows = static_cast<std::int64_t>(layout_.row_count());
        std::int64_t r = std::clamp<std::int64_t>(static_cast<std::int64_t>(layout_.row_of(c)) + delta, 0, rows - 1);
        TextRow tr = layout_.row(static_cast<std::uint64_t>(r));
        std::size_t col = std::min(goal_col_, tr.length);
        // The end of a wrapped row that continues is the next row's start: stay before it.
        if (word_wrap_ && col == tr.length && tr.offset + tr.length < lines_.length(tr.line) && col > 0) --col;
        move_caret({tr.line, tr.offset + col}, ext, true);
    };
    switch (e.key) {
        case keys::Left:
            if (c.col > 0)
                --c.col;
            else if (c.line > 0)
                c = {c.line - 1, lines_.length(c.line - 1)};
            move_caret(c, ext);
            return true;
        case keys::Right:
            if (c.col < lines_.length(c.line))
                ++c.col;
            else if (c.line + 1 < lines_.count())
                c = {c.line + 1, 0};
            move_caret(c, ext);
            return true;
        case keys::Up:
            row_move(-1);
            return true;
        case keys::Down:
            row_move(1);
            return true;
        case keys::Prior:
            scroll_lines(-page_rows());
            row_move(-page_rows());
            return true;
        case keys::Next:
            scroll_lines(page_rows());
            row_move(page_rows());
            return true;
        case keys::Home:
            if (e.shift.ctrl)
                move_caret({}, ext);
            else
                move_caret({c.line, word_wrap_ ? layout_.row(layout_.row_of(c)).offset : 0}, ext);
            return true;
        case keys::End:
            if (e.shift.ctrl) {
                move_caret(lines_.end_pos(), ext);
            } else {
                TextRow tr = layout_.row(layout_.row_of(c));
                std::size_t end = tr.offset + tr.length;
                if (word_wrap_ && end < lines_.length(c.line) && end > tr.offset) --end;
                move_caret({c.line, end}, ext);
            }
            return true;
        default:
            return false;
    }
}

void TextView::handle_mouse_down(const MouseEvent& e)
{
    if (e.button != MouseButton::Left) return;
    set_focus();
    move_caret(pos_at(e.pos), e.shift.shift);
    dragging_ = true;
}

void TextView::handle_mouse_move(const MouseEvent& e)
{
    if (dragging_) move_caret(pos_at(e.pos), true);
}

void TextView::handle_mouse_up(const MouseEvent& e)
{
    if (e.button == MouseButton::Left) dragging_ = false;
}

void TextView::handle_mouse_wheel(int delta, ShiftState)
{
    scroll_lines(-static_cast<std::int64_t>(delta) * 3 / 120);
}

// ---- painting ----

void TextView::paint_row(Canvas& c, const TextRow& row, int y, TextPos s, TextPos e)
{
    const int cw = char_size_.width;
    std::size_t len = lines_.length(row.line);
    std::size_t from = word_wrap_ ? row.offset : left_;
    std::size_t to =
        word_wrap_ ? row.offset + row.length : std::min(len, left_ + static_cast<std::size_t>(page_cols()) + 1);
    bool in_sel = has_selection() && s.line <= row.line && row.line <= e.line;
    std::vector<std::uint32_t> styles;
    std::size_t sa = in_sel ? (row.line == s.line ? s.col : 0) : to;
    std::size_t sb = in_sel ? (row.line == e.line ? e.col : len) : to;
    auto piece = [&](std::size_t a, std::size_t b, bool selected) {
        a = std::max(a, from);
        b = std::min(b, to);
        if (a >= b) return;
        const std::size_t n = b - a;
        // Wide lines are drawn with the wide calls, one cell per character.
        const bool wide = lines_.wide();
        std::string text;
        std::u32string chars;
        if (wide) {
            chars.assign(n, U' ');
            lines_.copy_wide(row.line, a, n, chars.data());
            for (char32_t& ch : chars)
                if (ch < 0x20) ch = U' ';
        } else {
            text.assign(n, ' ');
            lines_.copy(row.line, a, n, text.data());
            for (char& ch : text)
                if (static_cast<unsigned char>(ch) < 0x20) ch = ' ';
        }
        auto draw = [&](std::size_t i, std::size_t j) {
            const Point at{static_cast<int>(a - from + i) * cw, y};
            if (wide)
                c.text_out_cells(at, std::u32string_view(chars).substr(i, j - i), cw);
            else
                c.text_out(at, std::string_view(text).substr(i, j - i));
        };
        c.brush = Brush{selected ? colors::highlight : color(), BrushStyle::Solid};
        c.font.color = selected ? colors::highlight_text : font().color;
        const LineSource* source = lines_.source();
        if (!selected && source && (styles.resize(n), source->styles(row.line, a, n, styles.data()))) {
            // Runs of one style each, in the source's colours.
            for (std::size_t i = 0; i < n;) {
                std::size_t j = i + 1;
                while (j < n && styles[j] == styles[i]) ++j;
                const LineSource::Look look = source->look(styles[i]);
                c.brush = Brush{look.own_bg ? look.bg : color(), BrushStyle::Solid};
                c.font = font();
                c.font.color = look.own_fg ? look.fg : font().color;
                c.font.bold = look.bold;
                c.font.italic = look.italic;
                c.font.underline = look.underline;
                draw(i, j);
                i = j;
            }
            c.font = font();
            return;
        }
        draw(0, n);
    };
    piece(from, sa, false);
    piece(sa, sb, true);
    piece(sb, to, false);
    // A selection running on past this line shows its line break as one cell.
    bool last_row = row.offset + row.length == len;
    if (in_sel && row.line < e.line && last_row && len >= from) {
        c.brush = Brush{colors::highlight, BrushStyle::Solid};
        int x = static_cast<int>(len - from) * cw;
        c.fill_rect(Rect{x, y, x + cw, y + char_size_.height});
    }
}

void TextView::paint(Canvas& c)
{
    relayout();
    const Rect clip = c.clip_rect();
    c.brush = Brush{color(), BrushStyle::Solid};
    c.fill_rect(clip);
    c.font = font();
    if (lines_.empty()) return;
    const int ch = char_size_.height;
    const std::size_t wrap = layout_.wrap_width();
    const std::uint64_t rows = layout_.row_count();
    int first = std::max(0, clip.top / ch);
    int last = std::max(0, (clip.bottom - 1) / ch);
    std::uint64_t r = top_ + static_cast<std::uint64_t>(first);
    if (r >= rows) return;
    TextPos s = std::min(anchor_, caret_), e = std::max(anchor_, caret_);
    // One look-up for the first row; the rest follow by walking the lines.
    TextRow tr = layout_.row(r);
    for (int i = first; i <= last; ++i) {
        paint_row(c, tr, i * ch, s, e);
        if (++r >= rows) break;
        std::size_t len = lines_.length(tr.line);
        if (wrap && tr.offset + tr.length < len) {
            tr.offset += wrap;
            tr.length = std::min(wrap, len - tr.offset);
        } else {
            ++tr.line;
            tr.offset = 0;
            std::size_t next = lines_.length(tr.line);
            tr.length = wrap ? std::min(wrap, next) : next;
        }
    }
    if (focused()) {
        std::uint64_t cr = layout_.row_of(caret_);
        if (cr >= top_ && cr - top_ <= static_cast<std::uint64_t>(last)) {
            std::size_t origin = wrap ? layout_.row(cr).offset : left_;
            if (caret_.col >= origin) {
                int x = static_cast<int>(caret_.col - origin) * char_size_.width;
                int y = static_cast<int>(cr - top_) * ch;
                c.pen = Pen{font().color, 1, PenStyle::Solid};
                c.line(Point{x, y}, Point{x, y + ch});
            }
        }
    }
}

void TextView::handle_context_menu(Point at)
{
    const int chosen = popup_menu(*this, at, {{"Copy", has_selection()}, {"Select all", !lines_.empty()}});
    if (chosen == 0) copy_selection();
    if (chosen == 1) select_all();
}

}  // namespace ui

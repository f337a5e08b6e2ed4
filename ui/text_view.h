// The text view: a read-only list of lines in a monospace font that stays fast
// with millions of lines. It paints only the rows on screen, wraps at its width
// on request, and lets the user select with mouse and keys and copy (Ctrl+C).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/text_layout.h"
#include "ui/text_lines.h"

namespace ui {

// Rules of this control:
// - Changing lines, scrolling and wrapping in code fire no event. Outside a
//   begin_update()/end_update() bracket every change repaints; inside it the
//   view repaints once, at the outermost end_update().
// - Scroll positions count visual rows: lines without wrap, wrapped rows with it.
// - Copied and window text joins lines with CR LF; a TAB shows as one blank cell
//   (the text keeps the TAB), as does any other control character.
class TextView : public Control {
 public:
    TextView(Control* parent, std::string name);

    // The line list.
    void add_line(std::string_view text);
    std::string last_line() const { return lines_.last(); }
    void replace_last_line(std::string_view text);
    // Continues the last line; costs only the added text.
    void append_to_last_line(std::string_view text);
    int line_count() const { return static_cast<int>(lines_.count()); }
    // Lines another object holds (TextLines::set_source). The source tells of
    // each change of its lines here, with the same effect as the calls above.
    void set_line_source(const LineSource* source);
    void lines_changed() { changed(); }
    void clear();
    void begin_update() { ++updating_; }
    void end_update();
    const TextLines& lines() const { return lines_; }

    // Scrolling (EM_LINESCROLL): positive rows scroll down, clamped to the ends.
    void scroll_lines(std::int64_t rows);
    // The same, run after the current handler (a posted message in Windows terms).
    void post_scroll_lines(std::int64_t rows);
    std::uint64_t top_row() const { return top_; }
    void set_top_row(std::uint64_t row);
    std::size_t left_col() const { return left_; }
    void set_left_col(std::size_t col);
    std::uint64_t row_count();
    std::uint64_t max_top_row();
    std::size_t max_left_col() const;
    // Rows and columns wholly inside the view (at least 1).
    int page_rows() const;
    int page_cols() const;

    // Word wrap: on, rows break at the view's width and only the vertical scroll
    // bar shows; off, both bars show. The first line on screen stays on screen.
    bool word_wrap() const { return word_wrap_; }
    void set_word_wrap(bool on);
    bool horizontal_bar() const { return !word_wrap_; }

    // The font's character cell (the Win32 peer measures the real font) and the
    // text area (the control without its scroll bars and border).
    Size char_size() const { return char_size_; }
    void set_char_size(Size s);
    Size view_size() const;
    void set_view_size(Size s);

    // Selection: from the anchor to the caret (either order).
    TextPos anchor() const { return anchor_; }
    TextPos caret() const { return caret_; }
    void select(TextPos anchor, TextPos caret);
    // Scrolls as little as will bring a place on screen.
    void scroll_into_view(TextPos p);
    void select_all();
    bool has_selection() const { return anchor_ != caret_; }
    std::string selected_text() const { return lines_.text(anchor_, caret_); }
    // Puts the selection on the clipboard; false when nothing was selected or the
    // clipboard refused (a selection too big for memory copies nothing).
    bool copy_selection();
    // The place under a point of the view.
    TextPos pos_at(Point p);

    // The whole text as a window text: its length, and its first n characters.
    std::uint64_t text_length() const { return lines_.text_length(); }
    std::string text_prefix(std::size_t n) const { return lines_.text({}, lines_.end_pos(), n); }

    bool focusable() const override { return true; }
    // Tab stays in the view (it does nothing there) instead of moving the focus.
    bool wants_tab() const override { return true; }
    void paint(Canvas& canvas) override;

 protected:
    bool handle_key_down(KeyEvent& e) override;
    void handle_mouse_down(const MouseEvent& e) override;
    void handle_mouse_up(const MouseEvent& e) override;
    void handle_mouse_move(const MouseEvent& e) override;
    void handle_mouse_wheel(int delta, ShiftState shift) override;
    // "Copy" (with a selection) and "Select all", as a read-only text box offers.
    void handle_context_menu(Point at) override;

 private:
    void changed();
    void relayout();
    void clamp_scroll();
    void move_caret(TextPos p, bool extend, bool keep_goal = false);
    void scroll_to_caret();
    void paint_row(Canvas& c, const TextRow& row, int y, TextPos sel_from, TextPos sel_to);

    TextLines lines_;
    TextLayout layout_{lines_};
    int updating_ = 0;
    bool dirty_ = false;
    bool word_wrap_ = false;
    std::uint64_t top_ = 0;
    std::size_t left_ = 0;
    Size char_size_;
    Size view_size_;
    bool view_size_set_ = false;
    TextPos anchor_, caret_;
    std::size_t goal_col_ = 0;  // display column kept by up/down moves
    bool dragging_ = false;
    // Lets a posted scroll know whether the view still exists when it runs.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ui

// Single-line edit field. The text is the truth; the caret and selection are
// kept too so typing lands where the user would expect.
// - set_text() in code fires nothing (not even on_change).
// - A typed character goes through key_press() (form preview, on_key_press
//   that may discard or change it), then handle_char() edits the text at the
//   caret and fires on_change when the text changed. Backspace deletes; Ctrl+C,
//   Ctrl+X, Ctrl+V, Ctrl+A (3, 24, 22, 1) copy, cut, paste and select all.
// - on_enter fires when the field gets the focus (by the user or set_focus()).
// - on_click, on_dbl_click: mouse clicks in the field.
#pragma once

#include "ui/control.h"

namespace ui {

class Edit : public Control {
 public:
    Edit(Control* parent, std::string name, std::string text = {});

    bool read_only() const { return read_only_; }
    void set_read_only(bool r);
    // Select the whole text when the focus arrives from the keyboard (Tab or
    // set_focus); a mouse click places the caret instead. On by default.
    bool auto_select() const { return auto_select_; }
    void set_auto_select(bool a) { auto_select_ = a; }
    // 0: no limit. Typing and pasting stop at the limit; set_text does not.
    int max_length() const { return max_length_; }
    void set_max_length(int n) { max_length_ = n; }

    int sel_start() const { return sel_start_; }
    int sel_length() const { return sel_length_; }
    // Clamped to the text.
    void set_selection(int start, int length);
    void select_all() { set_selection(0, static_cast<int>(text().size())); }
    std::string selected_text() const;

    // on_change: the user changed the text (typing, paste, cut, an up-down).
    std::function<void()> on_change;

    void handle_char(char c) override;
    // The backend reports the user's new text (Win32 EN_CHANGE); fires on_change
    // when it differs from the current text.
    void user_changed_text(std::string t);
    bool focusable() const override { return true; }

 protected:
    void handle_focus(bool got) override;

 private:
    bool auto_select_ = true;
    bool read_only_ = false;
    int max_length_ = 0;
    int sel_start_ = 0;
    int sel_length_ = 0;
};

}  // namespace ui

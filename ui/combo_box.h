// Combo box: a drop-down list (pick one item) or an editable field with a
// drop-down item history. The item list, the item index and the text are the
// truth; for a drop-down list the text is always the chosen item's.
// - set_item_index(), set_text() and the item-list setters fire nothing.
// - select() (the user picks an item from the list) sets the index and the
//   text, then fires on_change; re-picking the current item fires it again.
// - Typing in an editable combo works as in an Edit (key_press, then
//   handle_char, on_change); the item index becomes -1 unless the new text
//   equals an item.
// - set_owner_draw(true): the control asks draw_item() to paint each row of
//   the open list and the closed field (index -1 when nothing is chosen); the
//   items keep their texts, which is what the list reads and a driver finds.
#pragma once

#include <vector>

#include "ui/canvas.h"
#include "ui/control.h"

namespace ui {

enum class ComboStyle : std::uint8_t { DropDown, DropDownList };

class ComboBox : public Control {
 public:
    ComboBox(Control* parent, std::string name, ComboStyle style = ComboStyle::DropDownList);

    ComboStyle style() const { return style_; }
    void set_style(ComboStyle s);

    const std::vector<std::string>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    void set_items(std::vector<std::string> items);  // keeps no selection
    void add_item(std::string s);
    void insert_item(int index, std::string s);
    void delete_item(int index);
    void clear_items();
    int index_of(std::string_view s) const;  // exact match, -1 when absent

    // -1: none. A drop-down list's text follows the item.
    int item_index() const { return item_index_; }
    void set_item_index(int i);
    // Rows the open list shows before it scrolls.
    int drop_down_count() const { return drop_down_count_; }
    void set_drop_down_count(int n) { drop_down_count_ = n; }

    // The editable style's caret and selection (in the text); typing replaces
    // the selection. A chosen item and the user's own edits leave the caret at the end.
    int sel_start() const;
    int sel_length() const;
    void set_selection(int start, int length);
    void select_all() { set_selection(0, static_cast<int>(text().size())); }
    bool owner_draw() const { return owner_draw_; }
    void set_owner_draw(bool on);

    std::function<void()> on_change;
    // Paints item `index` into `r` (logical pixels); `selected`: the highlighted row.
    std::function<void(Canvas&, int index, const Rect& r, bool selected)> on_draw_item;
    void draw_item(Canvas& canvas, int index, const Rect& r, bool selected);

    // User actions.
    void select(int index);
    void handle_char(char c) override;
    void user_changed_text(std::string t);
    bool focusable() const override { return true; }

 private:
    ComboStyle style_;
    std::vector<std::string> items_;
    int item_index_ = -1;
    int drop_down_count_ = 8;
    // -1: the caret follows the end of the text (nothing chosen since it was set).
    int sel_start_ = -1;
    int sel_length_ = 0;
    bool owner_draw_ = false;
};

}  // namespace ui

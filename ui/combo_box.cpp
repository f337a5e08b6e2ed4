// Combo box: item list, selection and the editable style's typing.
#include "ui/combo_box.h"

#include <algorithm>

#include "ui/text_editing.h"

namespace ui {

ComboBox::ComboBox(Control* parent, std::string name, ComboStyle style)
    : Control(parent, std::move(name), ControlKind::ComboBox), style_(style)
{
    set_color(colors::window);
}

void ComboBox::set_style(ComboStyle s)
{
    style_ = s;
    sync(Prop::Style);
}

void ComboBox::set_owner_draw(bool on)
{
    if (owner_draw_ == on) return;
    owner_draw_ = on;
    sync(Prop::Style);  // a system list box takes the style only when made
}

void ComboBox::draw_item(Canvas& canvas, int index, const Rect& r, bool selected)
{
    if (on_draw_item) on_draw_item(canvas, index, r, selected);
}

void ComboBox::set_items(std::vector<std::string> items)
{
    items_ = std::move(items);
    item_index_ = -1;
    if (style_ == ComboStyle::DropDownList) set_text({});
    sync(Prop::Items);
}

void ComboBox::add_item(std::string s)
{
    insert_item(count(), std::move(s));
}

void ComboBox::insert_item(int index, std::string s)
{
    if (index < 0 || index > count()) index = count();
    items_.insert(items_.begin() + index, std::move(s));
    if (item_index_ >= index) ++item_index_;
    sync(Prop::Items);
}

void ComboBox::delete_item(int index)
{
    if (index < 0 || index >= count()) return;
    items_.erase(items_.begin() + index);
    if (item_index_ == index) {
        item_index_ = -1;
        if (style_ == ComboStyle::DropDownList) set_text({});
    } else if (item_index_ > index) {
        --item_index_;
    }
    sync(Prop::Items);
}

void ComboBox::clear_items()
{
    items_.clear();
    item_index_ = -1;
    if (style_ == ComboStyle::DropDownList) set_text({});
    sync(Prop::Items);
}

int ComboBox::index_of(std::string_view s) const
{
    for (int i = 0; i < count(); ++i)
        if (items_[static_cast<size_t>(i)] == s) return i;
    return -1;
}

void ComboBox::set_item_index(int i)
{
    if (i < -1 || i >= count()) i = -1;
    item_index_ = i;
    sel_start_ = -1;
    if (i >= 0)
        set_text(items_[static_cast<size_t>(i)]);
    else if (style_ == ComboStyle::DropDownList)
        set_text({});
    sync(Prop::ItemIndex);
}

void ComboBox::select(int index)
{
    if (!reachable() || index < 0 || index >= count()) return;
    set_item_index(index);
    if (on_change) on_change();
}

int ComboBox::sel_start() const
{
    const int n = static_cast<int>(text().size());
    return sel_start_ < 0 ? n : std::min(sel_start_, n);
}

int ComboBox::sel_length() const
{
    return sel_start_ < 0 ? 0 : std::clamp(sel_length_, 0, static_cast<int>(text().size()) - sel_start());
}

void ComboBox::set_selection(int start, int length)
{
    const int n = static_cast<int>(text().size());
    sel_start_ = std::clamp(start, 0, n);
    sel_length_ = std::clamp(length, 0, n - sel_start_);
    sync(Prop::Selection);
}

void ComboBox::handle_char(char c)
{
    if (!reachable() || style_ != ComboStyle::DropDown) return;
    detail::TextState s{text(), sel_start(), sel_length()};
    if (!detail::apply_char(s, c, false, 0)) return;
    user_changed_text(std::move(s.text));
    sel_start_ = s.sel_start;
    sel_length_ = s.sel_length;
}

void ComboBox::user_changed_text(std::string t)
{
    if (t == text()) return;
    set_text(std::move(t));
    sel_start_ = -1;  // the system's control has put its caret; ours follows the end
    item_index_ = index_of(text());
    if (on_change) on_change();
}

}  // namespace ui

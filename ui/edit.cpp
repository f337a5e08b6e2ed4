// Edit field: selection bookkeeping and the user's typing.
#include "ui/edit.h"

#include <algorithm>

#include "ui/text_editing.h"

namespace ui {

Edit::Edit(Control* parent, std::string name, std::string text) : Control(parent, std::move(name), ControlKind::Edit)
{
    set_text(std::move(text));
    set_color(colors::window);
}

void Edit::set_read_only(bool r)
{
    read_only_ = r;
    sync(Prop::ReadOnly);
}

void Edit::set_selection(int start, int length)
{
    int n = static_cast<int>(text().size());
    sel_start_ = std::clamp(start, 0, n);
    sel_length_ = std::clamp(length, 0, n - sel_start_);
    sync(Prop::Selection);
}

std::string Edit::selected_text() const
{
    int n = static_cast<int>(text().size());
    int s = std::clamp(sel_start_, 0, n);
    int l = std::clamp(sel_length_, 0, n - s);
    return text().substr(static_cast<size_t>(s), static_cast<size_t>(l));
}

void Edit::handle_focus(bool got)
{
    if (got && auto_select_) select_all();
}

void Edit::handle_char(char c)
{
    if (!reachable()) return;
    detail::TextState s{text(), sel_start_, sel_length_};
    bool changed = detail::apply_char(s, c, read_only_, max_length_);
    set_text(std::move(s.text));
    set_selection(s.sel_start, s.sel_length);
    if (changed && on_change) on_change();
}

void Edit::user_changed_text(std::string t)
{
    if (t == text()) return;
    set_text(std::move(t));
    set_selection(static_cast<int>(text().size()), 0);
    if (on_change) on_change();
}

}  // namespace ui

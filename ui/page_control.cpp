// Page control and its tab sheets: which page shows, and where pages sit.
#include "ui/page_control.h"

#include <algorithm>

namespace ui {

PageControl::PageControl(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::PageControl)
{
}

TabSheet* PageControl::page(int index) const
{
    return index >= 0 && index < page_count() ? pages_[static_cast<size_t>(index)] : nullptr;
}

void PageControl::set_active_page_index(int i)
{
    if (i < -1 || i >= page_count()) return;
    active_ = i;
    for (int k = 0; k < page_count(); ++k) pages_[static_cast<size_t>(k)]->set_visible(k == i);
    sync(Prop::ItemIndex);
}

void PageControl::set_multi_line(bool m)
{
    multi_line_ = m;
    sync(Prop::Style);
}

// Before the backend reports the real area: one tab row of 20 px and a 4 px
// frame around the pages.
Rect PageControl::client_rect() const
{
    if (display_known_) return display_;
    return Rect{4, 24, width() - 4, height() - 4};
}

void PageControl::set_display_rect(const Rect& r)
{
    display_ = r;
    display_known_ = true;
    place_pages();
}

void PageControl::place_pages()
{
    for (TabSheet* p : pages_) p->set_bounds(client_rect());
}

void PageControl::select_tab(int index)
{
    if (!reachable() || index < 0 || index >= page_count() || index == active_) return;
    set_active_page_index(index);
    if (on_change) on_change();
}

void PageControl::add_page(TabSheet* p)
{
    pages_.push_back(p);
    p->set_bounds(client_rect());
    if (active_ < 0)
        set_active_page_index(0);
    else
        p->set_visible(false);
    sync(Prop::Items);
}

void PageControl::remove_page(TabSheet* p)
{
    auto it = std::find(pages_.begin(), pages_.end(), p);
    if (it == pages_.end()) return;
    int idx = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    if (active_ >= page_count() || idx == active_)
        active_ = page_count() > 0 ? 0 : -1;
    else if (idx < active_)
        --active_;
    sync(Prop::Items);
}

TabSheet::TabSheet(PageControl& owner, std::string name, std::string caption)
    : Control(&owner, std::move(name), ControlKind::TabSheet), owner_(owner)
{
    set_text(std::move(caption));
    set_tab_stop(false);
    owner_.add_page(this);
    set_align(Align::Client);  // follows the page control's display area
}

TabSheet::~TabSheet()
{
    owner_.remove_page(this);
}

int TabSheet::page_index() const
{
    for (int i = 0; i < owner_.page_count(); ++i)
        if (owner_.page(i) == this) return i;
    return -1;
}

}  // namespace ui

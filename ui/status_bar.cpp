// Status bar panels.
#include "ui/status_bar.h"

namespace ui {

StatusBar::StatusBar(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::StatusBar)
{
    set_tab_stop(false);
    set_bounds(0, 0, 100, 19);
    set_align(Align::Bottom);
}

void StatusBar::set_panels(std::vector<StatusPanel> p)
{
    panels_ = std::move(p);
    sync(Prop::Panels);
}

void StatusBar::set_panel_text(int i, std::string t)
{
    if (i < 0 || i >= panel_count()) return;
    StatusPanel& p = panels_[static_cast<size_t>(i)];
    if (p.text == t) return;
    p.text = std::move(t);
    sync(Prop::Panels, i);
}

void StatusBar::set_panel_width(int i, int w)
{
    if (i < 0 || i >= panel_count()) return;
    panels_[static_cast<size_t>(i)].width = w;
    sync(Prop::Panels);
}

void StatusBar::set_size_grip(bool g)
{
    size_grip_ = g;
    sync(Prop::Style);
}

}  // namespace ui

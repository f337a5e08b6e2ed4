// Buttons of every kind: push, check, radio, tool-bar buttons and the strip.
#include <algorithm>
#include <vector>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/form.h"
#include "ui/radio_button.h"
#include "ui/tool_bar.h"

namespace ui {

Button::Button(Control* parent, std::string name, std::string caption)
    : Control(parent, std::move(name), ControlKind::Button)
{
    set_text(std::move(caption));
}

void Button::set_default(bool d)
{
    default_ = d;
    sync(Prop::Style);
}

void Button::click()
{
    if (!reachable()) return;
    fire_click();
    if (modal_result_ != mr::None)
        if (Form* f = form()) f->set_modal_result(modal_result_);
}

CheckBox::CheckBox(Control* parent, std::string name, std::string caption)
    : Control(parent, std::move(name), ControlKind::CheckBox)
{
    set_text(std::move(caption));
}

void CheckBox::set_checked(bool c)
{
    if (c == checked_) return;
    checked_ = c;
    sync(Prop::Checked);
}

void CheckBox::click()
{
    if (!reachable()) return;
    set_checked(!checked_);
    fire_click();
}

RadioButton::RadioButton(Control* parent, std::string name, std::string caption)
    : Control(parent, std::move(name), ControlKind::RadioButton)
{
    set_text(std::move(caption));
}

void RadioButton::set_checked(bool c)
{
    if (c && parent()) {
        for (Control* s : parent()->children())
            if (s != this && s->kind() == ControlKind::RadioButton) static_cast<RadioButton*>(s)->set_checked(false);
    }
    if (c == checked_) return;
    checked_ = c;
    sync(Prop::Checked);
}

void RadioButton::click()
{
    if (!reachable() || checked_) return;
    set_checked(true);
    fire_click();
}

namespace {

// The buttons of r's group the user can reach, in creation order.
std::vector<RadioButton*> reachable_group(RadioButton& r)
{
    if (!r.parent()) return {&r};
    std::vector<RadioButton*> group;
    for (Control* s : r.parent()->children())
        if (s->kind() == ControlKind::RadioButton && s->can_focus()) group.push_back(static_cast<RadioButton*>(s));
    return group;
}

}  // namespace

RadioButton* RadioButton::group_tab_stop()
{
    const std::vector<RadioButton*> group = reachable_group(*this);
    for (RadioButton* r : group)
        if (r->checked()) return r;
    return group.empty() ? nullptr : group.front();
}

bool RadioButton::handle_key_down(KeyEvent& e)
{
    const bool back = e.key == keys::Up || e.key == keys::Left;
    if (!back && e.key != keys::Down && e.key != keys::Right) return false;
    const std::vector<RadioButton*> group = reachable_group(*this);
    const auto at = std::find(group.begin(), group.end(), this);
    if (at == group.end()) return true;
    const std::size_t i = static_cast<std::size_t>(at - group.begin()), n = group.size();
    RadioButton* next = group[back ? (i + n - 1) % n : (i + 1) % n];
    next->set_focus();
    next->click();
    return true;
}

ToolBar::ToolBar(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::ToolBar)
{
    set_tab_stop(false);
}

void ToolBar::set_framed(bool f)
{
    framed_ = f;
    sync(Prop::Style);
}

ToolButton::ToolButton(Control* parent, std::string name, std::string caption)
    : Control(parent, std::move(name), ControlKind::ToolButton)
{
    set_text(std::move(caption));
    set_tab_stop(false);
}

void ToolButton::set_images(ImageList* l)
{
    images_ = l;
    sync(Prop::Picture);
}

void ToolButton::set_image_index(int i)
{
    if (i == image_index_) return;
    image_index_ = i;
    sync(Prop::Picture);
}

void ToolButton::set_flat(bool f)
{
    flat_ = f;
    sync(Prop::Style);
}

void ToolButton::set_down(bool d)
{
    if (d == down_) return;
    down_ = d;
    sync(Prop::Checked);
}

void ToolButton::click()
{
    if (!reachable()) return;
    if (toggle_) set_down(!down_);
    fire_click();
}

}  // namespace ui

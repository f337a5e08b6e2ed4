// Buttons of every kind: push, check, radio, tool-bar buttons and the strip.
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

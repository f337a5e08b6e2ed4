// Static texts and plain containers: labels, static texts, group boxes,
// panels, paint boxes.
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/paint_box.h"
#include "ui/panel.h"

namespace ui {

Label::Label(Control* parent, std::string name, std::string caption)
    : Control(parent, std::move(name), ControlKind::Label)
{
    set_text(std::move(caption));
    set_tab_stop(false);
}

void Label::set_alignment(Alignment a)
{
    alignment_ = a;
    sync(Prop::Style);
}

void Label::set_auto_size(bool a)
{
    auto_size_ = a;
    sync(Prop::Style);
}

void Label::set_transparent(bool t)
{
    transparent_ = t;
    sync(Prop::Style);
}

StaticText::StaticText(Control* parent, std::string name, std::string caption)
    : Control(parent, std::move(name), ControlKind::StaticText)
{
    set_text(std::move(caption));
    set_tab_stop(false);
}

void StaticText::set_border(StaticBorder b)
{
    border_ = b;
    sync(Prop::Style);
}

void StaticText::set_alignment(Alignment a)
{
    alignment_ = a;
    sync(Prop::Style);
}

GroupBox::GroupBox(Control* parent, std::string name, std::string caption)
    : Control(parent, std::move(name), ControlKind::GroupBox)
{
    set_text(std::move(caption));
    set_tab_stop(false);
}

// The caption row is about one text line (Tahoma 8 pt: 13 px) above the frame.
Rect GroupBox::client_rect() const
{
    Rect r{0, 0, width(), height()};
    return Rect{r.left + 2, r.top + font().height_px() + 4, r.right - 2, r.bottom - 2};
}

Panel::Panel(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::Panel)
{
    set_tab_stop(false);
}

void Panel::set_bevel_outer(BevelCut b)
{
    bevel_outer_ = b;
    sync(Prop::Style);
}

void Panel::set_bevel_inner(BevelCut b)
{
    bevel_inner_ = b;
    sync(Prop::Style);
}

Rect Panel::client_rect() const
{
    int inset = (bevel_outer_ != BevelCut::None) + (bevel_inner_ != BevelCut::None);
    return Rect{0, 0, width(), height()}.inflate(-inset, -inset);
}

PaintBox::PaintBox(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::PaintBox)
{
    set_tab_stop(false);
}

}  // namespace ui

// Control base: tree, geometry and layout, visibility, focus, and the shared
// user-action paths (key preview, clicks, mouse).
#include "ui/control.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/form.h"

namespace ui {

Control::Control(Control* parent, std::string name, ControlKind kind)
    : parent_(parent), name_(std::move(name)), kind_(kind)
{
    if (parent_) parent_->add_child(this);
}

Control::~Control()
{
    release_peer();
    // Events during destruction would reach handlers whose data is gone.
    if (parent_)
        if (Form* f = parent_->form()) f->forget(this);
    if (parent_) parent_->remove_child(this);
}

void Control::remove_child(Control* c)
{
    children_.erase(std::remove(children_.begin(), children_.end(), c), children_.end());
}

Form* Control::form()
{
    Control* c = this;
    while (c->parent_) c = c->parent_;
    return c->kind_ == ControlKind::Form ? static_cast<Form*>(c) : nullptr;
}

const Form* Control::form() const
{
    return const_cast<Control*>(this)->form();
}

Control* Control::find(std::string_view name)
{
    for (Control* c : children_) {
        if (c->name_ == name) return c;
        if (Control* d = c->find(name)) return d;
    }
    return nullptr;
}

void Control::set_bounds(const Rect& r)
{
    if (r == bounds_) return;
    Size old_client{client_rect().width(), client_rect().height()};
    bool resized = r.width() != bounds_.width() || r.height() != bounds_.height();
    bounds_ = r;
    sync(Prop::Bounds);
    if (resized) {
        realign(old_client);
        if (on_resize) on_resize();
    }
}

void Control::set_align(Align a)
{
    align_ = a;
    if (parent_) parent_->realign(Size{parent_->client_rect().width(), parent_->client_rect().height()});
}

// Aligned children take their edges in creation order (as the VCL does);
// anchored ones keep their distance to the anchored edges.
void Control::realign(Size old_client)
{
    Rect area = client_rect();
    // From an empty size (a form before its first set_client_size) anchors
    // keep the positions the layout code gave.
    int dw = old_client.width > 0 ? area.width() - old_client.width : 0;
    int dh = old_client.height > 0 ? area.height() - old_client.height : 0;
    for (Control* c : children_) {
        Rect b = c->bounds_;
        switch (c->align_) {
            case Align::Top:
                b = Rect{area.left, area.top, area.right, area.top + b.height()};
                area.top = b.bottom;
                break;
            case Align::Bottom:
                b = Rect{area.left, area.bottom - b.height(), area.right, area.bottom};
                area.bottom = b.top;
                break;
            case Align::Left:
                b = Rect{area.left, area.top, area.left + b.width(), area.bottom};
                area.left = b.right;
                break;
            case Align::Right:
                b = Rect{area.right - b.width(), area.top, area.right, area.bottom};
                area.right = b.left;
                break;
            case Align::Client:
                continue;  // after the edges are taken
            case Align::None:
                if (c->anchors_.right) {
                    if (c->anchors_.left)
                        b.right += dw;
                    else
                        b = b.offset(dw, 0);
                }
                if (c->anchors_.bottom) {
                    if (c->anchors_.top)
                        b.bottom += dh;
                    else
                        b = b.offset(0, dh);
                }
                break;
        }
        c->set_bounds(b);
    }
    for (Control* c : children_)
        if (c->align_ == Align::Client) c->set_bounds(area);
}

void Control::set_visible(bool v)
{
    if (v == visible_) return;
    visible_ = v;
    if (!v) {
        if (Form* f = form(); f && f != this) {
            Control* a = f->active_control();
            for (Control* p = a; p; p = p->parent_)
                if (p == this) {
                    f->focus_changed(nullptr);
                    break;
                }
        }
    }
    sync(Prop::Visible);
}

bool Control::showing() const
{
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void Control::set_enabled(bool e)
{
    if (e == enabled_) return;
    enabled_ = e;
    sync(Prop::Enabled);
}

bool Control::enabled_in_tree() const
{
    for (const Control* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void Control::set_text(std::string t)
{
    if (t == text_) return;
    text_ = std::move(t);
    sync(Prop::Text);
}

void Control::set_color(Color c)
{
    if (c == color_) return;
    color_ = c;
    sync(Prop::Color);
}

const Font& Control::font() const
{
    if (parent_font_ && parent_) return parent_->font();
    return font_;
}

static void sync_font_tree(Control& c);

void Control::set_font(const Font& f)
{
    font_ = f;
    parent_font_ = false;
    sync_font_tree(*this);
}

static void sync_font_tree(Control& c)
{
    if (c.peer()) c.peer()->sync(Prop::Font, -1);
    for (Control* ch : c.children())
        if (ch->parent_font()) sync_font_tree(*ch);
}

void Control::set_cursor(Cursor c)
{
    cursor_ = c;
    sync(Prop::Cursor);
}

bool Control::focused() const
{
    const Form* f = form();
    return f && f->active_control() == this;
}

bool Control::set_focus()
{
    if (!can_focus()) return false;
    Form* f = form();
    if (!f) return false;
    if (f == this) {
        f->focus_changed(nullptr);
        return true;
    }
    if (peer_) peer_->set_focus();
    f->focus_changed(this);
    return true;
}

void Control::click()
{
    if (!reachable()) return;
    fire_click();
}

void Control::dbl_click()
{
    if (!reachable()) return;
    if (on_dbl_click) on_dbl_click();
}

char Control::key_press(char key)
{
    Form* f = form();
    if (f && f != this && f->key_preview() && f->on_key_press) {
        f->on_key_press(key);
        if (key == 0) return 0;
    }
    if (f && f->keys_as_characters() && f != this) return 0;  // the preview's alone
    if (on_key_press) on_key_press(key);
    return key;
}

bool Control::key_down(KeyEvent& e)
{
    Form* f = form();
    if (f && f != this && f->key_preview() && f->on_key_down) {
        f->on_key_down(e);
        if (e.handled || e.key == 0) return true;
    }
    if (on_key_down) on_key_down(e);
    if (e.handled || e.key == 0) return true;
    return handle_key_down(e);
}

void Control::key_up(KeyEvent& e)
{
    Form* f = form();
    if (f && f != this && f->key_preview() && f->on_key_up) {
        f->on_key_up(e);
        if (e.handled) return;
    }
    if (on_key_up) on_key_up(e);
}

void Control::mouse_down(const MouseEvent& e)
{
    if (!reachable()) return;
    if (on_mouse_down) on_mouse_down(e);
    handle_mouse_down(e);
}

void Control::context_menu(Point at)
{
    if (!reachable()) return;
    handle_context_menu(at);
}

void Control::mouse_up(const MouseEvent& e)
{
    if (!reachable()) return;
    if (on_mouse_up) on_mouse_up(e);
    handle_mouse_up(e);
}

void Control::mouse_move(const MouseEvent& e)
{
    if (!showing()) return;
    if (on_mouse_move) on_mouse_move(e);
    handle_mouse_move(e);
}

void Control::mouse_enter()
{
    if (showing() && on_mouse_enter) on_mouse_enter();
}

void Control::mouse_leave()
{
    if (on_mouse_leave) on_mouse_leave();
}

void Control::mouse_wheel(int delta, ShiftState shift, Point at)
{
    if (!reachable()) return;
    handle_mouse_wheel(delta, shift);
    if (on_mouse_wheel) on_mouse_wheel(delta, at);
}

void Control::invalidate()
{
    if (peer_) peer_->invalidate(nullptr);
}

void Control::invalidate(const Rect& area)
{
    if (peer_) peer_->invalidate(&area);
}

void Control::update()
{
    if (peer_) peer_->update();
}

void Control::ensure_peer()
{
    if (!peer_) {
        peer_ = backend::make_peer(*this);
        if (peer_) peer_->sync(Prop::All, -1);
    }
    for (Control* c : children_) c->ensure_peer();
}

void Control::release_peer()
{
    for (Control* c : children_) c->release_peer();
    peer_.reset();
}

}  // namespace ui

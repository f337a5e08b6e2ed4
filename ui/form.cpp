// Form: showing and hiding, the modal run, the close sequence, focus tracking
// and accelerator lookup.
#include "ui/form.h"

#include "ui/application.h"
#include "ui/menu.h"
#include "ui/radio_button.h"

namespace ui {

Form::Form(std::string name, Form* owner) : Control(nullptr, std::move(name), ControlKind::Form), owner_(owner)
{
    Control::set_visible(false);
    app().add_form(this);
}

Form::~Form()
{
    release_peer();
    app().remove_form(this);
}

void Form::set_client_size(int w, int h)
{
    set_bounds(left(), top(), w, h);
}

Rect Form::normal_bounds() const
{
    if (maximized_) return restore_;
    const Size frame = backend::form_frame(*this);
    return Rect::from_size(left(), top(), width() + frame.width, height() + frame.height);
}

void Form::set_normal_bounds(const Rect& r)
{
    if (maximized_) {
        restore_ = r;
        sync(Prop::WindowState);
        return;
    }
    const Size frame = backend::form_frame(*this);
    set_bounds(r.left, r.top, r.width() - frame.width, r.height() - frame.height);
}

void Form::set_maximized(bool m)
{
    if (m == maximized_) return;
    user_maximized(m);
    sync(Prop::WindowState);
}

void Form::user_maximized(bool m)
{
    if (m == maximized_) return;
    if (m) restore_ = normal_bounds();
    maximized_ = m;
}

void Form::set_min_window_size(int w, int h)
{
    min_size_ = Size{w, h};
    sync(Prop::Style);
}

void Form::set_max_window_size(int w, int h)
{
    max_size_ = Size{w, h};
    sync(Prop::Style);
}

void Form::set_border_style(BorderStyle s)
{
    border_style_ = s;
    sync(Prop::Style);
}

void Form::set_border_icons(BorderIcons i)
{
    border_icons_ = i;
    sync(Prop::Style);
}

void Form::set_form_style(FormStyle s)
{
    form_style_ = s;
    sync(Prop::Style);
}

void Form::show()
{
    ensure_peer();
    if (visible()) return;
    set_visible(true);
    if (on_show) on_show();
    if (!active_) {
        if (Control* c = next_tab_control(true)) c->set_focus();
    }
}

void Form::hide_form()
{
    if (!visible()) return;
    set_visible(false);
    if (on_hide) on_hide();
}

int Form::show_modal()
{
    modal_result_ = mr::None;
    modal_ = true;
    // Hidden again even when the loop ends by an exception.
    struct EndModal {
        Form& f;
        ~EndModal()
        {
            f.modal_ = false;
            f.hide_form();
        }
    };
    {
        EndModal end{*this};
        show();
        backend::run_modal(*this);
    }
    int r = modal_result_;
    return r == mr::None ? mr::Cancel : r;
}

void Form::set_modal_result(int r)
{
    modal_result_ = r;
    if (modal_ && r != mr::None) close();
}

bool Form::close()
{
    bool can_close = true;
    if (on_close_query) on_close_query(can_close);
    if (!can_close) {
        if (modal_) modal_result_ = mr::None;
        return false;
    }
    bool is_main = app().main_form() == this;
    CloseAction action = is_main ? CloseAction::Free : CloseAction::Hide;
    if (on_close) on_close(action);
    if (action == CloseAction::None) {
        if (modal_) modal_result_ = mr::None;
        return false;
    }
    if (modal_ && modal_result_ == mr::None) modal_result_ = mr::Cancel;
    if (action == CloseAction::Minimize) return true;
    if (!modal_) hide_form();
    if (is_main && action == CloseAction::Free) app().terminate();
    return true;
}

// The Tab stop a control stands for: a radio button's group has one.
static Control* tab_stop_for(Control* c)
{
    if (!c || c->kind() != ControlKind::RadioButton) return c;
    return static_cast<RadioButton*>(c)->group_tab_stop();
}

// Tab order is creation order, depth first (the order the layout builds them).
static void collect_tab_stops(Control& c, std::vector<Control*>& out)
{
    for (Control* ch : c.children()) {
        if (!ch->showing() || !ch->enabled_in_tree()) continue;
        if (ch->focusable() && ch->tab_stop() && tab_stop_for(ch) == ch) out.push_back(ch);
        collect_tab_stops(*ch, out);
    }
}

Control* Form::next_tab_control(bool forward) const
{
    std::vector<Control*> stops;
    collect_tab_stops(*const_cast<Form*>(this), stops);
    if (stops.empty()) return nullptr;
    auto it = std::find(stops.begin(), stops.end(), tab_stop_for(active_));
    if (it == stops.end()) return forward ? stops.front() : stops.back();
    size_t i = static_cast<size_t>(it - stops.begin());
    size_t n = stops.size();
    return stops[forward ? (i + 1) % n : (i + n - 1) % n];
}

void Form::focus_changed(Control* c)
{
    if (c == active_) return;
    Control* old = active_;
    active_ = c;
    if (old) {
        old->handle_focus(false);
        if (old->on_exit) old->on_exit();
    }
    if (c && active_ == c) {
        c->handle_focus(true);
        if (c->on_enter) c->on_enter();
    }
}

void Form::user_resized(Size client)
{
    set_client_size(client.width, client.height);
}

bool Form::press_shortcut(const ShortCut& sc)
{
    if (!menu_ || sc.empty()) return false;
    MenuItem* item = menu_->find_shortcut(sc);
    if (!item || !item->enabled_in_tree()) return false;
    item->click();
    return true;
}

void Form::activated()
{
    if (on_activate) on_activate();
}

void Form::deactivated()
{
    if (on_deactivate) on_deactivate();
}

}  // namespace ui

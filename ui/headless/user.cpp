// The scripted user: input routed the way the system routes it.
#include "ui/headless/user.h"

#include <vector>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/menu.h"
#include "ui/page_control.h"

namespace ui::headless {

// What an earlier test posted may point at its destroyed forms: dropped.
User::User()
{
    World::instance().reset();
    app().discard_posted();
}

Form* User::active_form() const
{
    const World& w = World::instance();
    if (!w.modal_stack.empty()) return w.modal_stack.back();
    for (Form* f : app().forms())
        if (f == activated_ && f->visible()) return f;
    for (Form* f : app().forms())
        if (f->visible()) return f;
    return nullptr;
}

void User::activate(Form& f)
{
    activated_ = &f;
    f.activated();
}

Control* User::key_target() const
{
    Form* f = active_form();
    if (!f) throw ProgramError("keys typed, but no form is visible");
    return f->active_control() ? f->active_control() : f;
}

void User::focus(Control& c)
{
    if (!c.set_focus()) throw ProgramError("cannot focus " + c.name());
    if (Form* f = c.form()) activated_ = f;
}

static void collect_buttons(Control& c, std::vector<Button*>& out)
{
    for (Control* ch : c.children()) {
        if (ch->kind() == ControlKind::Button && ch->showing() && ch->enabled_in_tree())
            out.push_back(static_cast<Button*>(ch));
        collect_buttons(*ch, out);
    }
}

// Enter and Escape as the dialog manager sees them, before the character.
bool User::dialog_key(char c)
{
    Form* f = active_form();
    Control* target = key_target();
    if (c == '\r' && target->kind() == ControlKind::Button) {
        app().guard([target] { target->click(); });
        return true;
    }
    std::vector<Button*> buttons;
    collect_buttons(*f, buttons);
    for (Button* b : buttons)
        if ((c == '\r' && b->is_default()) || (c == '\x1b' && b->is_cancel())) {
            app().guard([b] { b->click(); });
            return true;
        }
    return false;
}

// Space presses a focused button, check box or radio button (in Windows as its
// key goes up), whatever a key filter made of the character.
static bool pressed_by_space(const Control& c)
{
    return c.kind() == ControlKind::Button || c.kind() == ControlKind::CheckBox || c.kind() == ControlKind::RadioButton;
}

void User::deliver_char(char c)
{
    Control* target = key_target();
    Form* f = active_form();
    // A form taking keys as characters leaves them all to its key preview.
    const bool dialog_keys = !(f && f->keys_as_characters());
    if (dialog_keys && c == '\t' && !target->wants_tab()) {
        if (Control* next = f->next_tab_control(!world().shift)) next->set_focus();
        return;
    }
    if (dialog_keys && (c == '\r' || c == '\x1b') && dialog_key(c)) return;
    app().guard([target, c] {
        char k = target->key_press(c);
        if (k != 0) target->handle_char(k);
    });
    if (dialog_keys && c == ' ' && pressed_by_space(*target)) app().guard([target] { target->click(); });
}

void User::type(std::string_view chars)
{
    for (char c : chars) {
        deliver_char(c);
        app().run_posted();
    }
}

// A click into a field: focus without select-all, the caret after the text.
void User::focus_by_mouse(Control& c)
{
    if (!c.focusable() || c.kind() == ControlKind::ToolButton || c.kind() == ControlKind::Form) return;
    c.set_focus();
    if (c.kind() == ControlKind::Edit) {
        auto& e = static_cast<Edit&>(c);
        e.set_selection(static_cast<int>(e.text().size()), 0);
    }
}

void User::type(Control& c, std::string_view chars)
{
    if (!c.can_focus()) throw ProgramError("cannot type into " + c.name());
    focus_by_mouse(c);
    if (Form* f = c.form()) activated_ = f;
    type(chars);
}

// Caret keys and Delete as the system's edit control handles them (the
// Win32 backend leaves these to the real control).
static bool edit_key(Edit& e, int key, ShiftState shift)
{
    if (!e.showing() || !e.enabled_in_tree()) return false;
    int n = static_cast<int>(e.text().size());
    int start = e.sel_start(), len = e.sel_length();
    int caret = start + len;  // the moving end, after the selection
    switch (key) {
        case keys::Left:
            caret = shift.shift ? caret - 1 : (len ? start : start - 1);
            break;
        case keys::Right:
            caret = shift.shift || !len ? caret + 1 : caret;
            break;
        case keys::Home:
            caret = 0;
            break;
        case keys::End:
            caret = n;
            break;
        case keys::Delete: {
            if (e.read_only() || (len == 0 && start >= n)) return true;
            std::string t = e.text();
            t.erase(static_cast<size_t>(start), static_cast<size_t>(len ? len : 1));
            e.set_text(t);
            e.set_selection(start, 0);
            if (e.on_change) e.on_change();
            return true;
        }
        default:
            return false;
    }
    caret = caret < 0 ? 0 : (caret > n ? n : caret);
    if (shift.shift) {
        int anchor = start;
        e.set_selection(caret < anchor ? caret : anchor, caret < anchor ? anchor - caret : caret - anchor);
    } else {
        e.set_selection(caret, 0);
    }
    return true;
}

// The character a key makes, as far as the tests need one: Tab, and without
// Alt: Ctrl+letter (its control code), Enter, Escape, Space and Backspace.
static char typed_char(int key, ShiftState shift)
{
    if (key == keys::Tab) return '\t';
    if (shift.alt) return 0;
    if (shift.ctrl) return key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 1) : 0;
    switch (key) {
        case keys::Return:
            return '\r';
        case keys::Escape:
            return '\x1b';
        case keys::Space:
            return ' ';
        case keys::Back:
            return '\b';
        default:
            return 0;
    }
}

void User::press(int key, ShiftState shift)
{
    Form* f = active_form();
    if (!f) throw ProgramError("key pressed, but no form is visible");
    bool taken = false;
    app().guard([&] { taken = f->press_shortcut(ShortCut{key, shift}); });
    if (!taken) {
        Control* target = key_target();
        // A form taking keys as characters lets no control see a character key.
        if (!(f->keys_as_characters() && character_key(key, shift))) {
            KeyEvent e{key, shift, false};
            app().guard([&] { taken = target->key_down(e); });
            if (!taken && target->kind() == ControlKind::Edit)
                taken = edit_key(static_cast<Edit&>(*target), key, shift);  // the field's own caret keys
        }
        if (const char c = taken ? 0 : typed_char(key, shift)) {
            const bool old = world().shift;
            world().shift = shift.shift;
            deliver_char(c);
            world().shift = old;
        }
    }
    app().run_posted();
}

void User::press(std::string_view sc)
{
    auto parsed = ShortCut::parse(sc);
    if (!parsed) throw ProgramError("not a key: " + std::string(sc));
    press(parsed->key, parsed->shift);
}

void User::click(Control& c)
{
    if (!c.showing() || !c.enabled_in_tree()) return;  // the user cannot reach it
    focus_by_mouse(c);
    if (Form* f = c.form()) activated_ = f;
    app().guard([&c] { c.click(); });
    app().run_posted();
}

void User::click_at(Control& c, Point at)
{
    if (!c.showing() || !c.enabled_in_tree()) return;
    focus_by_mouse(c);
    if (Form* f = c.form()) activated_ = f;
    const MouseEvent e{at, MouseButton::Left, {}};
    app().guard([&] {
        c.mouse_down(e);
        c.mouse_up(e);
        c.click();
    });
    app().run_posted();
}

void User::drag(Control& c, Point from, Point to, int steps)
{
    if (!c.showing() || !c.enabled_in_tree()) return;
    focus_by_mouse(c);
    app().guard([&] {
        c.mouse_down(MouseEvent{from, MouseButton::Left, {}});
        for (int i = 1; i <= steps; ++i) {
            const Point p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
            c.mouse_move(MouseEvent{p, MouseButton::None, {}});
        }
        c.mouse_up(MouseEvent{to, MouseButton::Left, {}});
    });
    app().run_posted();
}

void User::right_click(Control& c, Point at)
{
    if (!c.showing() || !c.enabled_in_tree()) return;
    focus_by_mouse(c);
    if (Form* f = c.form()) activated_ = f;
    const MouseEvent e{at, MouseButton::Right, {}};
    app().guard([&] {
        c.mouse_down(e);
        c.mouse_up(e);
        c.context_menu(at);
    });
    app().run_posted();
}

void User::dbl_click(Control& c)
{
    click(c);
    app().guard([&c] { c.dbl_click(); });
    app().run_posted();
}

void User::press_arrow(UpDown& u, UpDownButton b)
{
    app().guard([&] { u.press(b); });
    app().run_posted();
}

void User::select(ComboBox& c, int index)
{
    if (!c.showing() || !c.enabled_in_tree()) return;
    c.set_focus();
    app().guard([&] { c.select(index); });
    app().run_posted();
}

void User::select(ComboBox& c, std::string_view item)
{
    int i = c.index_of(item);
    if (i < 0) throw ProgramError("no item \"" + std::string(item) + "\" in " + c.name());
    select(c, i);
}

void User::select_tab(PageControl& p, int index)
{
    app().guard([&] { p.select_tab(index); });
    app().run_posted();
}

bool User::choose(MenuItem& item)
{
    if (!item.enabled_in_tree() || item.is_separator()) return false;
    app().guard([&] { item.click(); });
    app().run_posted();
    return true;
}

bool User::choose(Form& f, std::initializer_list<std::string_view> path)
{
    if (!f.menu()) return false;
    MenuItem* item = f.menu()->find_path(std::vector<std::string_view>(path));
    return item && choose(*item);
}

int User::run_posted()
{
    return app().run_posted();
}

RecordingCanvas User::paint(Control& c)
{
    RecordingCanvas canvas(Rect{0, 0, c.width(), c.height()});
    canvas.font = c.font();
    canvas.brush.color = c.color();
    c.paint(canvas);
    return canvas;
}

}  // namespace ui::headless

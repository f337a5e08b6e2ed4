// The scripted user of headless tests: acts on forms exactly as a person
// would (focus, type through key filters and the key preview, click, choose
// menu items or press their accelerators), answers modal things in advance
// (message boxes, file dialogs, modal forms) and moves the virtual clock.
// Anything unscripted that would wait for a person throws ui::ProgramError,
// which fails the test.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "ui/form.h"
#include "ui/headless/recording_canvas.h"
#include "ui/headless/world.h"
#include "ui/input.h"
#include "ui/up_down.h"

namespace ui {
class ComboBox;
class MenuItem;
class PageControl;
}  // namespace ui

namespace ui::headless {

class User {
 public:
    // Starts from a clean world: clock at 0, nothing scripted, logged or posted.
    User();
    User(const User&) = delete;
    User& operator=(const User&) = delete;

    World& world() { return World::instance(); }

    // --- keyboard ---
    // Gives c the focus from the keyboard (its form's on_exit/on_enter run), as
    // Tab would: an edit selects its whole text.
    void focus(Control& c);
    // Types characters into the focused control of the active form. Each one
    // goes through the form's key preview and the control's on_key_press, then
    // into the control. Enter ('\r') and Escape ('\x1b') first act as dialog
    // keys: Enter clicks a focused button or else the form's default button,
    // Escape its cancel button; only when none takes it does the character go
    // on. Tab ('\t') moves the focus unless the control wants tabs. Space
    // (' ') also presses a focused button, check box or radio button. A form
    // taking keys as characters (Form::keys_as_characters) does none of this.
    void type(std::string_view chars);
    // Clicks into the field first (focus, caret after the text, no on_click),
    // then types.
    void type(Control& c, std::string_view chars);
    // A key with modifiers: a menu accelerator of the active form wins;
    // otherwise key_down on the focused control; a Tab, Enter, Escape, Space,
    // Backspace or Ctrl+letter that nobody handled then arrives as its
    // character, as type() delivers it (Ctrl+C = 3). An edit moves its caret
    // with Left/Right/Home/End (Shift selects) and deletes with Delete, as the
    // system's edit control does. A form taking keys as characters gives no
    // control the key down of one that makes a character.
    void press(int key, ShiftState shift = {});
    // press() from the menu notation: press("Ctrl+Alt+S"), press("F1").
    void press(std::string_view shortcut);
    void hold_shift(bool down) { world().shift = down; }

    // --- mouse ---
    // A left click: focuses a focusable control (not tool buttons; an edit gets
    // its caret after the text), then clicks.
    void click(Control& c);
    // Windows order: the first click, then the double-click.
    void dbl_click(Control& c);
    // A right click at a point of the control: its context menu, where the
    // next popup_answers caption (or none: dismissed) is chosen.
    void right_click(Control& c, Point at = {});
    void choose_popup(std::string caption) { world().popup_answers.push_back(std::move(caption)); }
    // The left button at a point: down, up and the click, as a mouse gives them.
    void click_at(Control& c, Point at);
    // The left button down at from, moved to to in `steps` moves, released there
    // (no click: the pointer moved).
    void drag(Control& c, Point from, Point to, int steps = 4);
    // The wheel turned by notches (positive away from the user) over a point.
    void wheel(Control& c, Point at, int notches)
    {
        c.mouse_wheel(notches * 120, world().shift ? ShiftState{true} : ShiftState{}, at);
    }
    void hover(Control& c) { c.mouse_enter(); }
    void leave(Control& c) { c.mouse_leave(); }
    void press_arrow(UpDown& u, UpDownButton b);
    // Opens the list and picks an item (by index or by its text).
    void select(ComboBox& c, int index);
    void select(ComboBox& c, std::string_view item);
    void select_tab(PageControl& p, int index);
    // Chooses a menu item (false when the user could not: hidden or disabled).
    bool choose(MenuItem& item);
    // By caption path from the form's menu bar: choose(f, {"Rx", "Text", "Word wrap"}).
    bool choose(Form& f, std::initializer_list<std::string_view> path);
    // The close box (or Alt+F4).
    bool close(Form& f) { return f.close(); }
    void resize(Form& f, int client_width, int client_height) { f.user_resized(Size{client_width, client_height}); }

    // --- answers scripted in advance, used in order ---
    void answer_message_box(int mr_result) { world().message_box_answers.push_back(mr_result); }
    void pick_file(std::string path) { world().file_answers.emplace_back(std::move(path)); }
    void cancel_file_dialog() { world().file_answers.emplace_back(std::nullopt); }
    // Steps to run when the next modal form (named form, or any when empty)
    // shows; they must leave it closed.
    void in_modal(std::string form, std::function<void(Form&)> steps)
    {
        world().modal_steps.push_back(ModalStep{std::move(form), std::move(steps)});
    }

    // --- time and the queue ---
    // Moves the virtual clock: due timers fire in order, posted actions run.
    void wait(long long ms) { world().advance(ms); }
    // Runs what handlers posted (a posted click, a scroll request).
    int run_posted();

    // --- looking ---
    // Paints c into a recording canvas (clip = its whole client area).
    RecordingCanvas paint(Control& c);
    // The form keys go to: the innermost modal form, else the one activated
    // last and still visible, else the first visible form.
    Form* active_form() const;
    void activate(Form& f);

 private:
    void focus_by_mouse(Control& c);
    Control* key_target() const;
    bool dialog_key(char c);
    void deliver_char(char c);

    Form* activated_ = nullptr;
};

}  // namespace ui::headless

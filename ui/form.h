// Top-level windows: the main window, modal dialogs and modeless stay-on-top
// tool windows. A form tracks its focused control, runs the key preview and
// the close sequence (close query, close action), and hosts the main menu.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

class MainMenu;

enum class BorderStyle : std::uint8_t {
    Sizeable,  // resizable frame with caption
    Single,    // fixed frame with caption
    Dialog,    // fixed dialog frame with caption
    None,      // no frame, no caption
};
struct BorderIcons {
    bool system_menu = true;
    bool minimize = true;
    bool maximize = true;
};
enum class FormStyle : std::uint8_t { Normal, StayOnTop };
enum class Position : std::uint8_t {
    Designed,  // at left/top as set
    ScreenCenter,
    MainFormCenter,  // centred on the application's main form
    OwnerCenter,     // centred on the owner form (the main form when none)
};
enum class CloseAction : std::uint8_t { None, Hide, Free, Minimize };

// Modal results; a button's modal_result is copied to its form when clicked.
namespace mr {
inline constexpr int None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
}

class Form : public Control {
 public:
    // owner: the form this one is centred on and stays above; nullptr = main form.
    explicit Form(std::string name, Form* owner = nullptr);
    ~Form() override;

    Form* owner() const { return owner_; }
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }

    // The client area size; bounds() holds the screen position and this size.
    Size client_size() const { return Size{width(), height()}; }
    void set_client_size(int w, int h);
    // Smallest window (frame included) the user may size it to; 0 = no limit.
    Size min_window_size() const { return min_size_; }
    void set_min_window_size(int w, int h);
    // Largest window (frame included) the user may size it to; 0 = no limit.
    // A fixed height is the same height as minimum and maximum.
    Size max_window_size() const { return max_size_; }
    void set_max_window_size(int w, int h);

    // The window's outer rectangle (frame included) in its normal state; while
    // maximized, the place a restore goes back to. Fitting it to the screen is
    // the caller's part (screen_work_area in services.h).
    Rect normal_bounds() const;
    void set_normal_bounds(const Rect& r);
    bool maximized() const { return maximized_; }
    void set_maximized(bool m);

    BorderStyle border_style() const { return border_style_; }
    void set_border_style(BorderStyle s);
    BorderIcons border_icons() const { return border_icons_; }
    void set_border_icons(BorderIcons i);
    FormStyle form_style() const { return form_style_; }
    void set_form_style(FormStyle s);
    Position position() const { return position_; }
    void set_position(Position p) { position_ = p; }
    // The form sees typed characters and key downs before the focused control.
    bool key_preview() const { return key_preview_; }
    void set_key_preview(bool k) { key_preview_ = k; }
    // While on, a key that makes a character (character_key) is only that
    // character for the key preview: no control acts on the key (Tab moves no
    // focus, Space ticks no check box, Ctrl+A selects nothing) and no control
    // receives the character. Menu shortcuts, Alt and caret keys work as ever.
    bool keys_as_characters() const { return keys_as_characters_; }
    void set_keys_as_characters(bool on) { keys_as_characters_ = on; }

    MainMenu* menu() const { return menu_; }

    // Shows the form modelessly (fires on_show when it was hidden).
    void show();
    // Hides it without the close sequence (fires on_hide when it was shown).
    void hide() { hide_form(); }
    // Shows it modally: the owner is disabled and this returns once the form
    // closes, with its modal result (mr::Cancel when closed otherwise).
    int show_modal();
    bool modal() const { return modal_; }
    int modal_result() const { return modal_result_; }
    // A non-zero result closes a modal form (through close()).
    void set_modal_result(int r);
    // The close sequence: on_close_query may refuse; on_close picks the action
    // (default Hide; Free for the main form, which ends the application).
    // Returns false when refused. Same path as the close box and Alt+F4.
    bool close();

    // The control with the keyboard focus, or nullptr.
    Control* active_control() const { return active_; }
    // Next/previous tab-stop control after the active one (Tab / Shift+Tab).
    Control* next_tab_control(bool forward) const;

    // Events of a form (on_key_press/on_key_down from Control act as the key
    // preview when key_preview() is on, and as the form's own keys otherwise).
    std::function<void()> on_show;
    std::function<void()> on_hide;
    std::function<void(bool& can_close)> on_close_query;
    std::function<void(CloseAction& action)> on_close;
    std::function<void()> on_activate;
    std::function<void()> on_deactivate;

    // Backend/user entry points.
    // The focus moved to c (nullptr: to no control of this form); fires
    // on_exit of the previous control and on_enter of c, in that order.
    void focus_changed(Control* c);
    // The user resized the window to this client size.
    void user_resized(Size client);
    // The user maximized or restored the window (before its new bounds arrive).
    void user_maximized(bool m);
    // A key combination was pressed: runs the enabled menu item that carries it.
    // Returns true when one did.
    bool press_shortcut(const ShortCut& sc);
    void activated();
    void deactivated();

    bool focusable() const override { return true; }

 private:
    friend class MainMenu;
    friend class Control;
    void hide_form();
    // A control is going away: forget it without firing anything.
    void forget(Control* c)
    {
        if (active_ == c) active_ = nullptr;
    }

    Form* owner_;
    MainMenu* menu_ = nullptr;
    Control* active_ = nullptr;
    Size min_size_;
    Size max_size_;
    BorderStyle border_style_ = BorderStyle::Sizeable;
    BorderIcons border_icons_;
    FormStyle form_style_ = FormStyle::Normal;
    Position position_ = Position::Designed;
    bool key_preview_ = false;
    bool keys_as_characters_ = false;
    bool modal_ = false;
    int modal_result_ = mr::None;
    bool maximized_ = false;
    Rect restore_;  // normal_bounds() while maximized
};

}  // namespace ui

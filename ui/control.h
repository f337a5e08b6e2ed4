// Base of every control and form: its own state (bounds, visibility, enabled,
// text, colour, font), the common events, and the user-action methods that
// backends and the headless user call. The state here is the single truth.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/backend.h"
#include "ui/canvas.h"
#include "ui/color.h"
#include "ui/font.h"
#include "ui/geometry.h"
#include "ui/input.h"

namespace ui {

class Form;

// How a control follows its parent's size. Align wins over anchors.
enum class Align : std::uint8_t { None, Top, Bottom, Left, Right, Client };
struct Anchors {
    bool left = true, top = true, right = false, bottom = false;
};
enum class Cursor : std::uint8_t { Default, Hand, IBeam };

// Rules shared by every control (each header adds its own):
// - Setters never fire events. Events fire for what the user does and for the
//   action methods (click(), key_press(), close(), ...), which act exactly as
//   the user would. The one exception is focus: set_focus() fires on_exit of
//   the old and on_enter of the new control, as Windows does.
// - Actions on a disabled or hidden control do nothing (the user cannot reach it).
// - Child controls are members of their form: constructed after their parent,
//   destroyed before it. A parent never owns its children.
class Control {
 public:
    Control(Control* parent, std::string name, ControlKind kind);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    // The top-level form this control sits on (itself for a form).
    Form* form();
    const Form* form() const;
    // A descendant (any depth) by name, or nullptr.
    Control* find(std::string_view name);

    // Geometry, in the parent's client coordinates (a form: screen position and
    // client size). Changing the size lays out the children and fires on_resize.
    const Rect& bounds() const { return bounds_; }
    void set_bounds(const Rect& r);
    void set_bounds(int left, int top, int width, int height) { set_bounds(Rect::from_size(left, top, width, height)); }
    int left() const { return bounds_.left; }
    int top() const { return bounds_.top; }
    int width() const { return bounds_.width(); }
    int height() const { return bounds_.height(); }
    void set_width(int w) { set_bounds(bounds_.left, bounds_.top, w, bounds_.height()); }
    void set_height(int h) { set_bounds(bounds_.left, bounds_.top, bounds_.width(), h); }
    // The area children are laid out in (own coordinates); containers with a
    // frame or tabs inset it.
    virtual Rect client_rect() const { return Rect{0, 0, width(), height()}; }
    Align align() const { return align_; }
    void set_align(Align a);
    Anchors anchors() const { return anchors_; }
    void set_anchors(Anchors a) { anchors_ = a; }
    // Lays out aligned and anchored children after a size change (from old size).
    void realign(Size old_client);

    bool visible() const { return visible_; }
    void set_visible(bool v);
    void show() { set_visible(true); }
    void hide() { set_visible(false); }
    // Visible with every parent up to a visible form.
    bool showing() const;
    bool enabled() const { return enabled_; }
    void set_enabled(bool e);
    // Enabled with every parent.
    bool enabled_in_tree() const;

    // Caption of labels, buttons, forms; content of edits and combo boxes.
    const std::string& text() const { return text_; }
    void set_text(std::string t);

    Color color() const { return color_; }
    void set_color(Color c);
    // The font in use: own, or the parent's while parent_font is set.
    const Font& font() const;
    void set_font(const Font& f);  // clears parent_font
    bool parent_font() const { return parent_font_; }

    Cursor cursor() const { return cursor_; }
    void set_cursor(Cursor c);
    bool double_buffered() const { return double_buffered_; }
    void set_double_buffered(bool d) { double_buffered_ = d; }
    bool tab_stop() const { return tab_stop_; }
    void set_tab_stop(bool t) { tab_stop_ = t; }

    // Focus. focusable() is true for kinds that take the keyboard.
    virtual bool focusable() const { return false; }
    // True when Tab is typed into the control instead of moving the focus.
    virtual bool wants_tab() const { return false; }
    bool can_focus() const { return focusable() && showing() && enabled_in_tree(); }
    bool focused() const;
    // Moves the focus here (fires on_exit/on_enter); false when it cannot.
    bool set_focus();

    // Events. Handlers may destroy nothing they are called from.
    std::function<void()> on_click;
    std::function<void()> on_dbl_click;
    std::function<void()> on_enter;  // got the focus
    std::function<void()> on_exit;   // lost the focus
    std::function<void()> on_resize;
    std::function<void()> on_mouse_enter;
    std::function<void()> on_mouse_leave;
    // A typed character; set it to 0 to discard it or change it to replace it.
    std::function<void(char& key)> on_key_press;
    std::function<void(KeyEvent&)> on_key_down;
    std::function<void(KeyEvent&)> on_key_up;
    std::function<void(const MouseEvent&)> on_mouse_down;
    std::function<void(const MouseEvent&)> on_mouse_up;
    std::function<void(const MouseEvent&)> on_mouse_move;
    // The wheel turned by delta over the point at (client coordinates), after
    // the control's own wheel handling.
    std::function<void(int delta, Point at)> on_mouse_wheel;

    // User actions (backends map notifications onto these; the headless user
    // calls them). Each checks enabled/showing, changes state, then fires.
    virtual void click();
    void dbl_click();
    // A typed character passes the form's key preview (when on), then this
    // control's on_key_press. Returns what the control receives, 0 = discarded.
    char key_press(char key);
    // Same path for a key going down: form preview, on_key_down, then the
    // control's own handling (handle_key_down). Returns true when handled.
    bool key_down(KeyEvent& e);
    void key_up(KeyEvent& e);
    // What the control itself does with a character that got through key_press
    // (an edit inserts it). The Win32 backend lets the real control do this.
    virtual void handle_char(char) {}
    void mouse_down(const MouseEvent& e);
    void mouse_up(const MouseEvent& e);
    void mouse_move(const MouseEvent& e);
    void mouse_enter();
    void mouse_leave();
    // The wheel turned by delta (120 per notch, positive away from the user)
    // with the pointer at `at` in client coordinates.
    void mouse_wheel(int delta, ShiftState shift, Point at = {});
    // The user asked for the control's context menu (right click, menu key) at
    // a point of its client area.
    void context_menu(Point at);
    // Paints the control (owner-drawn kinds: paint box, text view, grid, ...).
    virtual void paint(Canvas&) {}

    // Repaint later (backend); no-op headless.
    void invalidate();
    void invalidate(const Rect& area);
    void update();

    // Backend seam.
    Peer* peer() const { return peer_.get(); }
    // Makes the peer of this control and its descendants if not made yet
    // (Form::show does this; a control added to a shown form calls it).
    void ensure_peer();
    // Drops the peers of this control and its descendants (children first).
    void release_peer();

 protected:
    void sync(Prop what, int index = -1)
    {
        if (peer_) peer_->sync(what, index);
    }
    virtual bool handle_key_down(KeyEvent&) { return false; }
    virtual void handle_mouse_down(const MouseEvent&) {}
    virtual void handle_mouse_up(const MouseEvent&) {}
    virtual void handle_mouse_move(const MouseEvent&) {}
    virtual void handle_mouse_wheel(int /*delta*/, ShiftState) {}
    virtual void handle_context_menu(Point) {}
    // Called just before on_enter (got = true) or on_exit (false).
    virtual void handle_focus(bool /*got*/) {}
    // Fires on_click when set (the shared tail of every click()).
    void fire_click()
    {
        if (on_click) on_click();
    }
    bool reachable() const { return showing() && enabled_in_tree(); }

 private:
    friend class Form;
    void add_child(Control* c) { children_.push_back(c); }
    void remove_child(Control* c);

    Control* parent_;
    std::string name_;
    ControlKind kind_;
    std::vector<Control*> children_;
    Rect bounds_;
    Align align_ = Align::None;
    Anchors anchors_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    Color color_ = colors::btn_face;
    Font font_;
    bool parent_font_ = true;
    Cursor cursor_ = Cursor::Default;
    bool double_buffered_ = false;
    bool tab_stop_ = true;
    std::unique_ptr<Peer> peer_;
};

// A control of the given type by name below root; nullptr when absent or of
// another type.
template <class T>
T* find_as(Control& root, std::string_view name)
{
    return dynamic_cast<T*>(root.find(name));
}

}  // namespace ui

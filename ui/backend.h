// The seam between the portable controls and a backend. A control owns a Peer
// made by make_peer(); its setters call peer->sync(what) and the Win32 peer
// mirrors that state into its HWND. The headless backend makes no peers at all.
// Backends report user actions back through the controls' public action
// methods (click(), key_press(), ...), never by touching their state directly.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/geometry.h"

namespace ui {

class Control;
class Form;
class Timer;
class Bitmap;
class Canvas;

// What a control is, so a backend factory knows what to build.
enum class ControlKind : std::uint8_t {
    Form,
    Panel,
    GroupBox,
    Label,
    StaticText,
    Edit,
    Button,
    CheckBox,
    RadioButton,
    ComboBox,
    UpDown,
    Bevel,
    Shape,
    Image,
    PaintBox,
    ToolBar,
    ToolButton,
    PageControl,
    TabSheet,
    StatusBar,
    TextView,
    DrawGrid,
    Custom
};

// Which part of a control's state changed. index narrows it where a control
// holds a list (a combo item, a status panel, a menu item's id); -1 = all.
enum class Prop : std::uint8_t {
    All,     // everything (after the peer was made)
    Bounds,  // position and size (for a Form: client size and position)
    Visible,
    Enabled,
    Text,  // caption or content
    Font,
    Color,
    Checked,    // check box, radio button, tool button down state
    Items,      // combo box items (index: the changed item, -1 = the whole list)
    ItemIndex,  // combo box selection, page control active page
    ReadOnly,
    Selection,  // edit caret and selection
    Position,   // up-down position, range or associate
    Panels,     // status bar panels (index: the panel)
    Menu,       // form's main menu (index: the changed item's id, -1 = all)
    Style,      // border, form style, alignment, bevels, images: anything else
    Picture,    // image control's bitmap, tool button glyph
    Cursor,
    Custom,       // text view / draw grid state; their peers know what to re-read
    WindowState,  // a form's maximized state, or its normal place while maximized
};

// A peer is destroyed while its control is being destroyed (derived parts
// already gone): its destructor and anything the OS sends it then must not
// call back into the control (unhook the HWND's user data first).
class Peer {
 public:
    virtual ~Peer() = default;
    virtual void sync(Prop what, int index) = 0;
    // Repaint area (client coordinates) later; nullptr means the whole control.
    virtual void invalidate(const Rect* area) = 0;
    // Paint what is invalid now instead of waiting for the loop.
    virtual void update() {}
    virtual void set_focus() = 0;
};

class TimerPeer {
 public:
    virtual ~TimerPeer() = default;
    // The timer's enabled state or interval changed: (re)start or stop counting.
    virtual void restart() = 0;
};

// Supplied by exactly one backend (win32/ or headless/).
namespace backend {
// nullptr is a valid answer: the control then lives as state only.
std::unique_ptr<Peer> make_peer(Control& control);
std::unique_ptr<TimerPeer> make_timer_peer(Timer& timer);
// Runs the message loop until Application::terminate().
void run_loop();
// Runs a nested loop until the modal form closes (form.modal_result() != 0 or
// it is hidden). The portable Form::show_modal() calls it between show and hide.
void run_modal(Form& form);
// Wakes the loop so it runs Application's posted actions soon.
void wake();
// A canvas drawing into a bitmap (the bitmap's pixels are updated when the
// canvas is destroyed).
std::unique_ptr<Canvas> bitmap_canvas(Bitmap& bmp);
// RGB of a system colour index (Windows COLOR_*).
std::uint32_t sys_color(int index);
// How much wider and higher a form's window is than its client area (its
// frame, caption and menu bar); headless, a classic frame's.
Size form_frame(const Form& form);
}  // namespace backend

}  // namespace ui

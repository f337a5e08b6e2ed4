// The base of every Win32 peer: one HWND per control, its state mirrored from
// the control, and the system's notifications turned back into control actions.
// A stock control is subclassed; our own classes use window_class_proc. Either
// way the peer sits in the window's user data.
#pragma once

#include <windows.h>

#include "ui/backend.h"
#include "ui/control.h"
#include "ui/win32/win32_util.h"

namespace ui::win32 {

class WindowPeer : public Peer {
 public:
    explicit WindowPeer(Control& c) : control_(c) {}
    ~WindowPeer() override;
    WindowPeer(const WindowPeer&) = delete;
    WindowPeer& operator=(const WindowPeer&) = delete;

    Control& control() const { return control_; }
    HWND hwnd() const { return hwnd_; }

    void sync(Prop what, int index) override;
    void invalidate(const Rect* area) override;
    void update() override;
    void set_focus() override;

    // Notifications the parent window passes on to the control they concern.
    virtual bool on_command(int /*code*/) { return false; }
    virtual bool on_notify(NMHDR* /*hdr*/, LRESULT& /*result*/) { return false; }
    // WM_CTLCOLOR*: a brush for the background, or nullptr for the default.
    virtual HBRUSH on_ctl_color(HDC dc);
    // WM_DRAWITEM of an owner-drawn control; false when it draws nothing itself.
    virtual bool on_draw_item(const DRAWITEMSTRUCT& /*dis*/) { return false; }

    // Every message of the window; true when it was answered in result.
    virtual bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The default processing (the stock control's procedure or DefWindowProc).
    LRESULT call_default(UINT msg, WPARAM wp, LPARAM lp);

    // Procedure of our own window classes: creates nothing, finds the peer
    // through the creation parameter, then through the user data.
    static LRESULT CALLBACK window_class_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    // Registers one of our classes (CS_DBLCLKS, arrow cursor, no background).
    static const char* register_class(const char* name, UINT style = 0);

 protected:
    // Makes the window as a child of the nearest ancestor with a window, with
    // the control's bounds, and sets its font, text, visibility and enabled state.
    void create(const char* cls, DWORD style, DWORD ex_style = 0);
    // For top-level windows and for windows made by a subclass itself.
    void attach(HWND w);
    // Lets go of the window without destroying it (one the system owns).
    void release_window();
    // Kinds that own more state sync it here (Prop::All included).
    virtual void sync_more(Prop /*what*/, int /*index*/) {}
    // The window of the nearest ancestor that has one.
    HWND parent_hwnd() const;
    // Keys: the character path of the key filter; mouse: the control's events.
    bool handle_char(WPARAM& wp);
    // Whether WM_CHAR reaches the key filter (true for controls taking text).
    virtual bool filters_chars() const { return control_.focusable(); }
    // Answered by paint-only windows: fills the background and calls paint().
    void paint_control();
    // Drawn over paint() in the same off-screen pass (frames, captions).
    virtual void paint_over(HDC /*dc*/, const RECT& /*client*/) {}

    bool syncing_ = false;  // set while the peer itself moves or changes the window

 private:
    friend LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM);
    Control& control_;
    HWND hwnd_ = nullptr;
    WNDPROC old_proc_ = nullptr;
    bool mouse_inside_ = false;
};

// Passes WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM and an owner-drawn
// combo box's WM_MEASUREITEM from a container to the peer of the child
// control they come from. True when one answered.
bool reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

}  // namespace ui::win32

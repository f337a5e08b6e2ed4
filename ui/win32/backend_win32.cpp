// The Win32 side of the seam: the message loop with its keyboard
// pre-processing (accelerators, key preview, Tab/Enter/Escape), modal loops
// and the hidden window that runs posted actions and timers.
#include "ui/application.h"
#include "ui/backend.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/win32/win32_util.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {

constexpr UINT kRunPosted = WM_APP + 1;
bool g_wake_pending = false;

LRESULT CALLBACK service_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kRunPosted) {
        g_wake_pending = false;
        dispatch([] { app().run_posted(); });
        return 0;
    }
    if (msg == WM_TIMER) {
        run_timer(wp);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

ShiftState shift_now()
{
    return ShiftState{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

// The control a key message is for: the window's own, or its parent's for
// the inner windows of a combo box.
Control* control_for(HWND w, Form& form)
{
    for (HWND h = w; h; h = GetParent(h)) {
        if (WindowPeer* p = peer_of(h)) return &p->control();
        if (!(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) break;
    }
    return &form;
}

Button* find_button(Control& root, bool want_default)
{
    for (Control* c : root.children()) {
        if (c->kind() == ControlKind::Button && c->showing() && c->enabled_in_tree()) {
            auto* b = static_cast<Button*>(c);
            if (want_default ? b->is_default() : b->is_cancel()) return b;
        }
        if (Button* b = find_button(*c, want_default)) return b;
    }
    return nullptr;
}

bool combo_dropped(Control* c)
{
    if (!c || c->kind() != ControlKind::ComboBox) return false;
    auto* p = dynamic_cast<WindowPeer*>(c->peer());
    return p && SendMessageA(p->hwnd(), CB_GETDROPPEDSTATE, 0, 0);
}

// What Windows dialogs do with Tab, Enter and Escape, done on our state.
bool dialog_key(Form& form, Control* target, int vk, ShiftState s)
{
    if (s.ctrl || s.alt) return false;
    if (vk == VK_TAB) {
        if (target && target->wants_tab()) return false;
        Control* next = form.next_tab_control(!s.shift);
        if (next) dispatch([next] { next->set_focus(); });
        return next != nullptr;
    }
    if ((vk == VK_RETURN || vk == VK_ESCAPE) && combo_dropped(target)) return false;
    Button* b = nullptr;
    if (vk == VK_RETURN)
        b = target && target->kind() == ControlKind::Button ? static_cast<Button*>(target) : find_button(form, true);
    if (vk == VK_ESCAPE) b = find_button(form, false);
    if (!b) return false;
    dispatch([b] { b->click(); });
    return true;
}

// Keyboard messages before translation; true when they were used up (or
// translated here).
bool pre_translate(const MSG& m)
{
    bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
    bool up = m.message == WM_KEYUP || m.message == WM_SYSKEYUP;
    if (!down && !up) return false;
    Form* form = form_of(m.hwnd);
    if (!form) return false;
    int vk = static_cast<int>(m.wParam);
    Control* target = control_for(m.hwnd, *form);
    ShiftState s = shift_now();
    if (up) {
        KeyEvent e{vk, s, false};
        dispatch([&] { target->key_up(e); });
        return false;
    }
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) return false;
    bool used = false;
    dispatch([&] { used = form->press_shortcut(ShortCut{vk, s}); });
    if (used) return true;
    if (form->keys_as_characters() && character_key(vk, s)) {
        // Its character alone goes on (to the key preview); the control never
        // sees the key, so a check box cannot take Space nor the dialog keys Tab.
        TranslateMessage(&m);
        return true;
    }
    KeyEvent e{vk, s, false};
    dispatch([&] { used = target->key_down(e); });
    if (used) return true;
    return dialog_key(*form, target, vk, s);
}

void pump_until(const std::function<bool()>& done)
{
    MSG msg;
    while (!done()) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            app().terminate();
            return;
        }
        if (!pre_translate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        rethrow_pending();
    }
}

}  // namespace

HWND service_window()
{
    static HWND w = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = service_proc;
        wc.hInstance = instance();
        wc.lpszClassName = "OlvexService";
        RegisterClassA(&wc);
        return CreateWindowA("OlvexService", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance(), nullptr);
    }();
    return w;
}

}  // namespace ui::win32

namespace ui::backend {

void run_loop()
{
    win32::pump_until([] { return app().terminated(); });
}

// The form's peer disabled the other forms when it appeared and enables them
// again when it hides, after this returns.
void run_modal(Form& form)
{
    win32::pump_until([&] { return form.modal_result() != mr::None || !form.visible() || app().terminated(); });
}

void wake()
{
    if (win32::g_wake_pending) return;
    win32::g_wake_pending = true;
    PostMessageA(win32::service_window(), win32::kRunPosted, 0, 0);
}

std::uint32_t sys_color(int index)
{
    return GetSysColor(index);
}

}  // namespace ui::backend

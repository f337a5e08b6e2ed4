// The common half of every Win32 peer: creation, subclassing, state mirroring,
// the key filter, focus, mouse events and notification reflection.
#include "ui/win32/window_peer.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "ui/form.h"
#include "ui/win32/gdi_canvas.h"
#include "ui/win32/gdi_handle.h"

namespace ui::win32 {

namespace {

int g_next_id = 1000;  // below are menu command ids

ShiftState shift_now()
{
    return ShiftState{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

MouseEvent mouse_event(UINT msg, LPARAM lp)
{
    MouseEvent e;
    e.pos = Point{unscale(GET_X_LPARAM(lp)), unscale(GET_Y_LPARAM(lp))};
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            e.button = MouseButton::Left;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            e.button = MouseButton::Right;
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            e.button = MouseButton::Middle;
            break;
        default:
            break;
    }
    e.shift = shift_now();
    return e;
}

// The dialog manager's marks of a radio group (the radio buttons of one
// parent): its first button starts the group and is its one Tab stop, and the
// first control after a radio button starts a group of its own.
DWORD group_style(const Control& c, DWORD style)
{
    const Control* parent = c.parent();
    if (!parent) return style;
    const std::vector<Control*>& siblings = parent->children();
    const auto at = std::find(siblings.begin(), siblings.end(), &c);
    const auto is_radio = [](const Control* s) { return s->kind() == ControlKind::RadioButton; };
    if (is_radio(&c))
        return std::none_of(siblings.begin(), at, is_radio) ? style | WS_GROUP | WS_TABSTOP : style & ~WS_TABSTOP;
    return at != siblings.begin() && is_radio(*(at - 1)) ? style | WS_GROUP : style;
}

}  // namespace

LRESULT CALLBACK subclass_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    WindowPeer* p = peer_of(w);
    if (!p) return DefWindowProcA(w, msg, wp, lp);
    LRESULT result = 0;
    if (p->on_message(msg, wp, lp, result)) return result;
    return p->call_default(msg, wp, lp);
}

LRESULT CALLBACK WindowPeer::window_class_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* p = static_cast<WindowPeer*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        if (p) {
            p->hwnd_ = w;
            SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(p));
            register_peer(p, true);
        }
    }
    WindowPeer* p = peer_of(w);
    if (!p) return DefWindowProcA(w, msg, wp, lp);
    LRESULT result = 0;
    if (p->on_message(msg, wp, lp, result)) return result;
    return p->call_default(msg, wp, lp);
}

const char* WindowPeer::register_class(const char* name, UINT style)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance(), name, &wc)) return name;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | style;
    wc.lpfnWndProc = window_class_proc;
    wc.hInstance = instance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
    return name;
}

WindowPeer::~WindowPeer()
{
    HWND w = hwnd_;
    release_window();
    if (w) DestroyWindow(w);
}

void WindowPeer::release_window()
{
    if (!hwnd_) return;
    register_peer(this, false);
    if (old_proc_) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc_));
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    old_proc_ = nullptr;
    hwnd_ = nullptr;
}

HWND WindowPeer::parent_hwnd() const
{
    for (Control* c = control_.parent(); c; c = c->parent())
        if (auto* p = dynamic_cast<WindowPeer*>(c->peer()); p && p->hwnd_) return p->hwnd_;
    return nullptr;
}

void WindowPeer::create(const char* cls, DWORD style, DWORD ex_style)
{
    init_common_controls();
    RECT r = to_device(control_.bounds());
    style = group_style(control_, style | WS_CHILD | WS_CLIPSIBLINGS);
    HWND w = CreateWindowExA(ex_style, cls, control_.text().c_str(), style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, parent_hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(g_next_id++)), instance(), this);
    attach(w);
}

void WindowPeer::attach(HWND w)
{
    hwnd_ = w;
    if (!w) return;
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    register_peer(this, true);
    auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
    if (proc != window_class_proc)
        old_proc_ =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass_proc)));
}

LRESULT WindowPeer::call_default(UINT msg, WPARAM wp, LPARAM lp)
{
    return old_proc_ ? CallWindowProcA(old_proc_, hwnd_, msg, wp, lp) : DefWindowProcA(hwnd_, msg, wp, lp);
}

void WindowPeer::sync(Prop what, int index)
{
    if (!hwnd_) return;
    bool all = what == Prop::All;
    syncing_ = true;
    if (all || what == Prop::Bounds) {
        RECT r = to_device(control_.bounds());
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (all || what == Prop::Font)
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(window_font(control_.font())), TRUE);
    if (all || what == Prop::Text) {
        char now[1024] = {};
        GetWindowTextA(hwnd_, now, sizeof now);
        if (control_.text().size() >= sizeof now - 1 || control_.text() != now)
            SetWindowTextA(hwnd_, control_.text().c_str());
    }
    if (all || what == Prop::Enabled) EnableWindow(hwnd_, control_.enabled());
    if (all || what == Prop::Visible) ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
    if (what == Prop::Color) InvalidateRect(hwnd_, nullptr, TRUE);
    sync_more(what, index);
    syncing_ = false;
}

void WindowPeer::invalidate(const Rect* area)
{
    if (!hwnd_) return;
    if (area) {
        RECT r = to_device(*area);
        InvalidateRect(hwnd_, &r, TRUE);
    } else {
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void WindowPeer::update()
{
    if (hwnd_) UpdateWindow(hwnd_);
}

void WindowPeer::set_focus()
{
    if (hwnd_ && GetFocus() != hwnd_) SetFocus(hwnd_);
}

HBRUSH WindowPeer::on_ctl_color(HDC dc)
{
    SetTextColor(dc, colorref(control_.font().color));
    SetBkColor(dc, colorref(control_.color()));
    return brush(control_.color());
}

bool WindowPeer::handle_char(WPARAM& wp)
{
    char key = static_cast<char>(wp);
    char out = key;
    dispatch([&] { out = control_.key_press(key); });
    if (out == 0) return false;
    wp = static_cast<unsigned char>(out);
    return true;
}

void WindowPeer::paint_control()
{
    PaintDc screen(hwnd_);
    const RECT& area = screen.area();
    RECT client;
    GetClientRect(hwnd_, &client);
    // Painted off screen and copied once, so repaints do not flicker.
    MemoryDc mem(screen.get());
    GdiObject<HBITMAP> bmp(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    Selection selected(mem.get(), bmp.get());
    Control* back = control_.parent() ? control_.parent() : &control_;
    FillRect(mem.get(), &client, brush(control_.kind() == ControlKind::Panel ? control_.color() : back->color()));
    {
        GdiCanvas canvas(mem.get(), from_device(area));
        canvas.font = control_.font();
        dispatch([&] { control_.paint(canvas); });
    }
    paint_over(mem.get(), client);
    BitBlt(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, mem.get(), area.left,
           area.top, SRCCOPY);
}

bool WindowPeer::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
            return reflect(msg, wp, lp, result);
        case WM_CHAR:
            if (!filters_chars()) return false;
            if (!handle_char(wp)) return result = 0, true;
            result = call_default(msg, wp, lp);
            return true;
        case WM_SETFOCUS:
            result = call_default(msg, wp, lp);
            if (control_.focusable() && control_.kind() != ControlKind::Form)
                if (Form* f = control_.form()) dispatch([&] { f->focus_changed(&control_); });
            return true;
        case WM_LBUTTONDBLCLK:
            result = call_default(msg, wp, lp);
            dispatch([&] { control_.dbl_click(); });
            return true;
        case WM_MOUSEMOVE:
            if (!mouse_inside_) {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
                TrackMouseEvent(&t);
                mouse_inside_ = true;
                dispatch([&] { control_.mouse_enter(); });
            }
            dispatch([&] { control_.mouse_move(mouse_event(msg, lp)); });
            return false;
        case WM_MOUSELEAVE:
            mouse_inside_ = false;
            dispatch([&] { control_.mouse_leave(); });
            return false;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            dispatch([&] { control_.mouse_down(mouse_event(msg, lp)); });
            return false;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            dispatch([&] { control_.mouse_up(mouse_event(msg, lp)); });
            return false;
        case WM_SETCURSOR:
            if (control_.cursor() == Cursor::Hand && LOWORD(lp) == HTCLIENT) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
                return result = TRUE, true;
            }
            return false;
        default:
            return false;
    }
}

bool reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
        case WM_COMMAND:
            if (WindowPeer* p = peer_of(reinterpret_cast<HWND>(lp))) {
                result = 0;
                return p->on_command(HIWORD(wp));
            }
            return false;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lp);
            if (WindowPeer* p = peer_of(hdr->hwndFrom)) return p->on_notify(hdr, result);
            return false;
        }
        case WM_DRAWITEM: {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (WindowPeer* p = peer_of(dis->hwndItem))
                if (p->on_draw_item(*dis)) return result = TRUE, true;
            return false;
        }
        case WM_MEASUREITEM: {
            // Sent while the combo box is being made, before it has a peer:
            // its rows are as high as a stock combo box's with the dialog font.
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (mis->CtlType != ODT_COMBOBOX) return false;
            mis->itemHeight = static_cast<UINT>(scale(15));
            return result = TRUE, true;
        }
        default:
            if (WindowPeer* p = peer_of(reinterpret_cast<HWND>(lp))) {
                HBRUSH b = p->on_ctl_color(reinterpret_cast<HDC>(wp));
                if (!b) return false;
                result = reinterpret_cast<LRESULT>(b);
                return true;
            }
            return false;
    }
}

}  // namespace ui::win32

// The peer of a Form (form.h): frame styles, placement, the close sequence,
// focus restoring on activation, and the main menu (menu_win32.cpp) it shows.
#include "ui/win32/form_win32.h"

#include <dbt.h>
#include <windowsx.h>

#include "ui/application.h"
#include "ui/menu.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

FormPeer::FormPeer(Form& f) : WindowPeer(f)
{
    init_common_controls();
    register_class("OlvexForm");
    HWND owner = nullptr;
    Form* o = f.owner() ? f.owner() : (app().main_form() != &f ? app().main_form() : nullptr);
    if (o)
        if (auto* p = dynamic_cast<WindowPeer*>(o->peer())) owner = p->hwnd();
    os_change_ = true;  // the creation's own WM_SIZE/WM_MOVE are not the user's
    HWND w = CreateWindowExA(ex_style(), "OlvexForm", f.caption().c_str(), style(), CW_USEDEFAULT, CW_USEDEFAULT, 100,
                             100, owner, nullptr, instance(), static_cast<WindowPeer*>(this));
    attach(w);
    os_change_ = false;
}

FormPeer::~FormPeer()
{
    if (hwnd()) SetMenu(hwnd(), nullptr);  // menu_bar_ then destroys it
}

DWORD FormPeer::style() const
{
    const Form& f = form();
    DWORD s = WS_CLIPCHILDREN;
    switch (f.border_style()) {
        case BorderStyle::Sizeable:
            s |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
            break;
        case BorderStyle::Single:
            s |= WS_OVERLAPPED | WS_CAPTION | WS_BORDER;
            break;
        case BorderStyle::Dialog:
            s |= WS_OVERLAPPED | WS_CAPTION | DS_MODALFRAME;
            break;
        case BorderStyle::None:
            return s | WS_POPUP;
    }
    BorderIcons i = f.border_icons();
    if (i.system_menu) s |= WS_SYSMENU;
    if (i.system_menu && i.minimize && f.border_style() != BorderStyle::Dialog) s |= WS_MINIMIZEBOX;
    if (i.system_menu && i.maximize && f.border_style() == BorderStyle::Sizeable) s |= WS_MAXIMIZEBOX;
    return s;
}

DWORD FormPeer::ex_style() const
{
    const Form& f = form();
    DWORD ex = WS_EX_CONTROLPARENT;
    if (f.border_style() == BorderStyle::Dialog) ex |= WS_EX_DLGMODALFRAME;
    if (f.form_style() == FormStyle::StayOnTop) ex |= WS_EX_TOPMOST;
    if (app().main_form() == &f) ex |= WS_EX_APPWINDOW;
    return ex;
}

void FormPeer::apply_client_size()
{
    const Form& f = form();
    RECT r{0, 0, scale(f.width()), scale(f.height())};
    AdjustWindowRectEx(&r, style(), GetMenu(hwnd()) != nullptr, ex_style());
    os_change_ = true;
    SetWindowPos(hwnd(), nullptr, scale(f.left()), scale(f.top()), r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    os_change_ = false;
}

Size FormPeer::frame() const
{
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style(), GetMenu(hwnd()) != nullptr, ex_style());
    return Size{unscale(r.right - r.left), unscale(r.bottom - r.top)};
}

// The form's bounds from what the system made of the window.
void FormPeer::read_back_bounds()
{
    RECT win, client;
    GetWindowRect(hwnd(), &win);
    GetClientRect(hwnd(), &client);
    os_change_ = true;
    form().set_bounds(unscale(win.left), unscale(win.top), unscale(client.right), unscale(client.bottom));
    os_change_ = false;
}

// Maximizes or restores a shown window; a hidden one takes its state when shown.
void FormPeer::apply_window_state()
{
    if (!IsWindowVisible(hwnd())) return;
    Form& f = form();
    os_change_ = true;
    if (IsZoomed(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    if (f.maximized()) {
        // The place a restore goes back to is the normal one the form holds.
        const Rect r = f.normal_bounds();
        SetWindowPos(hwnd(), nullptr, scale(r.left), scale(r.top), scale(r.width()), scale(r.height()),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(hwnd(), SW_MAXIMIZE);
    }
    os_change_ = false;
    read_back_bounds();
}

// Centres the window as its Position asks, and writes the place back.
void FormPeer::place()
{
    Form& f = form();
    RECT win;
    GetWindowRect(hwnd(), &win);
    int w = win.right - win.left, h = win.bottom - win.top;
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT around = area;
    if (f.position() == Position::Designed) return;
    if (f.position() != Position::ScreenCenter) {
        Form* o = f.position() == Position::OwnerCenter && f.owner() ? f.owner() : app().main_form();
        auto* p = o && o != &f ? dynamic_cast<WindowPeer*>(o->peer()) : nullptr;
        if (p && IsWindowVisible(p->hwnd())) GetWindowRect(p->hwnd(), &around);
    }
    int x = (around.left + around.right - w) / 2, y = (around.top + around.bottom - h) / 2;
    x = std::max<int>(area.left, std::min<int>(x, area.right - w));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - h));
    os_change_ = true;
    SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    f.set_bounds(Rect::from_size(unscale(x), unscale(y), f.width(), f.height()));
    os_change_ = false;
}

void FormPeer::sync(Prop what, int index)
{
    if (!hwnd()) return;
    Form& f = form();
    switch (what) {
        case Prop::All:
            build_menu();
            SetWindowTextA(hwnd(), f.caption().c_str());
            apply_client_size();
            EnableWindow(hwnd(), f.enabled());
            InvalidateRect(hwnd(), nullptr, TRUE);
            if (f.visible()) sync(Prop::Visible, -1);
            return;
        case Prop::Bounds:
            if (!os_change_) apply_client_size();
            return;
        case Prop::Visible:
            if (f.visible()) {
                // A modal form disables every other shown form (as the VCL does)
                // before it appears, so no click can reach them in between.
                if (f.modal())
                    for (Form* other : app().forms()) {
                        auto* p = other != &f ? dynamic_cast<WindowPeer*>(other->peer()) : nullptr;
                        if (p && p->hwnd() && IsWindowVisible(p->hwnd()) && IsWindowEnabled(p->hwnd())) {
                            EnableWindow(p->hwnd(), FALSE);
                            disabled_.push_back(p->hwnd());
                        }
                    }
                place();
                ShowWindow(hwnd(), SW_SHOW);
                if (f.maximized()) apply_window_state();
                SetForegroundWindow(hwnd());
            } else {
                for (HWND w : disabled_)
                    if (IsWindow(w)) EnableWindow(w, TRUE);
                disabled_.clear();
                // Hand the activation back to the owner before vanishing.
                HWND owner = GetWindow(hwnd(), GW_OWNER);
                if (owner && GetActiveWindow() == hwnd() && IsWindowEnabled(owner)) SetActiveWindow(owner);
                ShowWindow(hwnd(), SW_HIDE);
            }
            return;
        case Prop::Style:
            SetWindowLongPtrA(hwnd(), GWL_STYLE,
                              style() | (GetWindowLongPtrA(hwnd(), GWL_STYLE) & (WS_VISIBLE | WS_MAXIMIZE)));
            SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, ex_style());
            SetWindowPos(hwnd(), f.form_style() == FormStyle::StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            apply_client_size();
            return;
        case Prop::WindowState:
            apply_window_state();
            return;
        case Prop::Menu:
            update_menu(index);
            return;
        case Prop::Text:
            SetWindowTextA(hwnd(), f.caption().c_str());
            return;
        default:
            WindowPeer::sync(what, index);
    }
}

void FormPeer::set_focus()
{
    if (hwnd()) SetFocus(hwnd());
}

void FormPeer::focus_active()
{
    Control* a = form().active_control();
    auto* p = a ? dynamic_cast<WindowPeer*>(a->peer()) : nullptr;
    if (p && p->hwnd() && IsWindowVisible(p->hwnd()) && IsWindowEnabled(p->hwnd())) SetFocus(p->hwnd());
}

bool FormPeer::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    Form& f = form();
    switch (msg) {
        case WM_CLOSE:
            dispatch([&] { f.close(); });
            return result = 0, true;
        case WM_SIZE:
            if (!os_change_ && wp != SIZE_MINIMIZED)
                dispatch([&] {
                    f.user_maximized(wp == SIZE_MAXIMIZED);
                    f.user_resized(Size{unscale(LOWORD(lp)), unscale(HIWORD(lp))});
                });
            return result = 0, true;
        case WM_MOVE:
            if (!os_change_ && !IsIconic(hwnd())) {
                // A maximize moves the window before it sizes it: the place to
                // restore to is taken while the bounds are still the normal ones.
                f.user_maximized(IsZoomed(hwnd()) != FALSE);
                RECT r;
                GetWindowRect(hwnd(), &r);
                os_change_ = true;
                f.set_bounds(Rect::from_size(unscale(r.left), unscale(r.top), f.width(), f.height()));
                os_change_ = false;
            }
            return result = 0, true;
        case WM_GETMINMAXINFO: {
            auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
            Size s = f.min_window_size();
            if (s.width > 0) mm->ptMinTrackSize.x = scale(s.width);
            if (s.height > 0) mm->ptMinTrackSize.y = scale(s.height);
            Size m = f.max_window_size();
            if (m.width > 0) mm->ptMaxTrackSize.x = scale(m.width);
            if (m.height > 0) mm->ptMaxTrackSize.y = scale(m.height);
            return result = 0, true;
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) {
                dispatch([&] { f.activated(); });
                focus_active();
            } else {
                dispatch([&] { f.deactivated(); });
            }
            return result = 0, true;
        case WM_SETFOCUS:
            focus_active();
            return result = 0, true;
        case WM_MEASUREITEM:
            if (!measure_menu_item(f.menu(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lp)))
                return WindowPeer::on_message(msg, wp, lp, result);
            return result = TRUE, true;
        case WM_DRAWITEM:
            if (!draw_menu_item(f.menu(), *reinterpret_cast<DRAWITEMSTRUCT*>(lp)))
                return WindowPeer::on_message(msg, wp, lp, result);
            return result = TRUE, true;
        case WM_DEVICECHANGE:
            // Ports are announced to every top-level window; one form passes it on.
            if ((wp == DBT_DEVICEARRIVAL || wp == DBT_DEVICEREMOVECOMPLETE || wp == DBT_DEVNODES_CHANGED) &&
                &f == app().main_form())
                dispatch([] { app().devices_changed(); });
            return result = TRUE, true;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd(), &r);
            FillRect(reinterpret_cast<HDC>(wp), &r, brush(f.color()));
            return result = 1, true;
        }
        case WM_COMMAND:
            if (lp == 0 && HIWORD(wp) <= 1) {  // a menu choice
                if (MainMenu* m = f.menu())
                    if (MenuItem* item = m->find_id(LOWORD(wp))) dispatch([item] { item->click(); });
                return result = 0, true;
            }
            return WindowPeer::on_message(msg, wp, lp, result);
        default:
            return WindowPeer::on_message(msg, wp, lp, result);
    }
}

void FormPeer::build_menu()
{
    OwnedMenu bar = build_menu_bar(form().menu());
    os_change_ = true;
    SetMenu(hwnd(), bar.get());
    os_change_ = false;
    menu_bar_ = std::move(bar);  // the bar it replaced is no longer shown
    DrawMenuBar(hwnd());
}

void FormPeer::update_menu(int id)
{
    // An item already in the bar with the same shape is updated in place;
    // anything else (new, hidden, shown) rebuilds the whole menu.
    MainMenu* m = form().menu();
    if (m && update_menu_item(GetMenu(hwnd()), *m, id)) {
        DrawMenuBar(hwnd());
        return;
    }
    build_menu();
}

std::unique_ptr<Peer> make_form_peer(Form& f)
{
    return std::make_unique<FormPeer>(f);
}

}  // namespace ui::win32

namespace ui::backend {

Size form_frame(const Form& form)
{
    auto* p = dynamic_cast<win32::FormPeer*>(form.peer());
    return p && p->hwnd() ? p->frame() : Size{};
}

}  // namespace ui::backend

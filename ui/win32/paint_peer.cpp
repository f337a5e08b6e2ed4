// The painted controls' peer: our own window class, painted off screen, a
// click when the left button goes up where it went down.
#include "ui/win32/paint_peer.h"

#include <windowsx.h>

#include "ui/win32/peer_factory.h"

namespace ui::win32 {

PaintPeer::PaintPeer(Control& c, DWORD style) : WindowPeer(c)
{
    create(register_class("OlvexPaint"), style | WS_CLIPCHILDREN);
}

bool PaintPeer::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
        case WM_ERASEBKGND:
            // Our own painting fills everything; a flat tool bar child asks us to
            // paint its background into its own DC.
            if (WindowFromDC(reinterpret_cast<HDC>(wp)) != hwnd()) {
                RECT r;
                GetClientRect(hwnd(), &r);
                FillRect(reinterpret_cast<HDC>(wp), &r, brush(control().color()));
            }
            return result = 1, true;
        case WM_PAINT:
            paint_control();
            return result = 0, true;
        case WM_LBUTTONDOWN:
            pressed_ = true;
            if (control().focusable()) SetFocus(hwnd());
            break;
        case WM_LBUTTONUP:
            if (pressed_) {
                pressed_ = false;
                WindowPeer::on_message(msg, wp, lp, result);
                dispatch([this] { control().click(); });
                return result = 0, true;
            }
            break;
        case WM_MOUSEWHEEL: {
            // Unhandled, the system passes the wheel on to the parent window.
            if (!control().on_mouse_wheel) break;
            // The wheel's point comes in screen coordinates.
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ScreenToClient(hwnd(), &p);
            const ShiftState s{(GET_KEYSTATE_WPARAM(wp) & MK_SHIFT) != 0, (GET_KEYSTATE_WPARAM(wp) & MK_CONTROL) != 0,
                               false};
            dispatch([&] { control().mouse_wheel(GET_WHEEL_DELTA_WPARAM(wp), s, Point{int(p.x), int(p.y)}); });
            return result = 0, true;
        }
        case WM_GETDLGCODE:
            return result = DLGC_WANTARROWS | DLGC_WANTCHARS, true;
        default:
            break;
    }
    return WindowPeer::on_message(msg, wp, lp, result);
}

std::unique_ptr<Peer> make_paint_peer(Control& c)
{
    return std::make_unique<PaintPeer>(c);
}

}  // namespace ui::win32

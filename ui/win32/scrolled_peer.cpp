// The shared peer of our own scrolled controls and their scroll-bar mapping.
#include "ui/win32/scrolled_peer.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>

#include "ui/input.h"

namespace ui::win32 {

void set_scroll_bar(HWND w, int bar, std::uint64_t max_pos, std::uint64_t pos, std::uint64_t page)
{
    ScrollScale s(max_pos);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    std::uint64_t bar_page = s.scaled() ? std::max<std::uint64_t>(1, page * s.bar_max() / max_pos) : page;
    bar_page = std::min<std::uint64_t>(bar_page, INT_MAX / 2);
    si.nMin = 0;
    si.nPage = static_cast<UINT>(bar_page);
    si.nMax = max_pos == 0 ? 0 : static_cast<int>(s.bar_max() + bar_page - 1);
    si.nPos = s.to_bar(pos);
    SetScrollInfo(w, bar, &si, TRUE);
}

void set_scroll_bar(HWND w, int bar, ScrollBarState& last, std::uint64_t max_pos, std::uint64_t pos, std::uint64_t page)
{
    if (last.max_pos == max_pos && last.pos == pos && last.page == page) return;
    last = ScrollBarState{max_pos, pos, page};
    set_scroll_bar(w, bar, max_pos, pos, page);
}

std::uint64_t scroll_request(HWND w, int bar, int code, std::uint64_t max_pos, std::uint64_t pos, std::uint64_t page)
{
    auto up = [&](std::uint64_t n) { return pos > n ? pos - n : 0; };
    auto down = [&](std::uint64_t n) { return std::min(max_pos, pos + n); };
    switch (code) {
        case SB_LINEUP:
            return up(1);
        case SB_LINEDOWN:
            return down(1);
        case SB_PAGEUP:
            return up(std::max<std::uint64_t>(page, 1));
        case SB_PAGEDOWN:
            return down(std::max<std::uint64_t>(page, 1));
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return max_pos;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The 32-bit track position: the message itself carries only 16 bits.
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_TRACKPOS;
            GetScrollInfo(w, bar, &si);
            return ScrollScale(max_pos).from_bar(si.nTrackPos);
        }
        default:
            return pos;
    }
}

void ScrolledPeer::create_scrolled(const char* cls)
{
    create(register_class(cls), WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

void ScrolledPeer::report_size()
{
    RECT r;
    GetClientRect(hwnd(), &r);
    const Rect logical = from_device(r);
    client_resized(Size{logical.width(), logical.height()});
}

bool ScrolledPeer::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
        case WM_PAINT:
            all_invalid_ = false;
            paint_control();
            return result = 0, true;
        case WM_ERASEBKGND:
            return result = 1, true;
        case WM_SIZE:
            report_size();
            return result = 0, true;
        case WM_GETDLGCODE:
            return result = dialog_code(), true;
        case WM_VSCROLL:
        case WM_HSCROLL:
            scroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wp));
            return result = 0, true;
        case WM_MOUSEWHEEL: {
            const ShiftState s{(GET_KEYSTATE_WPARAM(wp) & MK_SHIFT) != 0, (GET_KEYSTATE_WPARAM(wp) & MK_CONTROL) != 0,
                               false};
            dispatch([&] { control().mouse_wheel(GET_WHEEL_DELTA_WPARAM(wp), s); });
            return result = 0, true;
        }
        case WM_CONTEXTMENU: {
            // From the keyboard (Shift+F10, the menu key) the point is -1,-1: use the corner.
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (p.x == -1 && p.y == -1) {
                p = POINT{0, 0};
            } else {
                ScreenToClient(hwnd(), &p);
            }
            dispatch([&] { control().context_menu(Point{unscale(p.x), unscale(p.y)}); });
            return result = 0, true;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd(), nullptr, FALSE);  // the caret and current cell are drawn by focus
            return WindowPeer::on_message(msg, wp, lp, result);
        default:
            return WindowPeer::on_message(msg, wp, lp, result);
    }
}

void ScrolledPeer::invalidate(const Rect* area)
{
    if (all_invalid_) return;
    if (!area) all_invalid_ = true;
    WindowPeer::invalidate(area);
}

}  // namespace ui::win32

// The draw grid's Win32 peer: a window of class "OlvexDrawGrid" with a client
// edge and scroll bars over the scrolled rows and columns, painted off screen
// (double-buffered) from DrawGrid::paint(), so a repaint costs the visible cells.
#include <windowsx.h>

#include "ui/draw_grid.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/text_view_win32.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {

class DrawGridPeer : public WindowPeer {
 public:
    explicit DrawGridPeer(DrawGrid& g) : WindowPeer(g), grid_(g)
    {
        create(register_class("OlvexDrawGrid"), WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
        report_size();
    }

    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
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
                return result = DLGC_WANTARROWS, true;
            case WM_VSCROLL: {
                const GridNav& n = grid_.nav();
                std::uint64_t first = static_cast<std::uint64_t>(n.fixed_rows());
                std::uint64_t to = scroll_request(hwnd(), SB_VERT, LOWORD(wp), n.max_top_row() - first,
                                                  n.top_row() - first, static_cast<std::uint64_t>(n.page_rows()));
                dispatch([&] { grid_.set_top_row(static_cast<std::int64_t>(to + first)); });
                return result = 0, true;
            }
            case WM_HSCROLL: {
                const GridNav& n = grid_.nav();
                std::uint64_t first = static_cast<std::uint64_t>(n.fixed_cols());
                std::uint64_t to =
                    scroll_request(hwnd(), SB_HORZ, LOWORD(wp), n.max_left_col() - first, n.left_col() - first, 1);
                dispatch([&] { grid_.set_left_col(static_cast<std::int64_t>(to + first)); });
                return result = 0, true;
            }
            case WM_MOUSEWHEEL: {
                ShiftState s{(GET_KEYSTATE_WPARAM(wp) & MK_SHIFT) != 0, (GET_KEYSTATE_WPARAM(wp) & MK_CONTROL) != 0,
                             false};
                dispatch([&] { grid_.mouse_wheel(GET_WHEEL_DELTA_WPARAM(wp), s); });
                return result = 0, true;
            }
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                InvalidateRect(hwnd(), nullptr, FALSE);  // the current cell is drawn by focus
                return WindowPeer::on_message(msg, wp, lp, result);
            default:
                return WindowPeer::on_message(msg, wp, lp, result);
        }
    }

    // A drain moves the row, then the column, then repaints: one repaint request.
    void invalidate(const Rect* area) override
    {
        if (all_invalid_) return;
        if (!area) all_invalid_ = true;
        WindowPeer::invalidate(area);
    }

 protected:
    void sync_more(Prop what, int) override
    {
        if (what == Prop::Custom || what == Prop::All || what == Prop::Bounds) update_bars();
    }
    // Typed characters still pass the form's key preview (keyboard mode).
    bool filters_chars() const override { return true; }

 private:
    void report_size()
    {
        RECT r;
        GetClientRect(hwnd(), &r);
        Rect logical = from_device(r);
        dispatch([&] { grid_.set_view_size(Size{logical.width(), logical.height()}); });
        update_bars();
    }

    void update_bars()
    {
        if (!hwnd()) return;
        const GridNav& n = grid_.nav();
        set_scroll_bar(hwnd(), SB_VERT, vbar_, static_cast<std::uint64_t>(n.max_top_row() - n.fixed_rows()),
                       static_cast<std::uint64_t>(n.top_row() - n.fixed_rows()),
                       static_cast<std::uint64_t>(n.page_rows()));
        set_scroll_bar(hwnd(), SB_HORZ, hbar_, static_cast<std::uint64_t>(n.max_left_col() - n.fixed_cols()),
                       static_cast<std::uint64_t>(n.left_col() - n.fixed_cols()), 1);
    }

    DrawGrid& grid_;
    ScrollBarState vbar_, hbar_;
    bool all_invalid_ = false;
};

}  // namespace

std::unique_ptr<Peer> make_draw_grid_peer(Control& c)
{
    return std::make_unique<DrawGridPeer>(static_cast<DrawGrid&>(c));
}

}  // namespace ui::win32

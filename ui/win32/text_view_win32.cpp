// The text view's Win32 peer: a window of class "OlvexTextView" with a client
// edge and scroll bars, painted off screen from TextView::paint(). It answers
// WM_GETTEXT with the whole text (CR LF between lines) cut to the caller's
// buffer, WM_GETTEXTLENGTH with the whole length, and EM_LINESCROLL and
// EM_GETLINECOUNT as an edit control does.
#include "ui/win32/text_view_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "ui/text_view.h"
#include "ui/win32/gdi_canvas.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/window_peer.h"

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

namespace {

class TextViewPeer : public WindowPeer {
 public:
    explicit TextViewPeer(TextView& v) : WindowPeer(v), view_(v)
    {
        create(register_class("OlvexTextView"), WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
        measure_font();
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
                return result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB, true;
            case WM_VSCROLL:
                dispatch([&] {
                    view_.set_top_row(scroll_request(hwnd(), SB_VERT, LOWORD(wp), view_.max_top_row(), view_.top_row(),
                                                     static_cast<std::uint64_t>(view_.page_rows())));
                });
                return result = 0, true;
            case WM_HSCROLL:
                dispatch([&] {
                    view_.set_left_col(static_cast<std::size_t>(
                        scroll_request(hwnd(), SB_HORZ, LOWORD(wp), view_.max_left_col(), view_.left_col(),
                                       static_cast<std::uint64_t>(view_.page_cols()))));
                });
                return result = 0, true;
            case WM_MOUSEWHEEL: {
                ShiftState s{(GET_KEYSTATE_WPARAM(wp) & MK_SHIFT) != 0, (GET_KEYSTATE_WPARAM(wp) & MK_CONTROL) != 0,
                             false};
                dispatch([&] { view_.mouse_wheel(GET_WHEEL_DELTA_WPARAM(wp), s); });
                return result = 0, true;
            }
            case WM_LBUTTONDOWN:
                SetCapture(hwnd());
                return WindowPeer::on_message(msg, wp, lp, result);
            case WM_LBUTTONUP:
                if (GetCapture() == hwnd()) ReleaseCapture();
                return WindowPeer::on_message(msg, wp, lp, result);
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                InvalidateRect(hwnd(), nullptr, FALSE);  // the caret is painted
                return WindowPeer::on_message(msg, wp, lp, result);
            case WM_GETTEXTLENGTH:
                result = static_cast<LRESULT>(std::min<std::uint64_t>(view_.text_length(), LONG_MAX));
                return true;
            case WM_GETTEXT: {
                auto* out = reinterpret_cast<char*>(lp);
                std::size_t room = static_cast<std::size_t>(wp);
                if (!out || room == 0) return result = 0, true;
                std::string text = view_.text_prefix(room - 1);
                std::memcpy(out, text.data(), text.size());
                out[text.size()] = '\0';
                return result = static_cast<LRESULT>(text.size()), true;
            }
            case WM_SETTEXT:
                return result = FALSE, true;  // the lines are set through the control only
            case EM_LINESCROLL:
                dispatch([&] {
                    view_.scroll_lines(static_cast<std::int64_t>(static_cast<LONG>(lp)));
                    std::int64_t col = static_cast<std::int64_t>(view_.left_col()) + static_cast<int>(wp);
                    view_.set_left_col(col < 0 ? 0 : static_cast<std::size_t>(col));
                });
                return result = TRUE, true;
            case EM_GETLINECOUNT:
                return result = std::max(1, view_.line_count()), true;
            case WM_COPY:
                dispatch([&] { view_.copy_selection(); });
                return result = 0, true;
            default:
                return WindowPeer::on_message(msg, wp, lp, result);
        }
    }

    // Many changes between two paints (lines added outside an update bracket) ask
    // the system for one repaint, not one each.
    void invalidate(const Rect* area) override
    {
        if (all_invalid_) return;
        if (!area) all_invalid_ = true;
        WindowPeer::invalidate(area);
    }

 protected:
    void sync_more(Prop what, int) override
    {
        if (what == Prop::Font || what == Prop::All) measure_font();
        if (what == Prop::Custom || what == Prop::All || what == Prop::Bounds || what == Prop::Font) update_bars();
        if (what == Prop::Selection) InvalidateRect(hwnd(), nullptr, FALSE);
    }
    // Read-only, but typed characters still pass the form's key preview (keyboard mode).
    bool filters_chars() const override { return true; }

 private:
    void measure_font()
    {
        HDC dc = GetDC(hwnd());
        {
            GdiCanvas c(dc, Rect{});
            c.font = view_.font();
            Size s = c.text_extent("W");
            dispatch([&] { view_.set_char_size(s); });
        }
        ReleaseDC(hwnd(), dc);
    }

    void report_size()
    {
        RECT r;
        GetClientRect(hwnd(), &r);
        Rect logical = from_device(r);
        dispatch([&] { view_.set_view_size(Size{logical.width(), logical.height()}); });
        update_bars();
    }

    // Showing or hiding a bar resizes the client area, which comes back here
    // through WM_SIZE; the flag keeps that from recursing.
    void update_bars()
    {
        if (in_bars_ || !hwnd()) return;
        in_bars_ = true;
        if (view_.horizontal_bar() != hbar_shown_) {
            hbar_shown_ = view_.horizontal_bar();
            ShowScrollBar(hwnd(), SB_HORZ, hbar_shown_);
            hbar_ = ScrollBarState{};
        }
        set_scroll_bar(hwnd(), SB_VERT, vbar_, view_.max_top_row(), view_.top_row(),
                       static_cast<std::uint64_t>(view_.page_rows()));
        if (hbar_shown_)
            set_scroll_bar(hwnd(), SB_HORZ, hbar_, view_.max_left_col(), view_.left_col(),
                           static_cast<std::uint64_t>(view_.page_cols()));
        in_bars_ = false;
    }

    TextView& view_;
    bool in_bars_ = false;
    bool all_invalid_ = false;
    bool hbar_shown_ = true;  // made with WS_HSCROLL
    ScrollBarState vbar_, hbar_;
};

}  // namespace

std::unique_ptr<Peer> make_text_view_peer(Control& c)
{
    return std::make_unique<TextViewPeer>(static_cast<TextView&>(c));
}

}  // namespace ui::win32

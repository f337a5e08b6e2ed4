// The text view's Win32 peer: a window of class "OlvexTextView" with a client
// edge and scroll bars, painted off screen from TextView::paint(). It answers
// WM_GETTEXT with the whole text (CR LF between lines) cut to the caller's
// buffer, WM_GETTEXTLENGTH with the whole length, and EM_LINESCROLL and
// EM_GETLINECOUNT as an edit control does.
#include "ui/win32/scrolled_peer.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "ui/text_view.h"
#include "ui/win32/gdi_canvas.h"
#include "ui/win32/gdi_handle.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

namespace {

class TextViewPeer : public ScrolledPeer {
 public:
    explicit TextViewPeer(TextView& v) : ScrolledPeer(v), view_(v)
    {
        create_scrolled("OlvexTextView");
        measure_font();
        report_size();
    }

    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        switch (msg) {
            case WM_LBUTTONDOWN:
                SetCapture(hwnd());
                return ScrolledPeer::on_message(msg, wp, lp, result);
            case WM_LBUTTONUP:
                if (GetCapture() == hwnd()) ReleaseCapture();
                return ScrolledPeer::on_message(msg, wp, lp, result);
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
                return ScrolledPeer::on_message(msg, wp, lp, result);
        }
    }

 protected:
    void sync_more(Prop what, int) override
    {
        if (what == Prop::Font || what == Prop::All) measure_font();
        if (what == Prop::Custom || what == Prop::All || what == Prop::Bounds || what == Prop::Font) update_bars();
        if (what == Prop::Selection) InvalidateRect(hwnd(), nullptr, FALSE);
    }
    LRESULT dialog_code() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB; }
    void scroll(int bar, int code) override
    {
        dispatch([&] {
            if (bar == SB_VERT) {
                view_.set_top_row(scroll_request(hwnd(), SB_VERT, code, view_.max_top_row(), view_.top_row(),
                                                 static_cast<std::uint64_t>(view_.page_rows())));
            } else {
                view_.set_left_col(static_cast<std::size_t>(
                    scroll_request(hwnd(), SB_HORZ, code, view_.max_left_col(), view_.left_col(),
                                   static_cast<std::uint64_t>(view_.page_cols()))));
            }
        });
    }
    void client_resized(Size size) override
    {
        dispatch([&] { view_.set_view_size(size); });
        update_bars();
    }

 private:
    void measure_font()
    {
        WindowDc dc(hwnd());
        GdiCanvas c(dc.get(), Rect{});
        c.font = view_.font();
        Size s = c.text_extent("W");
        dispatch([&] { view_.set_char_size(s); });
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
    bool hbar_shown_ = true;  // made with WS_HSCROLL
    ScrollBarState vbar_, hbar_;
};

}  // namespace

std::unique_ptr<Peer> make_text_view_peer(TextView& v)
{
    return std::make_unique<TextViewPeer>(v);
}

}  // namespace ui::win32

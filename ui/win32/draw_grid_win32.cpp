// The draw grid's Win32 peer: a window of class "OlvexDrawGrid" with a client
// edge and scroll bars over the scrolled rows and columns, painted off screen
// (double-buffered) from DrawGrid::paint(), so a repaint costs the visible cells.
#include "ui/draw_grid.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/scrolled_peer.h"

namespace ui::win32 {

namespace {

class DrawGridPeer : public ScrolledPeer {
 public:
    explicit DrawGridPeer(DrawGrid& g) : ScrolledPeer(g), grid_(g)
    {
        create_scrolled("OlvexDrawGrid");
        report_size();
    }

 protected:
    void sync_more(Prop what, int) override
    {
        if (what == Prop::Custom || what == Prop::All || what == Prop::Bounds) update_bars();
    }
    LRESULT dialog_code() const override { return DLGC_WANTARROWS; }
    void scroll(int bar, int code) override
    {
        const GridNav& n = grid_.nav();
        if (bar == SB_VERT) {
            const std::uint64_t first = static_cast<std::uint64_t>(n.fixed_rows());
            const std::uint64_t to = scroll_request(hwnd(), SB_VERT, code, n.max_top_row() - first, n.top_row() - first,
                                                    static_cast<std::uint64_t>(n.page_rows()));
            dispatch([&] { grid_.set_top_row(static_cast<std::int64_t>(to + first)); });
        } else {
            const std::uint64_t first = static_cast<std::uint64_t>(n.fixed_cols());
            const std::uint64_t to =
                scroll_request(hwnd(), SB_HORZ, code, n.max_left_col() - first, n.left_col() - first, 1);
            dispatch([&] { grid_.set_left_col(static_cast<std::int64_t>(to + first)); });
        }
    }
    void client_resized(Size size) override
    {
        dispatch([&] { grid_.set_view_size(size); });
        update_bars();
    }

 private:
    void update_bars()
    {
        // Showing or hiding the bar resizes the client area, which lands here again.
        if (!hwnd() || in_bars_) return;
        in_bars_ = true;
        // Columns that all fit need no horizontal bar; its height goes to the
        // rows. Only the width decides this, and that bar never changes the width.
        const bool hbar = grid_.nav().max_left_col() > grid_.nav().fixed_cols();
        if (hbar != hbar_shown_) {
            hbar_shown_ = hbar;
            ShowScrollBar(hwnd(), SB_HORZ, hbar);
            hbar_ = ScrollBarState{};
            report_size();  // the rows' height, before the vertical bar reads it
        }
        const GridNav& n = grid_.nav();
        set_scroll_bar(hwnd(), SB_VERT, vbar_, static_cast<std::uint64_t>(n.max_top_row() - n.fixed_rows()),
                       static_cast<std::uint64_t>(n.top_row() - n.fixed_rows()),
                       static_cast<std::uint64_t>(n.page_rows()));
        if (hbar)
            set_scroll_bar(hwnd(), SB_HORZ, hbar_, static_cast<std::uint64_t>(n.max_left_col() - n.fixed_cols()),
                           static_cast<std::uint64_t>(n.left_col() - n.fixed_cols()), 1);
        in_bars_ = false;
    }

    DrawGrid& grid_;
    bool in_bars_ = false;
    bool hbar_shown_ = true;  // made with WS_HSCROLL
    ScrollBarState vbar_, hbar_;
};

}  // namespace

std::unique_ptr<Peer> make_draw_grid_peer(DrawGrid& g)
{
    return std::make_unique<DrawGridPeer>(g);
}

}  // namespace ui::win32

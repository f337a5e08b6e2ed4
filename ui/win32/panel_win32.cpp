// The peer of a Panel (panel.h): painted, with its bevels and caption drawn over.
#include "ui/panel.h"
#include "ui/win32/gdi_handle.h"
#include "ui/win32/paint_peer.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

namespace {

UINT edge(BevelCut cut, bool outer)
{
    if (cut == BevelCut::Raised) return outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    if (cut == BevelCut::Lowered) return outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
    return 0;
}

// A panel: its colour, bevels and a centred caption.
class PanelPeer : public PaintPeer {
 public:
    explicit PanelPeer(Panel& p) : PaintPeer(p), panel_(p) {}

 protected:
    void paint_over(HDC dc, const RECT& client) override
    {
        RECT r = client;
        if (UINT outer = edge(panel_.bevel_outer(), true)) {
            DrawEdge(dc, &r, outer, BF_RECT);
            InflateRect(&r, -1, -1);
        }
        if (UINT inner = edge(panel_.bevel_inner(), false)) DrawEdge(dc, &r, inner, BF_RECT);
        if (panel_.caption().empty()) return;
        Selection font(dc, window_font(panel_.font()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorref(panel_.font().color));
        RECT t = client;
        DrawTextA(dc, panel_.caption().c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

 private:
    Panel& panel_;
};

}  // namespace

std::unique_ptr<Peer> make_panel_peer(Panel& p)
{
    return std::make_unique<PanelPeer>(p);
}

}  // namespace ui::win32

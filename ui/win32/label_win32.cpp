// The peer of labels and static texts (label.h): a STATIC that notifies clicks.
#include "ui/label.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {

DWORD align_style(Alignment a)
{
    return a == Alignment::Center ? SS_CENTER : a == Alignment::Right ? SS_RIGHT : SS_LEFT;
}

class StaticPeer : public WindowPeer {
 public:
    explicit StaticPeer(Control& c) : WindowPeer(c)
    {
        DWORD style = SS_NOTIFY | SS_NOPREFIX | align_style(alignment());
        DWORD ex = 0;
        if (auto* s = dynamic_cast<StaticText*>(&c)) {
            if (s->border() == StaticBorder::Single) style |= WS_BORDER;
            if (s->border() == StaticBorder::Sunken) ex |= WS_EX_STATICEDGE;
        }
        create("STATIC", style, ex);
    }
    bool on_command(int code) override
    {
        if (code == STN_CLICKED) dispatch([this] { control().click(); });
        if (code == STN_DBLCLK) dispatch([this] { control().dbl_click(); });
        return true;
    }
    HBRUSH on_ctl_color(HDC dc) override
    {
        SetTextColor(dc, colorref(control().font().color));
        auto* l = dynamic_cast<Label*>(&control());
        if (l && l->transparent()) {
            SetBkMode(dc, TRANSPARENT);
            Control* p = control().parent();
            return brush(p ? p->color() : control().color());
        }
        SetBkColor(dc, colorref(control().color()));
        return brush(control().color());
    }
    bool filters_chars() const override { return false; }

 protected:
    void sync_more(Prop what, int) override
    {
        if (what != Prop::Style && what != Prop::All) return;
        LONG_PTR s = GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~(SS_CENTER | SS_RIGHT | SS_LEFT);
        SetWindowLongPtrA(hwnd(), GWL_STYLE, s | align_style(alignment()));
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

 private:
    Alignment alignment() const
    {
        if (auto* l = dynamic_cast<Label*>(&control())) return l->alignment();
        if (auto* s = dynamic_cast<StaticText*>(&control())) return s->alignment();
        return Alignment::Left;
    }
};

}  // namespace

std::unique_ptr<Peer> make_label_peer(Control& c)
{
    return std::make_unique<StaticPeer>(c);
}

}  // namespace ui::win32

// The peer of a GroupBox (group_box.h): a BUTTON of the group-box style.
#include "ui/group_box.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {

// A group box passes its children's notifications on, like a form.
class GroupBoxPeer : public WindowPeer {
 public:
    explicit GroupBoxPeer(Control& c) : WindowPeer(c) { create("BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN); }
    HBRUSH on_ctl_color(HDC dc) override
    {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorref(control().font().color));
        Control* p = control().parent();
        return brush(p ? p->color() : control().color());
    }
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        if (msg == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(hwnd(), &r);
            Control* p = control().parent();
            FillRect(reinterpret_cast<HDC>(wp), &r, brush(p ? p->color() : control().color()));
            return result = 1, true;
        }
        return WindowPeer::on_message(msg, wp, lp, result);
    }
    bool filters_chars() const override { return false; }
};

}  // namespace

std::unique_ptr<Peer> make_group_box_peer(GroupBox& g)
{
    return std::make_unique<GroupBoxPeer>(g);
}

}  // namespace ui::win32

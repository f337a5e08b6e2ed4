// The peer of an UpDown (up_down.h): the comctl32 arrows.
#include <windows.h>
#include <commctrl.h>

#include "ui/up_down.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {

// The arrows only: our UpDown keeps the position and writes the edit itself,
// so the system control's own change is refused and reported as press().
class UpDownPeer : public WindowPeer {
 public:
    explicit UpDownPeer(UpDown& u) : WindowPeer(u), ud_(u)
    {
        create(UPDOWN_CLASSA, UDS_ARROWKEYS);
        SendMessageA(hwnd(), UDM_SETRANGE32, 0, 100);
        SendMessageA(hwnd(), UDM_SETPOS32, 0, 50);
    }
    bool on_notify(NMHDR* hdr, LRESULT& result) override
    {
        if (hdr->code != UDN_DELTAPOS) return false;
        auto* nm = reinterpret_cast<NMUPDOWN*>(hdr);
        UpDownButton b = nm->iDelta > 0 ? UpDownButton::Up : UpDownButton::Down;
        dispatch([&] { ud_.press(b); });
        result = TRUE;
        return true;
    }

 private:
    UpDown& ud_;
};

}  // namespace

std::unique_ptr<Peer> make_up_down_peer(UpDown& u)
{
    return std::make_unique<UpDownPeer>(u);
}

}  // namespace ui::win32

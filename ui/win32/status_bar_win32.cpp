// The peer of a StatusBar (status_bar.h): a comctl32 status bar with its panels.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/status_bar.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {

class StatusPeer : public WindowPeer {
 public:
    explicit StatusPeer(StatusBar& s) : WindowPeer(s), bar_(s)
    {
        create(STATUSCLASSNAMEA,
               CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (s.size_grip() ? SBARS_SIZEGRIP : 0));
    }
    bool filters_chars() const override { return false; }

 protected:
    void sync_more(Prop what, int index) override
    {
        if (what == Prop::All || what == Prop::Bounds || (what == Prop::Panels && index < 0)) {
            std::vector<int> edges;
            int x = 0;
            for (int i = 0; i < bar_.panel_count(); ++i) {
                x += scale(bar_.panel(i).width);
                edges.push_back(i + 1 == bar_.panel_count() ? -1 : x);
            }
            if (edges.empty()) edges.push_back(-1);
            SendMessageA(hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
            for (int i = 0; i < bar_.panel_count(); ++i) set_panel(i);
        } else if (what == Prop::Panels) {
            set_panel(index);
        } else if (what == Prop::Style) {
            LONG_PTR s = GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~SBARS_SIZEGRIP;
            SetWindowLongPtrA(hwnd(), GWL_STYLE, s | (bar_.size_grip() ? SBARS_SIZEGRIP : 0));
            InvalidateRect(hwnd(), nullptr, TRUE);
        }
    }

 private:
    void set_panel(int i)
    {
        if (i < 0 || i >= bar_.panel_count()) return;
        const StatusPanel& p = bar_.panel(i);
        // The control centres text after one tab and right-aligns it after two.
        std::string text = (p.alignment == Alignment::Center  ? "\t"
                            : p.alignment == Alignment::Right ? "\t\t"
                                                              : "") +
                           p.text;
        WPARAM flags = p.bevel == PanelBevel::None ? SBT_NOBORDERS : p.bevel == PanelBevel::Raised ? SBT_POPOUT : 0;
        SendMessageA(hwnd(), SB_SETTEXTA, static_cast<WPARAM>(i) | flags, reinterpret_cast<LPARAM>(text.c_str()));
    }

    StatusBar& bar_;
};

}  // namespace

std::unique_ptr<Peer> make_status_bar_peer(StatusBar& s)
{
    return std::make_unique<StatusPeer>(s);
}

}  // namespace ui::win32

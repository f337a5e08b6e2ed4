// The peers of a PageControl and its TabSheets (page_control.h): a comctl32
// tab control, and painted sheets whose captions are its tabs.
#include <windows.h>
#include <commctrl.h>

#include "ui/page_control.h"
#include "ui/win32/paint_peer.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

namespace {

class PagePeer : public WindowPeer {
 public:
    explicit PagePeer(PageControl& p) : WindowPeer(p), pages_(p)
    {
        create(WC_TABCONTROLA, WS_CLIPCHILDREN | WS_TABSTOP | (p.multi_line() ? TCS_MULTILINE : 0));
    }
    bool on_notify(NMHDR* hdr, LRESULT& result) override
    {
        if (hdr->code == TCN_SELCHANGE) {
            int i = static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0));
            dispatch([&] { pages_.select_tab(i); });
            if (SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0) != pages_.active_page_index())
                SendMessageA(hwnd(), TCM_SETCURSEL, pages_.active_page_index(), 0);
            return result = 0, true;
        }
        return false;
    }

 protected:
    void sync_more(Prop what, int) override
    {
        switch (what) {
            case Prop::All:
            case Prop::Items:
            case Prop::Text: {
                SendMessageA(hwnd(), TCM_DELETEALLITEMS, 0, 0);
                for (int i = 0; i < pages_.page_count(); ++i) {
                    std::string caption = pages_.page(i)->caption();
                    TCITEMA item{};
                    item.mask = TCIF_TEXT;
                    item.pszText = caption.data();
                    SendMessageA(hwnd(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
                }
                SendMessageA(hwnd(), TCM_SETCURSEL, pages_.active_page_index(), 0);
                report_display();
                break;
            }
            case Prop::ItemIndex:
                SendMessageA(hwnd(), TCM_SETCURSEL, pages_.active_page_index(), 0);
                break;
            case Prop::Bounds:
            case Prop::Font:
                report_display();
                break;
            case Prop::Style: {
                LONG_PTR s = GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~TCS_MULTILINE;
                SetWindowLongPtrA(hwnd(), GWL_STYLE, s | (pages_.multi_line() ? TCS_MULTILINE : 0));
                report_display();
                break;
            }
            default:
                break;
        }
    }

 private:
    // The pages fill what the tab rows leave; the control tells where that is.
    void report_display()
    {
        RECT r;
        GetClientRect(hwnd(), &r);
        if (r.right <= 0 || r.bottom <= 0) return;
        SendMessageA(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
        pages_.set_display_rect(from_device(r));
    }

    PageControl& pages_;
};

class SheetPeer : public PaintPeer {
 public:
    explicit SheetPeer(TabSheet& s) : PaintPeer(s), sheet_(s) {}

 protected:
    void sync_more(Prop what, int) override
    {
        if (what == Prop::Text || what == Prop::All)
            if (Peer* p = sheet_.page_control().peer()) p->sync(Prop::Items, -1);
    }

 private:
    TabSheet& sheet_;
};

}  // namespace

std::unique_ptr<Peer> make_page_control_peer(PageControl& p)
{
    return std::make_unique<PagePeer>(p);
}

std::unique_ptr<Peer> make_tab_sheet_peer(TabSheet& s)
{
    return std::make_unique<SheetPeer>(s);
}

}  // namespace ui::win32

// Peers of the bars: the tool bar strip and its flat buttons (each a one-button
// comctl32 tool bar, so it can sit anywhere the layout puts it), the page
// control with its sheets, and the status bar with its panels.
#include "ui/win32/bars_win32.h"

#include <commctrl.h>

#include <map>

#include "ui/image.h"
#include "ui/page_control.h"
#include "ui/status_bar.h"
#include "ui/tool_bar.h"
#include "ui/win32/controls_win32.h"
#include "ui/win32/gdi_canvas.h"

namespace ui::win32 {

HIMAGELIST image_list(const ImageList* list)
{
    static std::map<const ImageList*, HIMAGELIST> cache;
    if (!list) return nullptr;
    auto& slot = cache[list];
    if (slot && ImageList_GetImageCount(slot) == list->count()) return slot;
    if (slot) ImageList_Destroy(slot);
    slot = ImageList_Create(scale(list->width()), scale(list->height()), ILC_COLOR32 | ILC_MASK, list->count(), 0);
    for (int i = 0; i < list->count(); ++i) {
        const Bitmap& b = *list->get(i);
        BITMAPINFO info;
        std::vector<std::uint32_t> bits;
        bitmap_bits(b, bits, info);
        void* data = nullptr;
        HBITMAP h = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0);
        if (!h) continue;
        std::copy(bits.begin(), bits.end(), static_cast<std::uint32_t*>(data));
        if (b.transparent())
            ImageList_AddMasked(slot, h, colorref(b.transparent_color()));
        else
            ImageList_Add(slot, h, nullptr);
        DeleteObject(h);
    }
    return slot;
}

namespace {

class ToolBarPeer : public PaintPeer {
 public:
    explicit ToolBarPeer(ToolBar& t) : PaintPeer(t), bar_(t) {}

 protected:
    void paint_over(HDC dc, const RECT& client) override
    {
        if (!bar_.framed()) return;
        RECT r = client;
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_TOP | BF_BOTTOM);
    }

 private:
    ToolBar& bar_;
};

class ToolButtonPeer : public WindowPeer {
 public:
    explicit ToolButtonPeer(ToolButton& b) : WindowPeer(b), button_(b)
    {
        create(TOOLBARCLASSNAMEA, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | (b.flat() ? TBSTYLE_FLAT : 0));
        SendMessageA(hwnd(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        rebuild();
    }
    bool on_command(int) override
    {
        dispatch([this] { button_.click(); });
        return true;
    }
    // A toggle that is down gets a sunken frame over the system's drawing, so
    // its state reads at a glance on a flat bar, enabled or not.
    bool on_notify(NMHDR* hdr, LRESULT& result) override
    {
        if (hdr->code != NM_CUSTOMDRAW) return false;
        auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(hdr);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
            result = button_.toggle() ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
            return true;
        }
        if (cd->nmcd.dwDrawStage == CDDS_POSTPAINT && button_.down()) {
            RECT r{};
            if (SendMessageA(hwnd(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) {
                DrawEdge(cd->nmcd.hdc, &r, EDGE_SUNKEN, BF_RECT);
            }
        }
        result = CDRF_DODEFAULT;
        return true;
    }
    bool filters_chars() const override { return false; }

 protected:
    void sync_more(Prop what, int) override
    {
        switch (what) {
            case Prop::Checked:
                SendMessageA(hwnd(), TB_CHECKBUTTON, kId, button_.down());
                break;
            case Prop::Enabled:
                SendMessageA(hwnd(), TB_ENABLEBUTTON, kId, button_.enabled());
                break;
            case Prop::All:
            case Prop::Text:
            case Prop::Picture:
            case Prop::Style:
            case Prop::Bounds:
                rebuild();
                break;
            default:
                break;
        }
    }

 private:
    static constexpr int kId = 1;

    void rebuild()
    {
        HWND w = hwnd();
        if (!w) return;
        while (SendMessageA(w, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(w, TB_DELETEBUTTON, 0, 0);
        HIMAGELIST il = image_list(button_.images());
        SendMessageA(w, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(il));
        caption_ = button_.caption();
        TBBUTTON tb{};
        tb.iBitmap = il && button_.image_index() >= 0 ? button_.image_index() : I_IMAGENONE;
        tb.idCommand = kId;
        tb.fsState =
            static_cast<BYTE>((button_.enabled() ? TBSTATE_ENABLED : 0) | (button_.down() ? TBSTATE_CHECKED : 0));
        tb.fsStyle = static_cast<BYTE>(button_.toggle() ? BTNS_CHECK : BTNS_BUTTON);
        tb.iString = caption_.empty() ? -1 : reinterpret_cast<INT_PTR>(caption_.c_str());
        SendMessageA(w, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
        int width = scale(button_.width()), height = scale(button_.height());
        SendMessageA(w, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
        SendMessageA(w, TB_SETBUTTONWIDTH, 0, MAKELPARAM(width, width));
        RECT r = to_device(button_.bounds());
        SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    ToolButton& button_;
    std::string caption_;
};

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

std::unique_ptr<Peer> make_bar_peer(Control& c)
{
    switch (c.kind()) {
        case ControlKind::ToolBar:
            return std::make_unique<ToolBarPeer>(static_cast<ToolBar&>(c));
        case ControlKind::ToolButton:
            return std::make_unique<ToolButtonPeer>(static_cast<ToolButton&>(c));
        case ControlKind::PageControl:
            return std::make_unique<PagePeer>(static_cast<PageControl&>(c));
        case ControlKind::TabSheet:
            return std::make_unique<SheetPeer>(static_cast<TabSheet&>(c));
        case ControlKind::StatusBar:
            return std::make_unique<StatusPeer>(static_cast<StatusBar&>(c));
        default:
            return nullptr;
    }
}

}  // namespace ui::win32

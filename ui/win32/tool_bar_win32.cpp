// The peers of a ToolBar and its ToolButtons (tool_bar.h): the strip is
// painted; each flat button is a one-button comctl32 tool bar, so it can sit
// anywhere the layout puts it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <vector>

#include "ui/image.h"
#include "ui/tool_bar.h"
#include "ui/win32/gdi_canvas.h"
#include "ui/win32/gdi_handle.h"
#include "ui/win32/paint_peer.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

namespace {

// The comctl32 image list of one of ours (cached for the program's life).
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
        GdiObject<HBITMAP> h(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0));
        if (!h) continue;
        std::copy(bits.begin(), bits.end(), static_cast<std::uint32_t*>(data));
        if (b.transparent())
            ImageList_AddMasked(slot, h.get(), colorref(b.transparent_color()));
        else
            ImageList_Add(slot, h.get(), nullptr);
    }
    return slot;
}

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

}  // namespace

std::unique_ptr<Peer> make_tool_bar_peer(ToolBar& t)
{
    return std::make_unique<ToolBarPeer>(t);
}

std::unique_ptr<Peer> make_tool_button_peer(ToolButton& b)
{
    return std::make_unique<ToolButtonPeer>(b);
}

}  // namespace ui::win32

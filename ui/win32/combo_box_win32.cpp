// The peer of a ComboBox (combo_box.h): a COMBOBOX (remade when its style
// changes) and, when editable, the peer of the edit inside it.
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/win32/gdi_canvas.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {

// The edit inside an editable combo box: its characters pass the combo's filter.
class ComboEditPeer : public WindowPeer {
 public:
    ComboEditPeer(Control& combo, HWND edit) : WindowPeer(combo) { attach(edit); }
    ~ComboEditPeer() override { release_window(); }
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        if (msg == WM_CHAR) {
            if (wp == '\r' || wp == 27 || wp == '\t') return handle_char(wp), result = 0, true;
            if (!handle_char(wp)) return result = 0, true;
            result = call_default(msg, wp, lp);
            return true;
        }
        if (msg == WM_SETFOCUS) {
            result = call_default(msg, wp, lp);
            if (Form* f = control().form()) dispatch([&] { f->focus_changed(&control()); });
            return true;
        }
        return false;
    }
};

class ComboPeer : public WindowPeer {
 public:
    explicit ComboPeer(ComboBox& c) : WindowPeer(c), combo_(c) { make(); }

    bool on_command(int code) override
    {
        if (syncing_) return true;
        if (code == CBN_SELCHANGE) {
            int i = static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
            dispatch([&] { combo_.select(i); });
        } else if (code == CBN_EDITCHANGE) {
            int n = GetWindowTextLengthA(hwnd());
            std::string t(static_cast<size_t>(n) + 1, '\0');
            GetWindowTextA(hwnd(), t.data(), n + 1);
            t.resize(static_cast<size_t>(n));
            dispatch([&] { combo_.user_changed_text(std::move(t)); });
        } else if (code == CBN_SETFOCUS && combo_.style() == ComboStyle::DropDownList) {
            if (Form* f = combo_.form()) dispatch([&] { f->focus_changed(&combo_); });
        }
        return true;
    }
    bool on_draw_item(const DRAWITEMSTRUCT& dis) override
    {
        if (!combo_.owner_draw()) return false;
        const Rect r = from_device(dis.rcItem);
        const int index = static_cast<int>(dis.itemID);
        {
            GdiCanvas canvas(dis.hDC, r);
            canvas.font = combo_.font();
            dispatch([&] { combo_.draw_item(canvas, index, r, (dis.itemState & ODS_SELECTED) != 0); });
        }
        if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dis.hDC, &dis.rcItem);
        return true;
    }
    HBRUSH on_ctl_color(HDC dc) override
    {
        SetTextColor(dc, colorref(control().font().color));
        SetBkColor(dc, colorref(control().color()));
        return brush(control().color());
    }

 protected:
    void sync_more(Prop what, int) override
    {
        bool all = what == Prop::All;
        if (what == Prop::Style) {
            edit_.reset();
            DestroyWindow(hwnd());
            make();
            return;
        }
        if (all || what == Prop::Items) {
            SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
            for (const auto& s : combo_.items())
                SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        }
        if (all || what == Prop::Items || what == Prop::ItemIndex || what == Prop::Text) {
            if (combo_.item_index() >= 0 || combo_.style() == ComboStyle::DropDownList)
                SendMessageA(hwnd(), CB_SETCURSEL, combo_.item_index(), 0);
            if (combo_.style() == ComboStyle::DropDown) {
                char now[1024] = {};
                GetWindowTextA(hwnd(), now, sizeof now);
                if (combo_.text() != now) SetWindowTextA(hwnd(), combo_.text().c_str());
            }
        }
        if (what == Prop::Selection && combo_.style() == ComboStyle::DropDown) {
            const int start = combo_.sel_start();
            SendMessageA(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(start, start + combo_.sel_length()));
        }
        if (all || what == Prop::Bounds) {
            // The height of a combo box is its closed height plus the open list.
            RECT r = to_device(combo_.bounds());
            int list = scale(16) * (combo_.drop_down_count() + 1);
            SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top + list,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

 private:
    void make()
    {
        DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                      (combo_.style() == ComboStyle::DropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
        if (combo_.owner_draw()) style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        create("COMBOBOX", style);
        if (combo_.style() == ComboStyle::DropDown)
            if (HWND e = FindWindowExA(hwnd(), nullptr, "EDIT", nullptr))
                edit_ = std::make_unique<ComboEditPeer>(combo_, e);
        if (hwnd()) sync(Prop::All, -1);
    }

    ComboBox& combo_;
    std::unique_ptr<ComboEditPeer> edit_;
};

}  // namespace

std::unique_ptr<Peer> make_combo_box_peer(ComboBox& c)
{
    return std::make_unique<ComboPeer>(c);
}

}  // namespace ui::win32

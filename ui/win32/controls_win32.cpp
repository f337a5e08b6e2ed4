// Peers of the stock controls: texts, edits, buttons, combo boxes, up-down and
// group boxes; and of the painted ones (panels, bevels, shapes, images, paint
// boxes). Each maps its notification onto the control's action method.
#include "ui/win32/controls_win32.h"

#include <commctrl.h>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/radio_button.h"
#include "ui/up_down.h"

namespace ui::win32 {

namespace {

DWORD align_style(Alignment a)
{
    return a == Alignment::Center ? SS_CENTER : a == Alignment::Right ? SS_RIGHT : SS_LEFT;
}

// Label and StaticText: a STATIC that notifies clicks.
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

class EditPeer : public WindowPeer {
 public:
    explicit EditPeer(Edit& e) : WindowPeer(e), edit_(e)
    {
        create("EDIT", WS_TABSTOP | ES_AUTOHSCROLL | (e.read_only() ? ES_READONLY : 0), WS_EX_CLIENTEDGE);
    }
    bool on_command(int code) override
    {
        if (code == EN_CHANGE && !syncing_) {
            int n = GetWindowTextLengthA(hwnd());
            std::string t(static_cast<size_t>(n) + 1, '\0');
            GetWindowTextA(hwnd(), t.data(), n + 1);
            t.resize(static_cast<size_t>(n));
            in_change_ = true;
            dispatch([&] { edit_.user_changed_text(std::move(t)); });
            DWORD s = 0, e = 0;
            SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
            edit_.set_selection(static_cast<int>(s), static_cast<int>(e - s));
            in_change_ = false;
        }
        return true;
    }
    HBRUSH on_ctl_color(HDC dc) override
    {
        SetTextColor(dc, colorref(control().font().color));
        SetBkColor(dc, colorref(control().color()));
        return brush(control().color());
    }
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override
    {
        // Enter, Escape and Tab reach the key filter but not the field, which would beep.
        if (msg == WM_CHAR && (wp == '\r' || wp == 27 || wp == '\t')) {
            handle_char(wp);
            return result = 0, true;
        }
        return WindowPeer::on_message(msg, wp, lp, result);
    }

 protected:
    void sync_more(Prop what, int) override
    {
        bool all = what == Prop::All;
        if (all || what == Prop::ReadOnly) SendMessageA(hwnd(), EM_SETREADONLY, edit_.read_only(), 0);
        if (all) SendMessageA(hwnd(), EM_LIMITTEXT, edit_.max_length() > 0 ? edit_.max_length() : 0x7FFFFFFE, 0);
        if ((all || what == Prop::Selection) && !in_change_)
            SendMessageA(hwnd(), EM_SETSEL, edit_.sel_start(), edit_.sel_start() + edit_.sel_length());
    }

 private:
    Edit& edit_;
    bool in_change_ = false;
};

// Push buttons, check boxes and radio buttons. The check state is ours: the
// system control never flips it; BN_CLICKED runs click(), which flips the
// state (mirrored back here) before the handler runs.
class ButtonPeer : public WindowPeer {
 public:
    explicit ButtonPeer(Control& c) : WindowPeer(c)
    {
        DWORD style = WS_TABSTOP;
        if (c.kind() == ControlKind::CheckBox)
            style |= BS_CHECKBOX;
        else if (c.kind() == ControlKind::RadioButton)
            style |= BS_RADIOBUTTON;
        else
            style |= static_cast<Button&>(c).is_default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        create("BUTTON", style | BS_NOTIFY);
    }
    bool on_command(int code) override
    {
        if (code == BN_CLICKED) dispatch([this] { control().click(); });
        if (code == BN_DOUBLECLICKED) {
            // A quick second click is still a click for buttons, as users expect.
            if (control().kind() == ControlKind::Button)
                dispatch([this] { control().click(); });
            else
                dispatch([this] {
                    control().click();
                    control().dbl_click();
                });
        }
        return true;
    }
    HBRUSH on_ctl_color(HDC dc) override
    {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorref(control().font().color));
        Control* p = control().parent();
        return brush(p ? p->color() : control().color());
    }
    bool filters_chars() const override { return true; }

 protected:
    void sync_more(Prop what, int) override
    {
        bool all = what == Prop::All;
        if (all || what == Prop::Checked) {
            bool on = false;
            if (auto* c = dynamic_cast<CheckBox*>(&control())) on = c->checked();
            if (auto* r = dynamic_cast<RadioButton*>(&control())) on = r->checked();
            SendMessageA(hwnd(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        if ((all || what == Prop::Style) && control().kind() == ControlKind::Button) {
            bool def = static_cast<Button&>(control()).is_default();
            SendMessageA(hwnd(), BM_SETSTYLE, (def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_NOTIFY, TRUE);
        }
    }
};

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
        create("COMBOBOX", style);
        if (combo_.style() == ComboStyle::DropDown)
            if (HWND e = FindWindowExA(hwnd(), nullptr, "EDIT", nullptr))
                edit_ = std::make_unique<ComboEditPeer>(combo_, e);
        if (hwnd()) sync(Prop::All, -1);
    }

    ComboBox& combo_;
    std::unique_ptr<ComboEditPeer> edit_;
};

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

// Panels, tab sheets, tool bars and every painted control.
PaintPeer::PaintPeer(Control& c, DWORD style) : WindowPeer(c)
{
    create(register_class("OlvexPaint"), style | WS_CLIPCHILDREN);
}

bool PaintPeer::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
        case WM_ERASEBKGND:
            // Our own painting fills everything; a flat tool bar child asks us to
            // paint its background into its own DC.
            if (WindowFromDC(reinterpret_cast<HDC>(wp)) != hwnd()) {
                RECT r;
                GetClientRect(hwnd(), &r);
                FillRect(reinterpret_cast<HDC>(wp), &r, brush(control().color()));
            }
            return result = 1, true;
        case WM_PAINT:
            paint_control();
            return result = 0, true;
        case WM_LBUTTONDOWN:
            pressed_ = true;
            if (control().focusable()) SetFocus(hwnd());
            break;
        case WM_LBUTTONUP:
            if (pressed_) {
                pressed_ = false;
                WindowPeer::on_message(msg, wp, lp, result);
                dispatch([this] { control().click(); });
                return result = 0, true;
            }
            break;
        case WM_GETDLGCODE:
            return result = DLGC_WANTARROWS | DLGC_WANTCHARS, true;
        default:
            break;
    }
    return WindowPeer::on_message(msg, wp, lp, result);
}

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
        SelectObject(dc, window_font(panel_.font()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorref(panel_.font().color));
        RECT t = client;
        DrawTextA(dc, panel_.caption().c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

 private:
    Panel& panel_;
};

}  // namespace

std::unique_ptr<Peer> make_control_peer(Control& c)
{
    switch (c.kind()) {
        case ControlKind::Label:
        case ControlKind::StaticText:
            return std::make_unique<StaticPeer>(c);
        case ControlKind::Edit:
            return std::make_unique<EditPeer>(static_cast<Edit&>(c));
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            return std::make_unique<ButtonPeer>(c);
        case ControlKind::ComboBox:
            return std::make_unique<ComboPeer>(static_cast<ComboBox&>(c));
        case ControlKind::UpDown:
            return std::make_unique<UpDownPeer>(static_cast<UpDown&>(c));
        case ControlKind::GroupBox:
            return std::make_unique<GroupBoxPeer>(c);
        case ControlKind::Panel:
            return std::make_unique<PanelPeer>(static_cast<Panel&>(c));
        default:
            return std::make_unique<PaintPeer>(c);
    }
}

}  // namespace ui::win32

// The peer of an Edit (edit.h): a single-line EDIT whose typed characters pass
// the control's key filter and whose changes become user_changed_text().
#include "ui/edit.h"
#include "ui/win32/peer_factory.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {

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

}  // namespace

std::unique_ptr<Peer> make_edit_peer(Edit& e)
{
    return std::make_unique<EditPeer>(e);
}

}  // namespace ui::win32

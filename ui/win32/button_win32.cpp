// The BUTTON class peers' shared half, and the peer of a push Button (button.h).
#include "ui/win32/button_win32.h"

#include "ui/button.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

ButtonClassPeer::ButtonClassPeer(Control& c, DWORD style) : WindowPeer(c)
{
    create("BUTTON", WS_TABSTOP | style | BS_NOTIFY);
}

bool ButtonClassPeer::on_command(int code)
{
    if (code == BN_CLICKED) dispatch([this] { control().click(); });
    if (code == BN_DOUBLECLICKED) double_clicked();
    return true;
}

HBRUSH ButtonClassPeer::on_ctl_color(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorref(control().font().color));
    Control* p = control().parent();
    return brush(p ? p->color() : control().color());
}

void ButtonClassPeer::double_clicked()
{
    dispatch([this] {
        control().click();
        control().dbl_click();
    });
}

void ButtonClassPeer::show_checked(bool on)
{
    SendMessageA(hwnd(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

namespace {

class PushButtonPeer : public ButtonClassPeer {
 public:
    explicit PushButtonPeer(Button& b) : ButtonClassPeer(b, push_style(b)), button_(b) {}

 protected:
    // A quick second click is still a click for buttons, as users expect.
    void double_clicked() override
    {
        dispatch([this] { button_.click(); });
    }
    void sync_more(Prop what, int) override
    {
        if (what == Prop::All || what == Prop::Style)
            SendMessageA(hwnd(), BM_SETSTYLE, push_style(button_) | BS_NOTIFY, TRUE);
    }

 private:
    static DWORD push_style(const Button& b) { return b.is_default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON; }

    Button& button_;
};

}  // namespace

std::unique_ptr<Peer> make_button_peer(Button& b)
{
    return std::make_unique<PushButtonPeer>(b);
}

}  // namespace ui::win32

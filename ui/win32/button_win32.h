// The peers of the controls made of the system's BUTTON class: push buttons
// (button_win32.cpp), check boxes and radio buttons (check_box_win32.cpp,
// radio_button_win32.cpp). The check state is ours: the system control never
// flips it; BN_CLICKED runs click(), which flips the state (mirrored back
// here) before the handler runs.
#pragma once

#include "ui/win32/window_peer.h"

namespace ui::win32 {

class ButtonClassPeer : public WindowPeer {
 public:
    // style: the BS_* kind; the window is a Tab stop and notifies clicks.
    ButtonClassPeer(Control& c, DWORD style);
    bool on_command(int code) override;
    HBRUSH on_ctl_color(HDC dc) override;
    bool filters_chars() const override { return true; }

 protected:
    // A quick second click (BN_DOUBLECLICKED): a click, then a double click.
    virtual void double_clicked();
    // Shows a check box's or radio button's state.
    void show_checked(bool on);
};

}  // namespace ui::win32

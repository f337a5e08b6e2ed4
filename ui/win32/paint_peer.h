// PaintPeer: a window of our own class whose content is the control's paint()
// (bevels, shapes, images, paint boxes), and the base of the painted peers
// that draw more over it (panels, tool bars, tab sheets).
#pragma once

#include "ui/win32/window_peer.h"

namespace ui::win32 {

class PaintPeer : public WindowPeer {
 public:
    explicit PaintPeer(Control& c, DWORD style = 0);
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
    bool pressed_ = false;
};

}  // namespace ui::win32

// Peers of the ordinary controls, and PaintPeer: a window of our own class
// whose content is the control's paint() (panels, bevels, shapes, images,
// paint boxes; also the fallback for any kind without a peer of its own).
#pragma once

#include <memory>

#include "ui/win32/window_peer.h"

namespace ui::win32 {

class PaintPeer : public WindowPeer {
 public:
    explicit PaintPeer(Control& c, DWORD style = 0);
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
    bool pressed_ = false;
};

// Peers of labels, static texts, edits, buttons, check boxes, radio buttons,
// combo boxes, up-downs and group boxes; PaintPeer for anything else.
std::unique_ptr<Peer> make_control_peer(Control& c);

}  // namespace ui::win32

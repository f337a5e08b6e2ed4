// The Win32 peer factory's contract with the peers of our own two controls.
// text_view_win32.cpp and draw_grid_win32.cpp each define one of these; the
// factory (backend_win32.cpp) calls them for ControlKind::TextView/DrawGrid.
// A peer derives from WindowPeer (window_peer.h): create() a window of a class
// from register_class(), answer on_message(), paint through GdiCanvas. The
// message loop has already run Control::key_down() (form key preview, the
// control's on_key_down and handle_key_down()) for every WM_KEYDOWN and drops
// the message when that returned true; WM_CHAR reaches the peer's window.
#pragma once

#include <memory>

#include "ui/backend.h"

namespace ui::win32 {

std::unique_ptr<Peer> make_text_view_peer(Control& c);
std::unique_ptr<Peer> make_draw_grid_peer(Control& c);

}  // namespace ui::win32

// Until the draw grid has a Win32 peer of its own (draw_grid_win32.cpp, which
// sorts first in the library and so wins), it is a painted window showing its
// portable paint(). Delete this file once that peer exists.
#include "ui/win32/controls_win32.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

__attribute__((weak)) std::unique_ptr<Peer> make_draw_grid_peer(Control& c) { return std::make_unique<PaintPeer>(c); }

}  // namespace ui::win32

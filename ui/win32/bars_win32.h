// Peers of tool bars and tool buttons, page controls and sheets, status bars.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "ui/win32/window_peer.h"

namespace ui {
class ImageList;
}

namespace ui::win32 {

// The comctl32 image list of one of ours (cached for the program's life).
HIMAGELIST image_list(const ImageList* list);

// nullptr for other kinds.
std::unique_ptr<Peer> make_bar_peer(Control& c);

}  // namespace ui::win32

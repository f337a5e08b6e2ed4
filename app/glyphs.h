// The program's own pictures, drawn in code: the menu icons (ImageList1), the
// connect/disconnect glyphs of BtnCon (ImageList2) and the other tool glyphs.
#pragma once

#include "ui/image.h"

// Menu icon indexes in ImageList1 (10 and 11 are the keyboard pair).
namespace menu_image {
inline constexpr int connect = 0, disconnect = 1, settings = 2, clear = 3, save = 4, send_file = 5, send_integer = 6,
                     send_string = 7, send_tab = 8, send_eol = 9, keyboard_off = 10, keyboard_on = 11, send_eof = 12,
                     help = 13, exit = 14;
}
// Tool glyph indexes in the tool list.
namespace tool_image {
inline constexpr int clear = 0, send_eof = 1, send_eol = 2, send_tab = 3, send_string = 4, send_integer = 5,
                     send_file = 6, keyboard = 7;
}

void make_menu_images(ui::ImageList& list);
// Image 0 connect (a closed plug), image 1 disconnect (an open plug).
void make_connect_glyphs(ui::ImageList& list);
void make_tool_glyphs(ui::ImageList& list);

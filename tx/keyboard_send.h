// The main window's own transmit commands: typed characters in keyboard mode
// and the one-key commands Send Tab, Send EOL and Send EOF. Each is one
// tx_put, and each does nothing while no port is connected.
#pragma once

#include <cstdint>

#include "link/serial_link.h"
#include "ui/menu.h"
#include "ui/tool_bar.h"

// The bytes "Send EOL" puts for a line-break mode (0 CR, 1 LF, 2 CR+LF,
// 3 LF+CR, 4 CR or LF): written to out, count returned (1 or 2).
int eol_bytes(int line_break_mode, std::uint8_t out[2]);

void send_tab(SerialLink& link);
void send_eof(SerialLink& link);
void send_eol(SerialLink& link, int line_break_mode);
// A character the window previewed: sent when keyboard mode is on; Enter with
// Shift down goes out as LF. The character itself is left unchanged.
void send_typed(SerialLink& link, char key, bool keyboard_on, bool shift_down);

// The keyboard-mode pair: menu check mark, tool-bar toggle and the menu icon
// (image 10 off, 11 on, moved one step per switch).
inline constexpr int keyboard_image_off = 10;
void keyboard_button_switched(ui::ToolButton& button, ui::MenuItem& item);
void keyboard_item_switched(ui::MenuItem& item, ui::ToolButton& button);

// Keyboard mode and the Tab/EOL/EOF commands, all through tx_put. A full
// transmit FIFO drops the command silently and never splits a two-byte EOL.
#include "tx/keyboard_send.h"

namespace {

void put_byte(SerialLink& link, std::uint8_t b)
{
    if (link.connected()) link.tx_put(&b, 1);
}

void step_image(ui::MenuItem& item)
{
    item.set_image_index(item.image_index() + (item.checked() ? 1 : -1));
}

}  // namespace

int eol_bytes(int line_break_mode, std::uint8_t out[2])
{
    switch (line_break_mode) {
        case 1:
            out[0] = 10;
            return 1;
        case 2:
            out[0] = 13;
            out[1] = 10;
            return 2;
        case 3:
            out[0] = 10;
            out[1] = 13;
            return 2;
        default:
            out[0] = 13;
            return 1;  // CR, and "CR or LF"
    }
}

void send_tab(SerialLink& link)
{
    put_byte(link, 9);
}
void send_eof(SerialLink& link)
{
    put_byte(link, 0);
}

void send_eol(SerialLink& link, int line_break_mode)
{
    if (!link.connected()) return;
    std::uint8_t bytes[2] = {};
    link.tx_put(bytes, eol_bytes(line_break_mode, bytes));  // whole or nothing
}

void send_typed(SerialLink& link, char key, bool keyboard_on, bool shift_down)
{
    if (!link.connected() || !keyboard_on) return;
    std::uint8_t c = static_cast<std::uint8_t>(key);
    if (c == 13 && shift_down) c = 10;
    link.tx_put(&c, 1);
}

void keyboard_button_switched(ui::ToolButton& button, ui::MenuItem& item)
{
    item.set_checked(button.down());
    step_image(item);
}

void keyboard_item_switched(ui::MenuItem& item, ui::ToolButton& button)
{
    button.set_down(item.checked());
    step_image(item);
}

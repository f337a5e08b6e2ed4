// TMForm on a port that goes away under the connection (a USB adapter pulled,
// a device reset): keep what arrived, disconnect cleanly, say so, and reopen
// the same port every second while "Reconnect automatically" is on.
#include <cstdio>
#include <string>

#include "app/m_form.h"
#include "ui/application.h"
#include "ui/services.h"

namespace {

constexpr std::uint32_t reconnect_period_ms = 1000;

std::string lost_text(int port_num)
{
    char text[32];
    std::snprintf(text, sizeof text, "COM%d lost", port_num);
    return text;
}

}  // namespace

bool TMForm::modal_dialog_open() const
{
    for (const ui::Form* f : ui::app().forms())
        if (f->modal() && f->visible()) return true;
    return false;
}

// Runs on the tick after the receive thread reported the loss, once that tick
// has drained the receive FIFO into the store.
void TMForm::port_lost()
{
    loss_disconnect_ = true;
    menu.MMdiscon.click();
    loss_disconnect_ = false;
    port_lost_ = true;
    reconnect_tick_ = ui::tick_count_ms();
    // Disconect stays available: it is how the user ends the retrying.
    menu.MMdiscon.set_enabled(true);
    const std::string text = lost_text(port_settings.port_num);
    SB.set_panel_text(0, text);
    // Not on top of a dialog the user is busy with; and only once per loss.
    if (modal_dialog_open() || loss_box_open_) return;
    loss_box_open_ = true;
    ui::message_box(text + "!\nThe device went away; the data received before are kept.", "Error", ui::MsgIcon::Error,
                    ui::MsgButtons::Ok, this);
    loss_box_open_ = false;
}

void TMForm::retry_lost_port()
{
    if (!port_lost_ || !menu.MMreconnect.checked() || modal_dialog_open()) return;
    const std::uint32_t now = ui::tick_count_ms();
    if (now - reconnect_tick_ < reconnect_period_ms) return;
    reconnect_tick_ = now;
    // Silently: a port still missing is no news. The store goes on growing.
    if (link.com_connect(port_settings) != 0) return;
    port_lost_ = false;
    show_connected(true);
}

void TMForm::MMreconnectClick()
{
    port_settings.port_reconnect = menu.MMreconnect.checked() ? 1 : 0;
}

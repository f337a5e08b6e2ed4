// TMForm on a port that goes away under the connection: keep what arrived,
// disconnect cleanly, say so, and let PortLoss reopen it, under another
// number when the device came back there.
#include <cstdio>
#include <string>

#include "app/m_form.h"
#include "ui/application.h"
#include "ui/services.h"

namespace {

std::string lost_text(int port_num)
{
    char text[32];
    std::snprintf(text, sizeof text, "COM%d lost", port_num);
    return text;
}

bool modal_dialog_open()
{
    for (const ui::Form* f : ui::app().forms())
        if (f->modal() && f->visible()) return true;
    return false;
}

}  // namespace

// Runs on the tick after the receive thread reported the loss, once that tick
// has drained the receive FIFO into the store.
void TMForm::port_lost()
{
    menu.MMdiscon.click();
    loss.lost(ui::tick_count_ms());
    // Disconect stays available: it is how the user ends the retrying.
    menu.MMdiscon.set_enabled(true);
    const std::string text = lost_text(port_settings.port_num);
    SB.set_panel_text(0, text);
    // Not on top of a dialog the user is busy with; and only once per loss.
    if (modal_dialog_open() || !loss.take_box()) return;
    ui::message_box(text + "!\nThe device went away; the data received before are kept.", "Error", ui::MsgIcon::Error,
                    ui::MsgButtons::Ok, this);
    loss.box_done();
}

void TMForm::retry_lost_port()
{
    const bool allowed = menu.MMreconnect.checked() && !modal_dialog_open();
    // Silently: a port still missing is no news. The store goes on growing.
    if (!loss.retry(link, port_settings, allowed, ui::tick_count_ms(), port_watch.ports())) return;
    show_connected(true);
    if (const int old = loss.moved_from(); old != 0) {
        char text[48];
        std::snprintf(text, sizeof text, "COM%d is back as COM%d", old, static_cast<int>(port_settings.port_num));
        SB.set_panel_text(0, text);
    }
}

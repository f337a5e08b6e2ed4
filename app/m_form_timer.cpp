// TMForm's timers: Timer1 runs the receive tick and routes its result to the
// views and the status bar; Timer2 serves the Info page.
#include <cstdio>
#include <string>

#include "app/m_form.h"
#include "ui/services.h"
#include "views/text/text_commands.h"

namespace {

std::string fill_text(const char* prefix, std::int32_t n)
{
    char text[40];
    std::snprintf(text, sizeof text, "%s%dB", prefix, static_cast<int>(n));
    return text;
}

}  // namespace

void TMForm::Timer1Timer()
{
    if (!link.connected()) {
        rx_panel.show(fill_text(" Rx: ", ReceiveTick::store_length(link)));
        retry_lost_port();
        return;
    }
    const ReceiveTickResult r = receive.run(link, text_page.sink, ui::tick_count_ms(), ui::local_time_of_day_ms());
    if (r.drained.store > 0) {
        // What the store holds is what the user came for: only the port stops.
        menu.MMdiscon.click();
        ui::message_box(
            "Recieved data memory allocation failed! Probably not enough memory.\n"
            "Port was disconnected, recieved data were kept.",
            "Error", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        return;
    }
    if (r.drained.store == 0) follow.drained(text_page);
    // While a transfer owns the received stream the first panel says so.
    if (link.rx_diverted() != transfer_shown_) {
        transfer_shown_ = link.rx_diverted();
        SB.set_panel_text(0, transfer_shown_ ? "file transfer" : "connected");
    }

    SB.set_panel_text(3, fill_text(" rx: ", r.rx_waiting));
    SB.set_panel_text(4, fill_text(" tx: ", r.tx_waiting));
    char text[64];
    // A point as the decimal separator, whatever the user's locale says.
    std::snprintf(text, sizeof text, " Rx: %dB (%.3f kB/s)", static_cast<int>(r.bytes), r.rate / 1024.0);
    rx_panel.show(text);

    Timer1.set_interval(r.interval_ms);
    // Last, so that ticks running under its message box find everything settled.
    capture.report(r.drained);
    if (r.port_lost) port_lost();
}

void TMForm::Timer2Timer()
{
    info_page.refresh();
}

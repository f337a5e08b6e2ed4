// TMForm's timers: Timer1 drains the receive FIFO into the store, follows it
// with both views and writes the status bar; Timer2 serves the Info page.
#include <cstdio>
#include <string>

#include "app/m_form.h"
#include "ui/services.h"
#include "views/text_commands.h"

namespace {

std::int32_t store_length(const SerialLink& link)
{
    const RxStore* store = nullptr;
    link.rx_store_info(&store);
    return store ? store->length : 0;
}

std::string fill_text(const char* prefix, std::int32_t n)
{
    char text[40];
    std::snprintf(text, sizeof text, "%s%dB", prefix, static_cast<int>(n));
    return text;
}

}  // namespace

// The drain interval for a receive rate: a fast stream is moved in fewer,
// larger steps.
int timer1_interval_for(double bytes_per_second)
{
    if (bytes_per_second > 16384) return 1000;
    if (bytes_per_second > 4096) return 750;
    if (bytes_per_second > 2048) return 333;
    if (bytes_per_second > 1024) return 225;
    if (bytes_per_second > 512) return 150;
    return 100;
}

int timer1_interval_for(double bytes_per_second, std::int32_t rx_fifo_capacity)
{
    const int table = timer1_interval_for(bytes_per_second);
    // Faster than any serial line (over half the FIFO per interval, only a pty
    // gets there): drain often enough that the receive FIFO never fills, since
    // a full FIFO holds the receive thread and caps the throughput.
    if (bytes_per_second <= 0 || rx_fifo_capacity <= 0) return table;
    const double half_full_ms = rx_fifo_capacity * 500.0 / bytes_per_second;
    if (half_full_ms >= table) return table;
    return half_full_ms < timer1_fastest_ms ? timer1_fastest_ms : int(half_full_ms);
}

void TMForm::set_rx_panel(std::string base)
{
    rx_panel_base_ = base;
    SB.set_panel_text(1, base + capture.status_text());
}

void TMForm::Timer1Timer()
{
    if (!link.connected()) {
        set_rx_panel(fill_text(" Rx: ", store_length(link)));
        retry_lost_port();
        return;
    }
    // Taken before the drain: the receive thread reports the loss only after
    // its last bytes are in the FIFO, so this tick's drain takes them all.
    const bool lost = link.rx_port_lost();
    const std::int32_t rx_waiting = link.rx_fill();
    const std::int32_t tx_waiting = link.tx_fill();

    // Without a capture this is rx_store_append alone.
    const RxDrainResult drained = capture.drain.run(link, ui::tick_count_ms());
    const int r = drained.store;
    if (r > 0) {
        MMdiscon.click();
        MMclrrx.click();
        ui::message_box(
            "Recieved data memory allocation failed! Probably not enough memory.\n"
            "Port was disconnected, recieved data were lost.",
            "Error", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        return;
    }
    if (r == 0) {
        link.rx_text_drained(drained.store_from, ui::local_time_of_day_ms());
        follow.drained(text_page());
        plot.feed();
    }

    SB.set_panel_text(3, fill_text(" rx: ", rx_waiting));
    SB.set_panel_text(4, fill_text(" tx: ", tx_waiting));

    const std::uint32_t now = ui::tick_count_ms();
    const std::int32_t length = store_length(link);
    const std::int64_t grown =
        (rate_prev_tick_ != 0 && length > rate_prev_length_) ? std::int64_t(length) - rate_prev_length_ : 0;
    const std::uint32_t elapsed = now - rate_prev_tick_;
    const double rate = elapsed != 0 ? double(grown) * 1000.0 / double(elapsed) : 0.0;
    rate_prev_tick_ = now;
    rate_prev_length_ = length;

    char text[64];
    // A point as the decimal separator, whatever the user's locale says.
    std::snprintf(text, sizeof text, " Rx: %dB (%.3f kB/s)", static_cast<int>(length), rate / 1024.0);
    set_rx_panel(text);

    Timer1.set_interval(timer1_interval_for(rate, link.settings().port.port_rxth_size));
    // Last, so that ticks running under its message box find everything settled.
    capture.report(drained);
    if (lost) port_lost();
}

void TMForm::Timer2Timer()
{
    info_page.refresh();
}

// One connected tick of the receive side: the link's FIFO into its store (and
// the capture file), what the store gained converted into the text lines, and
// the figures the status bar and the timer need. No window: the caller routes
// the result to the views.
#pragma once

#include <cstdint>

#include "link/line_sink.h"
#include "link/rx_capture.h"
#include "link/serial_link.h"

// The tick's interval for a receive rate in bytes per second (100 to 1000 ms).
int timer1_interval_for(double bytes_per_second);
// The same, shortened when the stream would fill half the receive FIFO within
// one period (never below timer1_fastest_ms); serial rates never get there.
// late_ms: how much longer than its interval the last period was (a busy window
// thread; a changed interval restarts the timer after the handler), so the
// real period, not the interval, stays within the half-full time.
inline constexpr int timer1_fastest_ms = 20;
int timer1_interval_for(double bytes_per_second, std::int32_t rx_fifo_capacity, std::uint32_t late_ms = 0);

struct ReceiveTickResult {
    RxDrainResult drained;        // drained.store > 0: the store could not grow
    bool port_lost = false;       // the receive thread reported the port gone
    std::int32_t rx_waiting = 0;  // the FIFOs' fill before the drain
    std::int32_t tx_waiting = 0;
    std::int32_t bytes = 0;  // the store's length after the drain
    int lines = 0;           // lines the conversion added to the sink
    double rate = 0;         // store growth in bytes per second since the last tick
    int interval_ms = 100;   // the next tick's interval
};

class ReceiveTick {
 public:
    // now_ms: the tick count; time_of_day_ms: milliseconds after local midnight,
    // for the timestamps of the lines these bytes begin.
    ReceiveTickResult run(SerialLink& link, LineSink& text, std::uint32_t now_ms, std::uint32_t time_of_day_ms);

    // The store's length, connected or not.
    static std::int32_t store_length(const SerialLink& link);

    // The drain, with the capture it feeds.
    RxDrain drain;

 private:
    static void stamp_reads(SerialLink& link, std::int32_t from);

    // Rate meter: the last tick's time (0 none yet) and store length, and the
    // interval it asked for (Timer1's first).
    std::uint32_t prev_tick_ms_ = 0;
    std::int32_t prev_length_ = 0;
    int prev_interval_ms_ = 100;
};

// The receive tick: drain, convert, measure.
#include "views/receive_tick.h"

// A fast stream is moved in fewer, larger steps.
int timer1_interval_for(double bytes_per_second)
{
    if (bytes_per_second > 16384) return 1000;
    if (bytes_per_second > 4096) return 750;
    if (bytes_per_second > 2048) return 333;
    if (bytes_per_second > 1024) return 225;
    if (bytes_per_second > 512) return 150;
    return 100;
}

int timer1_interval_for(double bytes_per_second, std::int32_t rx_fifo_capacity, std::uint32_t late_ms)
{
    const int table = timer1_interval_for(bytes_per_second);
    // Faster than any serial line (over half the FIFO per interval, only a pty
    // gets there): drain often enough that the receive FIFO never fills, since
    // a full FIFO holds the receive thread and caps the throughput.
    if (bytes_per_second <= 0 || rx_fifo_capacity <= 0) return table;
    const double half_full_ms = rx_fifo_capacity * 500.0 / bytes_per_second - double(late_ms);
    if (half_full_ms >= table) return table;
    return half_full_ms < timer1_fastest_ms ? timer1_fastest_ms : int(half_full_ms);
}

// A line's time stamp is the time its first byte was read, not the drain's.
void ReceiveTick::stamp_reads(SerialLink& link, std::int32_t from)
{
    const TrafficRecord& traffic = link.traffic();
    std::size_t i = traffic.rx_read_count();
    while (i > 0 && traffic.rx_read_pos(i - 1) > from) --i;
    if (i > 0 && traffic.rx_read_pos(i - 1) == from) --i;
    for (; i < traffic.rx_read_count(); ++i) {
        const std::int32_t pos = traffic.rx_read_pos(i);
        if (pos >= from) link.rx_text_drained(pos, traffic.time_of_day_ms(traffic.rx_read_time(i)));
    }
}

std::int32_t ReceiveTick::store_length(const SerialLink& link)
{
    const RxStore* store = nullptr;
    link.rx_store_info(&store);
    return store ? store->length : 0;
}

ReceiveTickResult ReceiveTick::run(SerialLink& link, LineSink& text, std::uint32_t now_ms, std::uint32_t time_of_day_ms)
{
    ReceiveTickResult r;
    // Taken before the drain: the receive thread reports the loss only after
    // its last bytes are in the FIFO, so this drain takes them all.
    r.port_lost = link.rx_port_lost();
    r.rx_waiting = link.rx_fill();
    r.tx_waiting = link.tx_fill();

    // Tied before the drain, so every time the drain records maps at or before this tick.
    link.traffic().anchor(link.clock_us(), time_of_day_ms);
    // Without a capture this is rx_store_append alone. A file transfer's bytes
    // are the transfer's: the store and the views go on after it.
    if (!link.rx_diverted()) r.drained = drain.run(link, now_ms);
    if (r.drained.store > 0) return r;  // the caller disconnects and clears
    if (r.drained.store == 0) {
        link.rx_text_drained(r.drained.store_from, time_of_day_ms);
        stamp_reads(link, r.drained.store_from);
        const int before = text.line_count();
        link.rx_text_update(text);
        r.lines = text.line_count() - before;
    }

    r.bytes = store_length(link);
    const std::int64_t grown =
        (prev_tick_ms_ != 0 && r.bytes > prev_length_) ? std::int64_t(r.bytes) - prev_length_ : 0;
    const std::uint32_t elapsed = now_ms - prev_tick_ms_;
    r.rate = elapsed != 0 ? double(grown) * 1000.0 / double(elapsed) : 0.0;
    const std::uint32_t asked = std::uint32_t(prev_interval_ms_);
    const std::uint32_t late = prev_tick_ms_ != 0 && elapsed > asked ? elapsed - asked : 0;
    prev_tick_ms_ = now_ms;
    prev_length_ = r.bytes;
    const std::int32_t capacity = link.settings().port.port_rxth_size;
    // Found over half full, the FIFO may have held the line: the growth is then
    // only a floor of the line's rate, so the next tick comes as soon as it can.
    r.interval_ms = r.rx_waiting > capacity / 2 ? timer1_fastest_ms : timer1_interval_for(r.rate, capacity, late);
    prev_interval_ms_ = r.interval_ms;
    return r;
}

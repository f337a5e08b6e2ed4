// The receive thread: polls the driver's receive queue, reads what it holds
// and puts each read whole into the receive FIFO.
#include <algorithm>
#include <memory>

#include "link/port_threads_internal.h"
#include "platform/thread_priority.h"

namespace {

constexpr std::int32_t read_buffer_size = 32768;

// A port whose count or read keeps failing this long (and for this many
// passes in a row) is gone: a USB adapter pulled, a pty's far end closed.
constexpr std::int64_t lost_after_ms = 250;
constexpr int lost_after_failures = 3;
// Once lost the thread only waits to be stopped; it keeps no core busy.
constexpr std::int32_t lost_pause_ms = 50;
// While a transfer runs the thread waits this long on the port for a byte
// instead of pausing; it bounds how late a stop is noticed.
constexpr std::int32_t transfer_wait_ms = 20;

struct RxState {
    unsigned char buffer[read_buffer_size];
    std::int32_t pending = 0;     // bytes read and not yet in the FIFO
    int idle_passes = 0;          // passes in a row that found the driver's queue empty
    std::int64_t idle_since = 0;  // tick of the first of them
    int failures = 0;             // driver calls failed in a row
    std::int64_t first_failure = 0;
    bool lost = false;
    std::int64_t read_time = 0;  // of the read pending
    std::uint32_t writes_seen = 0;
    bool waiting_timeouts = false;  // the port's read time-outs are the transfer's
    bool timeouts_refused = false;  // for this transfer; asked again at the next
};

// What the passes work on; the link owns it all and outlives the thread.
struct RxWork {
    PortHandle port;
    RxSide& side;
    Usart& usart;
    const LinkSettings& settings;
    std::atomic<bool>& lost_flag;
    ThreadShared& shared;
};

// A write since the last look: the answer may come at any moment, so the
// thread leaves its idle pace and polls at the configured pause again.
bool wrote_since(const RxWork& w, RxState& s)
{
    const std::uint32_t writes = w.shared.writes.load(std::memory_order_relaxed);
    if (writes == s.writes_seen) return false;
    s.writes_seen = writes;
    return true;
}

// The idle pause in steps of the configured one, cut short by a write.
void idle_pause(const RxWork& w, RxState& s, std::int32_t ms)
{
    const std::int32_t step = w.settings.port.port_rxth_sleep > 0 ? w.settings.port.port_rxth_sleep : 1;
    for (std::int32_t slept = 0; slept < ms; slept += step) {
        port_pause_ms(step);
        if (wrote_since(w, s)) {
            s.idle_passes = 0;
            return;
        }
    }
}

void note_driver_result(RxState& s, bool failed)
{
    if (!failed) {
        s.failures = 0;
        return;
    }
    const std::int64_t now = port_tick_ms();
    if (s.failures++ == 0) s.first_failure = now;
    if (s.failures >= lost_after_failures && now - s.first_failure >= lost_after_ms) s.lost = true;
}

// Call under the receive lock. A transfer's waiting read is one byte under a
// total time-out alone: it ends at that byte, or empty after the time-out
// (measured so on Wine's pty too). The configured ones come back after it.
void use_transfer_timeouts(const RxWork& w, RxState& s, bool on)
{
    if (!on) s.timeouts_refused = false;
    if (s.waiting_timeouts == on || s.timeouts_refused) return;
    const PortSettings& p = w.settings.port;
    const int r = on ? w.usart.usart_set_timeouts(w.port, 0, transfer_wait_ms, 0, 0, 0)
                     : w.usart.usart_set_timeouts(w.port, 0, p.port_rx_to, p.port_rx_mult, 0, 0);
    // A port that refuses keeps its pause: the thread then never waits unbounded.
    s.waiting_timeouts = on && r == 0;
    s.timeouts_refused = on && r != 0;
}

// While a transfer runs and the driver's queue was empty: waits on the port for
// the next byte, outside the lock (the window's drain and snapshot go on). The
// byte goes on at once, as it is mostly a whole answer (an ACK); what follows
// it is read by the next pass. False when the wait itself failed.
bool wait_for_bytes(const RxWork& w, RxState& s)
{
    const std::int32_t got = w.usart.usart_read(w.port, s.buffer, 1);
    if (got <= 0) return got == 0;
    s.pending = 1;
    s.read_time = w.shared.resources.clock_us();
    std::lock_guard guard(w.side.lock);
    w.side.read_in_hand_us = s.read_time;
    return true;
}

// One pass; true when the stop flag was set at its start.
bool rx_pass(const RxWork& w, RxState& s)
{
    bool stop;
    const bool transfer = w.side.transfers.load(std::memory_order_relaxed) != 0;
    bool queue_empty = false;
    {
        std::lock_guard guard(w.side.lock);
        stop = w.side.stop != 0;
        if (!s.lost) use_transfer_timeouts(w, s, transfer);
        if (s.pending == 0 && !s.lost) {
            std::int32_t count = 0;
            bool failed = false;
            // A failed count or read is no byte count: read nothing this pass.
            if (w.usart.usart_rx_count(w.port, &count) != 0 || count < 0) {
                count = 0;
                failed = true;
            }
            if (count == 0 && s.idle_passes == 0) s.idle_since = port_tick_ms();
            s.idle_passes = count != 0 ? 0 : s.idle_passes + 1;
            if (count != 0) {
                const std::int32_t got = w.usart.usart_read(w.port, s.buffer, std::min(count, read_buffer_size));
                if (got > 0) {
                    s.pending = got;
                    s.read_time = w.shared.resources.clock_us();
                    w.side.read_in_hand_us = s.read_time;
                }
                failed = got < 0;
            }
            note_driver_result(s, failed);
            queue_empty = count == 0 && !failed;
        }
    }
    bool skip_pause = false;
    const bool waiting = transfer && s.waiting_timeouts;
    if (queue_empty && waiting) {
        // The wait was the pause; a failed one pauses below as any failure does.
        const bool ok = wait_for_bytes(w, s);
        note_driver_result(s, !ok);
        skip_pause = ok;
    }
    std::int32_t moved = 0;
    if (s.pending != 0) {
        std::lock_guard guard(w.side.lock);
        if (fifo_put(w.side.fifo, s.buffer, s.pending) == 0) {
            w.side.reads.note(s.pending, s.read_time);
            w.side.read_in_hand_us = -1;
            moved = s.pending;
            s.pending = 0;
            // Poll again at once after bytes moved: drivers that report at most a
            // few KB per count (Wine's 4095) would otherwise pause after every
            // read and cap a burst at a few MB/s. An empty queue still pauses.
            skip_pause = true;
        }
    }
    if (transfer && moved != 0) w.side.arrived.ring();
    const PortSettings& settings = w.settings.port;
    if (s.lost) {
        // Raised only once every byte read is in the FIFO, so the window that
        // drains and then disconnects loses none of them.
        if (s.pending == 0) w.lost_flag = true;
        port_pause_ms(lost_pause_ms);
    } else if (waiting) {
        // Only a failure or a full FIFO pauses (never a spin on a failing port).
        if (!skip_pause) port_pause_ms(std::max(1, settings.port_rxth_sleep));
    } else if (wrote_since(w, s)) {
        s.idle_passes = 0;
        if (!skip_pause) port_pause_ms(settings.port_rxth_sleep);
    } else if (s.idle_passes >= idle_passes_before_backoff &&
               port_tick_ms() - s.idle_since >= rx_quiet_before_backoff_ms) {
        idle_pause(w, s, rx_idle_pause_ms(settings));
    } else if (!skip_pause) {
        port_pause_ms(settings.port_rxth_sleep);
    }
    return stop;
}

}  // namespace

void rx_thread_body(PortHandle port, RxSide& side, Usart& usart, const LinkSettings& settings, std::atomic<bool>& lost,
                    ThreadShared& shared)
{
    set_current_thread_priority(ThreadPriority::above_normal);
    const RxWork work{port, side, usart, settings, lost, shared};
    auto state = std::make_unique<RxState>();
    state->writes_seen = shared.writes.load();
    while (!rx_pass(work, *state)) {
    }
}

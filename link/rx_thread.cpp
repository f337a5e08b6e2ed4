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

// One pass; true when the stop flag was set at its start.
bool rx_pass(const RxWork& w, RxState& s)
{
    bool stop;
    {
        std::lock_guard guard(w.side.lock);
        stop = w.side.stop != 0;
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
        }
    }
    bool skip_pause = false;
    if (s.pending != 0) {
        std::lock_guard guard(w.side.lock);
        if (fifo_put(w.side.fifo, s.buffer, s.pending) == 0) {
            w.side.reads.note(s.pending, s.read_time);
            w.side.read_in_hand_us = -1;
            s.pending = 0;
            // Poll again at once after bytes moved: drivers that report at most a
            // few KB per count (Wine's 4095) would otherwise pause after every
            // read and cap a burst at a few MB/s. An empty queue still pauses.
            skip_pause = true;
        }
    }
    const PortSettings& settings = w.settings.port;
    if (s.lost) {
        // Raised only once every byte read is in the FIFO, so the window that
        // drains and then disconnects loses none of them.
        if (s.pending == 0) w.lost_flag = true;
        port_pause_ms(lost_pause_ms);
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

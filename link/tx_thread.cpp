// The transmit thread: takes blocks from the transmit FIFO and writes as much
// of each as the driver's transmit queue has room for, with hold, drop request
// and a two-second time-out for a port that accepts nothing.
#include <algorithm>
#include <memory>

#include "link/port_threads_internal.h"
#include "platform/thread_priority.h"

namespace {

// Outside a transfer a block is at most tx_block_limit (1024) bytes. While a
// transfer runs the thread takes up to twice that, so a protocol's 1 KiB block
// with its header and check (1029 bytes) goes out in one write, not two.
constexpr std::int32_t block_limit_max = 1024;
constexpr std::int32_t block_buffer_size = 2 * block_limit_max;
constexpr std::int64_t timeout_ms = 2000;

struct TxState {
    unsigned char block[block_buffer_size];
    std::int32_t pos = 0;       // next byte of the block to send
    std::int32_t pending = 0;   // bytes of the block the port has not accepted
    bool cut = false;           // the block was cut at tx_block_limit
    std::int64_t progress = 0;  // last fetch or accepted write
    // A write still under way owns `record` and its bytes in `block`: no new
    // write and no new block until it has finished.
    PortWriteRecord record;
    bool in_flight = false;
    int idle_passes = 0;  // passes in a row with nothing to send
};

// What the passes work on; the link owns it all and outlives the thread.
struct TxWork {
    PortHandle port;
    TxSide& side;
    Usart& usart;
    const LinkSettings& settings;
    ThreadShared& shared;
};

// Call under the transmit lock: the block handed to the driver, with its time
// (taken before the write, so a peer that has the bytes sees the time taken),
// for the traffic record.
void note_write(const TxWork& work, const unsigned char* bytes, std::int32_t n, std::int64_t at_us)
{
    TxSide& side = work.side;
    if (!side.writes.exists()) return;
    std::int32_t room = 0;
    fifo_space(side.sent, &room);
    if (room < n) {
        side.unrecorded += n;
    } else {
        fifo_put(side.sent, bytes, n);
        side.writes.note(n, at_us);
    }
    work.shared.writes.fetch_add(1, std::memory_order_relaxed);
}

// Call under the transmit lock. A write that has finished is progress: the
// port took its bytes.
void poll_write(const TxWork& work, TxState& s)
{
    if (s.in_flight && work.usart.driver().write_result(work.port, s.record, nullptr) != PortIo::pending) {
        s.in_flight = false;
        s.progress = port_tick_ms();
    }
}

// One pass; true when the stop flag was set at its start.
bool tx_pass(const TxWork& work, TxState& s)
{
    TxSide& side = work.side;
    const LinkSettings& settings = work.settings;
    bool stop, hold;
    bool blocked = false;  // data waits in the FIFO behind a write still under way
    // Taken before the FIFO is looked at, so a put after the look ends the
    // wait below at once.
    const std::uint32_t puts_seen = side.puts.count();
    const bool transfer = side.transfers.load(std::memory_order_relaxed) != 0;
    {
        std::lock_guard guard(side.lock);
        stop = side.stop != 0;
        hold = side.hold != 0;
        if (side.drop_request) {
            side.drop_request = 0;
            s.pending = 0;
            side.block_pending = 0;
        }
        poll_write(work, s);
        if (!hold && s.pending == 0) {
            std::int32_t n = 0;
            fifo_fill(side.fifo, &n);
            if (s.in_flight) {
                blocked = n != 0;
            } else if (n != 0) {
                const std::int32_t limit =
                    transfer ? block_buffer_size : std::clamp(settings.tx_block_limit, 1, block_limit_max);
                s.cut = n > limit;
                if (s.cut) n = limit;
                fifo_get(side.fifo, s.block, n);
                s.pos = 0;
                s.pending = n;
                side.block_pending = n;
                s.progress = port_tick_ms();
            }
        }
    }
    if (hold || (s.pending == 0 && !blocked)) {
        s.idle_passes = hold || s.in_flight ? 0 : s.idle_passes + 1;
        // Idle (or between a transfer's blocks): the next put ends the wait,
        // so the block of a conversation (a protocol's answer) goes out at once.
        const bool wait_for_put = !hold && !s.in_flight && (transfer || s.idle_passes >= idle_passes_before_backoff);
        if (wait_for_put) {
            const std::int32_t ms = transfer ? idle_pause_cap_ms : tx_idle_pause_ms(settings.port);
            if (side.puts.wait(puts_seen, ms) != puts_seen) s.idle_passes = 0;
        } else {
            port_pause_ms(settings.port.port_txth_sleep);
        }
        return stop;
    }
    s.idle_passes = 0;

    std::int32_t accepted = 0;
    {
        std::lock_guard guard(side.lock);
        poll_write(work, s);
        std::int32_t queued = 0;
        // A queue count that cannot be read counts as a full queue.
        if (!s.in_flight && s.pending != 0 && work.usart.usart_tx_count(work.port, &queued) == 0 &&
            settings.tx_queue_size > queued) {
            const std::int32_t w = std::min(settings.tx_queue_size - queued, s.pending);
            const std::int64_t at_us = side.writes.exists() ? work.shared.resources.clock_us() : 0;
            // Write errors are not detected: the bytes count as accepted.
            if (work.usart.driver().write(work.port, s.block + s.pos, static_cast<std::uint32_t>(w), s.record) ==
                PortIo::pending)
                s.in_flight = true;
            accepted = w;
            side.block_pending = s.pending - w;
            note_write(work, s.block + s.pos, w, at_us);
        }
    }

    const std::int64_t now = port_tick_ms();
    if (accepted != 0) {
        s.progress = now;
    } else if (now - s.progress > timeout_ms) {
        std::lock_guard guard(side.lock);
        fifo_clear(side.fifo);
        side.timeout = 1;
        s.pending = 0;
        side.block_pending = 0;
        s.progress = now;
        // Purging does not end a pending write everywhere, which would then
        // refill the purged queue; cancel it first. The record stays ours
        // until the write reports its end.
        if (s.in_flight) work.usart.driver().cancel_io(work.port);
        work.usart.usart_purge_tx(work.port);
    }
    s.pending -= accepted;
    s.pos += accepted;
    // A transfer's finished block needs no pause: the next pass waits for a put.
    if (accepted == 0 || (s.pending == 0 && !s.cut && !transfer)) port_pause_ms(settings.port.port_txth_sleep);
    return stop;
}

// The record and the bytes of a write that never reports its end must
// outlive the thread, so they are left allocated rather than freed under it.
void finish_write(const TxWork& work, std::unique_ptr<TxState>& s)
{
    if (!s->in_flight) return;
    PortDriver& driver = work.usart.driver();
    driver.cancel_io(work.port);
    const std::int64_t deadline = port_tick_ms() + 5000;
    while (port_tick_ms() < deadline) {
        if (driver.write_result(work.port, s->record, nullptr) != PortIo::pending) return;
        port_pause_ms(1);
    }
    static_cast<void>(s.release());
}

}  // namespace

void tx_thread_body(PortHandle port, TxSide& side, Usart& usart, const LinkSettings& settings, ThreadShared& shared)
{
    set_current_thread_priority(ThreadPriority::normal);
    const TxWork work{port, side, usart, settings, shared};
    auto state = std::make_unique<TxState>();
    while (!tx_pass(work, *state)) {
    }
    finish_write(work, state);
}

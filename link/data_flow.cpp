// Locked operations on the receive and transmit FIFOs. The locks outlive any
// connection, so these are safe (and report empty) while disconnected.
#include "link/data_flow.h"

int TxSide::put(const void* src, std::int32_t n)
{
    if (!src || n <= 0) return 1;
    {
        std::lock_guard guard(lock);
        if (fifo_put(fifo, src, n) != 0) return 2;
    }
    puts.ring();
    return 0;
}

std::int32_t TxSide::fill()
{
    std::lock_guard guard(lock);
    std::int32_t n = 0;
    fifo_fill(fifo, &n);
    return n;
}

std::int32_t TxSide::free_space()
{
    std::lock_guard guard(lock);
    std::int32_t n = 0;
    fifo_space(fifo, &n);
    return n;
}

void TxSide::set_hold(int flag)
{
    std::lock_guard guard(lock);
    hold = flag ? 1 : 0;
}

void TxSide::clear()
{
    std::lock_guard guard(lock);
    fifo_clear(fifo);
    drop_request = 1;
}

int TxSide::timeout_flag()
{
    std::lock_guard guard(lock);
    return timeout;
}

std::int32_t TxSide::pending_block()
{
    std::lock_guard guard(lock);
    return block_pending;
}

std::int64_t TxSide::queued()
{
    std::lock_guard guard(lock);
    std::int32_t in_fifo = 0, in_sent = 0;
    fifo_fill(fifo, &in_fifo);
    fifo_fill(sent, &in_sent);
    return std::int64_t(in_fifo) + block_pending + in_sent + unrecorded;
}

void TxSide::timeout_reset()
{
    std::lock_guard guard(lock);
    timeout = 0;
}

std::int32_t RxSide::fill()
{
    std::lock_guard guard(lock);
    std::int32_t n = 0;
    fifo_fill(fifo, &n);
    return n;
}

int RxSide::get(void* dst, std::int32_t n, std::vector<TimeNote>* notes)
{
    std::lock_guard guard(lock);
    const int r = fifo_get(fifo, dst, n);
    // Whoever takes the bytes takes their notes, so the two stay in step.
    if (r == 0) reads.take(n, notes);
    return r;
}

std::int64_t RxSide::taken_before(std::int64_t now_us)
{
    std::lock_guard guard(lock);
    std::int64_t t = now_us;
    const std::int64_t oldest = reads.oldest_time();
    if (oldest >= 0 && oldest < t) t = oldest;
    if (read_in_hand_us >= 0 && read_in_hand_us < t) t = read_in_hand_us;
    return t;
}

std::int64_t TxSide::take_sent(std::vector<TimeNote>& notes, std::vector<std::uint8_t>& bytes)
{
    std::lock_guard guard(lock);
    writes.take_all(notes);
    std::int32_t n = 0;
    fifo_fill(sent, &n);
    const std::size_t at = bytes.size();
    bytes.resize(at + std::size_t(n));
    if (n > 0) fifo_get(sent, bytes.data() + at, n);
    const std::int64_t lost = unrecorded;
    unrecorded = 0;
    return lost;
}

// Locked operations on the receive and transmit FIFOs. The locks outlive any
// connection, so these are safe (and report empty) while disconnected.
#include "link/data_flow.h"

RxSide rx_side;
TxSide tx_side;

int tx_put(const void* src, std::int32_t n)
{
    if (!src || n <= 0) return 1;
    std::lock_guard guard(tx_side.lock);
    return fifo_put(tx_side.fifo, src, n) == 0 ? 0 : 2;
}

std::int32_t tx_fill()
{
    std::lock_guard guard(tx_side.lock);
    std::int32_t n = 0;
    fifo_fill(tx_side.fifo, &n);
    return n;
}

std::int32_t tx_free()
{
    std::lock_guard guard(tx_side.lock);
    std::int32_t n = 0;
    fifo_space(tx_side.fifo, &n);
    return n;
}

void tx_hold(int flag)
{
    std::lock_guard guard(tx_side.lock);
    tx_side.hold = flag ? 1 : 0;
}

void tx_clear()
{
    std::lock_guard guard(tx_side.lock);
    fifo_clear(tx_side.fifo);
    tx_side.drop_request = 1;
}

int tx_timeout_flag()
{
    std::lock_guard guard(tx_side.lock);
    return tx_side.timeout;
}

std::int32_t tx_block_pending()
{
    std::lock_guard guard(tx_side.lock);
    return tx_side.block_pending;
}

void tx_timeout_reset()
{
    std::lock_guard guard(tx_side.lock);
    tx_side.timeout = 0;
}

std::int32_t rx_fill()
{
    std::lock_guard guard(rx_side.lock);
    std::int32_t n = 0;
    fifo_fill(rx_side.fifo, &n);
    return n;
}

int rx_get(void* dst, std::int32_t n)
{
    std::lock_guard guard(rx_side.lock);
    return fifo_get(rx_side.fifo, dst, n);
}

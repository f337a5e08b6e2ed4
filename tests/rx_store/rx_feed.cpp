// Puts bytes into the real receive FIFO under the receive lock, as the receive thread does.
#include "rx_feed.h"

#include <mutex>

#include "link/data_flow.h"

void rx_feed_open()
{
    std::lock_guard guard(rx_side.lock);
    fifo_release(rx_side.fifo);
    fifo_create(rx_side.fifo, fifo_max_capacity);
}

void rx_feed_close()
{
    std::lock_guard guard(rx_side.lock);
    fifo_release(rx_side.fifo);
}

bool rx_feed(std::string_view bytes)
{
    std::lock_guard guard(rx_side.lock);
    return fifo_put(rx_side.fifo, bytes.data(), int32_t(bytes.size())) == 0;
}

// Puts bytes into the link's real receive FIFO under the receive lock, as the receive thread does.
#include "rx_feed.h"

#include <mutex>

void rx_feed_open(SerialLink& link)
{
    RxSide& side = link.rx_side();
    std::lock_guard guard(side.lock);
    fifo_release(side.fifo);
    fifo_create(side.fifo, fifo_max_capacity);
}

bool rx_feed(SerialLink& link, std::string_view bytes)
{
    RxSide& side = link.rx_side();
    std::lock_guard guard(side.lock);
    return fifo_put(side.fifo, bytes.data(), int32_t(bytes.size())) == 0;
}

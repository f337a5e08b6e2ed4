// The receive thread: polls the driver's receive queue, reads what it holds
// and puts each read whole into the receive FIFO.
#include <algorithm>
#include <memory>

#include "link/data_flow.h"
#include "link/port_settings.h"
#include "link/port_threads_internal.h"
#include "link/usart.h"
#include "platform/thread_priority.h"

namespace {

constexpr std::int32_t read_buffer_size = 32768;

struct RxState {
    unsigned char buffer[read_buffer_size];
    std::int32_t pending = 0;  // bytes read and not yet in the FIFO
};

// One pass; true when the stop flag was set at its start.
bool rx_pass(PortHandle port, RxState& s)
{
    bool stop;
    {
        std::lock_guard guard(rx_side.lock);
        stop = rx_side.stop != 0;
        if (s.pending == 0) {
            std::int32_t count = 0;
            // A failed count or read is no byte count: read nothing this pass.
            if (usart_rx_count(port, &count) != 0 || count < 0) count = 0;
            if (count != 0) {
                const std::int32_t got = usart_read(port, s.buffer, std::min(count, read_buffer_size));
                if (got > 0) s.pending = got;
            }
        }
    }
    bool skip_pause = false;
    if (s.pending != 0) {
        std::lock_guard guard(rx_side.lock);
        if (fifo_put(rx_side.fifo, s.buffer, s.pending) == 0) {
            s.pending = 0;
            // Poll again at once after bytes moved: drivers that report at most a
            // few KB per count (Wine's 4095) would otherwise pause after every
            // read and cap a burst at a few MB/s. An empty queue still pauses.
            skip_pause = true;
        }
    }
    if (!skip_pause) port_pause_ms(port_settings.port_rxth_sleep);
    return stop;
}

}  // namespace

void rx_thread_body(PortHandle port)
{
    set_current_thread_priority(ThreadPriority::above_normal);
    auto state = std::make_unique<RxState>();
    while (!rx_pass(port, *state)) {
    }
}

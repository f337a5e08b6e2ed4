// The worker threads' bodies, shared between port_threads.cpp (lifecycle) and
// the pass files (rx_thread.cpp, tx_thread.cpp).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "link/data_flow.h"
#include "link/link_resources.h"
#include "link/port_driver.h"
#include "link/port_settings.h"
#include "link/usart.h"

// Tick counter in milliseconds since program start.
std::int64_t port_tick_ms();
// The pause between passes; 0 yields the processor.
void port_pause_ms(std::int32_t ms);

// What both threads share besides their sides: the clock their reads and
// writes are timed by, and a count of writes, which tells the receive thread a
// reply may be on its way (it then polls at its configured pause, not idly).
struct ThreadShared {
    LinkResources& resources;
    std::atomic<std::uint32_t> writes{0};
    explicit ThreadShared(LinkResources& r) : resources(r) {}
};

// Runs receive passes until one notices the stop flag; sets `lost` once the
// port is gone and every byte read is in the FIFO.
void rx_thread_body(PortHandle port, RxSide& side, Usart& usart, const LinkSettings& settings, std::atomic<bool>& lost,
                    ThreadShared& shared);
// Runs transmit passes until one notices the stop flag; ends any write still
// under way before it returns.
void tx_thread_body(PortHandle port, TxSide& side, Usart& usart, const LinkSettings& settings, ThreadShared& shared);

// A thread that found nothing to move this many passes in a row is idle and
// pauses longer: polling an idle port every millisecond costs a few percent of
// a core under Wine. Any byte brings the configured pause back at once.
inline constexpr int idle_passes_before_backoff = 16;
inline constexpr std::int32_t idle_pause_cap_ms = 20;
// The receive thread also waits this long before it slows down: within a
// conversation its reads keep the poll period's resolution, which the frame
// gaps and reply times are measured with.
inline constexpr std::int64_t rx_quiet_before_backoff_ms = 250;
// The receive thread's idle pause: the configured one, raised toward the cap
// only as far as the driver's receive queue stays at most half full at the
// configured rate (ten bits a character) before the thread looks again.
std::int32_t rx_idle_pause_ms(const PortSettings& s);
// The transmit thread's idle pause: a byte put meanwhile waits at most this long.
std::int32_t tx_idle_pause_ms(const PortSettings& s);

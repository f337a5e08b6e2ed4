// Lifecycle of the two worker threads: creation held at a start gate (the
// portable form of CREATE_SUSPENDED), resume, and the stop protocol.
#include "link/port_threads.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "link/port_threads_internal.h"
#include "platform/clock.h"

class WorkerThread {
 public:
    template <class Body>
    WorkerThread(Body body, bool held)
        : held_(held), thread_([this, body] {
              wait_gate();
              body();
          })
    {
    }

    // Opens the start gate, unless the thread is to stay there until stopped.
    void resume()
    {
        if (!held_) open_gate();
    }

    void open_gate()
    {
        std::lock_guard guard(gate_lock_);
        open_ = true;
        gate_.notify_all();
    }

    void join()
    {
        if (thread_.joinable()) thread_.join();
    }

 private:
    void wait_gate()
    {
        std::unique_lock guard(gate_lock_);
        gate_.wait(guard, [this] { return open_; });
    }

    const bool held_;
    std::mutex gate_lock_;
    std::condition_variable gate_;
    bool open_ = false;
    std::thread thread_;  // last: starts only once the gate exists
};

namespace {

template <class Body>
int create(std::unique_ptr<WorkerThread>& slot, ThreadStart start, Body body)
{
    if (start == ThreadStart::refuse) return 2;
    try {
        slot = std::make_unique<WorkerThread>(body, start == ThreadStart::held);
    } catch (const std::system_error&) {
        return 2;
    } catch (const std::bad_alloc&) {
        return 2;
    }
    return 0;
}

int resume(std::unique_ptr<WorkerThread>& slot)
{
    if (!slot) return 1;
    slot->resume();
    return 0;
}

template <class Side>
int stop(std::unique_ptr<WorkerThread>& slot, Side& side)
{
    if (!slot) return 1;
    // A thread that was never resumed must run to see its flag.
    slot->open_gate();
    {
        std::lock_guard guard(side.lock);
        side.stop = 1;
    }
    slot->join();
    slot.reset();
    return 0;
}

}  // namespace

PortThreads::PortThreads(Usart& usart, RxSide& rx, TxSide& tx, const LinkSettings& settings, LinkResources& resources)
    : usart_(usart),
      rx_(rx),
      tx_(tx),
      settings_(settings),
      resources_(resources),
      shared_(std::make_unique<ThreadShared>(resources))
{
}

PortThreads::~PortThreads()
{
    rx_thread_stop();
    tx_thread_stop();
}

int PortThreads::rx_thread_create(PortHandle port)
{
    rx_lost_ = false;
    {
        std::lock_guard guard(rx_.lock);
        rx_.stop = 0;
    }
    if (rx_worker_) return 2;
    return create(rx_worker_, resources_.thread_start(LinkThread::rx),
                  [this, port] { rx_thread_body(port, rx_, usart_, settings_, rx_lost_, *shared_); });
}

int PortThreads::tx_thread_create(PortHandle port)
{
    {
        std::lock_guard guard(tx_.lock);
        tx_.stop = 0;
        tx_.hold = 0;
        tx_.drop_request = 0;
        tx_.block_pending = 0;
    }
    if (tx_worker_) return 2;
    return create(tx_worker_, resources_.thread_start(LinkThread::tx),
                  [this, port] { tx_thread_body(port, tx_, usart_, settings_, *shared_); });
}

int PortThreads::rx_thread_resume()
{
    return resume(rx_worker_);
}

int PortThreads::tx_thread_resume()
{
    return resume(tx_worker_);
}

int PortThreads::rx_thread_stop()
{
    return stop(rx_worker_, rx_);
}

int PortThreads::tx_thread_stop()
{
    return stop(tx_worker_, tx_);
}

std::int64_t port_tick_ms()
{
    static const std::int64_t origin = monotonic_us();
    return (monotonic_us() - origin) / 1000;
}

void port_pause_ms(std::int32_t ms)
{
    if (ms <= 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::int32_t rx_idle_pause_ms(const PortSettings& s)
{
    const std::int32_t base = s.port_rxth_sleep;
    if (base >= idle_pause_cap_ms || s.port_baud <= 0) return base;
    const double half_full_ms = s.port_rx_size * 5000.0 / s.port_baud;
    if (half_full_ms <= base) return base;
    return half_full_ms >= idle_pause_cap_ms ? idle_pause_cap_ms : static_cast<std::int32_t>(half_full_ms);
}

std::int32_t tx_idle_pause_ms(const PortSettings& s)
{
    return std::max(s.port_txth_sleep, idle_pause_cap_ms);
}

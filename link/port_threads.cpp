// Lifecycle of the two worker threads: creation held at a start gate (the
// portable form of CREATE_SUSPENDED), resume, and the stop protocol.
#include "link/port_threads.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "link/data_flow.h"
#include "link/port_threads_internal.h"

namespace {

class WorkerThread {
 public:
    template <class Body>
    explicit WorkerThread(Body body)
        : thread_([this, body] {
              wait_gate();
              body();
          })
    {
    }

    void resume()
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

    std::mutex gate_lock_;
    std::condition_variable gate_;
    bool open_ = false;
    std::thread thread_;  // last: starts only once the gate exists
};

std::unique_ptr<WorkerThread> rx_worker;
std::unique_ptr<WorkerThread> tx_worker;
bool fail_rx_create = false;
bool fail_tx_create = false;

template <class Body>
int create(std::unique_ptr<WorkerThread>& slot, bool& fail_next, Body body)
{
    if (slot) return 2;
    if (fail_next) {
        fail_next = false;
        return 2;
    }
    try {
        slot = std::make_unique<WorkerThread>(body);
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
    slot->resume();
    {
        std::lock_guard guard(side.lock);
        side.stop = 1;
    }
    slot->join();
    slot.reset();
    return 0;
}

}  // namespace

std::atomic<bool> rx_lost_flag{false};

bool rx_port_lost()
{
    return rx_lost_flag;
}

int rx_thread_create(PortHandle port)
{
    rx_lost_flag = false;
    {
        std::lock_guard guard(rx_side.lock);
        rx_side.stop = 0;
    }
    return create(rx_worker, fail_rx_create, [port] { rx_thread_body(port); });
}

int tx_thread_create(PortHandle port)
{
    {
        std::lock_guard guard(tx_side.lock);
        tx_side.stop = 0;
        tx_side.hold = 0;
        tx_side.drop_request = 0;
        tx_side.block_pending = 0;
    }
    return create(tx_worker, fail_tx_create, [port] { tx_thread_body(port); });
}

int rx_thread_resume()
{
    return resume(rx_worker);
}
int tx_thread_resume()
{
    return resume(tx_worker);
}
int rx_thread_stop()
{
    return stop(rx_worker, rx_side);
}
int tx_thread_stop()
{
    return stop(tx_worker, tx_side);
}
bool rx_thread_exists()
{
    return rx_worker != nullptr;
}
bool tx_thread_exists()
{
    return tx_worker != nullptr;
}

void port_threads_fail_next_create(bool rx, bool tx)
{
    fail_rx_create = rx;
    fail_tx_create = tx;
}

std::int64_t port_tick_ms()
{
    static const auto origin = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - origin).count();
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

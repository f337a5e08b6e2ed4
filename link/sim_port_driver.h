// SimPortDriver: an in-memory serial device behind the port driver seam, for
// tests: driver queues, a line paced by baud rate and frame, modem lines,
// output flow control, a peer end, exclusive open and fault injection.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "link/port_driver.h"

class SimPortDriver final : public PortDriver {
 public:
    enum class Call {
        open,
        close,
        get_state,
        set_state,
        setup_queues,
        set_timeouts,
        purge,
        clear_error,
        modem_status,
        read,
        write,
        write_result,
        cancel_io,
        escape,
        set_break,
        count_
    };
    static constexpr int always = -1;

    SimPortDriver();
    ~SimPortDriver() override;

    // --- test side: devices -------------------------------------------------
    // A device answering to "\\.\COMn" and "COMn".
    void add_port(int n);
    // The device disappears mid-stream: every later call on its handles fails
    // (close still releases the handle), pending writes fail, opens fail.
    void vanish(int n);
    // The device comes back (the adapter plugged in again): new opens succeed;
    // handles from before the loss stay dead.
    void reappear(int n);
    bool is_open(int n);
    int open_handles();

    // --- test side: the far end of the line ---------------------------------
    // Bytes the peer sends: they cross the line at the baud rate into the
    // driver's receive queue.
    void peer_write(int n, const void* data, std::size_t size);
    // Bytes that have reached the peer, taken out.
    std::vector<unsigned char> peer_read(int n, std::size_t max = SIZE_MAX);
    std::size_t peer_available(int n);
    // Bytes still waiting on the line toward the port (not yet in the queue).
    std::size_t peer_unsent(int n);
    // Input lines of the port (output lines of the peer). All on but RI and CD at first.
    void set_modem(int n, bool cts, bool dsr, bool ring, bool rlsd);
    // Line errors the driver reports at the next ClearCommError (PORT_CE_*
    // bits, added to what is pending); the bytes on the line are untouched.
    void inject_errors(int n, std::uint32_t mask);

    // --- test side: scripted time ---------------------------------------------
    // Bytes the peer sends at script time at_us (microseconds): they go onto the
    // line when the script's clock reaches that time. A link timed by
    // script_time() then sees reads at exactly the scripted times.
    void peer_write_at(int n, std::int64_t at_us, const void* data, std::size_t size);
    void set_script_time(std::int64_t us);
    std::int64_t script_time();

    // --- test side: what the port layer did ---------------------------------
    PortDcb dcb(int n);
    PortTimeouts timeouts(int n);
    std::uint32_t in_queue_size(int n);
    std::uint32_t out_queue_size(int n);
    std::uint32_t rx_queued(int n);
    std::uint32_t tx_queued(int n);  // driver queue plus bytes of pending writes
    std::vector<std::uint32_t> purges(int n);
    std::uint64_t bytes_lost(int n);  // receive queue overruns
    // Output lines of the port as EscapeCommFunction and the DCB left them
    // (on at open), and the break state with every change of it so far.
    bool dtr(int n);
    bool rts(int n);
    bool in_break(int n);
    std::vector<bool> break_log(int n);
    int pending_writes();
    int writes_gone_pending();  // writes that did not finish at once, so far
    // Misuses of the seam seen so far: a pending write's record reused or its
    // bytes changed, a handle closed with a write still pending.
    int violations();
    // How often `call` was made so far, failed or not.
    int call_count(Call call);

    // --- test side: behaviour -----------------------------------------------
    // The next `times` calls of `call` fail (always = every call until heal()).
    void fail(Call call, int times = 1);
    void heal();
    // false: bytes cross the line at once.
    void set_paced(bool paced);
    // Behave like Wine on a pty: cbOutQue reads 0 (back-pressure only as a
    // pending write) and PURGE_TXABORT does not end pending writes.
    void set_wine_like(bool on);
    void set_os_major_version(std::uint32_t v);

    // --- PortDriver -----------------------------------------------------------
    PortHandle open(const char* name, bool overlapped) override;
    bool close(PortHandle h) override;
    bool get_state(PortHandle h, PortDcb* dcb) override;
    bool set_state(PortHandle h, const PortDcb& dcb) override;
    bool setup_queues(PortHandle h, std::uint32_t in_queue, std::uint32_t out_queue) override;
    bool set_timeouts(PortHandle h, const PortTimeouts& t) override;
    bool purge(PortHandle h, std::uint32_t flags) override;
    bool clear_error(PortHandle h, std::uint32_t* errors, PortComStat* stat) override;
    bool modem_status(PortHandle h, std::uint32_t* bits) override;
    bool read(PortHandle h, void* buffer, std::uint32_t n, std::uint32_t* got) override;
    PortIo write(PortHandle h, const void* data, std::uint32_t n, PortWriteRecord& record) override;
    PortIo write_result(PortHandle h, PortWriteRecord& record, std::uint32_t* sent) override;
    bool cancel_io(PortHandle h) override;
    bool escape(PortHandle h, std::uint32_t function) override;
    bool set_break(PortHandle h, bool on) override;
    std::uint32_t os_major_version() override;
    // Windows' codes: 2 no such device, 5 the device is held, 87 a DCB the
    // device refuses, 31 an injected failure; per thread, as GetLastError is.
    std::uint32_t last_error() override;

 private:
    using Clock = std::chrono::steady_clock;

    struct WriteOp {
        std::uintptr_t handle = 0;
        const unsigned char* data = nullptr;
        std::vector<unsigned char> snapshot;  // the bytes as they were at the call
        std::uint32_t taken = 0;
        PortIo state = PortIo::pending;
        std::thread::id thread;
    };

    struct Device {
        bool vanished = false;
        std::uintptr_t handle = 0;  // 0 while closed
        PortDcb dcb;
        PortTimeouts timeouts;
        std::uint32_t in_size = 4096;
        std::uint32_t out_size = 4096;
        std::deque<unsigned char> line_in;   // peer bytes on the way to the port
        std::deque<unsigned char> rx_queue;  // driver receive queue
        std::deque<unsigned char> tx_queue;  // driver transmit queue
        std::deque<std::uint32_t> writes;    // pending writes, in order
        std::vector<unsigned char> peer_in;  // bytes that reached the peer
        bool cts = true, dsr = true, ring = false, rlsd = false;
        bool dtr = true, rts = true, in_break = false;
        std::vector<bool> break_log;
        std::uint32_t errors = 0;
        std::uint64_t lost = 0;
        std::vector<std::uint32_t> purge_log;
        Clock::time_point rx_clock, tx_clock;
        std::multimap<std::int64_t, std::vector<unsigned char>> scheduled;  // by script time
    };

    bool injected_failure(Call call);
    // Like GetLastError: each thread sees the code of its own last failed call.
    static thread_local std::uint32_t last_error_code_;
    template <class T>
    static T fail_with(std::uint32_t code, T result)
    {
        last_error_code_ = code;
        return result;
    }
    Device* device_of(PortHandle h);  // null for an unknown, closed or vanished handle
    Device& port(int n);
    double char_seconds(const Device& d) const;
    void advance(Device& d);
    void advance_rx(Device& d, Clock::time_point now);
    void advance_tx(Device& d, Clock::time_point now);
    void feed_tx_queue(Device& d);
    void end_writes(Device& d, std::uintptr_t handle, bool only_this_thread);
    std::uint32_t queued_out(const Device& d) const;  // driver queue plus pending writes

    std::mutex lock_;
    std::map<int, Device> devices_;
    std::map<std::uint32_t, WriteOp> ops_;
    std::uintptr_t next_handle_ = 0x1000;
    std::uint32_t next_op_ = 1;
    int fail_count_[static_cast<int>(Call::count_)] = {};
    int call_count_[static_cast<int>(Call::count_)] = {};
    int violations_ = 0;
    int gone_pending_ = 0;
    bool paced_ = true;
    bool wine_like_ = false;
    std::uint32_t os_major_ = 6;
    std::int64_t script_us_ = 0;
};

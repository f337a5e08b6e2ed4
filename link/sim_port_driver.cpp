// The simulated serial device. The line is advanced lazily: every call first
// moves the bytes that the elapsed time at the baud rate allows.
#include "link/sim_port_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

SimPortDriver::SimPortDriver() = default;
SimPortDriver::~SimPortDriver() = default;

// ---------------------------------------------------------------- test side

void SimPortDriver::add_port(int n)
{
    std::lock_guard g(lock_);
    Device& d = devices_[n];
    d = Device{};
    d.dcb.BaudRate = 9600;
    d.dcb.fBinary = 1;
    d.dcb.fDtrControl = PORT_DTR_CONTROL_ENABLE;
    d.dcb.fRtsControl = PORT_RTS_CONTROL_ENABLE;
    d.dcb.fTXContinueOnXoff = 1;
    d.dcb.XonLim = 2048;
    d.dcb.XoffLim = 512;
    d.dcb.XonChar = 0x11;
    d.dcb.XoffChar = 0x13;
    d.rx_clock = d.tx_clock = Clock::now();
}

void SimPortDriver::vanish(int n)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    advance(d);
    d.vanished = true;
    end_writes(d, 0, false);
}

void SimPortDriver::reappear(int n)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    if (!d.vanished) return;
    d.vanished = false;
    d.handle = 0;
    d.line_in.clear();
    d.rx_queue.clear();
    d.tx_queue.clear();
    d.errors = 0;
    d.rx_clock = d.tx_clock = Clock::now();
}

void SimPortDriver::inject_errors(int n, std::uint32_t mask)
{
    std::lock_guard g(lock_);
    port(n).errors |= mask;
}

bool SimPortDriver::is_open(int n)
{
    std::lock_guard g(lock_);
    return port(n).handle != 0;
}

int SimPortDriver::open_handles()
{
    std::lock_guard g(lock_);
    int count = 0;
    for (auto& [n, d] : devices_) count += d.handle != 0;
    return count;
}

void SimPortDriver::peer_write(int n, const void* data, std::size_t size)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    advance(d);
    const auto* p = static_cast<const unsigned char*>(data);
    if (d.line_in.empty()) d.rx_clock = Clock::now();  // an idle line builds no credit
    d.line_in.insert(d.line_in.end(), p, p + size);
    advance(d);
}

void SimPortDriver::peer_write_at(int n, std::int64_t at_us, const void* data, std::size_t size)
{
    std::lock_guard g(lock_);
    const auto* p = static_cast<const unsigned char*>(data);
    port(n).scheduled.emplace(at_us, std::vector<unsigned char>(p, p + size));
    advance(port(n));
}

void SimPortDriver::set_script_time(std::int64_t us)
{
    std::lock_guard g(lock_);
    script_us_ = us;
    for (auto& [n, d] : devices_) advance(d);
}

std::int64_t SimPortDriver::script_time()
{
    std::lock_guard g(lock_);
    return script_us_;
}

std::vector<unsigned char> SimPortDriver::peer_read(int n, std::size_t max)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    advance(d);
    const std::size_t k = std::min(max, d.peer_in.size());
    std::vector<unsigned char> out(d.peer_in.begin(), d.peer_in.begin() + static_cast<std::ptrdiff_t>(k));
    d.peer_in.erase(d.peer_in.begin(), d.peer_in.begin() + static_cast<std::ptrdiff_t>(k));
    return out;
}

std::size_t SimPortDriver::peer_available(int n)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    advance(d);
    return d.peer_in.size();
}

std::size_t SimPortDriver::peer_unsent(int n)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    advance(d);
    return d.line_in.size();
}

void SimPortDriver::set_modem(int n, bool cts, bool dsr, bool ring, bool rlsd)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    advance(d);
    d.cts = cts;
    d.dsr = dsr;
    d.ring = ring;
    d.rlsd = rlsd;
}

PortDcb SimPortDriver::dcb(int n)
{
    std::lock_guard g(lock_);
    return port(n).dcb;
}
PortTimeouts SimPortDriver::timeouts(int n)
{
    std::lock_guard g(lock_);
    return port(n).timeouts;
}
std::uint32_t SimPortDriver::in_queue_size(int n)
{
    std::lock_guard g(lock_);
    return port(n).in_size;
}
std::uint32_t SimPortDriver::out_queue_size(int n)
{
    std::lock_guard g(lock_);
    return port(n).out_size;
}
std::vector<std::uint32_t> SimPortDriver::purges(int n)
{
    std::lock_guard g(lock_);
    return port(n).purge_log;
}
std::uint64_t SimPortDriver::bytes_lost(int n)
{
    std::lock_guard g(lock_);
    return port(n).lost;
}
bool SimPortDriver::dtr(int n)
{
    std::lock_guard g(lock_);
    return port(n).dtr;
}
bool SimPortDriver::rts(int n)
{
    std::lock_guard g(lock_);
    return port(n).rts;
}
bool SimPortDriver::in_break(int n)
{
    std::lock_guard g(lock_);
    return port(n).in_break;
}
std::vector<bool> SimPortDriver::break_log(int n)
{
    std::lock_guard g(lock_);
    return port(n).break_log;
}
int SimPortDriver::violations()
{
    std::lock_guard g(lock_);
    return violations_;
}
int SimPortDriver::writes_gone_pending()
{
    std::lock_guard g(lock_);
    return gone_pending_;
}

std::uint32_t SimPortDriver::rx_queued(int n)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    advance(d);
    return static_cast<std::uint32_t>(d.rx_queue.size());
}

std::uint32_t SimPortDriver::tx_queued(int n)
{
    std::lock_guard g(lock_);
    Device& d = port(n);
    advance(d);
    return queued_out(d);
}

int SimPortDriver::pending_writes()
{
    std::lock_guard g(lock_);
    int count = 0;
    for (auto& [id, op] : ops_) count += op.state == PortIo::pending;
    return count;
}

void SimPortDriver::fail(Call call, int times)
{
    std::lock_guard g(lock_);
    fail_count_[static_cast<int>(call)] = times;
}

void SimPortDriver::heal()
{
    std::lock_guard g(lock_);
    std::fill(std::begin(fail_count_), std::end(fail_count_), 0);
}

void SimPortDriver::set_paced(bool paced)
{
    std::lock_guard g(lock_);
    paced_ = paced;
}
void SimPortDriver::set_wine_like(bool on)
{
    std::lock_guard g(lock_);
    wine_like_ = on;
}
void SimPortDriver::set_os_major_version(std::uint32_t v)
{
    std::lock_guard g(lock_);
    os_major_ = v;
}

// ---------------------------------------------------------------- internals

int SimPortDriver::call_count(Call call)
{
    std::lock_guard g(lock_);
    return call_count_[static_cast<int>(call)];
}

thread_local std::uint32_t SimPortDriver::last_error_code_ = 0;

bool SimPortDriver::injected_failure(Call call)
{
    ++call_count_[static_cast<int>(call)];
    int& count = fail_count_[static_cast<int>(call)];
    if (count == 0) return false;
    if (count > 0) --count;
    last_error_code_ = 31;  // ERROR_GEN_FAILURE
    return true;
}

SimPortDriver::Device* SimPortDriver::device_of(PortHandle h)
{
    const auto token = reinterpret_cast<std::uintptr_t>(h);
    if (token == 0) return nullptr;
    for (auto& [n, d] : devices_)
        if (d.handle == token) return d.vanished ? nullptr : &d;
    return nullptr;
}

SimPortDriver::Device& SimPortDriver::port(int n)
{
    auto it = devices_.find(n);
    if (it == devices_.end()) {
        std::fprintf(stderr, "SimPortDriver: no device COM%d\n", n);
        std::abort();
    }
    return it->second;
}

double SimPortDriver::char_seconds(const Device& d) const
{
    static constexpr double stop_bits[3] = {1.0, 1.5, 2.0};
    const double bits = 1.0 + d.dcb.ByteSize + (d.dcb.Parity != PORT_NOPARITY ? 1.0 : 0.0) +
                        stop_bits[std::min<int>(d.dcb.StopBits, 2)];
    return bits / std::max<std::uint32_t>(d.dcb.BaudRate, 1);
}

void SimPortDriver::advance(Device& d)
{
    if (d.vanished) return;
    const auto now = Clock::now();
    while (!d.scheduled.empty() && d.scheduled.begin()->first <= script_us_) {
        auto& bytes = d.scheduled.begin()->second;
        if (d.line_in.empty()) d.rx_clock = now;
        d.line_in.insert(d.line_in.end(), bytes.begin(), bytes.end());
        d.scheduled.erase(d.scheduled.begin());
    }
    advance_rx(d, now);
    advance_tx(d, now);
}

void SimPortDriver::advance_rx(Device& d, Clock::time_point now)
{
    const bool handshake =
        d.dcb.fRtsControl == PORT_RTS_CONTROL_HANDSHAKE || d.dcb.fDtrControl == PORT_DTR_CONTROL_HANDSHAKE;
    std::size_t budget = d.line_in.size();
    if (paced_) {
        const double elapsed = std::chrono::duration<double>(now - d.rx_clock).count();
        budget = std::min(budget, static_cast<std::size_t>(elapsed / char_seconds(d)));
    }
    std::size_t moved = 0;
    while (moved < budget) {
        if (d.handle != 0 && d.rx_queue.size() < d.in_size) {
            d.rx_queue.push_back(d.line_in.front());
        } else if (d.handle != 0 && handshake) {
            break;  // the driver drops RTS/DTR and the peer waits
        } else {
            if (d.handle != 0) d.errors |= PORT_CE_RXOVER;
            ++d.lost;  // overrun, or nobody has the port open
        }
        d.line_in.pop_front();
        ++moved;
    }
    if (!paced_ || moved < budget || d.line_in.empty())
        d.rx_clock = now;
    else
        d.rx_clock +=
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(moved * char_seconds(d)));
}

void SimPortDriver::advance_tx(Device& d, Clock::time_point now)
{
    feed_tx_queue(d);
    const bool held = (d.dcb.fOutxCtsFlow && !d.cts) || (d.dcb.fOutxDsrFlow && !d.dsr);
    if (held || d.tx_queue.empty()) {
        d.tx_clock = now;
        return;
    }
    const double per_char = char_seconds(d);
    std::size_t budget = SIZE_MAX;
    if (paced_) budget = static_cast<std::size_t>(std::chrono::duration<double>(now - d.tx_clock).count() / per_char);
    std::size_t moved = 0;
    while (moved < budget && !d.tx_queue.empty()) {
        const std::size_t k = std::min(budget - moved, d.tx_queue.size());
        d.peer_in.insert(d.peer_in.end(), d.tx_queue.begin(), d.tx_queue.begin() + static_cast<std::ptrdiff_t>(k));
        d.tx_queue.erase(d.tx_queue.begin(), d.tx_queue.begin() + static_cast<std::ptrdiff_t>(k));
        moved += k;
        feed_tx_queue(d);
    }
    if (!paced_ || d.tx_queue.empty())
        d.tx_clock = now;
    else
        d.tx_clock += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(moved * per_char));
}

// Moves bytes of pending writes, oldest first, into the room of the transmit
// queue. The bytes are read from the caller's buffer only now, as a real
// device would, so a buffer reused too early shows in the data.
void SimPortDriver::feed_tx_queue(Device& d)
{
    while (!d.writes.empty() && d.tx_queue.size() < d.out_size) {
        WriteOp& op = ops_[d.writes.front()];
        const auto size = static_cast<std::uint32_t>(op.snapshot.size());
        const std::uint32_t k =
            std::min<std::uint32_t>(size - op.taken, d.out_size - static_cast<std::uint32_t>(d.tx_queue.size()));
        if (std::memcmp(op.data + op.taken, op.snapshot.data() + op.taken, k) != 0) ++violations_;
        d.tx_queue.insert(d.tx_queue.end(), op.data + op.taken, op.data + op.taken + k);
        op.taken += k;
        if (op.taken == size) {
            op.state = PortIo::done;
            d.writes.pop_front();
        }
    }
}

// Ends pending writes as failed: those of one handle (and one thread), or all.
void SimPortDriver::end_writes(Device& d, std::uintptr_t handle, bool only_this_thread)
{
    const auto me = std::this_thread::get_id();
    std::deque<std::uint32_t> kept;
    for (std::uint32_t id : d.writes) {
        WriteOp& op = ops_[id];
        if ((handle == 0 || op.handle == handle) && (!only_this_thread || op.thread == me))
            op.state = PortIo::failed;
        else
            kept.push_back(id);
    }
    d.writes.swap(kept);
}

std::uint32_t SimPortDriver::queued_out(const Device& d) const
{
    auto count = static_cast<std::uint32_t>(d.tx_queue.size());
    for (std::uint32_t id : d.writes) {
        const WriteOp& op = ops_.at(id);
        count += static_cast<std::uint32_t>(op.snapshot.size()) - op.taken;
    }
    return count;
}

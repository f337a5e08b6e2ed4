// The simulated device's side of the port driver seam: the calls the port
// layer makes, each with its injectable failure.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

#include "link/sim_port_driver.h"

namespace {

constexpr std::uint32_t record_magic = 0x53494d57;  // "SIMW"
constexpr std::uint32_t maxdword = 0xffffffffu;

struct RecordTag {
    std::uint32_t magic;
    std::uint32_t op;
};

RecordTag tag_of(const PortWriteRecord& r)
{
    RecordTag t;
    std::memcpy(&t, r.os, sizeof t);
    return t;
}

// "\\.\COMn" or "COMn" -> n, or 0.
int port_number_of(const char* name)
{
    if (!name) return 0;
    if (std::strncmp(name, "\\\\.\\", 4) == 0) name += 4;
    int n = 0;
    char tail = 0;
    if (std::sscanf(name, "COM%d%c", &n, &tail) != 1) return 0;
    return n;
}

}  // namespace

PortHandle SimPortDriver::open(const char* name, bool)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::open)) return fail_with<PortHandle>(31, nullptr);
    auto it = devices_.find(port_number_of(name));
    if (it == devices_.end()) return fail_with<PortHandle>(2, nullptr);
    Device& d = it->second;
    if (d.vanished) return fail_with<PortHandle>(2, nullptr);
    if (d.handle != 0) return fail_with<PortHandle>(5, nullptr);  // no sharing
    advance(d);
    d.handle = next_handle_++;
    d.errors = 0;
    d.dtr = d.rts = true;
    d.in_break = false;
    d.rx_clock = d.tx_clock = Clock::now();
    return reinterpret_cast<PortHandle>(d.handle);
}

bool SimPortDriver::close(PortHandle h)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::close)) return false;
    const auto token = reinterpret_cast<std::uintptr_t>(h);
    for (auto& [n, d] : devices_) {
        if (token == 0 || d.handle != token) continue;
        advance(d);
        const auto before = d.writes.size();
        end_writes(d, token, false);
        if (d.writes.size() != before) ++violations_;  // closed under a pending write
        d.handle = 0;
        d.in_break = false;
        d.rx_queue.clear();
        d.tx_queue.clear();
        return true;
    }
    return false;
}

bool SimPortDriver::get_state(PortHandle h, PortDcb* dcb)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::get_state)) return false;
    Device* d = device_of(h);
    if (!d || !dcb) return false;
    *dcb = d->dcb;
    return true;
}

bool SimPortDriver::set_state(PortHandle h, const PortDcb& dcb)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::set_state)) return fail_with(31, false);
    Device* d = device_of(h);
    if (!d) return fail_with(6, false);
    // What a serial driver refuses: no rate, odd frame sizes, 1.5 stop bits
    // other than with 5 data bits and 2 stop bits with 5 data bits.
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > 4 || dcb.StopBits > 2)
        return fail_with(87, false);
    if ((dcb.StopBits == PORT_ONE5STOPBITS) != (dcb.ByteSize == 5) && dcb.StopBits != PORT_ONESTOPBIT)
        return fail_with(87, false);
    advance(*d);
    d->dcb = dcb;
    // Enable and disable set the line; a handshake leaves it to the driver.
    if (dcb.fDtrControl != PORT_DTR_CONTROL_HANDSHAKE) d->dtr = dcb.fDtrControl == PORT_DTR_CONTROL_ENABLE;
    if (dcb.fRtsControl != PORT_RTS_CONTROL_HANDSHAKE && dcb.fRtsControl != PORT_RTS_CONTROL_TOGGLE)
        d->rts = dcb.fRtsControl == PORT_RTS_CONTROL_ENABLE;
    return true;
}

bool SimPortDriver::setup_queues(PortHandle h, std::uint32_t in_queue, std::uint32_t out_queue)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::setup_queues)) return false;
    Device* d = device_of(h);
    if (!d || in_queue == 0 || out_queue == 0) return false;
    advance(*d);
    d->in_size = in_queue;
    d->out_size = out_queue;
    return true;
}

bool SimPortDriver::set_timeouts(PortHandle h, const PortTimeouts& t)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::set_timeouts)) return false;
    Device* d = device_of(h);
    if (!d) return false;
    d->timeouts = t;
    return true;
}

bool SimPortDriver::purge(PortHandle h, std::uint32_t flags)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::purge)) return false;
    Device* d = device_of(h);
    if (!d) return false;
    advance(*d);
    d->purge_log.push_back(flags);
    if (flags & PORT_PURGE_RXCLEAR) d->rx_queue.clear();
    if (flags & PORT_PURGE_TXCLEAR) d->tx_queue.clear();
    if ((flags & PORT_PURGE_TXABORT) && !wine_like_) end_writes(*d, 0, false);
    return true;
}

bool SimPortDriver::clear_error(PortHandle h, std::uint32_t* errors, PortComStat* stat)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::clear_error)) return false;
    Device* d = device_of(h);
    if (!d) return false;
    advance(*d);
    if (errors) *errors = d->errors;
    d->errors = 0;
    if (stat) {
        *stat = PortComStat{};
        stat->fCtsHold = d->dcb.fOutxCtsFlow && !d->cts;
        stat->fDsrHold = d->dcb.fOutxDsrFlow && !d->dsr;
        stat->cbInQue = static_cast<std::uint32_t>(d->rx_queue.size());
        stat->cbOutQue = wine_like_ ? 0 : queued_out(*d);
    }
    return true;
}

bool SimPortDriver::modem_status(PortHandle h, std::uint32_t* bits)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::modem_status)) return false;
    Device* d = device_of(h);
    if (!d || !bits) return false;
    *bits = (d->cts ? PORT_MS_CTS_ON : 0) | (d->dsr ? PORT_MS_DSR_ON : 0) | (d->ring ? PORT_MS_RING_ON : 0) |
            (d->rlsd ? PORT_MS_RLSD_ON : 0);
    return true;
}

bool SimPortDriver::read(PortHandle h, void* buffer, std::uint32_t n, std::uint32_t* got)
{
    if (got) *got = 0;
    std::unique_lock g(lock_);
    if (injected_failure(Call::read)) return false;
    Device* d = device_of(h);
    if (!d || !buffer) return false;
    // Total time-outs as Windows applies them; all zero waits for all n bytes.
    const PortTimeouts t = d->timeouts;
    const bool at_once =
        t.ReadIntervalTimeout == maxdword && t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0;
    const bool no_limit = t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<std::uint64_t>(t.ReadTotalTimeoutMultiplier) * n +
                                                 t.ReadTotalTimeoutConstant);
    for (;;) {
        d = device_of(h);
        if (!d) return false;  // vanished or closed under the read
        advance(*d);
        if (d->rx_queue.size() >= n || at_once || (!no_limit && Clock::now() >= deadline)) break;
        g.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        g.lock();
    }
    const std::size_t k = std::min<std::size_t>(n, d->rx_queue.size());
    std::copy_n(d->rx_queue.begin(), k, static_cast<unsigned char*>(buffer));
    d->rx_queue.erase(d->rx_queue.begin(), d->rx_queue.begin() + static_cast<std::ptrdiff_t>(k));
    if (got) *got = static_cast<std::uint32_t>(k);
    return true;
}

PortIo SimPortDriver::write(PortHandle h, const void* data, std::uint32_t n, PortWriteRecord& record)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::write)) return PortIo::failed;
    Device* d = device_of(h);
    if (!d || (!data && n != 0)) return PortIo::failed;
    const RecordTag old = tag_of(record);
    if (old.magic == record_magic) {
        auto it = ops_.find(old.op);
        if (it != ops_.end() && it->second.state == PortIo::pending) ++violations_;  // record reused
    }
    const std::uint32_t id = next_op_++;
    WriteOp& op = ops_[id];
    op.handle = reinterpret_cast<std::uintptr_t>(h);
    op.data = static_cast<const unsigned char*>(data);
    op.snapshot.assign(op.data, op.data + n);
    op.thread = std::this_thread::get_id();
    d->writes.push_back(id);
    record = PortWriteRecord{};
    const RecordTag tag{record_magic, id};
    std::memcpy(record.os, &tag, sizeof tag);
    advance(*d);
    if (ops_[id].state == PortIo::done) {
        ops_.erase(id);
        return PortIo::done;
    }
    ++gone_pending_;
    return PortIo::pending;
}

// An injected failure here reports the write as still under way (a stuck write).
PortIo SimPortDriver::write_result(PortHandle h, PortWriteRecord& record, std::uint32_t* sent)
{
    std::lock_guard g(lock_);
    if (sent) *sent = 0;
    const RecordTag tag = tag_of(record);
    auto it = tag.magic == record_magic ? ops_.find(tag.op) : ops_.end();
    if (it == ops_.end()) return PortIo::failed;
    if (injected_failure(Call::write_result)) return PortIo::pending;
    if (Device* d = device_of(h)) advance(*d);
    const PortIo state = it->second.state;
    if (state == PortIo::pending) return state;
    if (sent) *sent = it->second.taken;
    ops_.erase(it);
    return state;
}

bool SimPortDriver::cancel_io(PortHandle h)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::cancel_io)) return false;
    Device* d = device_of(h);
    if (!d) return false;
    advance(*d);
    end_writes(*d, reinterpret_cast<std::uintptr_t>(h), true);
    return true;
}

bool SimPortDriver::escape(PortHandle h, std::uint32_t function)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::escape)) return false;
    Device* d = device_of(h);
    if (!d) return false;
    // A line the receive flow control drives is not the program's to set.
    const bool rts_driven = d->dcb.fRtsControl == PORT_RTS_CONTROL_HANDSHAKE;
    const bool dtr_driven = d->dcb.fDtrControl == PORT_DTR_CONTROL_HANDSHAKE;
    switch (function) {
        case PORT_SETRTS:
        case PORT_CLRRTS:
            if (rts_driven) return false;
            d->rts = function == PORT_SETRTS;
            return true;
        case PORT_SETDTR:
        case PORT_CLRDTR:
            if (dtr_driven) return false;
            d->dtr = function == PORT_SETDTR;
            return true;
        default:
            return false;
    }
}

bool SimPortDriver::set_break(PortHandle h, bool on)
{
    std::lock_guard g(lock_);
    if (injected_failure(Call::set_break)) return false;
    Device* d = device_of(h);
    if (!d) return false;
    d->in_break = on;
    d->break_log.push_back(on);
    return true;
}

std::uint32_t SimPortDriver::os_major_version()
{
    std::lock_guard g(lock_);
    return os_major_;
}

std::uint32_t SimPortDriver::last_error()
{
    return last_error_code_;
}

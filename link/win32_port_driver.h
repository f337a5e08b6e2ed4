// The port driver of the product: the real Windows serial calls on a COM device
// (only the Windows build has its implementation, win32_port_driver_win32.cpp).
#pragma once

#include "link/port_driver.h"

class Win32PortDriver final : public PortDriver {
 public:
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
    std::uint32_t last_error() override;
};

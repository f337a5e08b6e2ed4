// Which port driver the port layer calls; a driver that fails every call
// stands in until one is chosen.
#include "link/port_driver.h"

namespace {

class NoPortDriver final : public PortDriver {
 public:
    PortHandle open(const char*, bool) override { return nullptr; }
    bool close(PortHandle) override { return false; }
    bool get_state(PortHandle, PortDcb*) override { return false; }
    bool set_state(PortHandle, const PortDcb&) override { return false; }
    bool setup_queues(PortHandle, std::uint32_t, std::uint32_t) override { return false; }
    bool set_timeouts(PortHandle, const PortTimeouts&) override { return false; }
    bool purge(PortHandle, std::uint32_t) override { return false; }
    bool clear_error(PortHandle, std::uint32_t*, PortComStat*) override { return false; }
    bool modem_status(PortHandle, std::uint32_t*) override { return false; }
    bool read(PortHandle, void*, std::uint32_t, std::uint32_t* got) override
    {
        if (got) *got = 0;
        return false;
    }
    PortIo write(PortHandle, const void*, std::uint32_t, PortWriteRecord&) override { return PortIo::failed; }
    PortIo write_result(PortHandle, PortWriteRecord&, std::uint32_t* sent) override
    {
        if (sent) *sent = 0;
        return PortIo::failed;
    }
    bool cancel_io(PortHandle) override { return false; }
    bool escape(PortHandle, std::uint32_t) override { return false; }
    bool set_break(PortHandle, bool) override { return false; }
    std::uint32_t os_major_version() override { return 5; }
};

NoPortDriver no_driver;
PortDriver* current = &no_driver;

}  // namespace

void set_port_driver(PortDriver& driver)
{
    current = &driver;
}

PortDriver& port_driver()
{
    return *current;
}

// The connect failure's reason line: our own range checks in words, a refused
// system call with what it was asked and the system's text.
#include "link/connect_failure.h"

#include <cstdio>

#include "link/port_error_text.h"

namespace {

std::string with_reason(std::string what, std::uint32_t error)
{
    return error ? what + ": " + port_error_text(error) : what;
}

const char* parity_name(std::int32_t code)
{
    static const char* const names[] = {"no", "odd", "even", "space", "mark"};
    return code >= 0 && code <= 4 ? names[code] : "unknown";
}

std::string formatted(const char* format, long long a, long long b = 0)
{
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

std::string line_settings_text(const PortSettings& s)
{
    const char* stop = s.port_stop == 15 ? "1.5 stop bits" : s.port_stop == 20 ? "2 stop bits" : "1 stop bit";
    char text[120];
    std::snprintf(text, sizeof text, "%ld baud, %ld data bits, %s parity, %s", static_cast<long>(s.port_baud),
                  static_cast<long>(s.port_bit), parity_name(s.port_parity), stop);
    return text;
}

std::string connect_failure_reason(ConnectStep step, int code, const PortSettings& s, std::uint32_t error,
                                   const std::string& device_name, std::int32_t tx_queue_size)
{
    switch (step) {
        case ConnectStep::open:
            if (code == 2) return formatted("port number %lld is outside 1 to 256", s.port_num);
            return with_reason("CreateFileA could not open " + device_name, error);
        case ConnectStep::configure:
            switch (code) {
                case 1:
                    return formatted("baud rate %lld is outside 1 to 3000000", s.port_baud);
                case 2:
                    return formatted("stop bits code %lld is not 10, 15 or 20", s.port_stop);
                case 3:
                    return formatted("parity code %lld is outside 0 to 4", s.port_parity);
                case 4:
                    return formatted("%lld data bits are outside 5 to 8", s.port_bit);
                case 256:
                    return with_reason("GetCommState failed", error);
                default:
                    return with_reason("SetCommState refused " + line_settings_text(s), error);
            }
        case ConnectStep::queues:
            return with_reason(formatted("SetupComm refused a receive queue of %lld and a transmit queue of %lld bytes",
                                         s.port_rx_size, tx_queue_size),
                               error);
        case ConnectStep::timeouts:
            return with_reason(formatted("SetCommTimeouts refused a read time-out of %lld ms and %lld ms a byte",
                                         s.port_rx_to, s.port_rx_mult),
                               error);
        case ConnectStep::purge:
            return with_reason("PurgeComm failed on the receive side", error);
    }
    return {};
}

// Line error counts, kept in atomics: the receive thread, the transmit thread
// and the status snapshot each clear the driver's flags under different locks.
#include "link/line_errors.h"

#include <atomic>

#include "link/port_driver.h"

namespace {

std::atomic<std::uint32_t> framing{0}, overrun{0}, parity{0}, breaks{0}, rx_overflow{0};

}  // namespace

void line_errors_note(std::uint32_t mask)
{
    if (mask & PORT_CE_FRAME) ++framing;
    if (mask & PORT_CE_OVERRUN) ++overrun;
    if (mask & PORT_CE_RXPARITY) ++parity;
    if (mask & PORT_CE_BREAK) ++breaks;
    if (mask & PORT_CE_RXOVER) ++rx_overflow;
}

LineErrorCounts line_errors_read()
{
    LineErrorCounts c;
    c.framing = framing;
    c.overrun = overrun;
    c.parity = parity;
    c.breaks = breaks;
    c.rx_overflow = rx_overflow;
    return c;
}

void line_errors_reset()
{
    for (auto* n : {&framing, &overrun, &parity, &breaks, &rx_overflow}) *n = 0;
}

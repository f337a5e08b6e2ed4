// Line error counts by kind.
#include "link/line_errors.h"

#include "link/port_driver.h"

void LineErrors::note(std::uint32_t mask)
{
    if (mask & PORT_CE_FRAME) ++framing_;
    if (mask & PORT_CE_OVERRUN) ++overrun_;
    if (mask & PORT_CE_RXPARITY) ++parity_;
    if (mask & PORT_CE_BREAK) ++breaks_;
    if (mask & PORT_CE_RXOVER) ++rx_overflow_;
}

LineErrorCounts LineErrors::read() const
{
    LineErrorCounts c;
    c.framing = framing_;
    c.overrun = overrun_;
    c.parity = parity_;
    c.breaks = breaks_;
    c.rx_overflow = rx_overflow_;
    return c;
}

void LineErrors::reset()
{
    for (auto* n : {&framing_, &overrun_, &parity_, &breaks_, &rx_overflow_}) *n = 0;
}

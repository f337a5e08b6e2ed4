// Counts of the line errors the driver reports through ClearCommError
// (framing, overrun, receive parity, break, receive-queue overflow).
#pragma once

#include <cstdint>

struct LineErrorCounts {
    std::uint32_t framing = 0;
    std::uint32_t overrun = 0;
    std::uint32_t parity = 0;
    std::uint32_t breaks = 0;
    std::uint32_t rx_overflow = 0;
};

// Adds one to the count of each kind set in a ClearCommError error mask. Every
// successful ClearCommError must pass its mask here: the call clears the
// driver's flags, so a mask not noted is lost. Safe from any thread.
void line_errors_note(std::uint32_t mask);
LineErrorCounts line_errors_read();
void line_errors_reset();

// Counts of the line errors the driver reports through ClearCommError
// (framing, overrun, receive parity, break, receive-queue overflow).
#pragma once

#include <atomic>
#include <cstdint>

struct LineErrorCounts {
    std::uint32_t framing = 0;
    std::uint32_t overrun = 0;
    std::uint32_t parity = 0;
    std::uint32_t breaks = 0;
    std::uint32_t rx_overflow = 0;
};

// Kept in atomics: the receive thread, the transmit thread and the status
// snapshot each clear the driver's flags, under different locks.
class LineErrors {
 public:
    // Adds one to the count of each kind set in a ClearCommError error mask.
    // Every successful ClearCommError must pass its mask here: the call clears
    // the driver's flags, so a mask not noted is lost. Safe from any thread.
    void note(std::uint32_t mask);
    LineErrorCounts read() const;
    void reset();

 private:
    std::atomic<std::uint32_t> framing_{0}, overrun_{0}, parity_{0}, breaks_{0}, rx_overflow_{0};
};

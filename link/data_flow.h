// The two sides of the link between the window thread and the worker
// threads: each a Byte FIFO under its own lock, with the flags that lock
// guards and the locked operations the window thread uses on them.
#pragma once

#include <cstdint>
#include <mutex>

#include "link/byte_fifo.h"

// Receive side: the receive lock guards the FIFO, the stop flag, the receive
// thread's driver calls and the port status snapshot.
struct RxSide {
    std::mutex lock;
    ByteFifo fifo;
    int stop = 0;

    // Locked; safe (and empty) while no FIFO exists. As SerialLink::rx_fill, rx_get.
    std::int32_t fill();
    int get(void* dst, std::int32_t n);
};

// Transmit side: the transmit lock guards the FIFO, the flags and the transmit
// thread's driver calls.
struct TxSide {
    std::mutex lock;
    ByteFifo fifo;
    int stop = 0;
    int hold = 0;
    int drop_request = 0;
    int timeout = 0;
    // Bytes the transmit thread has taken from the FIFO but not yet handed to
    // the port driver (its current block).
    std::int32_t block_pending = 0;

    // Locked; safe while no FIFO exists. As SerialLink::tx_put, tx_fill, ...
    int put(const void* src, std::int32_t n);
    std::int32_t fill();
    std::int32_t free_space();
    void set_hold(int flag);
    void clear();
    int timeout_flag();
    std::int32_t pending_block();
    void timeout_reset();
};

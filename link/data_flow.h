// The two Byte FIFOs with their locks and the worker threads' shared flags,
// and the locked operations the rest of the program uses on them.
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
};

extern RxSide rx_side;
extern TxSide tx_side;

// 0 stored all n bytes; 1 source missing or n not positive; 2 not enough free
// space (nothing stored; also while no transmit FIFO exists).
int tx_put(const void* src, std::int32_t n);
std::int32_t tx_fill();
std::int32_t tx_free();
void tx_hold(int flag);
// Empties the transmit FIFO and asks the transmit thread to drop its block.
void tx_clear();
int tx_timeout_flag();
// Bytes taken from the FIFO that the transmit thread still holds; a transfer
// is only complete when this and the fill level are both 0.
std::int32_t tx_block_pending();
void tx_timeout_reset();

std::int32_t rx_fill();
// fifo_get of n bytes under the receive lock, with its result code.
int rx_get(void* dst, std::int32_t n);

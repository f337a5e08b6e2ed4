// The two sides of the link between the window thread and the worker
// threads: each a Byte FIFO under its own lock, with the flags that lock
// guards and the locked operations the window thread uses on them.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "link/byte_fifo.h"
#include "platform/doorbell.h"
#include "link/time_notes.h"

// Receive side: the receive lock guards the FIFO, the stop flag, the receive
// thread's driver calls and the port status snapshot.
struct RxSide {
    std::mutex lock;
    ByteFifo fifo;
    int stop = 0;
    // When each read in the FIFO was made, and the read the thread holds while
    // the FIFO has no room for it (-1: none).
    TimeNoteRing reads;
    std::int64_t read_in_hand_us = -1;
    // Nonzero while a file transfer reads the FIFO as bytes come: the thread
    // then waits on the port instead of pausing and rings `arrived` after each
    // put, outside the lock.
    std::atomic<int> transfers{0};
    Doorbell arrived;

    // Locked; safe (and empty) while no FIFO exists. As SerialLink::rx_fill, rx_get.
    std::int32_t fill();
    // The reads' notes of the bytes taken go to `notes` when given.
    int get(void* dst, std::int32_t n, std::vector<TimeNote>* notes = nullptr);
    // Locked: every read made before the returned time is out of the FIFO;
    // now_us when nothing is left in it or in the thread's hand.
    std::int64_t taken_before(std::int64_t now_us);
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
    // What the thread handed to the driver, and when; a write whose bytes find
    // no room in `sent` (the window not draining) is only counted.
    TimeNoteRing writes;
    ByteFifo sent;
    std::int64_t unrecorded = 0;
    // Rung by every put (after the lock is released), so the transmit thread
    // leaves its idle pace at once; while a file transfer runs (`transfers`
    // nonzero) it waits on it instead of pausing between blocks too.
    Doorbell puts;
    std::atomic<int> transfers{0};

    // Locked; safe while no FIFO exists. As SerialLink::tx_put, tx_fill, ...
    int put(const void* src, std::int32_t n);
    std::int32_t fill();
    std::int32_t free_space();
    void set_hold(int flag);
    void clear();
    int timeout_flag();
    std::int32_t pending_block();
    void timeout_reset();
    // Locked: bytes put and not yet seen by the window (in the FIFO, the
    // thread's block, or written and waiting in `sent` or
    // `unrecorded`).
    std::int64_t queued();
    // Locked: moves out the writes' notes and bytes; returns the bytes counted
    // as unrecorded since the last call.
    std::int64_t take_sent(std::vector<TimeNote>& notes, std::vector<std::uint8_t>& bytes);
};

// The sent-bytes copy the transmit side keeps for the window between drains.
inline constexpr std::int32_t tx_sent_capacity = 1048576;

// The received data store: one contiguous buffer of every byte received since
// the last clear, filled from the receive FIFO and grown by whole blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "link/data_flow.h"
#include "link/link_resources.h"
#include "link/rx_store_memory.h"

struct RxStore {
    const uint8_t* data = nullptr;  // none until the first byte after a clear
    int32_t capacity = 0;           // a whole number of blocks
    int32_t length = 0;             // bytes held, arrival order
    int32_t block_size = 0;         // growth step, 1024 to 8388608 once initialised
};

constexpr int32_t rx_store_min_block = 1024;
constexpr int32_t rx_store_max_block = 8388608;

// The capacity that holds `needed` bytes, grown from `capacity` by as few whole
// blocks as will do; -1 when that would not fit a signed 32-bit size.
int64_t rx_store_capacity_for(int32_t capacity, int64_t needed, int32_t block_size);

// The store's memory and record. All run on the window thread only; results as
// SerialLink's rx_store_* routines document them.
class RxStoreBuffer {
 public:
    // Bytes come from `source`; each growth asks `resources` first.
    RxStoreBuffer(RxSide& source, LinkResources& resources) : source_(source), resources_(resources) {}

    int init(int32_t block_size);
    int release();
    // The reads' notes of the bytes appended go to `notes` when given.
    int append(std::vector<TimeNote>* notes = nullptr);
    int info(const RxStore** out) const;
    int read(int32_t pos, uint8_t* dest, int32_t count, int32_t* copied) const;
    int byte(int32_t pos, uint8_t* out) const;
    // The one read allowed from another thread: copies bytes [pos, pos + count)
    // while growth cannot move them. The caller keeps below a length it was given
    // on the window thread; those bytes stay as they are until the next clear.
    // 0 copied; 1 no buffer, or the range is not within the store.
    int copy_shared(int32_t pos, uint8_t* dest, int32_t count) const;

 private:
    RxSide& source_;
    LinkResources& resources_;
    RxStoreMemory memory_;
    RxStore store_;
    // Held while the buffer may move or go (growth, free) and while another
    // thread copies from it; the window thread is the only writer of data.
    mutable std::mutex move_lock_;
};

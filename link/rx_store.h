// The received data store: one contiguous buffer of every byte received since
// the last clear, filled from the receive FIFO and grown by whole blocks.
#pragma once

#include <cstddef>
#include <cstdint>

struct RxStore {
    const uint8_t* data = nullptr;  // none until the first byte after a clear
    int32_t capacity = 0;           // a whole number of blocks
    int32_t length = 0;             // bytes held, arrival order
    int32_t block_size = 0;         // growth step, 1024 to 8388608 once initialised
};

constexpr int32_t rx_store_min_block = 1024;
constexpr int32_t rx_store_max_block = 8388608;

// All run on the window thread only; results as documented per routine.
int rx_store_init(int32_t block_size);   // 0, or 1 when block_size is out of range
int rx_store_free();                     // 0
int rx_store_append();                   // -1 FIFO empty, 0 appended, 2 growth failed
int rx_store_info(const RxStore** out);  // 1 when there is no buffer (record still given)
int rx_store_read(int32_t pos, uint8_t* dest, int32_t count, int32_t* copied);
int rx_store_byte(int32_t pos, uint8_t* out);
// The one read allowed from another thread: copies bytes [pos, pos + count)
// while growth cannot move them. The caller keeps below a length it was given
// on the window thread; those bytes stay as they are until the next clear.
// 0 copied; 1 no buffer, or the range is not within the store.
int rx_store_copy_shared(int32_t pos, uint8_t* dest, int32_t count);

// The capacity that holds `needed` bytes, grown from `capacity` by as few whole
// blocks as will do; -1 when that would not fit a signed 32-bit size.
int64_t rx_store_capacity_for(int32_t capacity, int64_t needed, int32_t block_size);

// Asked before each growth with the new capacity; refusing makes the append
// fail with 2 as a failed allocation does. nullptr (the default) asks nothing.
using RxStoreGrowthCheck = bool (*)(std::size_t new_capacity);
void rx_store_set_growth_check(RxStoreGrowthCheck fn);

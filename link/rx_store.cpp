// The received data store: appends the receive FIFO's bytes, grows by blocks,
// and gives read access to the hex view, the inspector and the saves.
#include "link/rx_store.h"

#include <cstring>
#include <limits>
#include <mutex>

#include "link/data_flow.h"
#include "link/rx_store_memory.h"

namespace {

RxStoreMemory memory;
RxStore store;
RxStoreGrowthCheck growth_check = nullptr;
// Held while the buffer may move or go (growth, free) and while another thread
// copies from it; the window thread is the only writer of data and capacity.
std::mutex move_lock;

}  // namespace

void rx_store_set_growth_check(RxStoreGrowthCheck fn)
{
    growth_check = fn;
}

int64_t rx_store_capacity_for(int32_t capacity, int64_t needed, int32_t block_size)
{
    // Sizes are signed 32-bit: a store that would pass that limit cannot grow.
    constexpr int64_t limit = std::numeric_limits<int32_t>::max();
    if (needed > limit) return -1;
    if (needed <= capacity) return capacity;
    if (block_size <= 0)  // never initialised: there is no growth step
        return -1;
    const int64_t blocks = (needed - capacity + block_size - 1) / block_size;
    const int64_t grown = capacity + blocks * block_size;
    return grown > limit ? -1 : grown;
}

int rx_store_init(int32_t block_size)
{
    if (block_size < rx_store_min_block || block_size > rx_store_max_block) return 1;
    rx_store_free();
    store.block_size = block_size;
    return 0;
}

int rx_store_free()
{
    std::lock_guard<std::mutex> hold(move_lock);
    memory.release();
    store.data = nullptr;
    store.capacity = 0;
    store.length = 0;
    return 0;
}

int rx_store_append()
{
    const int32_t n = rx_fill();
    if (n <= 0) return -1;

    const int64_t needed = int64_t(store.length) + n;
    if (needed > store.capacity) {
        const int64_t capacity = rx_store_capacity_for(store.capacity, needed, store.block_size);
        if (capacity < 0) return 2;
        if (growth_check && !growth_check(std::size_t(capacity))) return 2;
        std::lock_guard<std::mutex> hold(move_lock);
        if (!memory.grow(std::size_t(capacity), std::size_t(store.length))) {
            store.data = memory.data();  // may have moved, content kept
            return 2;
        }
        store.data = memory.data();
        store.capacity = int32_t(capacity);
    }

    // Only this thread takes from the receive FIFO, so the n bytes counted are there.
    if (rx_get(memory.data() + store.length, n) != 0) return 2;
    store.length = int32_t(needed);
    return 0;
}

int rx_store_info(const RxStore** out)
{
    if (!out) return 1;
    *out = &store;
    return store.data ? 0 : 1;
}

int rx_store_read(int32_t pos, uint8_t* dest, int32_t count, int32_t* copied)
{
    if (copied) *copied = 0;
    if (!store.data || !dest || !copied) return 1;
    if (pos < 0 || pos >= store.length) return 2;
    const int32_t n = count <= 0 ? 0 : (count < store.length - pos ? count : store.length - pos);
    std::memcpy(dest, store.data + pos, std::size_t(n));
    *copied = n;
    return 0;
}

int rx_store_byte(int32_t pos, uint8_t* out)
{
    if (!store.data || !out || pos < 0 || pos >= store.length) return 1;
    *out = store.data[pos];
    return 0;
}

int rx_store_copy_shared(int32_t pos, uint8_t* dest, int32_t count)
{
    std::lock_guard<std::mutex> hold(move_lock);
    if (!store.data || !dest || pos < 0 || count < 0 || count > store.capacity - pos) return 1;
    std::memcpy(dest, store.data + pos, std::size_t(count));
    return 0;
}

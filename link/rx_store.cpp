// The received data store: appends the receive FIFO's bytes, grows by blocks,
// and gives read access to the hex view, the inspector and the saves.
#include "link/rx_store.h"

#include <cstring>
#include <limits>
#include <mutex>

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

int RxStoreBuffer::init(int32_t block_size)
{
    if (block_size < rx_store_min_block || block_size > rx_store_max_block) return 1;
    release();
    store_.block_size = block_size;
    return 0;
}

int RxStoreBuffer::release()
{
    std::lock_guard<std::mutex> hold(move_lock_);
    memory_.release();
    store_.data = nullptr;
    store_.capacity = 0;
    store_.length = 0;
    return 0;
}

int RxStoreBuffer::append(std::vector<TimeNote>* notes)
{
    const int32_t n = source_.fill();
    if (n <= 0) return -1;

    const int64_t needed = int64_t(store_.length) + n;
    if (needed > store_.capacity) {
        const int64_t capacity = rx_store_capacity_for(store_.capacity, needed, store_.block_size);
        if (capacity < 0) return 2;
        if (!resources_.store_growth(std::size_t(capacity))) return 2;
        std::lock_guard<std::mutex> hold(move_lock_);
        if (!memory_.grow(std::size_t(capacity), std::size_t(store_.length))) {
            store_.data = memory_.data();  // may have moved, content kept
            return 2;
        }
        store_.data = memory_.data();
        store_.capacity = int32_t(capacity);
    }

    // Only this thread takes from the receive FIFO, so the n bytes counted are there.
    if (source_.get(memory_.data() + store_.length, n, notes) != 0) return 2;
    store_.length = int32_t(needed);
    return 0;
}

int RxStoreBuffer::info(const RxStore** out) const
{
    if (!out) return 1;
    *out = &store_;
    return store_.data ? 0 : 1;
}

int RxStoreBuffer::read(int32_t pos, uint8_t* dest, int32_t count, int32_t* copied) const
{
    if (copied) *copied = 0;
    if (!store_.data || !dest || !copied) return 1;
    if (pos < 0 || pos >= store_.length) return 2;
    const int32_t n = count <= 0 ? 0 : (count < store_.length - pos ? count : store_.length - pos);
    std::memcpy(dest, store_.data + pos, std::size_t(n));
    *copied = n;
    return 0;
}

int RxStoreBuffer::byte(int32_t pos, uint8_t* out) const
{
    if (!store_.data || !out || pos < 0 || pos >= store_.length) return 1;
    *out = store_.data[pos];
    return 0;
}

int RxStoreBuffer::copy_shared(int32_t pos, uint8_t* dest, int32_t count) const
{
    std::lock_guard<std::mutex> hold(move_lock_);
    if (!store_.data || !dest || pos < 0 || count < 0 || count > store_.capacity - pos) return 1;
    std::memcpy(dest, store_.data + pos, std::size_t(count));
    return 0;
}

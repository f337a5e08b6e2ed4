// Growth of the received data store's memory: commit within the reservation,
// move to a larger reservation only when it is used up.
#include "link/rx_store_memory.h"

#include <cstring>

namespace {

constexpr std::size_t largest = std::size_t(rx_store_largest_range);

std::size_t round_up(std::size_t n, std::size_t page)
{
    return (n + page - 1) / page * page;
}

}  // namespace

std::uint64_t rx_store_first_reservation(std::size_t pointer_size, std::uint64_t free_space)
{
    if (pointer_size > 4) return rx_store_largest_range;
    constexpr std::uint64_t least = std::uint64_t(64) << 20;
    // The rest of the program keeps a quarter of what is free, and no less than the minimum.
    const std::uint64_t keep = free_space / 4 > rx_store_spare_space ? free_space / 4 : rx_store_spare_space;
    const std::uint64_t spare = free_space > keep ? free_space - keep : 0;
    return spare < least ? least : (spare > rx_store_largest_range ? rx_store_largest_range : spare);
}

std::size_t rx_store_smaller_range(std::size_t tried, std::size_t wanted, std::size_t needed, std::size_t page)
{
    // Small steps, so a hole a little short of the wanted size is still used well.
    const std::size_t step = round_up(wanted / 16 ? wanted / 16 : 1, page);
    return tried > needed && tried - needed > step ? tried - step : needed;
}

RxStoreMemory::RxStoreMemory(std::size_t first_reservation) : first_reservation_(first_reservation) {}

RxStoreMemory::~RxStoreMemory()
{
    release();
}

void RxStoreMemory::release()
{
    if (base_) rx_pages_release(base_, reserved_);
    base_ = nullptr;
    reserved_ = committed_ = 0;
}

bool RxStoreMemory::grow(std::size_t size, std::size_t keep)
{
    if (size <= committed_) return true;
    if (size > reserved_ && !move_to_larger(size, keep)) return false;
    const std::size_t to = round_up(size, rx_pages_size());
    if (!rx_pages_commit(base_ + committed_, to - committed_)) return false;
    committed_ = to;
    return true;
}

bool RxStoreMemory::move_to_larger(std::size_t size, std::size_t keep)
{
    const std::size_t page = rx_pages_size();
    const std::size_t needed = round_up(size, page);
    std::size_t want = reserved_ ? (reserved_ >= largest / 2 ? largest : 2 * reserved_)
                       : first_reservation_
                           ? first_reservation_
                           : std::size_t(rx_store_first_reservation(sizeof(void*), rx_pages_free_space()));
    if (want > largest) want = largest;
    want = round_up(want < needed ? needed : want, page);

    // Address space may be fragmented: give up headroom before giving up.
    void* range = nullptr;
    std::size_t got = want;
    for (;;) {
        range = rx_pages_reserve(got);
        if (range || got == needed) break;
        got = rx_store_smaller_range(got, want, needed, page);
    }
    if (!range) return false;

    // Everything usable before stays usable; only the bytes held are copied.
    if (committed_ && !rx_pages_commit(range, committed_)) {
        rx_pages_release(range, got);
        return false;
    }
    if (keep) std::memcpy(range, base_, keep);
    if (base_) rx_pages_release(base_, reserved_);
    base_ = static_cast<uint8_t*>(range);
    reserved_ = got;
    return true;
}

// Growth of the received data store's memory: commit within the reservation,
// move to a larger reservation only when it is used up.
#include "link/rx_store_memory.h"

#include <cstring>

namespace {

// Above every capacity a signed 32-bit size can name.
constexpr std::size_t largest = std::size_t(1) << 31;

std::size_t round_up(std::size_t n, std::size_t page)
{
    return (n + page - 1) / page * page;
}

}  // namespace

RxStoreMemory::RxStoreMemory(std::size_t first_reservation)
    : first_reservation_(first_reservation ? first_reservation : (sizeof(void*) > 4 ? largest : std::size_t(512) << 20))
{
}

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
    std::size_t want = !reserved_ ? first_reservation_ : (reserved_ >= largest / 2 ? largest : 2 * reserved_);
    if (want > largest) want = largest;
    want = round_up(want < needed ? needed : want, page);

    // Address space may be fragmented: give up headroom before giving up.
    void* range = nullptr;
    std::size_t got = want;
    for (;;) {
        range = rx_pages_reserve(got);
        if (range || got == needed) break;
        const std::size_t next = round_up(needed + (got - needed) / 2, page);
        got = next < got ? next : needed;
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

// Memory of the received data store: one reserved address range whose pages
// are committed as the store grows, so growing keeps the data where it is.
//
// Layout: the first growth after a clear reserves one range as large as the
// process can spare (up to the 2 GiB a signed 32-bit length can name, less
// room kept free for the rest of the program), and every later growth only
// commits pages inside it. The store takes no other memory while it grows,
// so nothing of its own can be stranded between its pieces; a clear gives the
// whole range back at once. Only a range that proves too small is traded for
// a larger one, and when that is refused the bytes held stay where they are.
#pragma once

#include <cstddef>
#include <cstdint>

class RxStoreMemory {
 public:
    // first_reservation: address space taken at the first growth; 0 chooses
    // from the address space free at that moment (rx_store_first_reservation).
    explicit RxStoreMemory(std::size_t first_reservation = 0);
    ~RxStoreMemory();
    RxStoreMemory(const RxStoreMemory&) = delete;
    RxStoreMemory& operator=(const RxStoreMemory&) = delete;

    uint8_t* data() const { return base_; }
    std::size_t reserved() const { return reserved_; }

    // Makes the first `size` bytes usable, keeping the first `keep` bytes. When
    // the range is too small the data move once to a larger one. False when the
    // memory cannot be had; the kept bytes stay valid either way.
    bool grow(std::size_t size, std::size_t keep);
    void release();

 private:
    bool move_to_larger(std::size_t size, std::size_t keep);

    std::size_t first_reservation_;
    uint8_t* base_ = nullptr;
    std::size_t reserved_ = 0;
    std::size_t committed_ = 0;
};

// Above every capacity a signed 32-bit size can name.
constexpr std::uint64_t rx_store_largest_range = std::uint64_t(1) << 31;
// Address space left at least to the rest of the program (a quarter of what is
// free when that is more) when the store reserves its range.
constexpr std::uint64_t rx_store_spare_space = std::uint64_t(384) << 20;

// The range to reserve at the first growth, given the pointer size and the
// process's free address space: the largest range, less what the program keeps
// for itself, and never below 64 MiB (smaller ranges are still tried).
std::uint64_t rx_store_first_reservation(std::size_t pointer_size, std::uint64_t free_space);
// The next, smaller range to try when `tried` was refused: an eighth of the
// wanted range less each time, never below `needed` (equal to it at the end).
std::size_t rx_store_smaller_range(std::size_t tried, std::size_t wanted, std::size_t needed, std::size_t page);

// Page services of the memory, one backend per platform.
std::size_t rx_pages_size();
std::uint64_t rx_pages_free_space();                  // address space not yet taken
void* rx_pages_reserve(std::size_t size);             // nullptr when refused
bool rx_pages_commit(void* at, std::size_t size);     // readable and writable
void rx_pages_release(void* base, std::size_t size);  // the whole reservation

// Memory of the received data store: one reserved address range whose pages
// are committed as the store grows, so growing keeps the data where it is.
#pragma once

#include <cstddef>
#include <cstdint>

class RxStoreMemory {
 public:
    // first_reservation: address space taken at the first growth; 0 chooses
    // by pointer size (the whole 32-bit size range where the address space allows).
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

// Page services of the memory, one backend per platform.
std::size_t rx_pages_size();
void* rx_pages_reserve(std::size_t size);             // nullptr when refused
bool rx_pages_commit(void* at, std::size_t size);     // readable and writable
void rx_pages_release(void* base, std::size_t size);  // the whole reservation

// Byte FIFO: a bounded ring buffer of bytes that holds one byte less than its
// capacity, with raw (unlocked) operations; every copy is at most two blocks.
#pragma once

#include <cstdint>
#include <memory>

inline constexpr std::int32_t fifo_min_capacity = 65536;
inline constexpr std::int32_t fifo_max_capacity = 8388608;

struct ByteFifo {
    std::int32_t capacity = 0;
    std::unique_ptr<unsigned char[]> buffer;  // owns [start, end)
    unsigned char* start = nullptr;           // null while the FIFO does not exist
    unsigned char* end = nullptr;
    unsigned char* read_pos = nullptr;
    unsigned char* write_pos = nullptr;
};

// 0; 1 capacity outside 65536..8388608; 2 allocation failed (start stays null).
int fifo_create(ByteFifo& f, std::int32_t capacity);
// Frees the buffer if there is one; 0.
int fifo_release(ByteFifo& f);
// 0 and the fill level / free space in *n (both 0 while the FIFO does not
// exist); 1 when n is missing.
int fifo_fill(const ByteFifo& f, std::int32_t* n);
int fifo_space(const ByteFifo& f, std::int32_t* n);
// All or nothing: 0 stored; 1 source missing or n negative; 2 n above the free space.
int fifo_put(ByteFifo& f, const void* src, std::int32_t n);
// 0 removed n bytes into dst; 1 destination missing or n negative; 2 n above
// the fill level (nothing removed: reading past the write position would hand
// out stale bytes and break the ring).
int fifo_get(ByteFifo& f, void* dst, std::int32_t n);
// Drops everything queued (read position := write position).
void fifo_clear(ByteFifo& f);

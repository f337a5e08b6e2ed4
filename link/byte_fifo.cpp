// Raw ring operations of the Byte FIFO.
#include "link/byte_fifo.h"

#include <cstring>
#include <new>

int fifo_create(ByteFifo& f, std::int32_t capacity)
{
    if (capacity < fifo_min_capacity || capacity > fifo_max_capacity) return 1;
    fifo_release(f);
    f.buffer.reset(new (std::nothrow) unsigned char[static_cast<std::size_t>(capacity)]);
    if (!f.buffer) return 2;
    f.capacity = capacity;
    f.start = f.buffer.get();
    f.end = f.start + capacity;
    f.read_pos = f.start;
    f.write_pos = f.start;
    return 0;
}

int fifo_release(ByteFifo& f)
{
    f.buffer.reset();
    f.capacity = 0;
    f.start = f.end = f.read_pos = f.write_pos = nullptr;
    return 0;
}

namespace {

std::int32_t fill_of(const ByteFifo& f)
{
    if (f.write_pos >= f.read_pos) return static_cast<std::int32_t>(f.write_pos - f.read_pos);
    return static_cast<std::int32_t>(f.write_pos - f.read_pos) + f.capacity;
}

std::int32_t space_of(const ByteFifo& f)
{
    if (!f.start) return 0;
    return f.capacity - 1 - fill_of(f);
}

}  // namespace

int fifo_fill(const ByteFifo& f, std::int32_t* n)
{
    if (!n) return 1;
    *n = fill_of(f);
    return 0;
}

int fifo_space(const ByteFifo& f, std::int32_t* n)
{
    if (!n) return 1;
    *n = space_of(f);
    return 0;
}

int fifo_put(ByteFifo& f, const void* src, std::int32_t n)
{
    if (!src || n < 0) return 1;
    if (n > space_of(f)) return 2;
    if (n == 0) return 0;
    const auto* from = static_cast<const unsigned char*>(src);
    const auto first = static_cast<std::int32_t>(f.end - f.write_pos);
    if (first < n) {
        std::memcpy(f.write_pos, from, static_cast<std::size_t>(first));
        std::memcpy(f.start, from + first, static_cast<std::size_t>(n - first));
        f.write_pos = f.start + (n - first);
    } else {
        std::memcpy(f.write_pos, from, static_cast<std::size_t>(n));
        f.write_pos += n;
        if (f.write_pos == f.end) f.write_pos = f.start;
    }
    return 0;
}

int fifo_get(ByteFifo& f, void* dst, std::int32_t n)
{
    if (!dst || n < 0) return 1;
    if (n > fill_of(f)) return 2;
    if (n == 0) return 0;
    auto* to = static_cast<unsigned char*>(dst);
    const auto first = static_cast<std::int32_t>(f.end - f.read_pos);
    if (first < n) {
        std::memcpy(to, f.read_pos, static_cast<std::size_t>(first));
        std::memcpy(to + first, f.start, static_cast<std::size_t>(n - first));
        f.read_pos = f.start + (n - first);
    } else {
        std::memcpy(to, f.read_pos, static_cast<std::size_t>(n));
        f.read_pos += n;
        if (f.read_pos == f.end) f.read_pos = f.start;
    }
    return 0;
}

void fifo_clear(ByteFifo& f)
{
    f.read_pos = f.write_pos;
}

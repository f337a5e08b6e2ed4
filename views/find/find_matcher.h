// Finding a pattern in a byte source chunk by chunk: the next hit from a
// position, the last one before it, and every hit in turn. Chunks overlap by
// the pattern's length, so hits across chunk boundaries are found; hits may
// overlap one another. A cancel flag is looked at between chunks.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "views/find/find_pattern.h"

// Bytes to search, read by copying; the bytes below the limit a search is
// given never change while it runs.
class ByteSource {
 public:
    virtual ~ByteSource() = default;
    // Copies bytes [pos, pos + count) to out; false when they cannot be had.
    virtual bool copy(std::int32_t pos, std::int32_t count, std::uint8_t* out) const = 0;
};

// Bytes already in memory (tests, benchmarks).
class MemorySource final : public ByteSource {
 public:
    MemorySource(const std::uint8_t* data, std::int32_t size) : data_(data), size_(size) {}
    bool copy(std::int32_t pos, std::int32_t count, std::uint8_t* out) const override;

 private:
    const std::uint8_t* data_;
    std::int32_t size_;
};

// A pattern made ready for scanning: its rarest-looking fixed byte is the
// anchor looked for first, the other fixed bytes are then compared.
class Matcher {
 public:
    explicit Matcher(const FindPattern& pattern);

    std::int32_t length() const { return length_; }
    // The first hit starting in [from, to) that fits in buf[0, size); -1 when none.
    std::int32_t first_in(const std::uint8_t* buf, std::int32_t size, std::int32_t from, std::int32_t to) const;
    bool matches_at(const std::uint8_t* at) const;

 private:
    std::int32_t length_;
    std::int32_t anchor_ = -1;                  // index of the anchor byte; -1: no fixed byte at all
    std::uint8_t anchor_a_ = 0, anchor_b_ = 0;  // the anchor's byte values (both cases)
    bool fold_ = false;
    bool plain_ = false;  // every byte fixed and no folding: one memcmp
    std::vector<std::uint8_t> bytes_;
    std::vector<std::int32_t> checks_;  // indices of the fixed bytes to compare
};

enum class ScanEnd : std::uint8_t { Done, Cancelled, SourceFailed };

struct FindResult {
    ScanEnd end = ScanEnd::Done;
    std::int32_t pos = -1;  // the hit when end is Done; -1 none
};

inline constexpr std::int32_t find_default_chunk = 1 << 20;

// Scans a source chunk by chunk. Only hits that end at or below `limit` count.
class ChunkScanner {
 public:
    ChunkScanner(const ByteSource& source, const Matcher& matcher, const std::atomic<bool>* cancel = nullptr,
                 std::int32_t chunk = find_default_chunk);

    // The first hit starting at or after `from`.
    FindResult next(std::int32_t from, std::int32_t limit);
    // The last hit starting before `before`.
    FindResult previous(std::int32_t before, std::int32_t limit);
    // Calls on_hit for every hit starting at or after `from`, in order; after
    // each chunk, on_covered with the limit up to which every hit has been seen.
    ScanEnd each(std::int32_t from, std::int32_t limit, const std::function<void(std::int32_t)>& on_hit,
                 const std::function<void(std::int32_t)>& on_covered = {});

 private:
    // Loads the bytes for the hits starting in [first, first + starts) into buf_.
    bool load(std::int32_t first, std::int32_t starts, std::int32_t limit, std::int32_t& size);
    bool cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

    const ByteSource& source_;
    const Matcher& matcher_;
    const std::atomic<bool>* cancel_;
    std::int32_t chunk_;
    std::vector<std::uint8_t> buf_;
};

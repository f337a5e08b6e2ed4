// When bytes crossed between a worker thread and the port: one note per read
// put into the receive FIFO or per block handed to the driver, kept in a
// bounded ring beside the FIFO under the same lock, and taken by the window
// thread as it takes the bytes.
#pragma once

#include <cstdint>
#include <vector>

struct TimeNote {
    std::int64_t time_us = 0;  // the link's clock at the read or write
    std::int32_t count = 0;    // bytes, in FIFO order
};

// A ring of notes. Made at connect and released at disconnect like the FIFO
// it follows; unlocked, its side's lock guards it.
class TimeNoteRing {
 public:
    static constexpr std::int32_t default_capacity = 8192;

    // false when the memory could not be had (the ring then notes nothing).
    bool create(std::int32_t capacity = default_capacity);
    void release();
    bool exists() const { return !notes_.empty(); }

    // A full ring (the window not draining) adds the bytes to the newest note,
    // which keeps its own, earlier time: no byte goes unaccounted.
    void note(std::int32_t count, std::int64_t time_us);
    // Moves the notes of the oldest n bytes to `out` (when given); a note cut
    // by n keeps the rest of its bytes.
    void take(std::int32_t n, std::vector<TimeNote>* out);
    // Moves every note to `out`.
    void take_all(std::vector<TimeNote>& out);
    // The oldest note's time, or -1 when there is none.
    std::int64_t oldest_time() const { return size_ ? notes_[std::size_t(head_)].time_us : -1; }
    std::int32_t size() const { return size_; }

 private:
    std::vector<TimeNote> notes_;
    std::int32_t head_ = 0;
    std::int32_t size_ = 0;
};

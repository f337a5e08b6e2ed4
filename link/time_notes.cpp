// The ring of read and write times beside each FIFO.
#include "link/time_notes.h"

#include <new>

bool TimeNoteRing::create(std::int32_t capacity)
{
    release();
    try {
        notes_.resize(std::size_t(capacity > 0 ? capacity : 1));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void TimeNoteRing::release()
{
    std::vector<TimeNote>().swap(notes_);
    head_ = size_ = 0;
}

void TimeNoteRing::note(std::int32_t count, std::int64_t time_us)
{
    if (notes_.empty() || count <= 0) return;
    const std::int32_t capacity = std::int32_t(notes_.size());
    if (size_ == capacity) {
        notes_[std::size_t((head_ + size_ - 1) % capacity)].count += count;
        return;
    }
    notes_[std::size_t((head_ + size_) % capacity)] = {time_us, count};
    ++size_;
}

void TimeNoteRing::take(std::int32_t n, std::vector<TimeNote>* out)
{
    const std::int32_t capacity = std::int32_t(notes_.size());
    while (n > 0 && size_ > 0) {
        TimeNote& head = notes_[std::size_t(head_)];
        const std::int32_t k = head.count < n ? head.count : n;
        if (out) out->push_back({head.time_us, k});
        head.count -= k;
        n -= k;
        if (head.count == 0) {
            head_ = (head_ + 1) % capacity;
            --size_;
        }
    }
}

void TimeNoteRing::take_all(std::vector<TimeNote>& out)
{
    const std::int32_t capacity = std::int32_t(notes_.size());
    for (; size_ > 0; --size_, head_ = (head_ + 1) % capacity) out.push_back(notes_[std::size_t(head_)]);
    head_ = 0;
}

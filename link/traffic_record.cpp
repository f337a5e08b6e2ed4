// The traffic record's reads and writes, and the bound on what was sent.
#include "link/traffic_record.h"

namespace {
constexpr std::int64_t bytes_per_write = 16;
}

void TrafficRecord::clear()
{
    // Swapped out, so the memory goes back at once.
    std::deque<std::int32_t>().swap(rx_pos_);
    std::deque<std::int64_t>().swap(rx_time_);
    std::deque<std::int64_t>().swap(tx_pos_);
    std::deque<std::int64_t>().swap(tx_time_);
    std::deque<std::uint8_t>().swap(tx_bytes_);
    rx_end_ = 0;
    tx_first_write_ = 0;
    tx_kept_from_ = 0;
    tx_dropped_ = 0;
    std::deque<TxFile>().swap(files_);
    file_ahead_ = file_left_ = 0;
    ++generation_;
}

void TrafficRecord::set_tx_bound(std::int64_t bytes)
{
    tx_bound_ = bytes < 4096 ? 4096 : bytes;
    keep_within_bound();
}

void TrafficRecord::rx_reads(std::int32_t position, std::int32_t count, const std::vector<TimeNote>& notes,
                             std::int64_t fallback_us)
{
    if (count <= 0) return;
    if (position != rx_end_) {
        // Bytes the record did not see (the store was filled some other way):
        // they begin a read of their own at the earliest time that fits.
        rx_pos_.push_back(rx_end_);
        rx_time_.push_back(rx_time_.empty() ? fallback_us : rx_time_.back());
    }
    std::int32_t p = position;
    const std::int32_t end = position + count;
    for (const TimeNote& n : notes) {
        if (p >= end) break;
        rx_pos_.push_back(p);
        rx_time_.push_back(n.time_us);
        p += n.count < end - p ? n.count : end - p;
    }
    if (p < end) {
        rx_pos_.push_back(p);
        rx_time_.push_back(fallback_us);
    }
    rx_end_ = end;
}

void TrafficRecord::tx_writes(const std::vector<TimeNote>& notes, const std::uint8_t* bytes, std::size_t n)
{
    std::size_t used = 0;
    for (const TimeNote& note : notes) {
        if (note.count <= 0 || used + std::size_t(note.count) > n) break;
        tx_bytes(note.time_us, bytes + used, note.count);
        used += std::size_t(note.count);
    }
    keep_within_bound();
}

void TrafficRecord::tx_bytes(std::int64_t time_us, const std::uint8_t* bytes, std::int64_t n)
{
    while (n > 0) {
        if (file_left_ > 0 && file_ahead_ == 0) {
            // The file's bytes: counted in its entry, a write of no bytes.
            if (file_next_.size > 0) {
                file_next_.start_us = time_us;
                file_next_.write = tx_write_count();
                files_.push_back(std::move(file_next_));
                file_next_ = {};
                tx_pos_.push_back(tx_end());
                tx_time_.push_back(time_us);
            }
            const std::int64_t k = n < file_left_ ? n : file_left_;
            files_.back().sent += k;
            files_.back().end_us = time_us;
            file_left_ -= k;
            bytes += k;
            n -= k;
            continue;
        }
        const std::int64_t k = file_left_ > 0 && file_ahead_ < n ? file_ahead_ : n;
        if (file_left_ > 0) file_ahead_ -= k;
        tx_pos_.push_back(tx_end());
        tx_time_.push_back(time_us);
        tx_bytes_.insert(tx_bytes_.end(), bytes, bytes + k);
        bytes += k;
        n -= k;
    }
}

void TrafficRecord::tx_unrecorded(std::int64_t n)
{
    // Bytes never seen still take their place before or in the file.
    const std::int64_t ahead = n < file_ahead_ ? n : file_ahead_;
    file_ahead_ -= ahead;
    const std::int64_t of_file = n - ahead < file_left_ ? n - ahead : file_left_;
    file_left_ -= of_file;
    const bool started = of_file > 0 && file_next_.size == 0 && !files_.empty();
    if (started) files_.back().sent += of_file;
    tx_dropped_ += started ? n - of_file : n;
}

bool TrafficRecord::tx_file(std::string name, std::int64_t size, std::int64_t ahead)
{
    file_ahead_ = file_left_ = 0;
    if (size <= tx_bound_) return false;
    file_next_ = {};
    file_next_.name = std::move(name);
    file_next_.size = size;
    file_ahead_ = ahead > 0 ? ahead : 0;
    file_left_ = size;
    return true;
}

const TxFile* TrafficRecord::tx_file_at(std::size_t write) const
{
    for (auto f = files_.rbegin(); f != files_.rend(); ++f) {
        if (f->write == write) return &*f;
        if (f->write < write) break;
    }
    return nullptr;
}

void TrafficRecord::keep_within_bound()
{
    const auto held = [this] {
        return std::int64_t(tx_bytes_.size()) + bytes_per_write * std::int64_t(tx_pos_.size());
    };
    while (held() > tx_bound_ && !tx_pos_.empty()) {
        // The oldest write goes whole: its bytes, then its note.
        const std::int64_t next = tx_pos_.size() > 1 ? tx_pos_[1] : tx_end();
        const std::int64_t k = next - tx_kept_from_;
        tx_bytes_.erase(tx_bytes_.begin(), tx_bytes_.begin() + std::ptrdiff_t(k));
        tx_kept_from_ = next;
        tx_dropped_ += k;
        tx_pos_.pop_front();
        tx_time_.pop_front();
        if (!files_.empty() && files_.front().write == tx_first_write_) files_.pop_front();
        ++tx_first_write_;
    }
}

void TrafficRecord::complete_before(std::int64_t rx_us, std::int64_t tx_us)
{
    rx_complete_ = rx_us;
    tx_complete_ = tx_us;
}

std::int64_t TrafficRecord::memory() const
{
    return std::int64_t(rx_pos_.size()) * 12 + std::int64_t(tx_pos_.size()) * bytes_per_write +
           std::int64_t(tx_bytes_.size()) + std::int64_t(files_.size() * sizeof(TxFile));
}

namespace {
constexpr std::int64_t day_ms = 86400000;
}

void TrafficRecord::anchor(std::int64_t now_us, std::uint32_t time_of_day_ms)
{
    if (anchored_) {
        std::int64_t drift = (std::int64_t(this->time_of_day_ms(now_us)) - time_of_day_ms) % day_ms;
        // Across midnight the two differ by about a day, which is no drift.
        if (drift > day_ms / 2) drift -= day_ms;
        if (drift < -day_ms / 2) drift += day_ms;
        if (drift <= anchor_slack_ms && drift >= -anchor_slack_ms) return;
    }
    anchored_ = true;
    anchor_us_ = now_us;
    anchor_ms_ = time_of_day_ms;
}

std::uint32_t TrafficRecord::time_of_day_ms(std::int64_t time_us) const
{
    // Rounded down to the millisecond, also before the anchor.
    const std::int64_t d = time_us - anchor_us_;
    const std::int64_t ms = anchor_ms_ + (d >= 0 ? d / 1000 : -((-d + 999) / 1000));
    return std::uint32_t(((ms % day_ms) + day_ms) % day_ms);
}

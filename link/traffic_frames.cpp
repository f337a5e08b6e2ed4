// The incremental frame cutter over the traffic record.
#include "link/traffic_frames.h"

#include <algorithm>

std::int32_t clamp_frame_gap(std::int32_t ms)
{
    return std::clamp(ms, frame_gap_min_ms, frame_gap_max_ms);
}

void TrafficFrames::set_rules(FrameRules rules)
{
    rules.gap_ms = clamp_frame_gap(rules.gap_ms);
    if (rules == rules_) return;
    rules_ = rules;
    reset();
}

void TrafficFrames::reset()
{
    std::deque<TrafficFrame>().swap(frames_);
    next_rx_ = next_tx_ = 0;
    open_ = mark_seen_ = continues_ = false;
    last_byte_ = 0;
    last_time_ = 0;
    low_ = {};
    high_ = {};
}

bool TrafficFrames::ends_line(std::uint8_t prev, std::uint8_t b) const
{
    switch (rules_.line_break) {
        case 0:
            return b == 0x0D;
        case 1:
            return b == 0x0A;
        case 2:
            return prev == 0x0D && b == 0x0A;
        case 3:
            return prev == 0x0A && b == 0x0D;
        default:
            return b == 0x0D || b == 0x0A;
    }
}

void TrafficFrames::note_reply(std::int64_t us)
{
    if (low_.empty() && high_.empty()) reply_min_ = reply_max_ = us;
    reply_min_ = std::min(reply_min_, us);
    reply_max_ = std::max(reply_max_, us);
    if (low_.empty() || us <= low_.top())
        low_.push(us);
    else
        high_.push(us);
    // low_ holds the lower middle: as many as high_, or one more.
    if (low_.size() > high_.size() + 1) {
        high_.push(low_.top());
        low_.pop();
    } else if (high_.size() > low_.size()) {
        low_.push(high_.top());
        high_.pop();
    }
}

void TrafficFrames::open_frame(TrafficDir dir, std::int64_t time_us, std::int64_t at)
{
    TrafficFrame f;
    f.start_us = f.end_us = time_us;
    f.first = at;
    f.dir = dir;
    f.continuation = continues_;
    frames_.push_back(f);
    open_ = true;
    mark_seen_ = false;
    continues_ = false;
    const std::size_t i = frames_.size() - 1;
    const std::int64_t reply = reply_us(i);
    if (reply >= 0) note_reply(reply);
}

void TrafficFrames::file_frame(const TxFile& file, std::size_t write)
{
    TrafficFrame f;
    f.start_us = f.end_us = file.start_us;
    f.first = std::int64_t(write);
    f.length = std::int32_t(std::min<std::int64_t>(file.size, INT32_MAX));
    f.dir = TrafficDir::tx;
    f.file = true;
    frames_.push_back(f);
    open_ = mark_seen_ = continues_ = false;
    last_time_ = file.start_us;
}

void TrafficFrames::event(TrafficDir dir, std::int64_t time_us, std::int64_t from, std::int64_t to,
                          const std::function<std::uint8_t(std::int64_t)>& byte_at)
{
    if (open_) {
        const TrafficFrame& last = frames_.back();
        if (last.dir != dir || time_us - last_time_ >= std::int64_t(rules_.gap_ms) * 1000) {
            open_ = false;
            continues_ = false;
        }
    }
    last_time_ = time_us;
    std::int64_t p = from;
    while (p < to) {
        if (open_ && mark_seen_) {
            // "CR or LF": the LF of a CR LF pair stays with its CR.
            const bool pair = rules_.line_break == 4 && last_byte_ == 0x0D && byte_at(p) == 0x0A &&
                              frames_.back().length < frame_row_max;
            if (pair) {
                TrafficFrame& f = frames_.back();
                ++f.length;
                f.end_us = time_us;
                last_byte_ = 0x0A;
                ++p;
            }
            open_ = false;
            continue;
        }
        if (!open_) open_frame(dir, time_us, p);
        TrafficFrame& f = frames_.back();
        f.end_us = time_us;
        const std::int64_t room = std::min<std::int64_t>(frame_row_max - f.length, to - p);
        if (!rules_.split_lines) {
            f.length += std::int32_t(room);
            p += room;
            last_byte_ = byte_at(p - 1);
        } else {
            const std::int64_t stop = p + room;
            while (p < stop) {
                const std::uint8_t b = byte_at(p++);
                const std::uint8_t prev = f.length > 0 ? last_byte_ : 0;
                ++f.length;
                last_byte_ = b;
                if (ends_line(prev, b)) {
                    mark_seen_ = true;
                    break;
                }
            }
        }
        if (f.length == frame_row_max && !mark_seen_) {
            open_ = false;
            continues_ = true;
        }
    }
}

bool TrafficFrames::update(const TrafficRecord& record, const std::uint8_t* rx_data, std::size_t max_events)
{
    if (record.generation() != generation_) {
        reset();
        generation_ = record.generation();
    }
    const std::int64_t before = record.complete_before();
    const auto rx_byte = [rx_data](std::int64_t p) { return rx_data[p]; };
    const auto tx_byte = [&record](std::int64_t p) {
        return p >= record.tx_kept_from() ? record.tx_byte(p) : std::uint8_t(0);
    };
    // Writes dropped for the bound before they were cut are gone for the frames too.
    if (next_tx_ < record.tx_first_write()) next_tx_ = record.tx_first_write();
    for (std::size_t done = 0;; ++done) {
        const bool rx_left = next_rx_ < record.rx_read_count() && record.rx_read_time(next_rx_) < before;
        const bool tx_left = next_tx_ < record.tx_write_count() && record.tx_write_time(next_tx_) < before;
        if (!rx_left && !tx_left) return true;
        if (done == max_events) return false;
        // A write and a read at the same time: the write is the question.
        const bool tx_first = tx_left && (!rx_left || record.tx_write_time(next_tx_) <= record.rx_read_time(next_rx_));
        if (tx_first) {
            const std::size_t i = next_tx_++;
            if (const TxFile* file = record.tx_file_at(i)) {
                file_frame(*file, i);
                continue;
            }
            const std::int64_t to = i + 1 < record.tx_write_count() ? record.tx_write_pos(i + 1) : record.tx_end();
            event(TrafficDir::tx, record.tx_write_time(i), record.tx_write_pos(i), to, tx_byte);
        } else {
            const std::size_t i = next_rx_++;
            const std::int64_t to = i + 1 < record.rx_read_count() ? record.rx_read_pos(i + 1) : record.rx_end();
            event(TrafficDir::rx, record.rx_read_time(i), record.rx_read_pos(i), to, rx_byte);
        }
    }
}

std::int64_t TrafficFrames::gap_us(std::size_t i) const
{
    if (i == 0 || i >= frames_.size() || frames_[i].continuation || frames_[i - 1].file) return -1;
    return frames_[i].start_us - frames_[i - 1].end_us;
}

std::int64_t TrafficFrames::reply_us(std::size_t i) const
{
    if (i == 0 || i >= frames_.size()) return -1;
    const TrafficFrame& f = frames_[i];
    if (f.dir != TrafficDir::rx || f.continuation || frames_[i - 1].dir != TrafficDir::tx || frames_[i - 1].file)
        return -1;
    return f.start_us - frames_[i - 1].end_us;
}

ReplyStats TrafficFrames::reply_stats() const
{
    ReplyStats s;
    s.count = std::int64_t(low_.size() + high_.size());
    if (s.count == 0) return s;
    s.min_us = reply_min_;
    s.max_us = reply_max_;
    s.median_us = low_.top();
    return s;
}

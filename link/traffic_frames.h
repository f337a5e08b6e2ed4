// Frames cut from the traffic record: a new frame at a change of direction,
// after a silence of at least the frame gap, and (when asked) after the
// line-break mode's mark; a frame past frame_row_max bytes goes on in a new
// row marked as a continuation. Cut incrementally, only what the record gained.
#pragma once

#include <cstdint>
#include <cstddef>
#include <deque>
#include <functional>
#include <queue>
#include <vector>

#include "link/traffic_record.h"

enum class TrafficDir : std::uint8_t { rx, tx };

struct TrafficFrame {
    std::int64_t start_us = 0;  // the read or write that brought its first byte
    std::int64_t end_us = 0;    // ... and its last byte
    std::int64_t first = 0;     // RX: store position; TX: sent-byte position
    std::int32_t length = 0;
    TrafficDir dir = TrafficDir::rx;
    bool continuation = false;  // the row before holds the start of the same frame
    bool file = false;          // a file sent as one entry: first is its write, length its size
};

inline constexpr std::int32_t frame_row_max = 4096;
inline constexpr std::int32_t frame_gap_default_ms = 20;
inline constexpr std::int32_t frame_gap_min_ms = 1;
inline constexpr std::int32_t frame_gap_max_ms = 10000;
std::int32_t clamp_frame_gap(std::int32_t ms);

struct FrameRules {
    std::int32_t gap_ms = frame_gap_default_ms;
    bool split_lines = false;
    int line_break = 0;  // RxLineBreak: the mark that ends a frame when split_lines
    bool operator==(const FrameRules&) const = default;
};

struct ReplyStats {
    std::int64_t count = 0;
    std::int64_t min_us = 0;
    std::int64_t median_us = 0;  // the lower middle one of an even count
    std::int64_t max_us = 0;
};

class TrafficFrames {
 public:
    // Other rules cut the whole record again at the next update.
    void set_rules(FrameRules rules);
    const FrameRules& rules() const { return rules_; }
    // No frames; the next update starts at the record's start.
    void reset();

    // Cuts the reads and writes the record gained since the last update, up to
    // the time before which it is complete, at most max_events reads and writes
    // (the rest waits for the next call); a cleared record starts over.
    // rx_data: the store's bytes. True when everything complete was cut.
    bool update(const TrafficRecord& record, const std::uint8_t* rx_data, std::size_t max_events = SIZE_MAX);

    std::size_t size() const { return frames_.size(); }
    const TrafficFrame& operator[](std::size_t i) const { return frames_[i]; }
    // Since the frame before ended; -1 for the first row, continuations and
    // after a file (its end is not known when the next row is cut).
    std::int64_t gap_us(std::size_t i) const;
    // From the sent frame's last write to this received frame's first read; -1
    // unless the row is a received frame's start right after a sent frame.
    std::int64_t reply_us(std::size_t i) const;
    ReplyStats reply_stats() const;

 private:
    void event(TrafficDir dir, std::int64_t time_us, std::int64_t from, std::int64_t to,
               const std::function<std::uint8_t(std::int64_t)>& byte_at);
    void open_frame(TrafficDir dir, std::int64_t time_us, std::int64_t at);
    void file_frame(const TxFile& file, std::size_t write);
    bool ends_line(std::uint8_t prev, std::uint8_t b) const;
    void note_reply(std::int64_t us);

    FrameRules rules_;
    std::deque<TrafficFrame> frames_;
    std::size_t next_rx_ = 0;  // the next read to cut
    std::size_t next_tx_ = 0;  // the next write to cut
    std::uint32_t generation_ = 0;
    bool open_ = false;       // the last frame takes more bytes
    bool mark_seen_ = false;  // the last frame ended at a line break: it closes at the next byte
    bool continues_ = false;  // the next row goes on from a full one
    std::uint8_t last_byte_ = 0;
    std::int64_t last_time_ = 0;
    // Reply times, split at the median: lower half in a max-heap, upper in a min-heap.
    std::priority_queue<std::int64_t> low_;
    std::priority_queue<std::int64_t, std::vector<std::int64_t>, std::greater<>> high_;
    std::int64_t reply_min_ = 0;
    std::int64_t reply_max_ = 0;
};

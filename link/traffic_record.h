// The traffic record: when each received read and each sent block crossed the
// port. Received bytes stay in the store, so a read costs only its store
// position and time; sent bytes are kept here, bounded, oldest dropped first.
#pragma once

#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "link/time_notes.h"

// A file sent too big for the bound: one entry instead of its bytes.
struct TxFile {
    std::string name;
    std::int64_t size = 0;                  // as it was when its send began
    std::int64_t sent = 0;                  // of its bytes handed to the driver so far
    std::int64_t start_us = 0, end_us = 0;  // its first and its last write
    std::size_t write = 0;                  // the write that stands for it
};

class TrafficRecord {
 public:
    static constexpr std::int64_t default_tx_bound = 16 * 1024 * 1024;
    static constexpr std::int64_t all_in = std::numeric_limits<std::int64_t>::max();

    // Forgets everything (with "Clear rx data"); the bound stays.
    void clear();
    // Changes with every clear, so what is cut from the record knows to start over.
    std::uint32_t generation() const { return generation_; }
    // Sent bytes plus 16 bytes per write are held within `bytes` (at least 4096).
    void set_tx_bound(std::int64_t bytes);

    // The store's bytes [position, position + count) came in these reads; bytes
    // no note covers (the notes' ring could not be had) take `fallback_us`.
    void rx_reads(std::int32_t position, std::int32_t count, const std::vector<TimeNote>& notes,
                  std::int64_t fallback_us);
    // Blocks handed to the driver, their bytes in order (as many as the notes count).
    void tx_writes(const std::vector<TimeNote>& notes, const std::uint8_t* bytes, std::size_t n);
    // Sent bytes the record never saw (counted with the dropped ones).
    void tx_unrecorded(std::int64_t n);
    // A file about to be sent: when `size` exceeds the bound, the `size` bytes
    // sent after `ahead` more are noted as one file entry and not kept (true).
    bool tx_file(std::string name, std::int64_t size, std::int64_t ahead);
    // The file's send ended (done or cancelled): what follows is kept again.
    void tx_file_end() { file_ahead_ = file_left_ = 0; }
    // The file entry write i stands for, or null.
    const TxFile* tx_file_at(std::size_t write) const;

    // Every read and write before these times is in the record (all_in while disconnected).
    void complete_before(std::int64_t rx_us, std::int64_t tx_us);
    std::int64_t complete_before() const { return rx_complete_ < tx_complete_ ? rx_complete_ : tx_complete_; }

    // Received reads, in store order.
    std::size_t rx_read_count() const { return rx_pos_.size(); }
    std::int32_t rx_read_pos(std::size_t i) const { return rx_pos_[i]; }
    std::int64_t rx_read_time(std::size_t i) const { return rx_time_[i]; }
    // The store length the reads cover.
    std::int32_t rx_end() const { return rx_end_; }

    // Sent writes: positions count every byte ever sent since the clear, so
    // dropping the oldest leaves them as they were.
    std::size_t tx_write_count() const { return tx_first_write_ + tx_pos_.size(); }
    std::size_t tx_first_write() const { return tx_first_write_; }  // the oldest kept
    std::int64_t tx_write_pos(std::size_t i) const { return tx_pos_[i - tx_first_write_]; }
    std::int64_t tx_write_time(std::size_t i) const { return tx_time_[i - tx_first_write_]; }
    std::int64_t tx_end() const { return tx_kept_from_ + std::int64_t(tx_bytes_.size()); }
    std::int64_t tx_kept_from() const { return tx_kept_from_; }
    // The sent byte at position p (tx_kept_from() <= p < tx_end()).
    std::uint8_t tx_byte(std::int64_t p) const { return tx_bytes_[std::size_t(p - tx_kept_from_)]; }
    // Sent bytes dropped for the bound or never seen.
    std::int64_t tx_dropped() const { return tx_dropped_; }

    // Memory the record holds, in bytes (for the benchmarks).
    std::int64_t memory() const;

    // Local time of day for a time of the link's clock: the two are tied at a
    // drain and tied again only when they drift apart by more than
    // anchor_slack_ms, so times of one stretch keep their spacing exactly.
    static constexpr std::int64_t anchor_slack_ms = 5;
    void anchor(std::int64_t now_us, std::uint32_t time_of_day_ms);
    std::uint32_t time_of_day_ms(std::int64_t time_us) const;

 private:
    void keep_within_bound();
    void tx_bytes(std::int64_t time_us, const std::uint8_t* bytes, std::int64_t n);

    std::deque<std::int32_t> rx_pos_;
    std::deque<std::int64_t> rx_time_;
    std::int32_t rx_end_ = 0;
    std::deque<std::int64_t> tx_pos_;
    std::deque<std::int64_t> tx_time_;
    std::deque<std::uint8_t> tx_bytes_;
    std::size_t tx_first_write_ = 0;
    std::int64_t tx_kept_from_ = 0;
    std::int64_t tx_dropped_ = 0;
    std::int64_t tx_bound_ = default_tx_bound;
    std::int64_t rx_complete_ = all_in;
    std::int64_t tx_complete_ = all_in;
    std::uint32_t generation_ = 0;
    std::deque<TxFile> files_;
    TxFile file_next_;             // the file announced, until its first byte
    std::int64_t file_ahead_ = 0;  // sent bytes still to come before it
    std::int64_t file_left_ = 0;   // its bytes still to come
    bool anchored_ = false;
    std::int64_t anchor_us_ = 0;
    std::int64_t anchor_ms_ = 0;  // the time of day at anchor_us_
};

// Searches for the Find window on a thread of their own, so the window keeps
// receiving and painting: one search at a time over the bytes below the limit
// it was given, cancelled by the next one. The window thread polls for what
// it found; the worker never touches a window.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "views/find/find_matcher.h"
#include "views/find/find_pattern.h"

enum class FindKind : std::uint8_t { Next, Previous, Count };

struct FindRequest {
    FindPattern pattern;
    FindKind kind = FindKind::Next;
    std::int32_t current = -1;  // start of the hit shown now; -1 none
    std::int32_t limit = 0;     // the bytes there were when the search began
};

// What a search found, in the order it knows it: a hit at once, then its
// place among all hits below the limit.
struct FindReport {
    enum class Kind : std::uint8_t { Found, Placed, NotFound, Counted, Failed };
    Kind kind = Kind::NotFound;
    std::int32_t start = -1;   // Found, Placed
    std::int32_t length = 0;   // Found
    bool wrapped = false;      // Found: past the end to the start (or back)
    std::int64_t ordinal = 0;  // Placed: 1 for the first hit
    std::int64_t total = 0;    // Placed, Counted
    friend bool operator==(const FindReport&, const FindReport&) = default;
};

// Hit positions kept for "k of N" after a count, up to this many (4 MB).
inline constexpr std::size_t find_index_capacity = std::size_t(1) << 20;

class FindRunner {
 public:
    explicit FindRunner(const ByteSource& source, std::int32_t chunk = find_default_chunk);
    ~FindRunner();
    FindRunner(const FindRunner&) = delete;
    FindRunner& operator=(const FindRunner&) = delete;

    // Cancels the search that runs, then starts this one.
    void start(FindRequest request);
    // Stops the search and waits for its thread; unread reports are dropped.
    void cancel();
    // The bytes are gone ("Clear rx data"): cancels and forgets what was counted.
    void forget();
    // The next report, on the window thread.
    std::optional<FindReport> poll();
    // A search runs or has reports not yet polled.
    bool busy() const;

 private:
    // Hits of one pattern counted so far, kept across searches while the
    // store only grows, so each search counts only the new bytes.
    struct HitIndex {
        bool valid = false;
        FindPattern pattern;
        std::int32_t covered = 0;  // every hit ending at or below this is counted
        std::int64_t total = 0;
        std::vector<std::int32_t> positions;
        bool all_positions = true;  // false once there were too many to keep
    };

    void run(const FindRequest& request);
    FindResult locate(const FindRequest& request, ChunkScanner& scan, bool& wrapped);
    ScanEnd count_up_to(const FindRequest& request, ChunkScanner& scan);
    ScanEnd ordinal_of(std::int32_t hit, const FindRequest& request, ChunkScanner& scan, std::int64_t& ordinal);
    void report(const FindReport& r);

    const ByteSource& source_;
    std::int32_t chunk_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> running_{false};
    mutable std::mutex reports_lock_;
    std::deque<FindReport> reports_;
    HitIndex index_;  // the worker's while it runs, the window thread's otherwise
};

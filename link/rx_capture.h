// Capture to file: every received byte appended to a file as the window drains
// it, beside the received data store and independent of it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"

class SerialLink;

// The capture file. All calls run on the window thread; results are 0 or the
// system's error code, and a failed write or open ends the capture (the file
// is closed, on() turns false) so the caller reports it once.
class RxCapture {
 public:
    RxCapture() = default;
    ~RxCapture() { stop(); }
    RxCapture(const RxCapture&) = delete;
    RxCapture& operator=(const RxCapture&) = delete;

    // Creates (or empties) the file and starts capturing into it.
    int start(const std::string& path);
    // Flushes and closes; the capture is over.
    int stop();
    // While disconnected the file stays closed; the capture goes on into the
    // same file, appended, from the next connect.
    int suspend();
    int resume();

    int write(const void* data, std::size_t n);
    // Hands written bytes to the disk when the last flush is at least
    // flush_period_ms old, so a crash loses at most about a second. The flush
    // itself runs on a thread of its own (it can take long on a busy disk and
    // would hold up the drain); its failure is reported by a later call.
    int flush_if_due(std::uint32_t now_ms);
    static constexpr std::uint32_t flush_period_ms = 500;

    bool on() const { return on_; }
    const std::string& path() const { return path_; }
    std::int64_t written() const { return written_; }

 private:
    int fail(int code);
    void start_flusher();
    int stop_flusher();  // waits for a flush under way; its error, or 0
    void flusher_loop();

    FileWriter file_;
    std::thread flusher_;
    std::mutex flush_lock_;
    std::condition_variable flush_wake_;
    bool flush_asked_ = false;  // under flush_lock_, like the two below
    bool flusher_quit_ = false;
    int flush_error_ = 0;
    std::string path_;
    bool on_ = false;
    bool dirty_ = false;
    std::uint32_t last_flush_ms_ = 0;
    std::int64_t written_ = 0;
};

// What one drain did, for the main window's reports.
struct RxDrainResult {
    int store = -1;               // rx_store_append's result (-1 also: nothing for the store)
    bool store_filled = false;    // the store could not grow; capture took the bytes from here on
    int capture_error = 0;        // a capture write failed with this code; the capture is off
    std::int32_t captured = 0;    // bytes written to the capture file by this drain
    std::int32_t store_from = 0;  // where this drain's bytes begin in the store (store == 0)
};

// The drain of each connected tick: the link's receive FIFO into its store and,
// while capturing, into the file. Without a capture it is rx_store_append itself.
class RxDrain {
 public:
    RxDrainResult run(SerialLink& link, std::uint32_t now_ms);
    // The store was re-created ("Clear rx data"): it may take bytes again.
    void store_cleared() { store_full_ = false; }
    bool store_full() const { return store_full_; }

    RxCapture capture;

 private:
    bool divert(SerialLink& link, RxDrainResult& result);

    bool store_full_ = false;
    std::vector<std::uint8_t> scratch_;
};

// The capture's status-bar words: " | capture: 123B".
std::string capture_status_text(std::int64_t written);

// One file transfer on a thread of its own between the link's two FIFO sides:
// it feeds the engine what the receive FIFO holds as soon as it is there and
// puts the engine's answers into the transmit FIFO, so a block's round trip
// never waits for the main window's drain. The window only polls it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "link/data_flow.h"
#include "tx/transfer/xfer_engine.h"

class XferRun {
 public:
    // The sides (and the clock, in milliseconds) outlive the run.
    XferRun(RxSide& rx, TxSide& tx, std::function<std::int64_t()> now_ms);
    ~XferRun();  // cancels a run still going and waits for its thread
    XferRun(const XferRun&) = delete;
    XferRun& operator=(const XferRun&) = delete;

    // Starts the engine; the source or sink it works on must outlive the run.
    void start(std::unique_ptr<XferEngine> engine);
    // The user's cancel: the engine sends its CANs and ends.
    void cancel();
    // The engine has ended and its last bytes are in the transmit FIFO.
    bool finished() const { return finished_; }
    bool running() const { return thread_.joinable() && !finished_; }
    XferStatus status() const;
    // Waits for the thread after finished() (or a cancel); idempotent.
    void join();

    // A question the transfer waits on (asked from its thread through ask()),
    // answered by the window thread; empty when none is pending.
    std::string question() const;
    void answer(bool yes);
    // For the sink, on the run's thread: blocks until answered or cancelled.
    bool ask(const std::string& text);

 private:
    void loop();
    // The engine's output into the transmit FIFO, as the FIFO makes room.
    void flush_output();
    void publish();

    RxSide& rx_;
    TxSide& tx_;
    std::function<std::int64_t()> now_ms_;
    std::unique_ptr<XferEngine> engine_;
    std::thread thread_;
    std::atomic<bool> cancel_requested_{false};
    std::atomic<bool> finished_{false};

    mutable std::mutex lock_;  // guards the status copy and the question
    std::condition_variable answered_;
    XferStatus status_;
    std::string question_;
    int answer_ = -1;  // -1 none yet
};

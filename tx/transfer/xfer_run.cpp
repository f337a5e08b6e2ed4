// The transfer thread: receive FIFO -> engine -> transmit FIFO, waking when
// the receive thread rings that bytes arrived.
#include "tx/transfer/xfer_run.h"

#include "tx/transfer/xmodem_block.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr std::int32_t read_chunk = 8192;
// The longest wait for bytes: the engine's time-outs and a cancel are seen
// at least this often.
constexpr std::int32_t arrival_wait_ms = 10;
constexpr std::int64_t repeat_cancel_after_ms = 1000;
// An answer the transmit FIFO cannot take for this long (the link gone) is
// dropped; the engine's own time-outs then end the transfer.
constexpr std::int64_t put_give_up_ms = 2000;
constexpr std::int64_t put_give_up_cancelled_ms = 100;

void pause_1ms()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// While it lives both worker threads serve the transfer: they wait on the port
// and on puts instead of pausing.
class TransferMode {
 public:
    TransferMode(RxSide& rx, TxSide& tx) : rx_(rx), tx_(tx)
    {
        rx_.transfers.fetch_add(1);
        tx_.transfers.fetch_add(1);
    }
    ~TransferMode()
    {
        rx_.transfers.fetch_sub(1);
        tx_.transfers.fetch_sub(1);
    }
    TransferMode(const TransferMode&) = delete;
    TransferMode& operator=(const TransferMode&) = delete;

 private:
    RxSide& rx_;
    TxSide& tx_;
};

}  // namespace

XferRun::XferRun(RxSide& rx, TxSide& tx, std::function<std::int64_t()> now_ms)
    : rx_(rx), tx_(tx), now_ms_(std::move(now_ms))
{
}

XferRun::~XferRun()
{
    cancel();
    join();
}

void XferRun::start(std::unique_ptr<XferEngine> engine)
{
    join();
    engine_ = std::move(engine);
    cancel_requested_ = false;
    finished_ = false;
    {
        std::lock_guard guard(lock_);
        status_ = engine_->status();
        question_.clear();
        answer_ = -1;
    }
    thread_ = std::thread([this] { loop(); });
}

void XferRun::cancel()
{
    std::lock_guard guard(lock_);
    cancel_requested_ = true;
    answered_.notify_all();
}

void XferRun::join()
{
    if (thread_.joinable()) thread_.join();
}

XferStatus XferRun::status() const
{
    std::lock_guard guard(lock_);
    return status_;
}

std::string XferRun::question() const
{
    std::lock_guard guard(lock_);
    return question_;
}

void XferRun::answer(bool yes)
{
    std::lock_guard guard(lock_);
    if (question_.empty()) return;
    answer_ = yes ? 1 : 0;
    answered_.notify_all();
}

bool XferRun::ask(const std::string& text)
{
    std::unique_lock guard(lock_);
    question_ = text;
    answer_ = -1;
    answered_.wait(guard, [this] { return answer_ >= 0 || cancel_requested_; });
    const bool yes = answer_ == 1 && !cancel_requested_;
    question_.clear();
    answer_ = -1;
    return yes;
}

void XferRun::publish()
{
    std::lock_guard guard(lock_);
    status_ = engine_->status();
}

void XferRun::flush_output()
{
    std::vector<std::uint8_t>& out = engine_->output();
    std::size_t sent = 0;
    std::int64_t last_progress = now_ms_();
    while (sent < out.size()) {
        const std::int32_t room = tx_.free_space();
        const std::size_t n = std::min<std::size_t>(out.size() - sent, room > 0 ? std::size_t(room) : 0);
        if (n > 0 && tx_.put(out.data() + sent, static_cast<std::int32_t>(n)) == 0) {
            sent += n;
            last_progress = now_ms_();
            continue;
        }
        // After a cancel (the link may be gone) the CANs are not worth a wait.
        if (now_ms_() - last_progress > (cancel_requested_ ? put_give_up_cancelled_ms : put_give_up_ms)) break;
        pause_1ms();
    }
    out.clear();
}

void XferRun::loop()
{
    std::vector<std::uint8_t> buffer(read_chunk);
    const TransferMode mode(rx_, tx_);
    engine_->start(now_ms_());
    flush_output();
    publish();
    bool cancel_sent = false;
    while (engine_->status().state == XferState::Running) {
        // Taken before the FIFO is looked at: bytes put after the look end the wait.
        const std::uint32_t arrivals = rx_.arrived.count();
        if (cancel_requested_ && !cancel_sent) {
            cancel_sent = true;
            engine_->cancel(now_ms_());
        } else if (const std::int32_t n = std::min(rx_.fill(), read_chunk); n > 0 && rx_.get(buffer.data(), n) == 0) {
            engine_->received(buffer.data(), static_cast<std::size_t>(n), now_ms_());
        } else {
            engine_->tick(now_ms_());
            if (engine_->output().empty()) rx_.arrived.wait(arrivals, arrival_wait_ms);
        }
        flush_output();
        publish();
    }
    // CANs that arrive while the other side still reads a block are taken for
    // its data; once it has given up on that block (a second later) a second
    // burst finds it waiting for a header, so the cancel is always seen.
    if (cancel_sent) {
        const std::int64_t until = now_ms_() + repeat_cancel_after_ms;
        while (now_ms_() < until) {
            if (const std::int32_t n = std::min(rx_.fill(), read_chunk); n > 0) rx_.get(buffer.data(), n);
            pause_1ms();
        }
        xmodem::append_cancel(engine_->output());
        flush_output();
    }
    finished_ = true;
}

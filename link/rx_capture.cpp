// Capture to file and the drain that feeds both the store and the capture.
#include "link/rx_capture.h"

#include <cstdio>

#include "link/serial_link.h"

int RxCapture::start(const std::string& path)
{
    stop();
    path_ = path;
    written_ = 0;
    const int r = file_.open(path, false);
    if (r != 0) return r;
    on_ = true;
    dirty_ = false;
    start_flusher();
    return 0;
}

void RxCapture::start_flusher()
{
    flush_asked_ = flusher_quit_ = false;
    flush_error_ = 0;
    flusher_ = std::thread([this] { flusher_loop(); });
}

int RxCapture::stop_flusher()
{
    if (!flusher_.joinable()) return 0;
    {
        std::lock_guard hold(flush_lock_);
        flusher_quit_ = true;
    }
    flush_wake_.notify_all();
    flusher_.join();
    return flush_error_;
}

void RxCapture::flusher_loop()
{
    std::unique_lock hold(flush_lock_);
    for (;;) {
        flush_wake_.wait(hold, [this] { return flush_asked_ || flusher_quit_; });
        if (!flush_asked_) return;
        flush_asked_ = false;
        hold.unlock();
        // The window thread may write meanwhile: the system orders the two.
        const int r = file_.flush();
        hold.lock();
        if (r != 0 && flush_error_ == 0) flush_error_ = r;
    }
}

int RxCapture::stop()
{
    const int r = suspend();
    on_ = false;
    return r;
}

int RxCapture::suspend()
{
    const int flushed = stop_flusher();
    if (!file_.is_open()) return 0;
    int r = flushed != 0 ? flushed : dirty_ ? file_.flush() : 0;
    const int c = file_.close();
    dirty_ = false;
    if (r == 0) r = c;
    if (r != 0) on_ = false;
    return r;
}

int RxCapture::resume()
{
    if (!on_ || file_.is_open()) return 0;
    const int r = file_.open(path_, true);
    if (r != 0) return fail(r);
    start_flusher();
    return 0;
}

int RxCapture::fail(int code)
{
    stop_flusher();
    file_.close();
    on_ = false;
    dirty_ = false;
    return code;
}

int RxCapture::write(const void* data, std::size_t n)
{
    if (!on_ || n == 0) return 0;
    if (!file_.is_open()) {
        const int r = resume();
        if (r != 0) return r;
    }
    const int r = file_.write(data, n);
    if (r != 0) return fail(r);
    written_ += static_cast<std::int64_t>(n);
    dirty_ = true;
    return 0;
}

int RxCapture::flush_if_due(std::uint32_t now_ms)
{
    if (!file_.is_open()) return 0;
    int failed = 0;
    {
        std::lock_guard hold(flush_lock_);
        failed = flush_error_;
        if (failed == 0) {
            if (!dirty_) {
                last_flush_ms_ = now_ms;
                return 0;
            }
            if (now_ms - last_flush_ms_ < flush_period_ms) return 0;
            last_flush_ms_ = now_ms;
            dirty_ = false;
            flush_asked_ = true;
        }
    }
    if (failed != 0) return fail(failed);
    flush_wake_.notify_one();
    return 0;
}

RxDrainResult RxDrain::run(SerialLink& link, std::uint32_t now_ms)
{
    RxDrainResult result;
    if (!store_full_) {
        const RxStore* store = nullptr;
        link.rx_store_info(&store);
        const std::int32_t before = store->length;
        result.store = link.rx_store_append();
        result.store_from = before;
        if (result.store == 0 && capture.on()) {
            // The new bytes are the store's tail; the capture writes them from there.
            link.rx_store_info(&store);
            result.captured = store->length - before;
            result.capture_error = capture.write(store->data + before, std::size_t(result.captured));
        } else if (result.store > 0 && capture.on()) {
            // The append left the bytes in the FIFO: the capture takes them, and
            // every later byte, while the store keeps what it has.
            store_full_ = true;
            result.store_filled = true;
            result.store = -1;
        }
    }
    if (store_full_) {
        if (!capture.on()) {
            // Nobody takes the bytes any more: the store's own failure, as without capture.
            result.store = 2;
        } else if (!divert(link, result)) {
            return result;
        }
    }
    if (result.capture_error == 0) result.capture_error = capture.flush_if_due(now_ms);
    return result;
}

bool RxDrain::divert(SerialLink& link, RxDrainResult& result)
{
    const std::int32_t n = link.rx_fill();
    if (n <= 0) return true;
    if (scratch_.size() < std::size_t(n)) scratch_.resize(std::size_t(n));
    if (link.rx_get(scratch_.data(), n) != 0) return true;
    result.captured = n;
    result.capture_error = capture.write(scratch_.data(), std::size_t(n));
    return result.capture_error == 0;
}

std::string capture_status_text(std::int64_t written)
{
    char text[48];
    std::snprintf(text, sizeof text, " | capture: %lldB", static_cast<long long>(written));
    return text;
}

// A count that one thread raises and another waits on with a bound: how a
// file transfer's threads hand each other work without polling.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// Its lock is a leaf: taken only inside ring() and wait(), never with another
// lock held, so it adds nothing to the order of the two side locks.
class Doorbell {
 public:
    std::uint32_t count()
    {
        std::lock_guard guard(lock_);
        return count_;
    }
    void ring()
    {
        {
            std::lock_guard guard(lock_);
            ++count_;
        }
        rung_.notify_all();
    }
    // Until the count differs from `seen` (at once when it already does) or
    // `ms` have passed; the count then.
    std::uint32_t wait(std::uint32_t seen, std::int32_t ms)
    {
        std::unique_lock guard(lock_);
        rung_.wait_for(guard, std::chrono::milliseconds(ms > 0 ? ms : 0), [&] { return count_ != seen; });
        return count_;
    }

 private:
    std::mutex lock_;
    std::condition_variable rung_;
    std::uint32_t count_ = 0;
};

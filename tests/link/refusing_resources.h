// Link resources a test refuses at will: the next creation of a worker
// thread, a growth of the received data store, or every thread kept held at
// its start gate (a port open with nothing polling it).
#pragma once

#include <cstddef>
#include <functional>

#include "link/link_resources.h"

class RefusingResources final : public LinkResources {
 public:
    ThreadStart thread_start(LinkThread t) override
    {
        bool& refuse = t == LinkThread::rx ? refuse_rx_ : refuse_tx_;
        if (refuse) {
            refuse = false;
            return ThreadStart::refuse;
        }
        return hold_threads ? ThreadStart::held : ThreadStart::run;
    }
    bool store_growth(std::size_t capacity) override { return !growth_check || growth_check(capacity); }

    // The next creation of each named thread fails as if the system had refused it.
    void fail_next_create(bool rx, bool tx)
    {
        refuse_rx_ = rx;
        refuse_tx_ = tx;
    }

    bool hold_threads = false;
    // Asked with each new capacity of the store; empty grants every growth.
    std::function<bool(std::size_t)> growth_check;

 private:
    bool refuse_rx_ = false;
    bool refuse_tx_ = false;
};

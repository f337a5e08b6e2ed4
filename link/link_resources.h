// What the link takes from the system that the system may refuse: a worker
// thread, more memory for the received data store. The link asks here first,
// so a test can refuse either and see the refusal's path taken.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/clock.h"

enum class LinkThread { rx, tx };

enum class ThreadStart {
    run,     // created at the start gate and resumed as usual
    refuse,  // the creation fails as if the system had refused the thread
    held,    // created but kept at its start gate until it is stopped
};

// The defaults grant everything, as the product runs.
class LinkResources {
 public:
    virtual ~LinkResources() = default;

    // Asked before each worker thread is created.
    virtual ThreadStart thread_start(LinkThread) { return ThreadStart::run; }
    // Asked before each growth of the received data store, with its new
    // capacity; false fails the append with 2 as a failed allocation does.
    virtual bool store_growth(std::size_t) { return true; }
    // The time the worker threads give each read and write, in microseconds;
    // a test replaces it with a scripted clock.
    virtual std::int64_t clock_us() { return monotonic_us(); }
};

// A count that one thread raises and another waits on with a bound: how a
// file transfer's threads hand each other work without polling.
#pragma once

#include <cstdint>
#include <memory>

// Its lock is a leaf: taken only inside ring() and wait(), never with another
// lock held, so it adds nothing to the order of the two side locks. On Windows
// it is a slim lock and condition variable: the C++ library's condition
// variable there is a kernel semaphore, several times slower per hand-off.
class Doorbell {
 public:
    Doorbell();
    ~Doorbell();
    Doorbell(const Doorbell&) = delete;
    Doorbell& operator=(const Doorbell&) = delete;

    std::uint32_t count();
    void ring();
    // Until the count differs from `seen` (at once when it already does) or
    // `ms` have passed; the count then.
    std::uint32_t wait(std::uint32_t seen, std::int32_t ms);

 private:
    struct State;
    std::unique_ptr<State> state_;
};

// The received data store as the search thread reads it: copies taken while
// the store's growth cannot move its bytes.
#pragma once

#include "link/serial_link.h"
#include "views/find/find_matcher.h"

class RxStoreSource final : public ByteSource {
 public:
    explicit RxStoreSource(const SerialLink& link) : link_(link) {}
    bool copy(std::int32_t pos, std::int32_t count, std::uint8_t* out) const override
    {
        return link_.rx_store_copy_shared(pos, out, count) == 0;
    }

 private:
    const SerialLink& link_;
};

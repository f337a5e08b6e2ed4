// The received data store as the search thread reads it: copies taken while
// the store's growth cannot move its bytes.
#pragma once

#include "link/rx_store.h"
#include "views/find_matcher.h"

class RxStoreSource final : public ByteSource {
 public:
    bool copy(std::int32_t pos, std::int32_t count, std::uint8_t* out) const override
    {
        return rx_store_copy_shared(pos, out, count) == 0;
    }
};

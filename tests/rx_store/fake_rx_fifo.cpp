// Stand-in receive FIFO until the real one is in the link layer.
#include <cstring>
#include <deque>
#include <string>

#include "rx_feed.h"

namespace {
std::string pending;
}

int32_t rx_fill() { return int32_t(pending.size()); }
int rx_get(void* dest, int32_t n)
{
    std::memcpy(dest, pending.data(), std::size_t(n));
    pending.erase(0, std::size_t(n));
    return 0;
}
void rx_feed_open() { pending.clear(); }
void rx_feed_close() { pending.clear(); }
bool rx_feed(std::string_view bytes) { pending.append(bytes); return true; }

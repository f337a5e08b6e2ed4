// What a drain does to the views with "Follow new data" on and off.
#include "app/follow_new_data.h"

namespace {

std::int32_t store_length(const SerialLink& link)
{
    const RxStore* store = nullptr;
    link.rx_store_info(&store);
    return store ? store->length : 0;
}

}  // namespace

void FollowNewData::drained(TextPage& text)
{
    const std::int32_t length = store_length(text.link);
    if (on())
        hex_.follow_store(length);
    else
        hex_.add_rows(length);
    // However many lines the drain added, auto-scroll shows the last one.
    if (on()) text_scroll_to_end(text);
}

void FollowNewData::toggled(TextPage& text)
{
    if (!on()) return;
    hex_.follow_store(store_length(text.link));
    text_scroll_to_end(text);
}

// The retry schedule of a lost port.
#include "app/port_loss.h"

void PortLoss::lost(std::uint32_t now_ms)
{
    retrying_ = true;
    last_attempt_ms_ = now_ms;
}

bool PortLoss::end()
{
    const bool was = retrying_;
    retrying_ = false;
    return was;
}

bool PortLoss::retry(SerialLink& link, const PortSettings& settings, bool allowed, std::uint32_t now_ms)
{
    if (!retrying_ || !allowed || link.connected()) return false;
    // Unsigned difference: right across the tick count's wrap after 49 days.
    if (now_ms - last_attempt_ms_ < retry_period_ms) return false;
    last_attempt_ms_ = now_ms;
    if (link.com_connect(settings) != 0) return false;
    retrying_ = false;
    return true;
}

bool PortLoss::take_box()
{
    if (box_open_) return false;
    box_open_ = true;
    return true;
}

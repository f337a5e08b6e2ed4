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

bool PortLoss::due(const SerialLink& link, bool allowed, std::uint32_t now_ms)
{
    if (!retrying_ || !allowed || link.connected()) return false;
    // Unsigned difference: right across the tick count's wrap after 49 days.
    if (now_ms - last_attempt_ms_ < retry_period_ms) return false;
    last_attempt_ms_ = now_ms;
    return true;
}

bool PortLoss::retry(SerialLink& link, const PortSettings& settings, bool allowed, std::uint32_t now_ms)
{
    if (!due(link, allowed, now_ms)) return false;
    if (link.com_connect(settings) != 0) return false;
    retrying_ = false;
    return true;
}

bool PortLoss::retry(SerialLink& link, PortSettings& settings, bool allowed, std::uint32_t now_ms,
                     const std::vector<PortInfo>& present)
{
    moved_from_ = 0;
    if (!due(link, allowed, now_ms)) return false;
    // A number the system gave to another adapter meanwhile is not ours to open.
    const PortInfo* there = find_port(present, settings.port_num);
    const bool taken = there && there->usb.known() && device_.known() && !(there->usb == device_);
    if (!taken && link.com_connect(settings) == 0) {
        retrying_ = false;
        return true;
    }
    const PortInfo* moved = find_same_device(present, device_);
    if (!moved || moved->number == settings.port_num) return false;
    PortSettings there_now = settings;
    there_now.port_num = moved->number;
    if (link.com_connect(there_now) != 0) return false;
    moved_from_ = settings.port_num;
    settings.port_num = moved->number;
    retrying_ = false;
    return true;
}

bool PortLoss::take_box()
{
    if (box_open_) return false;
    box_open_ = true;
    return true;
}

// A port that went away under the connection (a USB adapter pulled, a device
// reset), as opposed to one the user disconnected: while "Reconnect
// automatically" is on, the same port is reopened every second into the same
// store, until it comes back or the user's own Connect or Disconect ends it.
// A USB device known by its serial number is also followed to another number.
// No window here: the main window says what the clock and the menu say.
#pragma once

#include <cstdint>
#include <vector>

#include "link/port_catalogue.h"
#include "link/port_settings.h"
#include "link/serial_link.h"

class PortLoss {
 public:
    static constexpr std::uint32_t retry_period_ms = 1000;

    // The window has disconnected after the receive thread reported the loss
    // at `now_ms`; the first retry comes one period later.
    void lost(std::uint32_t now_ms);
    // The user's Connect, Disconect or closing the window: no more retrying.
    // Returns whether it was retrying (the window then shows itself disconnected).
    bool end();
    bool retrying() const { return retrying_; }

    // A disconnected tick: reopens the port when retrying, allowed (the menu
    // item on, no dialog in the way) and a period has passed since the last
    // attempt. A port still missing is no news; true when it is open again.
    bool retry(SerialLink& link, const PortSettings& settings, bool allowed, std::uint32_t now_ms);
    // The device on the port just connected, as the catalogue names it.
    void connected_to(const UsbIdentity& device) { device_ = device; }
    // As retry() above, over the ports present now: the port's own number
    // first (unless another known device holds it now), else the same USB
    // device (VID, PID and serial number) under another number, which the
    // record then takes; moved_from() is the old number after such a move, else 0.
    bool retry(SerialLink& link, PortSettings& settings, bool allowed, std::uint32_t now_ms,
               const std::vector<PortInfo>& present);
    std::int32_t moved_from() const { return moved_from_; }

    // The loss's message box is shown once at a time: take_box() says whether it
    // may be shown now, and box_done() when it has been answered.
    bool take_box();
    void box_done() { box_open_ = false; }

 private:
    bool retrying_ = false;
    bool box_open_ = false;
    bool due(const SerialLink& link, bool allowed, std::uint32_t now_ms);

    std::uint32_t last_attempt_ms_ = 0;
    UsbIdentity device_;
    std::int32_t moved_from_ = 0;
};

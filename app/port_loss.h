// A port that went away under the connection (a USB adapter pulled, a device
// reset), as opposed to one the user disconnected: while "Reconnect
// automatically" is on, the same port is reopened every second into the same
// store, until it comes back or the user's own Connect or Disconect ends it.
// No window here: the main window says what the clock and the menu say.
#pragma once

#include <cstdint>

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

    // The loss's message box is shown once at a time: take_box() says whether it
    // may be shown now, and box_done() when it has been answered.
    bool take_box();
    void box_done() { box_open_ = false; }

 private:
    bool retrying_ = false;
    bool box_open_ = false;
    std::uint32_t last_attempt_ms_ = 0;
};

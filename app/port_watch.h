// The ports present as the system reports them, read again a moment after
// it announces devices coming or going (a burst of announcements is one
// read), never by polling. What the lost port's retry looks through.
#pragma once

#include <vector>

#include "link/port_catalogue.h"
#include "ui/timer.h"

class PortWatch {
 public:
    // Announcements settle for this long before the catalogue is read.
    static constexpr int settle_ms = 300;

    PortWatch();
    ~PortWatch();
    PortWatch(const PortWatch&) = delete;
    PortWatch& operator=(const PortWatch&) = delete;

    // The catalogue outlives the watch; without one the list stays empty.
    void set_catalogue(PortCatalogue& catalogue) { catalogue_ = &catalogue; }
    // Listens to the system's device announcements until stop().
    void start();
    void stop();

    // Reads the catalogue now (no port is opened for it).
    void refresh();
    const std::vector<PortInfo>& ports() const { return ports_; }
    // The device on port n as the system reports it now; unknown without a catalogue.
    UsbIdentity device_of(int n);

    ui::Timer settle{"PortSettle", settle_ms, false};

 private:
    void announced();

    PortCatalogue* catalogue_ = nullptr;
    std::vector<PortInfo> ports_;
};

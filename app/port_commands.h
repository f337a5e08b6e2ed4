// "Port" > "Settings" and "Port" > "Reconnect automatically".
#pragma once

#include "app/main_menu.h"
#include "link/port_settings.h"
#include "link/serial_link.h"

class PortCommands {
 public:
    PortCommands(SerialLink& link, PortSettings& port_settings, MainMenuBar& menu)
        : link_(link), port_settings_(port_settings), menu_(menu)
    {
    }

    // The settings dialog; a connected port is closed for it and reopened
    // after, whatever the dialog answered, so new settings take effect.
    void MMcomsetClick();
    void MMreconnectClick();

 private:
    SerialLink& link_;
    PortSettings& port_settings_;
    MainMenuBar& menu_;
};

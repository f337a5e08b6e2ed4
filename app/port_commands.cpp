// The port's settings commands.
#include "app/port_commands.h"

#include "app/window_set.h"

void PortCommands::MMcomsetClick()
{
    const bool was_connected = link_.connected();
    if (was_connected) menu_.MMdiscon.click();
    if (CSForm) CSForm->show_modal();
    if (was_connected) menu_.MMcon.click();
}

void PortCommands::MMreconnectClick()
{
    port_settings_.port_reconnect = menu_.MMreconnect.checked() ? 1 : 0;
}

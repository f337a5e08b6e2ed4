// Clear and Find of the received data.
#include "app/rx_commands.h"

#include "app/tx_commands.h"
#include "app/window_set.h"
#include "views/text/text_commands.h"

void RxCommands::MMclrrxClick()
{
    if (FindForm) FindForm->store_cleared();
    link_.line_errors_reset();
    text_clear(text_, port_settings_.port_rx_data_block_size);
    receive_.drain.store_cleared();
    hex_.clear();
    plot_.feed(0);  // the emptied text view: the plot starts over at once
}

void RxCommands::MMfindClick()
{
    show_or_raise(*FindForm);
}

// "Rx" > "Clear rx data" (and the Clear button) and "Rx" > "Find...": the
// commands that act on the received data as a whole.
#pragma once

#include "app/main_menu.h"
#include "link/port_settings.h"
#include "link/serial_link.h"
#include "views/hex/hex_page.h"
#include "views/plot/plot_page.h"
#include "views/receive_tick.h"
#include "views/text/text_page.h"

class RxCommands {
 public:
    RxCommands(SerialLink& link, const PortSettings& port_settings, MainMenuBar& menu, TextPage& text, HexPage& hex,
               PlotPage& plot, ReceiveTick& receive)
        : link_(link),
          port_settings_(port_settings),
          menu_(menu),
          text_(text),
          hex_(hex),
          plot_(plot),
          receive_(receive)
    {
    }

    // The button runs the item, so both take the same way.
    void BtnClrClick() { menu_.MMclrrx.click(); }
    // Empties the store (re-created with the settings' block size), both views,
    // the plot, the line error counts and what Find had found.
    void MMclrrxClick();
    void MMfindClick();

 private:
    SerialLink& link_;
    const PortSettings& port_settings_;
    MainMenuBar& menu_;
    TextPage& text_;
    HexPage& hex_;
    PlotPage& plot_;
    ReceiveTick& receive_;
};

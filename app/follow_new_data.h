// "Rx" > "Follow new data": whether each drain takes both views to the end of
// the data. Off, they stay where the user put them while bytes keep arriving.
#pragma once

#include <cstdint>

#include "ui/menu.h"
#include "views/hex/hex_page.h"
#include "views/text/text_commands.h"

class FollowNewData {
 public:
    FollowNewData(ui::MenuItem& item, HexPage& hex) : item_(item), hex_(hex) {}

    bool on() const { return item_.checked(); }
    // A drain appended bytes (the text already converted): the HEX page shows
    // them, and both views go to the end when on.
    void drained(TextPage& text);
    // The item has just toggled its mark: on again, both views go to the end.
    void toggled(TextPage& text);
    // Something was put in view for the user to look at (a Find hit): off.
    void hold() { item_.set_checked(false); }

 private:
    ui::MenuItem& item_;
    HexPage& hex_;
};

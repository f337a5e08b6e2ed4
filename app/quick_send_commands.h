// Tx > Quick send: the ten slots of the send-string window as menu items with
// Ctrl+1 .. Ctrl+9 and Ctrl+0, each sending its slot at once.
#pragma once

#include <functional>

#include "app/main_menu.h"
#include "link/serial_link.h"
#include "tx/txs_form.h"
#include "ui/form.h"

class QuickSendCommands {
 public:
    // line_break_mode: the text view's mode, which a slot's "Default" mark follows.
    QuickSendCommands(ui::Form& owner, SerialLink& link, MainMenuBar& menu, std::function<int()> line_break_mode);

    // Takes the slots from the send-string window, now and after each change.
    void attach(TTXSForm& form);
    // Captions from the slots; an item works while connected and its slot is used.
    void refresh();
    // Slot 0..9, as its item does.
    void MMquickClick(int slot);

 private:
    ui::Form& owner_;
    SerialLink& link_;
    MainMenuBar& menu_;
    std::function<int()> line_break_mode_;
    TTXSForm* form_ = nullptr;
};

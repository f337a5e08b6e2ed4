// The "Tx" menu and the send buttons: the send windows, Tab, EOL and EOF, and
// typing to the port ("From keyboard", a button and an item kept in step).
#pragma once

#include <functional>

#include "app/main_menu.h"
#include "app/tool_bar.h"
#include "link/serial_link.h"
#include "ui/form.h"

// Shows a modeless tool window, or brings it forward when it is already shown.
void show_or_raise(ui::Form& f);

class TxCommands {
 public:
    // line_break_mode: the text view's mode, which "Send EOL" sends.
    TxCommands(ui::Form& owner, SerialLink& link, MainMenuBar& menu, MainToolBar& tools,
               std::function<int()> line_break_mode)
        : owner_(owner), link_(link), menu_(menu), tools_(tools), line_break_mode_(std::move(line_break_mode))
    {
    }

    void MMtxfileClick();
    void MMtxintClick();
    void MMtxstrClick();
    void MMxferClick();
    void MMtxTabClick();
    void MMtxEOLClick();
    void MMtxEOFClick();
    void BtnKeyboardClick();
    void MMkeyboardClick();
    // After connecting, disconnecting or switching the keyboard toggle.
    void sync_keyboard_mode();

 private:
    ui::Form& owner_;
    SerialLink& link_;
    MainMenuBar& menu_;
    MainToolBar& tools_;
    std::function<int()> line_break_mode_;
};

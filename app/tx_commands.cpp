// The send commands of the main window.
#include "app/tx_commands.h"

#include "app/window_set.h"
#include "tx/keyboard_send.h"

void show_or_raise(ui::Form& f)
{
    if (!f.visible()) {
        f.show();
    } else if (ui::Control* c = f.active_control()) {
        c->set_focus();
    }
}

void TxCommands::MMtxfileClick()
{
    if (link_.connected()) TXFForm->show_modal();
}
void TxCommands::MMtxintClick()
{
    if (link_.connected()) show_or_raise(*TXIForm);
}
void TxCommands::MMtxstrClick()
{
    if (link_.connected()) show_or_raise(*TXSForm);
}
void TxCommands::MMxferClick()
{
    if (link_.connected()) show_or_raise(*XferForm);
}
void TxCommands::MMtxTabClick()
{
    send_tab(link_);
}
void TxCommands::MMtxEOLClick()
{
    send_eol(link_, line_break_mode_());
}
void TxCommands::MMtxEOFClick()
{
    send_eof(link_);
}

void TxCommands::BtnKeyboardClick()
{
    keyboard_button_switched(tools_.BtnKeyboard, menu_.MMkeyboard);
    sync_keyboard_mode();
}
void TxCommands::MMkeyboardClick()
{
    keyboard_item_switched(menu_.MMkeyboard, tools_.BtnKeyboard);
    sync_keyboard_mode();
}

// While typing goes to the port, every key that makes a character is sent from
// any page: no control may keep it (the text view's Ctrl+A, Ctrl+C and Tab, the
// HEX page's check boxes and Space, Tab moving the focus) nor take its character.
void TxCommands::sync_keyboard_mode()
{
    owner_.set_keys_as_characters(tools_.BtnKeyboard.down() && link_.connected());
}

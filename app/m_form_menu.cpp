// TMForm's menu wiring and the handlers behind its items.
#include "app/glyphs.h"
#include "app/m_form.h"
#include "app/window_set.h"
#include "tx/keyboard_send.h"
#include "ui/services.h"
#include "views/text_commands.h"

void TMForm::wire_menu()
{
    menu.MMexit.on_click = [this] { MMexitClick(); };
    menu.MMcon.on_click = [this] { MMconClick(); };
    menu.MMdiscon.on_click = [this] { MMdisconClick(); };
    menu.MMcomset.on_click = [this] { MMcomsetClick(); };
    menu.MMreconnect.on_click = [this] { MMreconnectClick(); };
    menu.MMclrrx.on_click = [this] { MMclrrxClick(); };
    menu.MMfind.on_click = [this] { MMfindClick(); };
    menu.MMfollow.on_click = [this] { follow.toggled(text_page()); };
    menu.MMwwrap.on_click = [this] { text_word_wrap_toggled(text_page()); };
    menu.MMas.on_click = [this] { text_auto_scroll_toggled(text_page()); };
    menu.MMdis.on_click = [this] { text_invisible_toggled(text_page()); };
    for (ui::MenuItem* m : {&menu.MMlnCR, &menu.MMlnLF, &menu.MMlnCRLF, &menu.MMlnLFCR, &menu.MMlnANY})
        m->on_click = [this] { text_line_break_chosen(text_page()); };
    menu.MMtxtRf.on_click = [this] { MMtxtRfClick(); };
    menu.MMtstamp.on_click = [this] { text_timestamps_toggled(menu.MMtstamp, link); };
    menu.MMcapture.on_click = [this] { MMcaptureClick(); };
    menu.MMsavetxt.on_click = [this] { MMsavetxtClick(); };
    menu.MMsavebin.on_click = [this] { MMsavebinClick(); };
    menu.MMsavebins.on_click = [this] { MMsavebinsClick(); };
    menu.MMrxBB.on_click = [this] { hex.MMrxBBClick(); };
    menu.MMrxBE.on_click = [this] { hex.MMrxBEClick(); };
    menu.MMtxfile.on_click = [this] { MMtxfileClick(); };
    menu.MMtxint.on_click = [this] { MMtxintClick(); };
    menu.MMtxstr.on_click = [this] { MMtxstrClick(); };
    menu.MMtxTab.on_click = [this] { MMtxTabClick(); };
    menu.MMtxEOL.on_click = [this] { MMtxEOLClick(); };
    menu.MMtxEOF.on_click = [this] { MMtxEOFClick(); };
    menu.MMkeyboard.on_click = [this] { MMkeyboardClick(); };
    menu.MMhelp.on_click = [this] { MMhelpClick(); };
    menu.MMabout.on_click = [this] { MMaboutClick(); };
}

void TMForm::FormKeyPress(char& key)
{
    send_typed(link, key, tools.BtnKeyboard.down(), ui::shift_down());
}

void TMForm::FormKeyDown(ui::KeyEvent& e)
{
    if (FindForm && FindForm->find_key(e, true)) e.handled = true;
}

void TMForm::BtnKeyboardClick()
{
    keyboard_button_switched(tools.BtnKeyboard, menu.MMkeyboard);
    sync_keyboard_mode();
}
void TMForm::MMkeyboardClick()
{
    keyboard_item_switched(menu.MMkeyboard, tools.BtnKeyboard);
    sync_keyboard_mode();
}

// While typing goes to the port, every key that makes a character is sent from
// any page: no control may keep it (the text view's Ctrl+A, Ctrl+C and Tab, the
// HEX page's check boxes and Space, Tab moving the focus) nor take its character.
void TMForm::sync_keyboard_mode()
{
    set_keys_as_characters(tools.BtnKeyboard.down() && link.connected());
}
namespace {

// Shows a modeless tool window, or brings it forward when it is already shown.
void show_or_raise(ui::Form& f)
{
    if (!f.visible()) {
        f.show();
    } else if (ui::Control* c = f.active_control()) {
        c->set_focus();
    }
}

}  // namespace

void TMForm::MMtxfileClick()
{
    if (link.connected()) TXFForm->show_modal();
}
void TMForm::MMtxintClick()
{
    if (link.connected()) show_or_raise(*TXIForm);
}
void TMForm::MMtxstrClick()
{
    if (link.connected()) show_or_raise(*TXSForm);
}
void TMForm::MMtxTabClick()
{
    send_tab(link);
}
void TMForm::MMtxEOLClick()
{
    send_eol(link, line_break_mode());
}
void TMForm::MMtxEOFClick()
{
    send_eof(link);
}

void TMForm::MMclrrxClick()
{
    if (FindForm) FindForm->store_cleared();
    link.line_errors_reset();
    text_clear(text_page(), port_settings.port_rx_data_block_size);
    receive.drain.store_cleared();
    hex.clear();
}

void TMForm::MMfindClick()
{
    show_or_raise(*FindForm);
}

void TMForm::MMtxtRfClick()
{
    text_refresh(text_page());
}

void TMForm::MMcaptureClick()
{
    capture.clicked(link.connected());
    set_rx_panel(rx_panel_base_);  // the status bar shows the change at once
}

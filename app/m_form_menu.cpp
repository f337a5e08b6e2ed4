// TMForm's menu wiring and the handlers behind its items.
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
    menu.MMsavetxt.on_click = [this] { save.MMsavetxtClick(); };
    menu.MMsavebin.on_click = [this] { save.MMsavebinClick(); };
    menu.MMsavebins.on_click = [this] { save.MMsavebinsClick(); };
    menu.MMrxBB.on_click = [this] { hex.MMrxBBClick(); };
    menu.MMrxBE.on_click = [this] { hex.MMrxBEClick(); };
    menu.MMtxfile.on_click = [this] { tx.MMtxfileClick(); };
    menu.MMtxint.on_click = [this] { tx.MMtxintClick(); };
    menu.MMtxstr.on_click = [this] { tx.MMtxstrClick(); };
    menu.MMtxTab.on_click = [this] { tx.MMtxTabClick(); };
    menu.MMtxEOL.on_click = [this] { tx.MMtxEOLClick(); };
    menu.MMtxEOF.on_click = [this] { tx.MMtxEOFClick(); };
    menu.MMkeyboard.on_click = [this] { tx.MMkeyboardClick(); };
    menu.MMhelp.on_click = [this] { help.MMhelpClick(); };
    menu.MMabout.on_click = [this] { help.MMaboutClick(); };
}

void TMForm::FormKeyPress(char& key)
{
    send_typed(link, key, tools.BtnKeyboard.down(), ui::shift_down());
}

void TMForm::FormKeyDown(ui::KeyEvent& e)
{
    if (FindForm && FindForm->find_key(e, true)) e.handled = true;
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

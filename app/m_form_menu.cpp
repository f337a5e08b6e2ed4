// TMForm's menu: initial states, icons and the handlers behind each item.
#include "app/glyphs.h"
#include "app/m_form.h"
#include "app/window_set.h"
#include "tx/keyboard_send.h"
#include "ui/services.h"
#include "views/text_commands.h"

void TMForm::wire_menu()
{
    MainMenu1.set_images(&ImageList1);
    MMcon.set_image_index(menu_image::connect);
    MMdiscon.set_image_index(menu_image::disconnect);
    MMcomset.set_image_index(menu_image::settings);
    MMclrrx.set_image_index(menu_image::clear);
    MMsavetxt.set_image_index(menu_image::save);
    MMsavebin.set_image_index(menu_image::save);
    MMtxfile.set_image_index(menu_image::send_file);
    MMtxint.set_image_index(menu_image::send_integer);
    MMtxstr.set_image_index(menu_image::send_string);
    MMtxTab.set_image_index(menu_image::send_tab);
    MMtxEOL.set_image_index(menu_image::send_eol);
    MMtxEOF.set_image_index(menu_image::send_eof);
    MMkeyboard.set_image_index(keyboard_image_off);
    MMhelp.set_image_index(menu_image::help);
    MMexit.set_image_index(menu_image::exit);

    MMas.set_checked(true);
    MMfollow.set_checked(true);
    MMlnCR.set_checked(true);
    for (ui::MenuItem* m : {&MMdiscon, &MMtxfile, &MMtxint, &MMtxstr, &MMtxTab, &MMtxEOL, &MMtxEOF, &MMkeyboard})
        m->set_enabled(false);

    MMexit.on_click = [this] { MMexitClick(); };
    MMcon.on_click = [this] { MMconClick(); };
    MMdiscon.on_click = [this] { MMdisconClick(); };
    MMcomset.on_click = [this] { MMcomsetClick(); };
    MMreconnect.on_click = [this] { MMreconnectClick(); };
    MMclrrx.on_click = [this] { MMclrrxClick(); };
    MMfind.on_click = [this] { MMfindClick(); };
    MMfollow.on_click = [this] { follow.toggled(text_page()); };
    MMwwrap.on_click = [this] { text_word_wrap_toggled(text_page()); };
    MMas.on_click = [this] { text_auto_scroll_toggled(text_page()); };
    MMdis.on_click = [this] { text_invisible_toggled(text_page()); };
    for (ui::MenuItem* m : {&MMlnCR, &MMlnLF, &MMlnCRLF, &MMlnLFCR, &MMlnANY})
        m->on_click = [this] { text_line_break_chosen(text_page()); };
    MMtxtRf.on_click = [this] { MMtxtRfClick(); };
    MMtstamp.on_click = [this] { text_timestamps_toggled(MMtstamp, link); };
    MMcapture.on_click = [this] { MMcaptureClick(); };
    MMsavetxt.on_click = [this] { MMsavetxtClick(); };
    MMsavebin.on_click = [this] { MMsavebinClick(); };
    MMsavebins.on_click = [this] { MMsavebinsClick(); };
    MMrxBB.on_click = [this] { hex.MMrxBBClick(); };
    MMrxBE.on_click = [this] { hex.MMrxBEClick(); };
    MMtxfile.on_click = [this] { MMtxfileClick(); };
    MMtxint.on_click = [this] { MMtxintClick(); };
    MMtxstr.on_click = [this] { MMtxstrClick(); };
    MMtxTab.on_click = [this] { MMtxTabClick(); };
    MMtxEOL.on_click = [this] { MMtxEOLClick(); };
    MMtxEOF.on_click = [this] { MMtxEOFClick(); };
    MMkeyboard.on_click = [this] { MMkeyboardClick(); };
    MMhelp.on_click = [this] { MMhelpClick(); };
    MMabout.on_click = [this] { MMaboutClick(); };
}

void TMForm::FormKeyPress(char& key)
{
    send_typed(link, key, BtnKeyboard.down(), ui::shift_down());
}

void TMForm::FormKeyDown(ui::KeyEvent& e)
{
    if (FindForm && FindForm->find_key(e, true)) e.handled = true;
}

void TMForm::BtnKeyboardClick()
{
    keyboard_button_switched(BtnKeyboard, MMkeyboard);
    sync_keyboard_mode();
}
void TMForm::MMkeyboardClick()
{
    keyboard_item_switched(MMkeyboard, BtnKeyboard);
    sync_keyboard_mode();
}

// While typing goes to the port, every key that makes a character is sent from
// any page: no control may keep it (the text view's Ctrl+A, Ctrl+C and Tab, the
// HEX page's check boxes and Space, Tab moving the focus) nor take its character.
void TMForm::sync_keyboard_mode()
{
    set_keys_as_characters(BtnKeyboard.down() && link.connected());
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
    capture.drain.store_cleared();
    hex.clear();
    plot.feed();  // the emptied text view: the plot starts over
}

void TMForm::MMfindClick()
{
    show_or_raise(*FindForm);
}

void TMForm::MMtxtRfClick()
{
    text_refresh(text_page());
    plot.feed();
}

void TMForm::MMcaptureClick()
{
    capture.clicked(link.connected());
    set_rx_panel(rx_panel_base_);  // the status bar shows the change at once
}

// TMForm's connection control and lifetime: Connect, Disconect, Settings,
// first showing, closing, resizing, Help and About.
#include <cstdio>
#include <system_error>

#include "app/m_form.h"
#include "app/m_form_settings.h"
#include "platform/files.h"
#include "settings/start_folder.h"
#include "app/window_set.h"
#include "ui/application.h"
#include "ui/services.h"

namespace {

// The texts of com_connect's failure codes 1 to 5.
std::string connect_failure_text(int code, int port_num)
{
    switch (code) {
        case 1: {
            char text[48];
            std::snprintf(text, sizeof text, "COM%d opening failed!", port_num);
            return text;
        }
        case 2:
            return "COM port rx FIFO creation failed!";
        case 3:
            return "COM port rx thread creation failed!";
        case 4:
            return "COM port tx FIFO creation failed!";
        case 5:
            return "COM port tx thread creation failed!";
        default:
            return "COM port connection failed!";
    }
}

}  // namespace

void TMForm::show_connected(bool on)
{
    menu.MMdiscon.set_enabled(on);
    menu.MMcon.set_enabled(!on);
    SB.set_panel_text(0, on ? "connected" : "disconnected");
    transfer_shown_ = false;
    const std::pair<ui::MenuItem*, ui::ToolButton*> pairs[] = {
        {&menu.MMtxfile, &tools.BtnTxfile},     {&menu.MMtxint, &tools.BtnTxInt}, {&menu.MMtxstr, &tools.BtnTxStr},
        {&menu.MMtxTab, &tools.BtnTxTab},       {&menu.MMtxEOL, &tools.BtnTxEOL}, {&menu.MMtxEOF, &tools.BtnTxEOF},
        {&menu.MMkeyboard, &tools.BtnKeyboard},
    };
    for (auto [item, button] : pairs) {
        item->set_enabled(on);
        button->set_enabled(on);
    }
    menu.MMxfer.set_enabled(on);
    tx.sync_keyboard_mode();
    quick.refresh();
    if (!on && TXSForm) TXSForm->repeat_stop();
    tools.BtnCon.set_image_index(on ? 1 : 0);
    tools.BtnCon.set_caption(on ? "Disconnect" : "Connect");
    if (on) {
        lines.connected();
        capture.connected();
    } else {
        lines.disconnected();
        capture.disconnected();
    }
}

void TMForm::BtnConClick()
{
    if (link.connected())
        menu.MMdiscon.click();
    else
        menu.MMcon.click();
}

void TMForm::MMconClick()
{
    if (link.connected()) return;
    const bool was_retrying = loss.end();  // the user's own Connect ends any retrying
    link.line_errors_reset();
    const int r = link.com_connect(port_settings);
    if (r != 0) {
        // The retrying is over either way: the window no longer says the port is lost.
        if (was_retrying) show_connected(false);
        std::string text = connect_failure_text(r, port_settings.port_num);
        if (!link.connect_failure().empty()) text += "\n" + link.connect_failure();
        ui::message_box(text, "Error", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        return;
    }
    loss.connected_to(port_watch.device_of(port_settings.port_num));
    show_connected(true);
}

void TMForm::MMdisconClick()
{
    // The user's Disconect ends the retrying; a loss disconnects before it
    // starts retrying, so its own Disconect ends nothing.
    const bool was_retrying = loss.end();
    if (!link.connected()) {
        if (was_retrying) show_connected(false);
        return;
    }
    link.com_disconnect();
    // The keyboard toggle keeps its state; it only acts while connected.
    show_connected(false);
}

void TMForm::MMexitClick()
{
    close();
}

void TMForm::FormShow()
{
    if (shown_once_) return;
    shown_once_ = true;
    hex.set_col_widths();
    help.set_help_path(load_settings_on_show(*this));
    if (TXSForm) quick.attach(*TXSForm);
    menu.MMclrrx.click();
    Timer1.set_enabled(true);
    port_watch.start();
    if (port_settings.port_open || run_port.connect_at_start()) menu.MMcon.click();
}

void TMForm::FormClose(ui::CloseAction&)
{
    // No tick may reconnect a lost port behind an error box of the save.
    Timer1.set_enabled(false);
    Timer2.set_enabled(false);
    port_watch.stop();
    loss.end();
    link.com_disconnect();  // directly: the window is going, only the status bar needs saying so
    SB.set_panel_text(0, "disconnected");
    capture.closing();
    if (FindForm) FindForm->store_cleared();  // its search reads the store
    link.rx_store_free();
    save_settings_on_close(*this);
}

void TMForm::FormResize()
{
    int others = 0;
    for (int i : {0, 2, 3, 4}) others += SB.panel(i).width;
    const int rest = SB.width() - others;
    SB.set_panel_width(1, rest > 0 ? rest : 0);
}

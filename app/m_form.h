// The main window TMForm: tool bar, menu, the Text/HEX/Info pages, status bar
// and the two timers, and the handlers that connect, disconnect and drain.
#pragma once

#include <cstdint>
#include <string>

#include "link/port_settings.h"
#include "link/serial_link.h"
#include "app/command_line.h"
#include "app/help_commands.h"
#include "platform/files.h"
#include "app/main_menu.h"
#include "app/port_commands.h"
#include "app/port_loss.h"
#include "app/quick_send_commands.h"
#include "app/port_watch.h"
#include "app/rx_commands.h"
#include "app/rx_panel.h"
#include "app/save_commands.h"
#include "app/tool_bar.h"
#include "app/tx_commands.h"
#include "ui/draw_grid.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/menu.h"
#include "ui/page_control.h"
#include "ui/shape.h"
#include "ui/status_bar.h"
#include "ui/text_view.h"
#include "ui/timer.h"
#include "ui/tool_bar.h"
#include "rx/rxs_form.h"
#include "ui/file_dialog.h"
#include "views/capture_command.h"
#include "app/follow_new_data.h"
#include "views/hex/hex_page.h"
#include "views/line_commands.h"
#include "views/receive_tick.h"
#include "views/info/info_page.h"
#include "views/plot/plot_page.h"
#include "views/text/text_commands.h"
#include "views/text/text_page.h"
#include "views/traffic/traffic_page.h"

class TMForm : public ui::Form {
 public:
    // The window set's link and port settings record; both outlive the window.
    TMForm(SerialLink& link, PortSettings& port_settings);
    ~TMForm() override;

    SerialLink& link;
    PortSettings& port_settings;

    // Tool bar: every button by its name, e.g. tools.BtnCon.
    MainToolBar tools{*this};

    // Status bar (before the pages so the client-aligned page control fills
    // what the bar leaves).
    ui::StatusBar SB{this, "SB"};

    // Pages.
    ui::PageControl PCd{this, "PCd"};
    ui::TabSheet TabSheet1{PCd, "TabSheet1", "Text"};
    TextPage text_page{TabSheet1,
                       link,
                       {menu.MMwwrap, menu.MMas, menu.MMdis, menu.MMlnCR, menu.MMlnLF, menu.MMlnCRLF, menu.MMlnLFCR,
                        menu.MMlnANY, menu.MMansi, menu.MMutf8}};
    ui::TabSheet TabSheet2{PCd, "TabSheet2", "HEX"};
    HexPage hex{&TabSheet2, link};
    ui::TabSheet TSinfo{PCd, "TSinfo", "Info"};
    InfoPage info_page{TSinfo, link, port_settings};
    ui::TabSheet TSplot{PCd, "TSplot", "Plot"};
    PlotPage plot{&TSplot, text_page.Mtxt};
    ui::TabSheet TStraffic{PCd, "TStraffic", "Traffic"};
    TrafficPage traffic{
        &TStraffic, link, {[this] { return text_page.line_break_mode(); }, [this] { return menu.MMfollow.checked(); }}};

    // Menu bar: every item by its name, e.g. menu.MMcon.
    MainMenuBar menu{*this};

    // Timers: Timer1 drains and refreshes (on from FormShow), Timer2 the Info page.
    ui::Timer Timer1{"Timer1", 100, false};
    ui::Timer Timer2{"Timer2", 500, true};

    // Timer1's drain, conversion and rate; then capture to file, fed by that
    // drain; DTR, RTS and break.
    ReceiveTick receive;
    CaptureCommand capture{*this, menu.MMcapture, receive.drain.capture};
    RxPanel rx_panel{SB, capture};
    LineCommands lines{*this, menu.MMdtr, menu.MMrts, menu.MMbreak, link};
    // A lost port and its retrying; the ports present, read when devices come and go.
    PortLoss loss;
    PortWatch port_watch;
    // Whether drains take the views to the end; a Find hit turns it off.
    FollowNewData follow{menu.MMfollow, hex};
    // The command groups behind the Tx, save and Help items.
    TxCommands tx{*this, link, menu, tools, [this] { return text_page.line_break_mode(); }};
    QuickSendCommands quick{*this, link, menu, [this] { return text_page.line_break_mode(); }};
    SaveCommands save{*this, link, text_page.Mtxt, hex, Timer1};
    HelpCommands help{*this, program_file("olvex-help.html")};
    RxCommands rx{link, port_settings, menu, text_page, hex, plot, receive};
    PortCommands port{link, port_settings, menu};
    // The port values the command line gives this run (none by default).
    RunPortValues run_port;

    // Handlers. The window runs a command through its item's or button's
    // click(), so each command's guards stay in its handler.
    void FormShow();
    void FormClose(ui::CloseAction& action);
    void FormResize();
    void FormKeyPress(char& key);
    // F3 and Shift+F3 run the Find window's searches from here too.
    void FormKeyDown(ui::KeyEvent& e);
    void BtnConClick();
    void MMconClick();
    void MMdisconClick();
    void MMexitClick();
    void Timer1Timer();
    void Timer2Timer();

 private:
    void show_connected(bool on);
    // A port that went away under the connection, and the retries after it.
    void port_lost();
    void retry_lost_port();

    bool shown_once_ = false;
    bool transfer_shown_ = false;  // the first panel says "file transfer"
};

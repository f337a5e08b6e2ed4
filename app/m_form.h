// The main window TMForm: tool bar, menu, the Text/HEX/Info pages, status bar
// and the two timers, and the handlers that connect, disconnect and drain.
#pragma once

#include <cstdint>
#include <string>

#include "link/port_settings.h"
#include "link/serial_link.h"
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
#include "views/follow_new_data.h"
#include "views/hex_page.h"
#include "views/line_commands.h"
#include "views/info_page.h"
#include "views/plot_page.h"
#include "views/text_commands.h"
#include "views/text_view_sink.h"

class TMForm : public ui::Form {
 public:
    // The window set's link and port settings record; both outlive the window.
    TMForm(SerialLink& link, PortSettings& port_settings);
    ~TMForm() override;

    SerialLink& link;
    PortSettings& port_settings;

    // Images: menu icons and the two glyphs of BtnCon; declared first so the
    // controls that show them are destroyed before them.
    ui::ImageList ImageList1{16, 16};
    ui::ImageList ImageList2{16, 16};
    ui::ImageList ToolGlyphs{16, 16};

    // Tool bar.
    ui::ToolBar Bevel1{this, "Bevel1"};
    ui::ToolButton BtnCon{&Bevel1, "BtnCon", "Connect"};
    ui::Bevel Bevel2{&Bevel1, "Bevel2", ui::BevelShape::LeftLine};
    ui::ToolButton BtnClr{&Bevel1, "BtnClr", "Clear"};
    ui::Bevel Bevel3{&Bevel1, "Bevel3", ui::BevelShape::LeftLine};
    ui::ToolButton BtnTxEOF{&Bevel1, "BtnTxEOF", "Send EOF"};
    ui::ToolButton BtnTxEOL{&Bevel1, "BtnTxEOL", "Send EOL"};
    ui::ToolButton BtnTxTab{&Bevel1, "BtnTxTab", "Send Tab"};
    ui::Bevel Bevel4{&Bevel1, "Bevel4", ui::BevelShape::LeftLine};
    ui::ToolButton BtnTxStr{&Bevel1, "BtnTxStr", "Send string"};
    ui::ToolButton BtnTxInt{&Bevel1, "BtnTxInt", "Send integer"};
    ui::ToolButton BtnTxfile{&Bevel1, "BtnTxfile", "Send file"};
    ui::ToolButton BtnKeyboard{&Bevel1, "BtnKeyboard", "From keyboard"};

    // Status bar (before the pages so the client-aligned page control fills
    // what the bar leaves).
    ui::StatusBar SB{this, "SB"};

    // Pages.
    ui::PageControl PCd{this, "PCd"};
    ui::TabSheet TabSheet1{PCd, "TabSheet1", "Text"};
    ui::TextView Mtxt{&TabSheet1, "Mtxt"};
    // Where the received-text conversion writes, and where each line begins.
    TextViewSink text_sink_{Mtxt};
    ui::TabSheet TabSheet2{PCd, "TabSheet2", "HEX"};
    HexPage hex{&TabSheet2, link};
    ui::DrawGrid& DGhex = hex.DGhex;
    ui::TabSheet TSinfo{PCd, "TSinfo", "Info"};
    InfoPage info_page{TSinfo, link, port_settings};
    ui::TabSheet TSplot{PCd, "TSplot", "Plot"};
    PlotPage plot{&TSplot, Mtxt};

    // Menu. The bar's items carry access keys (Alt+F, Alt+P, Alt+R, Alt+T, Alt+H).
    ui::MainMenu MainMenu1{*this};
    ui::MenuItem MFile{MainMenu1, "MFile", "&File"};
    ui::MenuItem MMexit{MFile, "MMexit", "Exit", ui::shortcut("Alt+F4")};
    ui::MenuItem MPort{MainMenu1, "MPort", "&Port"};
    ui::MenuItem MMcon{MPort, "MMcon", "Connect", ui::shortcut("Alt+C")};
    ui::MenuItem MMdiscon{MPort, "MMdiscon", "Disconect", ui::shortcut("Alt+D")};
    ui::MenuItem MPortSep1{MPort, ui::separator};
    ui::MenuItem MMcomset{MPort, "MMcomset", "Settings"};
    ui::MenuItem MPortSep2{MPort, ui::separator};
    ui::MenuItem MMdtr{MPort, "MMdtr", "DTR", {}, ui::MenuCheck::Check};
    ui::MenuItem MMrts{MPort, "MMrts", "RTS", {}, ui::MenuCheck::Check};
    ui::MenuItem MMbreak{MPort, "MMbreak", "Send break"};
    ui::MenuItem MPortSepReconnect{MPort, ui::separator};
    ui::MenuItem MMreconnect{MPort, "MMreconnect", "Reconnect automatically", {}, ui::MenuCheck::Check};
    ui::MenuItem MRx{MainMenu1, "MRx", "&Rx"};
    ui::MenuItem MMclrrx{MRx, "MMclrrx", "Clear rx data", ui::shortcut("Shift+Del")};
    ui::MenuItem MRxSep1{MRx, ui::separator};
    ui::MenuItem MMfind{MRx, "MMfind", "Find...", ui::shortcut("Ctrl+Shift+F")};
    ui::MenuItem MMfollow{MRx, "MMfollow", "Follow new data", {}, ui::MenuCheck::Check};
    ui::MenuItem MRxSepFind{MRx, ui::separator};
    ui::MenuItem MRxText{MRx, "MRxText", "Text"};
    ui::MenuItem MMsavetxt{MRxText, "MMsavetxt", "Save text", ui::shortcut("Alt+S")};
    ui::MenuItem MTextSep1{MRxText, ui::separator};
    ui::MenuItem MMwwrap{MRxText, "MMwwrap", "Word wrap", ui::shortcut("Ctrl+W"), ui::MenuCheck::Check};
    ui::MenuItem MMas{MRxText, "MMas", "Auto-scroll", {}, ui::MenuCheck::Check};
    ui::MenuItem MMdis{MRxText, "MMdis", "Display invisible symbols", {}, ui::MenuCheck::Check};
    ui::MenuItem MMtstamp{MRxText, "MMtstamp", "Timestamps", {}, ui::MenuCheck::Check};
    ui::MenuItem MTextSep2{MRxText, ui::separator};
    ui::MenuItem MMlnCR{MRxText, "MMlnCR", "CR   (MAC)", {}, ui::MenuCheck::Radio};
    ui::MenuItem MMlnLF{MRxText, "MMlnLF", "LF    (UNIX)", {}, ui::MenuCheck::Radio};
    ui::MenuItem MMlnCRLF{MRxText, "MMlnCRLF", "CR+LF    (DOS/WIN)", {}, ui::MenuCheck::Radio};
    ui::MenuItem MMlnLFCR{MRxText, "MMlnLFCR", "LF+CR    (Acorn BBC)", {}, ui::MenuCheck::Radio};
    ui::MenuItem MMlnANY{MRxText, "MMlnANY", "CR or LF", {}, ui::MenuCheck::Radio};
    ui::MenuItem MTextSep3{MRxText, ui::separator};
    ui::MenuItem MMtxtRf{MRxText, "MMtxtRf", "Refresh text", ui::shortcut("Ctrl+R")};
    ui::MenuItem MRxBinary{MRx, "MRxBinary", "Binary"};
    ui::MenuItem MMsavebin{MRxBinary, "MMsavebin", "Save all", ui::shortcut("Ctrl+S")};
    ui::MenuItem MMsavebins{MRxBinary, "MMsavebins", "Save selected", ui::shortcut("Ctrl+Alt+S")};
    ui::MenuItem MBinSep1{MRxBinary, ui::separator};
    ui::MenuItem MMrxBB{MRxBinary, "MMrxBB", "Select block start", ui::shortcut("Ctrl+B")};
    ui::MenuItem MMrxBE{MRxBinary, "MMrxBE", "Select block end", ui::shortcut("Ctrl+E")};
    ui::MenuItem MRxSep2{MRx, ui::separator};
    // The caption ends in the ellipsis of the Windows ANSI code page.
    ui::MenuItem MMcapture{MRx, "MMcapture", "Capture to file\x85", ui::shortcut("Ctrl+K"), ui::MenuCheck::Check};
    ui::MenuItem MTx{MainMenu1, "MTx", "&Tx"};
    ui::MenuItem MMtxfile{MTx, "MMtxfile", "Send file", ui::shortcut("Ctrl+O")};
    ui::MenuItem MMtxint{MTx, "MMtxint", "Send integer", ui::shortcut("Ctrl+I")};
    ui::MenuItem MMtxstr{MTx, "MMtxstr", "Send string", ui::shortcut("Ctrl+M")};
    ui::MenuItem MTxSep1{MTx, ui::separator};
    ui::MenuItem MMtxTab{MTx, "MMtxTab", "Send Tab", ui::shortcut("Ctrl+T")};
    ui::MenuItem MMtxEOL{MTx, "MMtxEOL", "Send EOL", ui::shortcut("Ctrl+L")};
    ui::MenuItem MMtxEOF{MTx, "MMtxEOF", "Send EOF", ui::shortcut("Ctrl+F")};
    ui::MenuItem MTxSep2{MTx, ui::separator};
    ui::MenuItem MMkeyboard{MTx, "MMkeyboard", "From keyboard", {}, ui::MenuCheck::Check};
    ui::MenuItem MHelp{MainMenu1, "MHelp", "&Help"};
    ui::MenuItem MMhelp{MHelp, "MMhelp", "Help", ui::shortcut("F1")};
    ui::MenuItem MMabout{MHelp, "MMabout", "About"};

    // Timers: Timer1 drains and refreshes (on from FormShow), Timer2 the Info page.
    ui::Timer Timer1{"Timer1", 100, false};
    ui::Timer Timer2{"Timer2", 500, true};

    // Capture to file, fed by Timer1's drain; DTR, RTS and break.
    CaptureCommand capture{*this, MMcapture};
    LineCommands lines{*this, MMdtr, MMrts, MMbreak, link};
    // Whether drains take the views to the end; a Find hit turns it off.
    FollowNewData follow{MMfollow, hex};

    // Handlers. The window runs a command through its item's or button's
    // click(), so each command's guards stay in its handler.
    void FormShow();
    void FormClose(ui::CloseAction& action);
    void FormResize();
    void FormKeyPress(char& key);
    // F3 and Shift+F3 run the Find window's searches from here too.
    void FormKeyDown(ui::KeyEvent& e);
    void BtnConClick();
    void BtnClrClick();
    void MMconClick();
    void MMdisconClick();
    void MMcomsetClick();
    void MMreconnectClick();
    void MMexitClick();
    void MMhelpClick();
    void MMaboutClick();
    void MMclrrxClick();
    void MMfindClick();
    void MMtxtRfClick();
    void MMcaptureClick();
    void MMsavetxtClick();
    void MMsavebinClick();
    void MMsavebinsClick();
    void BtnKeyboardClick();
    void MMkeyboardClick();
    void MMtxfileClick();
    void MMtxintClick();
    void MMtxstrClick();
    void MMtxTabClick();
    void MMtxEOLClick();
    void MMtxEOFClick();
    void Timer1Timer();
    void Timer2Timer();

    // The text page and its menu items as the text commands see them.
    TextPage text_page();
    // The line-break mode the radio items say (0 CR ... 4 CR or LF).
    int line_break_mode();

    const std::string& help_path() const { return help_path_; }
    // The save-text dialog; its initial folder is remembered in the settings.
    ui::SaveDialog SD1{"SD1"};

 private:
    void build_tool_bar();
    void build_pages();
    void build_status_bar();
    void wire_menu();
    void show_connected(bool on);
    void show_save_binary(RxsPreset preset);
    void sync_keyboard_mode();
    // Panel 1: the received count and rate, then the capture's words if on.
    void set_rx_panel(std::string base);
    // A port that went away under the connection, and the retries after it.
    void port_lost();
    void retry_lost_port();
    bool modal_dialog_open() const;

    std::string help_path_;
    // Rate meter: last connected tick's time and store length.
    std::uint32_t rate_prev_tick_ = 0;
    std::int32_t rate_prev_length_ = 0;
    bool shown_once_ = false;
    std::string rx_panel_base_ = " Rx: 0B";
    // The port was lost rather than disconnected by the user: "Reconnect
    // automatically" may reopen it; the user's Connect or Disconect ends that.
    bool port_lost_ = false;
    bool loss_disconnect_ = false;  // the Disconect in progress is the loss's own
    bool loss_box_open_ = false;
    std::uint32_t reconnect_tick_ = 0;  // last reopen attempt
};

// Timer1's interval for a receive rate in bytes per second (100 to 1000 ms).
int timer1_interval_for(double bytes_per_second);
// The same, shortened when the stream would fill half the receive FIFO within
// one interval (never below timer1_fastest_ms); serial rates never get there.
inline constexpr int timer1_fastest_ms = 20;
int timer1_interval_for(double bytes_per_second, std::int32_t rx_fifo_capacity);

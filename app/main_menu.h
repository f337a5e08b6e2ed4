// The main window's menu bar: every item with its caption, shortcut and check
// style, the icons beside them, and the states they start in. The window wires
// the items to its handlers; this unit only builds them.
#pragma once

#include "ui/form.h"
#include "ui/image.h"
#include "ui/menu.h"

class MainMenuBar {
 public:
    explicit MainMenuBar(ui::Form& owner);

    // Declared first so the items showing its icons are destroyed before it.
    ui::ImageList ImageList1{16, 16};
    // The bar's items carry access keys (Alt+F, Alt+P, Alt+R, Alt+T, Alt+H).
    ui::MainMenu MainMenu1;
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
    ui::MenuItem MMansi{MRxText, "MMansi", "ANSI colours", {}, ui::MenuCheck::Check};
    ui::MenuItem MMutf8{MRxText, "MMutf8", "UTF-8", {}, ui::MenuCheck::Check};
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
    ui::MenuItem MMxfer{MTx, "MMxfer", "File transfer...", ui::shortcut("Ctrl+Shift+T")};
    ui::MenuItem MTxSep1{MTx, ui::separator};
    ui::MenuItem MMtxTab{MTx, "MMtxTab", "Send Tab", ui::shortcut("Ctrl+T")};
    ui::MenuItem MMtxEOL{MTx, "MMtxEOL", "Send EOL", ui::shortcut("Ctrl+L")};
    ui::MenuItem MMtxEOF{MTx, "MMtxEOF", "Send EOF", ui::shortcut("Ctrl+F")};
    ui::MenuItem MTxSep2{MTx, ui::separator};
    ui::MenuItem MMkeyboard{MTx, "MMkeyboard", "From keyboard", {}, ui::MenuCheck::Check};
    // The quick-send slots 1 to 10 (Ctrl+1 .. Ctrl+9, Ctrl+0); captions follow the slots.
    ui::MenuItem MTxSep3{MTx, ui::separator};
    ui::MenuItem MQuick{MTx, "MQuick", "Quick send"};
    ui::MenuItem MMquick1{MQuick, "MMquick1", "(empty)", ui::shortcut("Ctrl+1")};
    ui::MenuItem MMquick2{MQuick, "MMquick2", "(empty)", ui::shortcut("Ctrl+2")};
    ui::MenuItem MMquick3{MQuick, "MMquick3", "(empty)", ui::shortcut("Ctrl+3")};
    ui::MenuItem MMquick4{MQuick, "MMquick4", "(empty)", ui::shortcut("Ctrl+4")};
    ui::MenuItem MMquick5{MQuick, "MMquick5", "(empty)", ui::shortcut("Ctrl+5")};
    ui::MenuItem MMquick6{MQuick, "MMquick6", "(empty)", ui::shortcut("Ctrl+6")};
    ui::MenuItem MMquick7{MQuick, "MMquick7", "(empty)", ui::shortcut("Ctrl+7")};
    ui::MenuItem MMquick8{MQuick, "MMquick8", "(empty)", ui::shortcut("Ctrl+8")};
    ui::MenuItem MMquick9{MQuick, "MMquick9", "(empty)", ui::shortcut("Ctrl+9")};
    ui::MenuItem MMquick10{MQuick, "MMquick10", "(empty)", ui::shortcut("Ctrl+0")};
    ui::MenuItem MHelp{MainMenu1, "MHelp", "&Help"};
    ui::MenuItem MMhelp{MHelp, "MMhelp", "Help", ui::shortcut("F1")};
    ui::MenuItem MMabout{MHelp, "MMabout", "About"};
};

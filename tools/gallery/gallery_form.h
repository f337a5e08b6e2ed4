// The gallery's windows: one of every control of the widget layer, each event
// reported in the "Last event" label and the status bar, so that a person or
// the GUI test driver can see what the layer did.
#pragma once

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/draw_grid.h"
#include "ui/edit.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/page_control.h"
#include "ui/paint_box.h"
#include "ui/panel.h"
#include "ui/radio_button.h"
#include "ui/shape.h"
#include "ui/status_bar.h"
#include "ui/text_view.h"
#include "ui/timer.h"
#include "ui/tool_bar.h"
#include "ui/up_down.h"

namespace gallery {

// A modal dialog with OK and Cancel.
class DialogForm : public ui::Form {
 public:
    explicit DialogForm(ui::Form* owner);
    ui::Label LBquestion{this, "LBquestion", "Proceed?"};
    ui::Edit Enote{this, "Enote"};
    ui::Button BtnOk{this, "BtnOk", "OK"};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};
};

// A modeless stay-on-top window that hides when closed.
class ToolForm : public ui::Form {
 public:
    explicit ToolForm(ui::Form* owner);
    ui::Label LBinfo{this, "LBinfo", "I stay on top."};
};

class GalleryForm : public ui::Form {
 public:
    GalleryForm();

 private:
    void event(const std::string& what);
    void build_menu();
    void build_tools();
    void build_controls_page();
    void build_paint_page();
    void build_views_page();

    ui::ImageList images_{16, 16};
    ui::MainMenu menu_{*this};
    ui::MenuItem MMfile{menu_, "MMfile", "&File"};
    ui::MenuItem MMopen{MMfile, "MMopen", "&Open...", ui::shortcut("Ctrl+O")};
    ui::MenuItem MMsave{MMfile, "MMsave", "&Save..."};
    ui::MenuItem MMsep1{MMfile, ui::separator};
    ui::MenuItem MMexit{MMfile, "MMexit", "E&xit", ui::shortcut("Alt+X")};
    ui::MenuItem MMoptions{menu_, "MMoptions", "&Options"};
    ui::MenuItem MMconnect{MMoptions, "MMconnect", "&Connect", ui::shortcut("Alt+C")};
    ui::MenuItem MMauto{MMoptions, "MMauto", "&Auto scroll", ui::shortcut("Ctrl+Alt+S"), ui::MenuCheck::Check};
    ui::MenuItem MMclear{MMoptions, "MMclear", "C&lear", ui::shortcut("Shift+Del")};
    ui::MenuItem MMsep2{MMoptions, ui::separator};
    ui::MenuItem MMcr{MMoptions, "MMcr", "CR", {}, ui::MenuCheck::Radio};
    ui::MenuItem MMlf{MMoptions, "MMlf", "LF", {}, ui::MenuCheck::Radio};
    ui::MenuItem MMcrlf{MMoptions, "MMcrlf", "CR+LF", {}, ui::MenuCheck::Radio};
    ui::MenuItem MMsep3{MMoptions, ui::separator};
    ui::MenuItem MMdisabled{MMoptions, "MMdisabled", "Disabled item"};
    ui::MenuItem MMhelp{menu_, "MMhelp", "&Help"};
    ui::MenuItem MMask{MMhelp, "MMask", "&Ask...", ui::shortcut("F1")};

    ui::ToolBar TBmain{this, "TBmain"};
    ui::ToolButton TBconnect{&TBmain, "TBconnect", "Connect"};
    ui::ToolButton TBhold{&TBmain, "TBhold", "Hold"};
    ui::StatusBar SBmain{this, "SBmain"};
    ui::Label LBlast{this, "LBlast", "Last event:"};
    ui::Label LBevent{this, "LBevent", "(none)"};
    ui::PageControl PCmain{this, "PCmain"};
    ui::TabSheet TSctl{PCmain, "TSctl", "Controls"};
    ui::TabSheet TSpaint{PCmain, "TSpaint", "Paint"};
    ui::TabSheet TSviews{PCmain, "TSviews", "Views"};

    // Controls page.
    ui::Label LBdigits{&TSctl, "LBdigits", "Digits:"};
    ui::Edit Edigits{&TSctl, "Edigits"};
    ui::Label LBro{&TSctl, "LBro", "Read-only:"};
    ui::Edit Ero{&TSctl, "Ero", "fixed"};
    ui::StaticText STvalue{&TSctl, "STvalue", "0x1234"};
    ui::Button BtnPress{&TSctl, "BtnPress", "Press"};
    ui::Button BtnThrow{&TSctl, "BtnThrow", "Throw"};
    ui::Button BtnModal{&TSctl, "BtnModal", "Modal..."};
    ui::Button BtnTool{&TSctl, "BtnTool", "Tool window"};
    ui::Button BtnPost{&TSctl, "BtnPost", "Post click"};
    ui::CheckBox CBcheck{&TSctl, "CBcheck", "Check me"};
    ui::Label LBcombo{&TSctl, "LBcombo", "Combo:"};
    ui::ComboBox CBlist{&TSctl, "CBlist", ui::ComboStyle::DropDownList};
    ui::Label LBhist{&TSctl, "LBhist", "History:"};
    ui::ComboBox CBhist{&TSctl, "CBhist", ui::ComboStyle::DropDown};
    ui::Label LBcount{&TSctl, "LBcount", "Count:"};
    ui::Edit Ecount{&TSctl, "Ecount"};
    ui::UpDown UDcount{&TSctl, "UDcount"};
    ui::GroupBox GBparity{&TSctl, "GBparity", "Parity"};
    ui::RadioButton RBnone{&GBparity, "RBnone", "None"};
    ui::RadioButton RBodd{&GBparity, "RBodd", "Odd"};
    ui::RadioButton RBeven{&GBparity, "RBeven", "Even"};
    // A check box sitting in the gap left in the frame's caption.
    ui::GroupBox GBflow{&TSctl, "GBflow", ""};
    ui::CheckBox CBflow{&GBflow, "CBflow", "Flow control"};
    ui::Label LBflow{&GBflow, "LBflow", "CTS/DSR"};
    // Two radio buttons in the caption gaps.
    ui::GroupBox GBmode{&TSctl, "GBmode", ""};
    ui::RadioButton RBtext{&GBmode, "RBtext", "Text"};
    ui::RadioButton RBhex{&GBmode, "RBhex", "Hex"};
    ui::Label LBmode{&GBmode, "LBmode", "View mode"};

    // Paint page.
    ui::PaintBox PBdraw{&TSpaint, "PBdraw"};
    ui::Shape SHline{&TSpaint, "SHline"};
    ui::Shape SHellipse{&TSpaint, "SHellipse", ui::ShapeKind::Ellipse};
    ui::Image IMpic{&TSpaint, "IMpic"};
    ui::Bevel BVbox{&TSpaint, "BVbox"};
    ui::Panel PNraised{&TSpaint, "PNraised"};

    // Views page: our own two controls.
    ui::TextView TVrx{&TSviews, "TVrx"};
    ui::CheckBox CBwrap{&TSviews, "CBwrap", "Word wrap"};
    ui::DrawGrid DGhex{&TSviews, "DGhex"};

    ui::Timer Timer1{"Timer1", 500};
    ui::OpenDialog OD1{"OD1"};
    ui::SaveDialog SD1{"SD1"};
    DialogForm dialog_{this};
    ToolForm tool_{this};
    int ticks_ = 0;
};

}  // namespace gallery

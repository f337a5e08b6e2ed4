// The Win32 peers, one maker per control header: edit_win32.cpp makes the peer
// of an Edit (edit.h), and so on. backend::make_peer (peer_factory.cpp) is the
// one switch that picks a maker by the control's kind.
// A peer derives from WindowPeer (window_peer.h): create() a window of a stock
// class or of one from register_class(), answer on_message(), paint through
// GdiCanvas. The message loop has already run Control::key_down() (form key
// preview, the control's on_key_down and handle_key_down()) for every
// WM_KEYDOWN and drops the message when that returned true; WM_CHAR reaches
// the peer's window.
#pragma once

#include <memory>

#include "ui/backend.h"

namespace ui {
class Button;
class CheckBox;
class ComboBox;
class DrawGrid;
class Edit;
class Form;
class GroupBox;
class PageControl;
class Panel;
class RadioButton;
class StatusBar;
class TabSheet;
class TextView;
class ToolBar;
class ToolButton;
class UpDown;
}  // namespace ui

namespace ui::win32 {

std::unique_ptr<Peer> make_form_peer(Form& f);                 // form_win32.cpp
std::unique_ptr<Peer> make_label_peer(Control& c);             // label_win32.cpp: Label, StaticText
std::unique_ptr<Peer> make_edit_peer(Edit& e);                 // edit_win32.cpp
std::unique_ptr<Peer> make_button_peer(Button& b);             // button_win32.cpp
std::unique_ptr<Peer> make_check_box_peer(CheckBox& c);        // check_box_win32.cpp
std::unique_ptr<Peer> make_radio_button_peer(RadioButton& r);  // radio_button_win32.cpp
std::unique_ptr<Peer> make_combo_box_peer(ComboBox& c);        // combo_box_win32.cpp
std::unique_ptr<Peer> make_up_down_peer(UpDown& u);            // up_down_win32.cpp
std::unique_ptr<Peer> make_group_box_peer(GroupBox& g);        // group_box_win32.cpp
std::unique_ptr<Peer> make_panel_peer(Panel& p);               // panel_win32.cpp
std::unique_ptr<Peer> make_tool_bar_peer(ToolBar& t);          // tool_bar_win32.cpp
std::unique_ptr<Peer> make_tool_button_peer(ToolButton& b);    // tool_bar_win32.cpp
std::unique_ptr<Peer> make_page_control_peer(PageControl& p);  // page_control_win32.cpp
std::unique_ptr<Peer> make_tab_sheet_peer(TabSheet& s);        // page_control_win32.cpp
std::unique_ptr<Peer> make_status_bar_peer(StatusBar& s);      // status_bar_win32.cpp
std::unique_ptr<Peer> make_text_view_peer(TextView& v);        // text_view_win32.cpp
std::unique_ptr<Peer> make_draw_grid_peer(DrawGrid& g);        // draw_grid_win32.cpp
// Bevels, shapes, images, paint boxes and custom controls: their paint() alone.
std::unique_ptr<Peer> make_paint_peer(Control& c);  // paint_peer.cpp

}  // namespace ui::win32

// The one place that turns a control's kind into its Win32 peer.
#include "ui/win32/peer_factory.h"

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/draw_grid.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/page_control.h"
#include "ui/panel.h"
#include "ui/radio_button.h"
#include "ui/status_bar.h"
#include "ui/text_view.h"
#include "ui/tool_bar.h"
#include "ui/up_down.h"

namespace ui::backend {

std::unique_ptr<Peer> make_peer(Control& c)
{
    using namespace win32;
    switch (c.kind()) {
        case ControlKind::Form:
            return make_form_peer(static_cast<Form&>(c));
        case ControlKind::Label:
        case ControlKind::StaticText:
            return make_label_peer(c);
        case ControlKind::Edit:
            return make_edit_peer(static_cast<Edit&>(c));
        case ControlKind::Button:
            return make_button_peer(static_cast<Button&>(c));
        case ControlKind::CheckBox:
            return make_check_box_peer(static_cast<CheckBox&>(c));
        case ControlKind::RadioButton:
            return make_radio_button_peer(static_cast<RadioButton&>(c));
        case ControlKind::ComboBox:
            return make_combo_box_peer(static_cast<ComboBox&>(c));
        case ControlKind::UpDown:
            return make_up_down_peer(static_cast<UpDown&>(c));
        case ControlKind::GroupBox:
            return make_group_box_peer(static_cast<GroupBox&>(c));
        case ControlKind::Panel:
            return make_panel_peer(static_cast<Panel&>(c));
        case ControlKind::ToolBar:
            return make_tool_bar_peer(static_cast<ToolBar&>(c));
        case ControlKind::ToolButton:
            return make_tool_button_peer(static_cast<ToolButton&>(c));
        case ControlKind::PageControl:
            return make_page_control_peer(static_cast<PageControl&>(c));
        case ControlKind::TabSheet:
            return make_tab_sheet_peer(static_cast<TabSheet&>(c));
        case ControlKind::StatusBar:
            return make_status_bar_peer(static_cast<StatusBar&>(c));
        case ControlKind::TextView:
            return make_text_view_peer(static_cast<TextView&>(c));
        case ControlKind::DrawGrid:
            return make_draw_grid_peer(static_cast<DrawGrid&>(c));
        case ControlKind::Bevel:
        case ControlKind::Shape:
        case ControlKind::Image:
        case ControlKind::PaintBox:
        case ControlKind::Custom:
            return make_paint_peer(c);
    }
    return make_paint_peer(c);
}

}  // namespace ui::backend

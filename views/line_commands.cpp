// DTR, RTS and break by hand, through the connection layer, with the items
// following the port's state and the flow-control settings.
#include "views/line_commands.h"

#include <cstdio>
#include <string>

#include "ui/services.h"

LineCommands::LineCommands(ui::Form& owner, ui::MenuItem& dtr, ui::MenuItem& rts, ui::MenuItem& brk, SerialLink& link)
    : owner_(owner), dtr_(dtr), rts_(rts), brk_(brk), link_(link)
{
    dtr_.set_checked(true);
    rts_.set_checked(true);
    disconnected();
    dtr_.on_click = [this] { dtr_clicked(); };
    rts_.on_click = [this] { rts_clicked(); };
    brk_.on_click = [this] { break_clicked(); };
    TimerBreak.on_timer = [this] { break_ended(); };
}

void LineCommands::connected()
{
    told_ = false;
    dtr_.set_checked(link_.com_lines().dtr);
    rts_.set_checked(link_.com_lines().rts);
    dtr_.set_enabled(!com_dtr_driven(link_.settings().port));
    rts_.set_enabled(!com_rts_driven(link_.settings().port));
    brk_.set_enabled(true);
}

void LineCommands::disconnected()
{
    TimerBreak.set_enabled(false);
    dtr_.set_enabled(false);
    rts_.set_enabled(false);
    brk_.set_enabled(false);
}

void LineCommands::dtr_clicked()
{
    const int r = link_.com_set_dtr(dtr_.checked());
    if (r == 0) return;
    dtr_.set_checked(link_.com_lines().dtr);
    if (r == 3) refused("set DTR");
}

void LineCommands::rts_clicked()
{
    const int r = link_.com_set_rts(rts_.checked());
    if (r == 0) return;
    rts_.set_checked(link_.com_lines().rts);
    if (r == 3) refused("set RTS");
}

void LineCommands::break_clicked()
{
    const int r = link_.com_break(true);
    if (r != 0) {
        if (r == 3) refused("send a break");
        return;
    }
    // One break at a time: the item comes back when this one has ended.
    brk_.set_enabled(false);
    TimerBreak.set_enabled(true);
}

void LineCommands::break_ended()
{
    TimerBreak.set_enabled(false);
    if (link_.connected()) {
        link_.com_break(false);
        brk_.set_enabled(true);
    }
}

void LineCommands::refused(const char* what)
{
    if (told_) return;
    told_ = true;
    char port[16];
    std::snprintf(port, sizeof port, "COM%d", static_cast<int>(link_.settings().port.port_num));
    ui::message_box(
        std::string("The driver of ") + port + " refused to " + what + ".\nThis port may have no modem control lines.",
        "Error", ui::MsgIcon::Error, ui::MsgButtons::Ok, &owner_);
}

// "Port" > "DTR", "RTS" and "Send break": the output lines of a connected port
// set by hand, where the receive flow control does not drive them.
#pragma once

#include "link/serial_link.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/timer.h"

class LineCommands {
 public:
    LineCommands(ui::Form& owner, ui::MenuItem& dtr, ui::MenuItem& rts, ui::MenuItem& brk, SerialLink& link);

    // Ends the break after break_ms, on the window thread, so nothing waits.
    static constexpr int break_ms = 250;
    ui::Timer TimerBreak{"TimerBreak", break_ms, false};

    // Connected: the lines are on as the settings left them; an item is
    // enabled unless the receive flow control drives its line.
    void connected();
    // Disconnected: every item disabled, a break in progress forgotten (the
    // port's close has ended it).
    void disconnected();

    // The check items have just toggled their marks.
    void dtr_clicked();
    void rts_clicked();
    void break_clicked();

 private:
    void break_ended();
    // A driver that refuses the lines is told once per connection.
    void refused(const char* what);

    ui::Form& owner_;
    ui::MenuItem& dtr_;
    ui::MenuItem& rts_;
    ui::MenuItem& brk_;
    SerialLink& link_;
    bool told_ = false;
};

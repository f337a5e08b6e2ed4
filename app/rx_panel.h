// Status bar panel 1: the received count and rate, then the capture's words
// while a capture runs, so starting or ending one shows at once.
#pragma once

#include <string>
#include <utility>

#include "ui/status_bar.h"
#include "views/capture_command.h"

class RxPanel {
 public:
    RxPanel(ui::StatusBar& bar, const CaptureCommand& capture) : bar_(bar), capture_(capture) {}

    void show(std::string base)
    {
        base_ = std::move(base);
        refresh();
    }
    // The capture changed: the same count with its new words.
    void refresh() { bar_.set_panel_text(1, base_ + capture_.status_text()); }

 private:
    ui::StatusBar& bar_;
    const CaptureCommand& capture_;
    std::string base_ = " Rx: 0B";
};

// "Rx" > "Capture to file…": the check item, its save dialog, and the reports
// of the capture that the receive tick's drain feeds.
#pragma once

#include <string>

#include "link/rx_capture.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/menu.h"

class CaptureCommand {
 public:
    // capture: the one the receive tick's drain feeds.
    CaptureCommand(ui::Form& owner, ui::MenuItem& item, RxCapture& capture)
        : owner_(owner), item_(item), capture_(capture)
    {
    }

    // The save dialog; its initial folder is PATH/path_capture.
    ui::SaveDialog SDcap{"SDcap"};

    // The item has just toggled its mark: checked asks for the file and starts,
    // unchecked ends the capture.
    void MMcaptureClick(bool connected);
    // The port connected or disconnected: the file is reopened (appended) or
    // flushed and closed.
    void connected();
    void disconnected();
    // The program is ending: flushed and closed.
    void closing();
    // After each drain: a failed write ends the capture with a message naming
    // the file; a store that stopped growing is told once.
    void report(const RxDrainResult& r);
    // What the status bar adds while capturing; empty otherwise.
    std::string status_text() const;

 private:
    void failed(const std::string& what, int code);

    ui::Form& owner_;
    ui::MenuItem& item_;
    RxCapture& capture_;
};

// Capture to file from the user's side: choosing the file, the status text and
// the messages for a capture that cannot go on.
#include "views/capture_command.h"

#include "platform/files.h"
#include "ui/services.h"

void CaptureCommand::MMcaptureClick(bool connected)
{
    if (!item_.checked()) {
        const std::string path = capture_.path();
        const int r = capture_.stop();
        if (r != 0) failed("Capture to file could not finish " + path + ".", r);
        return;
    }
    SDcap.filter = "All files (*.*)|*.*";
    SDcap.overwrite_prompt = true;
    if (!SDcap.execute(&owner_)) {
        item_.set_checked(false);
        return;
    }
    const std::string path = SDcap.file_name;
    const std::string folder = folder_of(path);
    if (!folder.empty()) SDcap.initial_dir = folder;
    int r = capture_.start(path);
    // Disconnected, the file is made now (so a bad name shows at once) and
    // waits closed for the connection.
    if (r == 0 && !connected) r = capture_.suspend();
    if (r != 0) {
        item_.set_checked(false);
        failed("Capture to file could not start " + path + ".", r);
    }
}

void CaptureCommand::connected()
{
    const int r = capture_.resume();
    if (r != 0) {
        item_.set_checked(false);
        failed("Capture to file stopped: " + capture_.path() + " could not be opened again.", r);
    }
}

void CaptureCommand::disconnected()
{
    const int r = capture_.suspend();
    if (r != 0) {
        item_.set_checked(false);
        failed("Capture to file stopped: writing " + capture_.path() + " failed.", r);
    }
}

void CaptureCommand::closing()
{
    // The window is going: nothing is shown any more, the file is made whole.
    capture_.stop();
}

void CaptureCommand::report(const RxDrainResult& r)
{
    if (r.capture_error != 0) {
        item_.set_checked(false);
        failed(
            "Capture to file stopped: writing " + capture_.path() + " failed.\nThe received data in memory are kept.",
            r.capture_error);
    }
    if (r.store_filled && capture_.on())
        ui::message_box(
            "The received data memory is full: the text and HEX views keep what they show.\n"
            "Capture to " +
                capture_.path() + " goes on with every received byte.",
            "Warning", ui::MsgIcon::Warning, ui::MsgButtons::Ok, &owner_);
}

std::string CaptureCommand::status_text() const
{
    return capture_.on() ? capture_status_text(capture_.written()) : std::string();
}

void CaptureCommand::failed(const std::string& what, int code)
{
    ui::message_box(what + "\n" + file_error_text(code), "Error", ui::MsgIcon::Error, ui::MsgButtons::Ok, &owner_);
}

// The Help menu's commands.
#include "app/help_commands.h"

#include "app/window_set.h"
#include "platform/files.h"
#include "ui/services.h"

void HelpCommands::MMhelpClick()
{
    const bool own = !path_.empty() && file_exists(path_);
    if (!own && !file_exists(shipped_manual_)) {
        const std::string missing =
            path_.empty() ? "\"" + shipped_manual_ + "\" does not exist."
                          : "neither \"" + path_ + "\" (the HELP setting) nor \"" + shipped_manual_ + "\" exists.";
        ui::message_box("No help file was found: " + missing, "Error", ui::MsgIcon::Error, ui::MsgButtons::Ok, &owner_);
        return;
    }
    const std::string& target = own ? path_ : shipped_manual_;
    if (!ui::shell_open(target, &owner_))
        ui::message_box("The help file \"" + target + "\" could not be opened.", "Error", ui::MsgIcon::Error,
                        ui::MsgButtons::Ok, &owner_);
}

void HelpCommands::MMaboutClick()
{
    if (AForm) AForm->show_modal();
}

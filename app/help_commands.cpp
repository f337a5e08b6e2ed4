// The Help menu's commands.
#include "app/help_commands.h"

#include "app/window_set.h"
#include "platform/files.h"
#include "ui/services.h"

void HelpCommands::MMhelpClick()
{
    if (!path_.empty() && file_exists(path_)) ui::shell_open(path_, &owner_);
}

void HelpCommands::MMaboutClick()
{
    if (AForm) AForm->show_modal();
}

// Where the main window's settings are read when it first shows and written
// when it closes. The settings groups plug in here as they arrive.
#pragma once

#include <string>

class TMForm;

// Runs the load sequence (help file, save-text folder, every window's group,
// port, text view) and returns the help file's full path, empty when none.
std::string load_settings_on_show(TMForm& form);
// Runs the save sequence, ending with the save-text folder.
void save_settings_on_close(TMForm& form);

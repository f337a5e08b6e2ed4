// The start folder and the one settings file in it: taken once before the
// first window exists and kept for the program's lifetime.
#pragma once

#include <string>

#include "settings/profile_file.h"

// The process's current directory, as the system spells it.
std::string settings_current_directory();

// Takes the current directory as the start folder and opens the settings file
// start folder + "\config.ini", or `file_name` instead (a path relative to the
// start folder, or a full one). Later calls change nothing.
void settings_file_open(const std::string& file_name = {});
// The settings file's path for `file_name` in `folder` (empty: config.ini).
std::string settings_file_path(const std::string& folder, const std::string& file_name);
// The start folder and the settings file, once opened (empty / nullptr before).
const std::string& settings_start_folder();
ProfileFile* settings_file();
// Tests only: forgets the start folder and the file so the next open takes
// the current directory anew.
void settings_file_reset();

// The HELP section (the help file's name, only read) and the PATH keys of the
// save dialogs' initial folders (path_save_text, path_save_bin).
#pragma once

#include <string>
#include <string_view>

#include "settings/profile_file.h"

// The help file's full path: start folder + "\" + HELP/path when that value is
// not empty and names an existing file; empty otherwise (and without a file).
void LoadHelpSettings(const ProfileFile* file, std::string_view start_folder, std::string& help_path);

// PATH/path_save_text, default empty. Load: 1 without a file (`folder` left
// alone), else 0. Save: 1 without a file, else 0; a refused write throws.
int LoadSaveTextFolder(const ProfileFile* file, std::string& folder);
int SaveSaveTextFolder(ProfileFile* file, std::string_view folder);

// PATH/path_save_bin, the save-binary dialog's initial folder; default empty.
// Results as for the save-text folder.
int LoadSaveBinFolder(const ProfileFile* file, std::string& folder);
int SaveSaveBinFolder(ProfileFile* file, std::string_view folder);
// PATH/path_capture: the capture dialog's initial folder, default empty; the
// same results as the save-text folder's.
int LoadCaptureFolder(const ProfileFile* file, std::string& folder);
int SaveCaptureFolder(ProfileFile* file, std::string_view folder);

// HELP/path and the PATH keys of the save dialogs.
#include "settings/folder_groups.h"

#include "settings/setting_values.h"
#include "platform/files.h"
#include "settings/start_folder.h"

void LoadHelpSettings(const ProfileFile* file, std::string_view start_folder, std::string& help_path)
{
    help_path.clear();
    if (!file) return;
    const std::string name = read_setting_text(*file, "HELP", "path", "");
    if (name.empty()) return;
    std::string full = std::string(start_folder) + "\\" + name;
    if (file_exists(full)) help_path = std::move(full);
}

int LoadSaveTextFolder(const ProfileFile* file, std::string& folder)
{
    if (!file) return 1;
    folder = read_setting_text(*file, "PATH", "path_save_text", "");
    return 0;
}

int SaveSaveTextFolder(ProfileFile* file, std::string_view folder)
{
    if (!file) return 1;
    write_setting_text(*file, "PATH", "path_save_text", folder);
    return 0;
}

int LoadSaveBinFolder(const ProfileFile* file, std::string& folder)
{
    if (!file) return 1;
    folder = read_setting_text(*file, "PATH", "path_save_bin", "");
    return 0;
}

int SaveSaveBinFolder(ProfileFile* file, std::string_view folder)
{
    if (!file) return 1;
    write_setting_text(*file, "PATH", "path_save_bin", folder);
    return 0;
}

int LoadCaptureFolder(const ProfileFile* file, std::string& folder)
{
    if (!file) return 1;
    folder = read_setting_text(*file, "PATH", "path_capture", "");
    return 0;
}

int SaveCaptureFolder(ProfileFile* file, std::string_view folder)
{
    if (!file) return 1;
    write_setting_text(*file, "PATH", "path_capture", folder);
    return 0;
}

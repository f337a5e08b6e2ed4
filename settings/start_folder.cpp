// The program's one settings file object, on start folder + "\config.ini".
#include "settings/start_folder.h"

#include <memory>

namespace {

struct SettingsFileState {
    std::string start_folder;
    std::unique_ptr<ProfileFile> file;
};

SettingsFileState& state()
{
    static SettingsFileState s;
    return s;
}

}  // namespace

std::string settings_file_path(const std::string& folder, const std::string& file_name)
{
    // Plain concatenation, as the file's location has always been defined.
    if (file_name.empty()) return folder + "\\config.ini";
    const bool rooted = file_name[0] == '\\' || file_name[0] == '/';
    const bool drive = file_name.size() >= 2 && file_name[1] == ':';
    if (rooted || drive) return file_name;
    return folder + "\\" + file_name;
}

void settings_file_open(const std::string& file_name)
{
    SettingsFileState& s = state();
    if (s.file) return;
    s.start_folder = settings_current_directory();
    s.file = open_profile_file(settings_file_path(s.start_folder, file_name));
}

const std::string& settings_start_folder()
{
    return state().start_folder;
}

ProfileFile* settings_file()
{
    return state().file.get();
}

void settings_file_reset()
{
    state().file.reset();
    state().start_folder.clear();
}

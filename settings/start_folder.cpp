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

void settings_file_open()
{
    SettingsFileState& s = state();
    if (s.file) return;
    s.start_folder = settings_current_directory();
    // Plain concatenation, as the file's location has always been defined.
    s.file = open_profile_file(s.start_folder + "\\config.ini");
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

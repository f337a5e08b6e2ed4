// Start folder and file existence on POSIX; Windows-form paths have their
// backslashes read as separators, as the native settings file does.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "settings/start_folder.h"

std::string settings_current_directory()
{
    std::vector<char> buffer(4096);
    if (!::getcwd(buffer.data(), buffer.size())) return {};
    return std::string(buffer.data());
}

bool settings_file_exists(const std::string& path)
{
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    struct stat info {};
    return ::stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

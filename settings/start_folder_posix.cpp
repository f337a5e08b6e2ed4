// The start folder on POSIX.
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

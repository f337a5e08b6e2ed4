// The part of the file services that is the same on every system.
#include "platform/files.h"

std::string folder_of(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) return {};
    // "C:\file" keeps its root: the folder is "C:\", not the drive-relative "C:".
    if (cut == 2 && path[1] == ':') return path.substr(0, 3);
    if (cut == 0) return path.substr(0, 1);
    return path.substr(0, cut);
}

// The start folder through the Windows calls.
#include <windows.h>

#include <vector>

#include "settings/start_folder.h"

std::string settings_current_directory()
{
    const DWORD need = GetCurrentDirectoryA(0, nullptr);
    if (need == 0) return {};
    std::vector<char> buffer(need + 1);
    const DWORD got = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (got == 0 || got >= buffer.size()) return {};
    return std::string(buffer.data(), got);
}

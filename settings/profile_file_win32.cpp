// The settings file through the Windows profile functions, one key per call.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "settings/profile_file.h"

namespace {

// Beyond any settings file the program writes; a value longer still is cut here.
constexpr DWORD largest_buffer = 64u << 20;

class Win32ProfileFile final : public ProfileFile {
 public:
    explicit Win32ProfileFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const override { return path_; }

    std::string read_string(std::string_view section, std::string_view key,
                            std::string_view default_value) const override
    {
        const std::string section_z(section), key_z(key), default_z(default_value);
        // A value cut to the buffer comes back as size - 1 characters: the
        // buffer grows until the whole value fits (a sent string of any length
        // is kept in the history).
        std::vector<char> buffer(2048);
        for (;;) {
            const auto size = static_cast<DWORD>(buffer.size());
            const DWORD length = GetPrivateProfileStringA(section_z.c_str(), key_z.c_str(), default_z.c_str(),
                                                          buffer.data(), size, path_.c_str());
            if (length + 1 < size || size >= largest_buffer)
                return std::string(buffer.data(), std::min(length, size - 1));
            buffer.resize(buffer.size() * 2);
        }
    }

    bool try_write_string(std::string_view section, std::string_view key, std::string_view value) override
    {
        return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                          std::string(value).c_str(), path_.c_str()) != FALSE;
    }

    bool try_remove_key(std::string_view section, std::string_view key) override
    {
        return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), nullptr,
                                          path_.c_str()) != FALSE;
    }

 private:
    std::string path_;
};

}  // namespace

std::unique_ptr<ProfileFile> open_profile_file(std::string path)
{
    return std::make_unique<Win32ProfileFile>(std::move(path));
}

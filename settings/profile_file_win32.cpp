// The settings file through the Windows profile functions, one key per call.
#include <windows.h>

#include "settings/profile_file.h"

namespace {

class Win32ProfileFile final : public ProfileFile {
 public:
    explicit Win32ProfileFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const override { return path_; }

    std::string read_string(std::string_view section, std::string_view key,
                            std::string_view default_value) const override
    {
        char buffer[profile_value_max + 1];
        const DWORD length =
            GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                     std::string(default_value).c_str(), buffer, sizeof buffer, path_.c_str());
        return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
    }

    bool try_write_string(std::string_view section, std::string_view key, std::string_view value) override
    {
        return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                          std::string(value).c_str(), path_.c_str()) != FALSE;
    }

 private:
    std::string path_;
};

}  // namespace

std::unique_ptr<ProfileFile> open_profile_file(std::string path)
{
    return std::make_unique<Win32ProfileFile>(std::move(path));
}

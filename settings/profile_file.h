// The settings file seam: an INI file read and written one key at a time with
// the Windows profile-file rules (GetPrivateProfileStringA and
// WritePrivateProfileStringA in the Windows build, our own twin natively).
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// A write the system refused; its message is "Unable to write to <path>".
class ProfileWriteError : public std::runtime_error {
 public:
    explicit ProfileWriteError(const std::string& path);
};

class ProfileFile {
 public:
    virtual ~ProfileFile() = default;

    virtual const std::string& path() const = 0;

    // The value of `key` in the first `section` of that name (names compare
    // without regard to case or surrounding blanks), trimmed, with one pair of
    // enclosing quotes removed, whole at any length; `default_value` (with
    // trailing spaces and enclosing quotes removed) when the file, section or
    // key is missing or the key has no "=".
    virtual std::string read_string(std::string_view section, std::string_view key,
                                    std::string_view default_value) const = 0;

    // Writes one key straight to the file: an existing key gets the new value in
    // place, a new key is added at the end of its section, a new section at the
    // end of the file; the first write creates the file. False when refused.
    virtual bool try_write_string(std::string_view section, std::string_view key, std::string_view value) = 0;

    // Removes the key's line from its section (WritePrivateProfileString with no
    // value); a missing key or section is no error. False when refused.
    virtual bool try_remove_key(std::string_view section, std::string_view key) = 0;

    // As try_write_string, but a refused write throws ProfileWriteError.
    void write_string(std::string_view section, std::string_view key, std::string_view value);
    // As try_remove_key, but a refusal throws ProfileWriteError.
    void remove_key(std::string_view section, std::string_view key);
};

// The settings file at `path` (it need not exist yet).
std::unique_ptr<ProfileFile> open_profile_file(std::string path);

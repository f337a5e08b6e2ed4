// The parts of the settings file seam that every backend shares.
#include "settings/profile_file.h"

ProfileWriteError::ProfileWriteError(const std::string& path) : std::runtime_error("Unable to write to " + path) {}

void ProfileFile::write_string(std::string_view section, std::string_view key, std::string_view value)
{
    if (!try_write_string(section, key, value)) throw ProfileWriteError(path());
}

void ProfileFile::remove_key(std::string_view section, std::string_view key)
{
    if (!try_remove_key(section, key)) throw ProfileWriteError(path());
}

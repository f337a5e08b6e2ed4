// The value encodings of the settings file, shared by every settings group:
// integers (decimal, or hexadecimal after "0x"), booleans ("1"/"0") and text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/profile_file.h"

// A settings integer: text longer than two characters that starts with "0x"
// or "0X" is hexadecimal after the prefix (up to 8 digits, taken as the 32-bit
// pattern, so 0xFFFFFFFF is -1); anything else is signed decimal. Nothing when
// the text is no valid 32-bit integer.
std::optional<std::int32_t> parse_setting_integer(std::string_view text);

// Reading: an absent key or a value that is no valid integer gives the default.
std::int32_t read_setting_integer(const ProfileFile& file, std::string_view section, std::string_view key,
                                  std::int32_t default_value);
// Any non-zero integer is true.
bool read_setting_boolean(const ProfileFile& file, std::string_view section, std::string_view key, bool default_value);
std::string read_setting_text(const ProfileFile& file, std::string_view section, std::string_view key,
                              std::string_view default_value = {});

// Writing: one key straight to the file; a refused write throws
// ProfileWriteError ("Unable to write to <path>").
void write_setting_integer(ProfileFile& file, std::string_view section, std::string_view key, std::int32_t value);
void write_setting_boolean(ProfileFile& file, std::string_view section, std::string_view key, bool value);
// A value is one line: it is cut at its first CR or LF, which would otherwise
// start a new line of the file and could plant keys in it.
void write_setting_text(ProfileFile& file, std::string_view section, std::string_view key, std::string_view value);

// The text rules of a Windows profile (INI) file, on the file's whole text:
// finding a key's value, and the text after one key is written. The native
// settings file is built on these; they hold no state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The raw value of `key` in the first section named `section` (an empty name
// means the lines before the first section header): the text after the first
// "=", trimmed. Nothing when the section or key is missing or the key's line has
// no "=". Later sections of the same name are not searched.
std::optional<std::string> profile_find_value(std::string_view text, std::string_view section, std::string_view key);

// A value as the reading functions hand it out: one pair of enclosing quotes
// (both ' or both ") removed.
std::string profile_value_as_read(std::string_view raw);

// A default value as the reading functions take it: trailing spaces removed
// (a default of spaces only keeps one).
std::string_view profile_default_trimmed(std::string_view default_value);

// `text` after writing `value` to `key` in `section`: the first matching key
// line is rewritten in place, a new key goes after the last non-blank line of
// the first matching section, a new section goes to the end of the text.
std::string profile_with_value(std::string_view text, std::string_view section, std::string_view key,
                               std::string_view value);

// `text` without the first line of `key` in the first section named `section`.
std::string profile_without_key(std::string_view text, std::string_view section, std::string_view key);

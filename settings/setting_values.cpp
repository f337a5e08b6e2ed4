// Settings value encodings: the one place where settings text becomes numbers.
#include "settings/setting_values.h"

#include <limits>

#include "numtext/number_text.h"

namespace {

std::optional<std::int32_t> parse_hex(std::string_view digits)
{
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> parse_decimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<std::int32_t> parse_setting_integer(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return parse_hex(text.substr(2));
    return parse_decimal(text);
}

std::int32_t read_setting_integer(const ProfileFile& file, std::string_view section, std::string_view key,
                                  std::int32_t default_value)
{
    return parse_setting_integer(file.read_string(section, key, "")).value_or(default_value);
}

bool read_setting_boolean(const ProfileFile& file, std::string_view section, std::string_view key, bool default_value)
{
    return read_setting_integer(file, section, key, default_value ? 1 : 0) != 0;
}

std::string read_setting_text(const ProfileFile& file, std::string_view section, std::string_view key,
                              std::string_view default_value)
{
    return file.read_string(section, key, default_value);
}

void write_setting_integer(ProfileFile& file, std::string_view section, std::string_view key, std::int32_t value)
{
    file.write_string(section, key, std::to_string(value));
}

void write_setting_boolean(ProfileFile& file, std::string_view section, std::string_view key, bool value)
{
    file.write_string(section, key, value ? "1" : "0");
}

void write_setting_text(ProfileFile& file, std::string_view section, std::string_view key, std::string_view value)
{
    file.write_string(section, key, value.substr(0, value.find_first_of("\r\n")));
}

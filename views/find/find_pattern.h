// What the Find window searches for: a text (case-sensitive or not) or
// hexadecimal byte pairs with "??" for any byte, parsed or refused with a reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct FindPattern {
    // The bytes to match; with fold_case the letters are stored in lower case.
    std::vector<std::uint8_t> bytes;
    // 1 where the byte must match, 0 where any byte will do ("??").
    std::vector<std::uint8_t> fixed;
    // ASCII letters match in either case (a text without "Match case").
    bool fold_case = false;

    std::int32_t length() const { return static_cast<std::int32_t>(bytes.size()); }
    friend bool operator==(const FindPattern&, const FindPattern&) = default;
};

// A pattern, or the reason it was refused (the text the status line shows).
struct PatternParse {
    std::optional<FindPattern> pattern;
    std::string refusal;
};

inline constexpr std::string_view find_refusal_empty = "Empty pattern";
inline constexpr std::string_view find_refusal_odd = "Odd number of hex digits";
inline constexpr std::string_view find_refusal_half_wildcard = "A byte of any value is written ??";

// hex_bytes: the text is byte pairs, blanks between pairs allowed and not
// needed ("DEAD BE??"); match_case is then ignored. Otherwise the text's own
// bytes, letters folded unless match_case.
PatternParse parse_find_pattern(std::string_view text, bool hex_bytes, bool match_case);

// ASCII lower case of a byte; every other byte is itself.
constexpr std::uint8_t fold_ascii(std::uint8_t b)
{
    return (b >= 'A' && b <= 'Z') ? static_cast<std::uint8_t>(b + ('a' - 'A')) : b;
}

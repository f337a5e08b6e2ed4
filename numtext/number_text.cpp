// Number text: conversions between byte groups, 64-bit integers and their
// decimal, hexadecimal and binary texts. Pure functions, no state.
#include "numtext/number_text.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "platform/clipboard.h"

namespace {

constexpr uint64_t int64_min_magnitude = uint64_t{1} << 63;

// Width codes beyond +-8 would ask for more bytes than a 64-bit value has; they
// are held to that so no text grows without bound.
int clamp_width(int width)
{
    return std::clamp(width, -8, 8);
}

// The lowest 8*bytes bits of `magnitude`, most significant first, a space after
// every group of 8 (the last group too).
std::string binary_groups(uint64_t magnitude, int bytes)
{
    std::string text;
    text.reserve(static_cast<size_t>(bytes) * 9);
    for (int bit = bytes * 8 - 1; bit >= 0; --bit) {
        text += ((magnitude >> bit) & 1) ? '1' : '0';
        if (bit % 8 == 0) text += ' ';
    }
    return text;
}

std::string hex_digits(uint64_t value, int bytes)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%0*" PRIX64, bytes * 2, value);
    return buf;
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

// Value of a digit character in any radix up to 36, or 99 for a non-digit.
int digit_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return 99;
}

enum class SignRule { none, allowed };

// The common scan from the last character to the first. With SignRule::allowed a
// "+" or "-" ends the digits; only blanks may stand to its left.
int scan_magnitude(const char* text, int radix, SignRule sign_rule, uint64_t& magnitude, bool& negative)
{
    if (text == nullptr || *text == '\0') return parse_bad_text;
    uint64_t value = 0;
    uint64_t weight = 1;
    bool weight_overflowed = false;  // weight of the next position exceeds 2^64-1
    negative = false;
    const char* p = text;
    while (*p) ++p;
    while (p != text) {
        const char c = *--p;
        if (is_blank(c)) continue;
        if (sign_rule == SignRule::allowed && (c == '+' || c == '-')) {
            for (const char* q = text; q != p; ++q)
                if (!is_blank(*q)) return parse_bad_text;
            negative = (c == '-');
            break;
        }
        const int digit = digit_value(c);
        if (digit >= radix) return parse_bad_text;
        // Even a zero digit in a position beyond 64 bits makes the text too long.
        if (weight_overflowed) return parse_overflow;
        uint64_t term = 0;
        if (__builtin_mul_overflow(static_cast<uint64_t>(digit), weight, &term) ||
            __builtin_add_overflow(value, term, &value))
            return parse_overflow;
        weight_overflowed = __builtin_mul_overflow(weight, static_cast<uint64_t>(radix), &weight);
    }
    magnitude = value;
    return parse_ok;
}

int check_arguments(const void* result, int radix)
{
    if (result == nullptr) return parse_no_result;
    if (radix < 2 || radix > 35) return parse_bad_radix;
    return parse_ok;
}

}  // namespace

uint64_t BytesToUnsigned64(const unsigned char* bytes, int count, bool big_endian)
{
    if (bytes == nullptr || count <= 0) return 0;
    uint64_t value = 0;
    for (int i = 0; i < count && i < 8; ++i) {
        const unsigned char b = big_endian ? bytes[count - 1 - i] : bytes[i];
        value |= static_cast<uint64_t>(b) << (8 * i);
    }
    return value;
}

int64_t BytesToSigned64(const unsigned char* bytes, int count, bool big_endian)
{
    const uint64_t raw = BytesToUnsigned64(bytes, count, big_endian);
    if (count <= 0 || count >= 8 || bytes == nullptr) return static_cast<int64_t>(raw);
    // Sign-extend from the most significant byte of the group.
    const int bits = 8 * count;
    const uint64_t sign = uint64_t{1} << (bits - 1);
    return static_cast<int64_t>((raw ^ sign) - sign);
}

std::string FormatUnsigned64(uint64_t value, int width)
{
    width = clamp_width(width);
    if (width == 0) {
        char buf[24];
        std::snprintf(buf, sizeof buf, "%" PRIu64, value);
        return buf;
    }
    if (width > 0) return "0x" + hex_digits(value, width);
    return "0b" + binary_groups(value, -width);
}

std::string FormatSigned64(int64_t value, int width)
{
    width = clamp_width(width);
    if (width == 0) {
        char buf[24];
        std::snprintf(buf, sizeof buf, "%" PRId64, value);
        return buf;
    }
    const bool negative = value < 0;
    // The magnitude of -2^63 is 2^63, which only an unsigned type holds.
    const uint64_t magnitude = negative ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    if (width > 0) {
        if (magnitude == int64_min_magnitude && negative) return "-0x8000000000000000";
        return (negative ? "-0x" : "0x") + hex_digits(magnitude, width);
    }
    return (negative ? "-0b" : "0b") + binary_groups(magnitude, -width);
}

int ParseUnsigned64(const char* text, uint64_t* result, int radix)
{
    if (const int check = check_arguments(result, radix); check != parse_ok) return check;
    uint64_t magnitude = 0;
    bool negative = false;
    const int scan = scan_magnitude(text, radix, SignRule::none, magnitude, negative);
    if (scan != parse_ok) return scan;
    *result = magnitude;
    return parse_ok;
}

int ParseSigned64(const char* text, int64_t* result, int radix)
{
    if (const int check = check_arguments(result, radix); check != parse_ok) return check;
    uint64_t magnitude = 0;
    bool negative = false;
    const int scan = scan_magnitude(text, radix, SignRule::allowed, magnitude, negative);
    if (scan != parse_ok) return scan;
    if (magnitude > (negative ? int64_min_magnitude : int64_min_magnitude - 1)) return parse_overflow;
    *result = negative ? static_cast<int64_t>(uint64_t{0} - magnitude) : static_cast<int64_t>(magnitude);
    return parse_ok;
}

int CopyTextToClipboard(const char* text)
{
    switch (clipboard_set_text(text ? text : "")) {
        case ClipboardResult::done:
            return clipboard_done;
        case ClipboardResult::not_opened:
            return clipboard_not_opened;
        case ClipboardResult::no_memory:
            return clipboard_no_memory;
        case ClipboardResult::refused:
            break;
    }
    return clipboard_refused;
}

int HexDigitValue(char c)
{
    const int d = digit_value(c);
    return d < 16 ? d : -1;
}

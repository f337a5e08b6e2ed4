// Checking the save-binary dialog's range (see binary_range.h).
#include "rx/binary_range.h"

#include <cstdio>

#include "numtext/number_text.h"

BinaryRange check_binary_range(StartField start_field, const std::string& start_text, EndField end_field,
                               const std::string& end_text, std::int32_t store_length)
{
    BinaryRange r;
    std::int64_t start = 0;
    if (ParseSigned64(start_text.c_str(), &start, start_field == StartField::Hex ? 16 : 10) != parse_ok || start < 0) {
        r.error = "Invalid value of \"binary data start\"!";
        return r;
    }
    if (start >= store_length) {
        r.error = "Invalid value of \"binary data start\" - value higher than data len.";
        return r;
    }
    const bool is_length = end_field == EndField::LenDec || end_field == EndField::LenHex;
    const int radix = end_field == EndField::EndHex || end_field == EndField::LenHex ? 16 : 10;
    std::int64_t value = 0;
    if (ParseSigned64(end_text.c_str(), &value, radix) != parse_ok || (is_length && value < 0)) {
        r.error = is_length ? "Invalid value of \"binary data length\"!" : "Invalid value of \"binary data end\"!";
        return r;
    }
    std::int64_t count = 0;
    if (is_length) {
        if (value == 0) {
            r.error = "Invalid value of \"binary data length\" - zero data len!";
            return r;
        }
        // Compared, not added: a length near 2^63 must not wrap.
        count = value > store_length - start ? store_length - start : value;
    } else {
        if (value < start) {
            r.error = "Invalid value of \"binary data end\" - data end before data start!";
            return r;
        }
        const std::int64_t end = value >= store_length ? store_length - 1 : value;
        count = end - start + 1;
    }
    r.start = static_cast<std::int32_t>(start);
    r.count = static_cast<std::int32_t>(count);
    r.end = static_cast<std::int32_t>(start + count - 1);
    return r;
}

std::string range_hex_text(std::int64_t v)
{
    char text[24];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(v));
    return text;
}

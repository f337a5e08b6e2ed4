// The pure steps of sending an integer: the two-step parse of a field's text,
// the range check for a size of 1 to 8 bytes, the three field texts and the
// bytes in either order.
#pragma once

#include <cstdint>
#include <string>

// The value being sent: unsigned when not negative, signed when negative.
struct IntegerValue {
    std::uint64_t u = 0;
    std::int64_t s = 0;
    bool negative = false;
};

// The text parsed unsigned first, then signed; false when neither accepts it.
bool parse_integer_value(const std::string& text, int radix, IntegerValue& v);
// Whether the value fits n bytes (1..8) as an unsigned or a signed number.
bool integer_fits(const IntegerValue& v, int n);

struct IntegerTexts {
    std::string dec, hex, bin;
};
// The three fields' texts for n bytes: decimal, exactly 2n hexadecimal digits,
// 8n binary digits in groups of eight each followed by a blank; a "-" and the
// magnitude for a negative value.
IntegerTexts integer_texts(const IntegerValue& v, int n);
// The low n bytes of the value's two's-complement form, least significant
// first unless big_endian; returns n.
int integer_bytes(const IntegerValue& v, int n, bool big_endian, std::uint8_t out[8]);

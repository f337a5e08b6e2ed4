// Parse, range check, texts and bytes of the send-integer window.
#include "tx/integer_value.h"

#include "numtext/number_text.h"

namespace {

// "-" and the text after its sign and prefix ("-0x", "-0b").
std::string minus_and_digits(const std::string& formatted)
{
    std::string out(1, '-');
    out.append(formatted, 3, std::string::npos);
    return out;
}

}  // namespace

bool parse_integer_value(const std::string& text, int radix, IntegerValue& v)
{
    std::uint64_t u = 0;
    if (ParseUnsigned64(text.c_str(), &u, radix) == parse_ok) {
        v = IntegerValue{u, 0, false};
        return true;
    }
    std::int64_t s = 0;
    if (ParseSigned64(text.c_str(), &s, radix) != parse_ok) return false;
    if (s < 0) {
        v = IntegerValue{0, s, true};
    } else {
        v = IntegerValue{static_cast<std::uint64_t>(s), 0, false};
    }
    return true;
}

bool integer_fits(const IntegerValue& v, int n)
{
    if (n >= 8) return true;
    const int bits = 8 * n;
    if (!v.negative) return v.u < (std::uint64_t{1} << bits);
    return v.s >= -(std::int64_t{1} << (bits - 1));
}

IntegerTexts integer_texts(const IntegerValue& v, int n)
{
    IntegerTexts t;
    if (!v.negative) {
        t.dec = FormatUnsigned64(v.u, width_decimal);
        t.hex = FormatUnsigned64(v.u, n).substr(2);
        t.bin = FormatUnsigned64(v.u, -n).substr(2);
    } else {
        t.dec = FormatSigned64(v.s, width_decimal);
        t.hex = minus_and_digits(FormatSigned64(v.s, n));
        t.bin = minus_and_digits(FormatSigned64(v.s, -n));
    }
    return t;
}

int integer_bytes(const IntegerValue& v, int n, bool big_endian, std::uint8_t out[8])
{
    const std::uint64_t bits = v.negative ? static_cast<std::uint64_t>(v.s) : v.u;
    for (int i = 0; i < n; ++i) {
        const auto b = static_cast<std::uint8_t>(bits >> (8 * i));
        out[big_endian ? n - 1 - i : i] = b;
    }
    return n;
}

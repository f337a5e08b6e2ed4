// The HEX page's pure parts: cell positions, row offsets and inspector texts.
#include "views/hex/hex_fields.h"

#include <algorithm>
#include <cstdio>

#include "numtext/number_text.h"

std::optional<std::int32_t> hex_cell_position(std::int32_t col, std::int32_t row)
{
    if (row <= 0 || col <= 0 || col >= hex_cols) return std::nullopt;
    // In 64 bits: the last rows a grid may have sit at the edge of 2^31.
    const std::int64_t first = std::int64_t(row - 1) * hex_bytes_per_row;
    const std::int64_t pos = first + (col <= 16 ? col - 1 : col - 17);
    if (pos > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(pos);
}

std::int32_t hex_mirror_col(std::int32_t col)
{
    return col <= 16 ? col + 16 : col - 16;
}

std::int32_t hex_row_count(std::int32_t length)
{
    const std::int32_t rows = length / hex_bytes_per_row + (length % hex_bytes_per_row ? 1 : 0);
    return (rows < 1 ? 1 : rows) + 1;
}

std::string hex_row_offset_text(std::int32_t row)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(std::uint32_t(row - 1) * 16u));
    return text;
}

namespace {

std::string shown(const std::string& value)
{
    return " " + value;
}

std::string hex8(std::int32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, " 0x%08X", static_cast<unsigned>(v));
    return text;
}

// A nibble as a 4-bit two's-complement number.
std::int64_t signed_nibble(unsigned v)
{
    return v >= 8 ? std::int64_t(v) - 16 : std::int64_t(v);
}

}  // namespace

int inspector_read_count(const InspectorOptions& o)
{
    return std::max(std::clamp(o.var_length, 1, 8), 4);
}

InspectorTexts inspector_texts(const unsigned char* bytes, int n, std::int32_t position, std::int32_t block_start,
                               std::int32_t block_end, const InspectorOptions& o)
{
    InspectorTexts t;
    if (n >= 1) {
        const int w1 = o.hex ? 1 : 0;
        const unsigned b = bytes[0];
        t.rxposd = shown(std::to_string(position));
        t.rxposh = hex8(position);
        t.ss = hex8(block_start);
        t.sp = hex8(block_end);
        t.sl = shown(std::to_string(std::int64_t(block_end) - block_start + 1));
        t.u8 = shown(FormatUnsigned64(b, w1));
        t.i8 = shown(FormatSigned64(static_cast<std::int8_t>(b), w1));
        t.u4lo = shown(FormatUnsigned64(b & 0x0F, w1));
        t.u4hi = shown(FormatUnsigned64(b >> 4, w1));
        t.i4lo = shown(FormatSigned64(signed_nibble(b & 0x0F), w1));
        t.i4hi = shown(FormatSigned64(signed_nibble(b >> 4), w1));
    }
    std::string* unsigned_fields[] = {&t.u16, &t.u24, &t.u32};
    std::string* signed_fields[] = {&t.i16, &t.i24, &t.i32};
    for (int k = 2; k <= 4; ++k) {
        if (n < k) continue;
        const int wk = o.hex ? k : 0;
        *unsigned_fields[k - 2] = shown(FormatUnsigned64(BytesToUnsigned64(bytes, k, o.fixed_be), wk));
        *signed_fields[k - 2] = shown(FormatSigned64(BytesToSigned64(bytes, k, o.fixed_be), wk));
    }
    const int length = std::clamp(o.var_length, 1, 8);
    if (n >= length) {
        const int w = o.var_radix == VarRadix::Dec ? 0 : o.var_radix == VarRadix::Hex ? length : -length;
        t.ival = shown(o.var_signed ? FormatSigned64(BytesToSigned64(bytes, length, o.var_be), w)
                                    : FormatUnsigned64(BytesToUnsigned64(bytes, length, o.var_be), w));
    }
    return t;
}

std::optional<std::string> field_copy_text(const std::string& field)
{
    if (field.size() < 2) return std::nullopt;
    return field.substr(1);
}

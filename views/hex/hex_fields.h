// What the HEX page shows, as pure functions: which byte a grid cell holds,
// the row offsets, and every inspector field's text for the bytes at a position.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Grid layout: column 0 the row's offset, 1-16 the bytes in hexadecimal,
// 17-32 the same bytes as characters; row 0 is the header.
inline constexpr std::int32_t hex_cols = 33;
inline constexpr std::int32_t hex_bytes_per_row = 16;
inline constexpr std::int32_t hex_last_col = 32;

// The store position a cell shows, or nothing for the header row and the
// offset column. Cells past the data still map to a position.
std::optional<std::int32_t> hex_cell_position(std::int32_t col, std::int32_t row);
// The mirror cell of a data cell: the same byte in the other half.
std::int32_t hex_mirror_col(std::int32_t col);
// Rows the grid needs for a store length: the data rows (at least one) plus the header.
std::int32_t hex_row_count(std::int32_t length);
// "0x" and the offset of a data row's first byte as 8 upper-case digits.
std::string hex_row_offset_text(std::int32_t row);

// The inspector's options as its check boxes, radio buttons and up-down say.
enum class VarRadix : std::uint8_t { Hex, Dec, Bin };
struct InspectorOptions {
    bool hex = false;       // CBivHex
    bool fixed_be = false;  // CBivBe
    int var_length = 1;     // UDivarlen, 1 to 8
    VarRadix var_radix = VarRadix::Hex;
    bool var_be = false;      // CBivlBe
    bool var_signed = false;  // CBivlSgn
};

// The texts of all eighteen fields; each shown value starts with one space,
// a field without data is empty.
struct InspectorTexts {
    std::string i8, u8, i16, u16, i24, u24, i32, u32;
    std::string i4lo, u4lo, i4hi, u4hi;
    std::string ival;
    std::string rxposd, rxposh, ss, sp, sl;
};

// Bytes to read from the position for these options: the variable length,
// but at least the four the fixed fields need.
int inspector_read_count(const InspectorOptions& o);
// `bytes` holds the n bytes (0 to 8) that could be read from `position`.
InspectorTexts inspector_texts(const unsigned char* bytes, int n, std::int32_t position, std::int32_t block_start,
                               std::int32_t block_end, const InspectorOptions& o);

// The value a double-click copies: the field's text without its leading
// space; nothing for an empty field.
std::optional<std::string> field_copy_text(const std::string& field);

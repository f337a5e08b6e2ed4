// The byte range of a binary save, from the dialog's active start field and
// its active end or length field, checked against the store's length.
#pragma once

#include <cstdint>
#include <string>

// Which field of each group counts (the dialog colours it).
enum class StartField : std::uint8_t { Dec, Hex };                      // Ebeg, EbegHex
enum class EndField : std::uint8_t { EndDec, EndHex, LenDec, LenHex };  // Eend, EendHex, Elen, ElenHex

struct BinaryRange {
    std::string error;  // the message to show; empty when the range is good
    std::int32_t start = 0;
    std::int32_t end = 0;    // last byte, included
    std::int32_t count = 0;  // end - start + 1
};

// A start at or past the data, an empty or unreadable field, a zero length or
// an end before the start are refused with their messages; an end or length
// past the data is cut to it. A negative start or length (only pasting gets a
// minus sign in) is refused as an invalid value of its field.
BinaryRange check_binary_range(StartField start_field, const std::string& start_text, EndField end_field,
                               const std::string& end_text, std::int32_t store_length);

// Upper case, no prefix, no leading zeros ("0" for 0).
std::string range_hex_text(std::int64_t v);

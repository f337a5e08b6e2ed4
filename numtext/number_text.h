// Number text (unit Other): byte groups to 64-bit integers, integers to decimal,
// hexadecimal or binary text and back, and a text onto the clipboard.
#pragma once

#include <cstdint>
#include <string>

// Width code of the formatters: 0 decimal; n > 0 hexadecimal "0x" with at least
// 2n digits; n < 0 binary "0b" with exactly 8*(-n) bits, a space after each 8.
// Codes beyond +-8 are treated as +-8, the widest a 64-bit value has.
inline constexpr int width_decimal = 0;

// Parse result codes.
inline constexpr int parse_ok = 0;
inline constexpr int parse_overflow = -1;  // the value does not fit
inline constexpr int parse_no_result = 3;  // no place for the result was passed
inline constexpr int parse_bad_radix = 4;  // radix outside 2..35
inline constexpr int parse_bad_text = 5;   // a character that is no digit, blank or allowed sign

// Clipboard result codes.
inline constexpr int clipboard_done = 0;
inline constexpr int clipboard_not_opened = 1;  // another program holds the clipboard
inline constexpr int clipboard_no_memory = 2;   // no memory for the copy; the clipboard stays empty
inline constexpr int clipboard_refused = 3;     // the system did not take the data

// A group of `count` bytes (1..8) as an integer; big_endian puts the most
// significant byte first in memory. A count of 0 gives 0; bytes beyond the
// eighth would lie above bit 63 and drop out.
int64_t BytesToSigned64(const unsigned char* bytes, int count, bool big_endian);
uint64_t BytesToUnsigned64(const unsigned char* bytes, int count, bool big_endian);

std::string FormatSigned64(int64_t value, int width);
std::string FormatUnsigned64(uint64_t value, int width);

// Text in radix 2..35 into *result; blanks (space, tab) are skipped anywhere.
// `text` may be null (treated as missing: result 5). On any result but 0 the
// output is left unchanged.
int ParseUnsigned64(const char* text, uint64_t* result, int radix);
// As ParseUnsigned64, with one optional "+" or "-" that only blanks may precede.
int ParseSigned64(const char* text, int64_t* result, int radix);
// The value of one hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// Puts `text` on the clipboard as CF_TEXT; a null text copies the empty text.
int CopyTextToClipboard(const char* text);

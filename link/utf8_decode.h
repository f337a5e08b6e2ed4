// UTF-8 decoding of received bytes one at a time, so a character split across
// drains joins up; each byte that cannot be part of a character gives U+FFFD.
#pragma once

#include <cstdint>

inline constexpr char32_t utf8_replacement = 0xFFFD;

class Utf8Decoder {
 public:
    // Decodes one more byte into out and returns how many code points it
    // completed (0 while a character is still open, up to 4 when a cut
    // sequence gives one replacement per byte before this one's own).
    int feed(std::uint8_t b, char32_t out[4]);
    // Bytes of the character still open.
    int pending() const { return have_; }
    // Ends the input: one replacement per byte of a character left open.
    int finish(char32_t out[3]);
    void reset() { have_ = need_ = 0; }

 private:
    int start(std::uint8_t b, char32_t* out);

    int have_ = 0, need_ = 0;  // bytes of the open character, and of its whole sequence
    char32_t code_ = 0;
    std::uint8_t lo_ = 0x80, hi_ = 0xBF;  // the range of the next byte
};

// Encodes a code point (at most U+10FFFF, no surrogate) as 1 to 4 bytes; returns the count.
int utf8_encode(char32_t c, char out[4]);

// The bytes of XMODEM and YMODEM on the wire: control codes, the two checks,
// building a block and checking one that arrived. Pure functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace xmodem {

inline constexpr std::uint8_t soh = 0x01;  // a 128-byte block follows
inline constexpr std::uint8_t stx = 0x02;  // a 1024-byte block follows
inline constexpr std::uint8_t eot = 0x04;
inline constexpr std::uint8_t ack = 0x06;
inline constexpr std::uint8_t bs = 0x08;
inline constexpr std::uint8_t nak = 0x15;
inline constexpr std::uint8_t can = 0x18;
inline constexpr std::uint8_t ask_crc = 'C';
inline constexpr std::uint8_t pad = 0x1A;

inline constexpr int short_block = 128;
inline constexpr int long_block = 1024;

// CRC-16/XMODEM: polynomial 0x1021, initial 0, no reflection.
std::uint16_t crc16(const std::uint8_t* data, std::size_t n);
// The 8-bit arithmetic sum of the original XMODEM.
std::uint8_t checksum(const std::uint8_t* data, std::size_t n);

// The frame's length for a header byte (SOH or STX) and check; 0 for any other byte.
int frame_length(std::uint8_t header, bool crc);

// Appends one frame to out: header, seq, 255-seq, data, check. len is 128
// (SOH) or 1024 (STX); the caller has padded data to it.
void append_block(std::vector<std::uint8_t>& out, std::uint8_t seq, const std::uint8_t* data, int len, bool crc);

// A whole frame as frame_length measured it: true when the number and its
// complement agree and the check is right.
bool frame_sound(const std::uint8_t* frame, int len, bool crc);

// What any side sends to stop the other: eight CANs, then eight backspaces to
// erase them on a terminal that shows them, as lrzsz does.
void append_cancel(std::vector<std::uint8_t>& out);

// How many blocks `remaining` bytes take: with long blocks allowed, 1024 while
// more than 896 remain (seven short blocks would then cost less), then 128s.
std::int64_t blocks_for(std::int64_t remaining, bool long_blocks);

// Messages name the block last: "<what> at block N" (a closing full stop of
// what is dropped).
std::string at_block(const std::string& what, std::int64_t block);

}  // namespace xmodem

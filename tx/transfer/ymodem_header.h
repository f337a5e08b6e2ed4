// YMODEM's block 0: the file's name and size, or all zeros to end the batch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The data of block 0 for a file: name NUL size-in-decimal NUL, zero padded to
// 128 bytes, or 1024 when the name needs it and long blocks are allowed. Size
// -1 leaves the size out. Empty when the name does not fit at all. An empty
// name gives the batch's closing block (all zeros).
std::vector<std::uint8_t> build_ymodem_header(const std::string& name, std::int64_t size, bool long_allowed);

struct YmodemHeader {
    bool batch_end = false;  // the name is empty
    std::string name;        // as the sender gave it, unchecked
    std::int64_t size = -1;  // -1 when absent or unreadable
};

// Reads block 0's data (128 or 1024 bytes); the modification time, mode and
// anything after the size are ignored.
YmodemHeader parse_ymodem_header(const std::uint8_t* data, std::size_t n);

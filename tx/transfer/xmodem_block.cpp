// Checks and frames of XMODEM and YMODEM blocks.
#include "tx/transfer/xmodem_block.h"

#include "tx/send_bytes.h"

namespace xmodem {

std::uint16_t crc16(const std::uint8_t* data, std::size_t n)
{
    return crc16_ccitt(data, n, 0);
}

std::uint8_t checksum(const std::uint8_t* data, std::size_t n)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += data[i];
    return static_cast<std::uint8_t>(sum);
}

int frame_length(std::uint8_t header, bool crc)
{
    const int check = crc ? 2 : 1;
    if (header == soh) return 3 + short_block + check;
    if (header == stx) return 3 + long_block + check;
    return 0;
}

void append_block(std::vector<std::uint8_t>& out, std::uint8_t seq, const std::uint8_t* data, int len, bool crc)
{
    out.push_back(len == long_block ? stx : soh);
    out.push_back(seq);
    out.push_back(static_cast<std::uint8_t>(255 - seq));
    out.insert(out.end(), data, data + len);
    if (crc) {
        const std::uint16_t c = crc16(data, static_cast<std::size_t>(len));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    } else {
        out.push_back(checksum(data, static_cast<std::size_t>(len)));
    }
}

bool frame_sound(const std::uint8_t* frame, int len, bool crc)
{
    const int data_len = len - 3 - (crc ? 2 : 1);
    if (data_len != short_block && data_len != long_block) return false;
    if ((frame[1] ^ frame[2]) != 0xFF) return false;
    const std::uint8_t* data = frame + 3;
    const std::uint8_t* check = data + data_len;
    if (!crc) return checksum(data, static_cast<std::size_t>(data_len)) == check[0];
    const std::uint16_t c = crc16(data, static_cast<std::size_t>(data_len));
    return check[0] == (c >> 8) && check[1] == (c & 0xFF);
}

void append_cancel(std::vector<std::uint8_t>& out)
{
    out.insert(out.end(), 8, can);
    out.insert(out.end(), 8, bs);
}

std::int64_t blocks_for(std::int64_t remaining, bool long_blocks)
{
    if (remaining <= 0) return 0;
    std::int64_t blocks = 0;
    if (long_blocks && remaining > 896) {
        // Whole 1024s first; a tail above 896 takes one more long block.
        blocks = remaining / long_block;
        remaining -= blocks * long_block;
        if (remaining > 896) return blocks + 1;
    }
    return blocks + (remaining + short_block - 1) / short_block;
}

std::string at_block(const std::string& what, std::int64_t block)
{
    // A source's or sink's reason may end as a sentence; the block follows it.
    std::string text = what;
    while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text + " at block " + std::to_string(block);
}

}  // namespace xmodem

// Building and reading YMODEM's block 0.
#include "tx/transfer/ymodem_header.h"

#include "tx/transfer/xmodem_block.h"

std::vector<std::uint8_t> build_ymodem_header(const std::string& name, std::int64_t size, bool long_allowed)
{
    std::string text = name.substr(0, name.find('\0'));
    if (!text.empty()) {
        text.push_back('\0');
        if (size >= 0) text += std::to_string(size);
    }
    // One NUL must close the size for the reader to know where it ends.
    const std::size_t need = text.size() + 1;
    std::size_t len = xmodem::short_block;
    if (need > len) {
        if (!long_allowed || need > static_cast<std::size_t>(xmodem::long_block)) return {};
        len = xmodem::long_block;
    }
    std::vector<std::uint8_t> data(len, 0);
    for (std::size_t i = 0; i < text.size(); ++i) data[i] = static_cast<std::uint8_t>(text[i]);
    return data;
}

YmodemHeader parse_ymodem_header(const std::uint8_t* data, std::size_t n)
{
    YmodemHeader h;
    std::size_t i = 0;
    while (i < n && data[i] != 0) h.name.push_back(static_cast<char>(data[i++]));
    h.batch_end = h.name.empty();
    if (h.batch_end) return h;
    ++i;  // the NUL
    std::int64_t size = 0;
    int digits = 0;
    // More than 18 digits could overflow; such a size is as good as none.
    for (; i < n && data[i] >= '0' && data[i] <= '9'; ++i)
        if (++digits <= 18) size = size * 10 + (data[i] - '0');
    if (digits > 0 && digits <= 18) h.size = size;
    return h;
}

// Escapes, checksums and the repeat schedule of the send-string window.
#include "tx/send_bytes.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "numtext/number_text.h"

namespace {

std::uint8_t crc8(const std::uint8_t* p, std::size_t n)
{
    std::uint8_t crc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int b = 0; b < 8; ++b) crc = static_cast<std::uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

std::uint16_t crc16_modbus(const std::uint8_t* p, std::size_t n)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int b = 0; b < 8; ++b) crc = static_cast<std::uint16_t>(crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1);
    }
    return crc;
}

std::uint32_t crc32_ieee(const std::uint8_t* p, std::size_t n)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int b = 0; b < 8; ++b) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

}  // namespace

// By table: a file transfer checks every block it sends and receives.
std::uint16_t crc16_ccitt(const std::uint8_t* p, std::size_t n, std::uint16_t crc)
{
    static const auto table = [] {
        std::array<std::uint16_t, 256> t{};
        for (unsigned i = 0; i < 256; ++i) {
            auto c = static_cast<std::uint16_t>(i << 8);
            for (int b = 0; b < 8; ++b) c = static_cast<std::uint16_t>(c & 0x8000 ? (c << 1) ^ 0x1021 : c << 1);
            t[i] = c;
        }
        return t;
    }();
    for (std::size_t i = 0; i < n; ++i)
        crc = static_cast<std::uint16_t>((crc << 8) ^ table[((crc >> 8) ^ p[i]) & 0xFF]);
    return crc;
}

bool parse_escapes(std::string_view text, std::vector<std::uint8_t>& out, BadEscape& bad)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\') {
            out.push_back(static_cast<std::uint8_t>(c));
            continue;
        }
        const std::size_t at = i;
        int value = -1;
        std::size_t used = 2;  // the backslash and its letter
        if (i + 1 < text.size()) {
            switch (text[i + 1]) {
                case 'r':
                    value = 13;
                    break;
                case 'n':
                    value = 10;
                    break;
                case 't':
                    value = 9;
                    break;
                case '0':
                    value = 0;
                    break;
                case '\\':
                    value = '\\';
                    break;
                case 'x': {
                    // Exactly two digits; a bad one is shown up to the character that spoiled it.
                    const int hi = at + 2 < text.size() ? HexDigitValue(text[at + 2]) : -1;
                    const int lo = hi >= 0 && at + 3 < text.size() ? HexDigitValue(text[at + 3]) : -1;
                    if (lo >= 0) value = hi * 16 + lo;
                    used = hi >= 0 ? 4 : 3;
                    break;
                }
                default:
                    break;
            }
        }
        if (value < 0) {
            bad.character = static_cast<long long>(at) + 1;
            bad.escape.assign(text.substr(at, std::min(used, text.size() - at)));
            return false;
        }
        out.push_back(static_cast<std::uint8_t>(value));
        i = at + used - 1;
    }
    return true;
}

std::string bad_escape_text(const BadEscape& bad)
{
    char where[32];
    std::snprintf(where, sizeof where, "%lld", bad.character);
    return "Bad escape \"" + bad.escape + "\" at character " + where;
}

const char* checksum_caption(int kind)
{
    static const char* const names[checksum_count] = {
        "None", "Sum8", "XOR8", "CRC-8", "CRC-16/MODBUS", "CRC-16/CCITT-FALSE", "CRC-32"};
    return kind >= 0 && kind < checksum_count ? names[kind] : names[0];
}

int checksum_bytes(int kind, const std::uint8_t* data, std::size_t n, std::uint8_t out[4])
{
    switch (static_cast<Checksum>(kind)) {
        case Checksum::Sum8: {
            std::uint8_t s = 0;
            for (std::size_t i = 0; i < n; ++i) s = static_cast<std::uint8_t>(s + data[i]);
            out[0] = s;
            return 1;
        }
        case Checksum::Xor8: {
            std::uint8_t x = 0;
            for (std::size_t i = 0; i < n; ++i) x ^= data[i];
            out[0] = x;
            return 1;
        }
        case Checksum::Crc8:
            out[0] = crc8(data, n);
            return 1;
        case Checksum::Crc16Modbus: {
            const std::uint16_t c = crc16_modbus(data, n);
            out[0] = static_cast<std::uint8_t>(c);
            out[1] = static_cast<std::uint8_t>(c >> 8);
            return 2;
        }
        case Checksum::Crc16CcittFalse: {
            const std::uint16_t c = crc16_ccitt(data, n, 0xFFFF);
            out[0] = static_cast<std::uint8_t>(c >> 8);
            out[1] = static_cast<std::uint8_t>(c);
            return 2;
        }
        case Checksum::Crc32: {
            const std::uint32_t c = crc32_ieee(data, n);
            for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(c >> (8 * i));
            return 4;
        }
        default:
            return 0;
    }
}

std::string hex_bytes_text(const std::uint8_t* data, int n)
{
    std::string s;
    char two[4];
    for (int i = 0; i < n; ++i) {
        std::snprintf(two, sizeof two, "%02X", data[i]);
        if (i) s += ' ';
        s += two;
    }
    return s;
}

bool build_string_send(std::string_view text, const StringSendOptions& options, std::vector<std::uint8_t>& out,
                       BadEscape& bad)
{
    out.clear();
    out.reserve(text.size() + 8);
    if (options.escapes) {
        if (!parse_escapes(text, out, bad)) return false;
    } else {
        out.assign(text.begin(), text.end());
    }
    std::uint8_t sum[4];
    const int sum_len = checksum_bytes(options.checksum, out.data(), out.size(), sum);
    out.insert(out.end(), sum, sum + sum_len);
    out.insert(out.end(), options.mark, options.mark + std::clamp(options.mark_len, 0, 2));
    if (options.eos) out.push_back(0);
    return true;
}

void RepeatSchedule::start(std::uint32_t now_ms, std::int32_t period_ms)
{
    period_ = std::max<std::int32_t>(period_ms, 1);
    next_ = now_ms + static_cast<std::uint32_t>(period_);
}

std::int32_t RepeatSchedule::take_due(std::uint32_t now_ms)
{
    const auto late = static_cast<std::int32_t>(now_ms - next_);
    if (late < 0) return 0;
    const std::uint32_t slots = static_cast<std::uint32_t>(late) / static_cast<std::uint32_t>(period_) + 1;
    next_ += slots * static_cast<std::uint32_t>(period_);
    const std::int32_t cap = std::max<std::int32_t>(1, 1000 / period_);
    return slots > static_cast<std::uint32_t>(cap) ? cap : static_cast<std::int32_t>(slots);
}

std::int32_t RepeatSchedule::wait_ms(std::uint32_t now_ms) const
{
    const auto d = static_cast<std::int32_t>(next_ - now_ms);
    return d < 1 ? 1 : d;
}

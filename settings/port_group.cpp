// PORT section: load rules (defaults, clamps, unsigned code tests, KiB sizes)
// and the save in key order.
#include "settings/port_group.h"

#include <cstdint>

#include "settings/setting_values.h"

namespace {

constexpr std::string_view section = "PORT";

struct ParityName {
    const char* text;
    int code;
};
// Load compares in this order; the first exact match wins.
constexpr ParityName parity_names[] = {
    {"NO", 0}, {"ODD", 1}, {"EVEN", 2}, {"MARK", 4}, {"SPACE", 3},
};

std::int32_t outside_becomes(std::int32_t v, std::int32_t lo, std::int32_t hi, std::int32_t c)
{
    return v < lo || v > hi ? c : v;
}

std::int32_t clamped(std::int32_t v, std::int32_t lo, std::int32_t hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

// The codes whose negative values count as too large.
std::int32_t unsigned_above_becomes(std::int32_t v, std::uint32_t hi, std::int32_t c)
{
    return static_cast<std::uint32_t>(v) > hi ? c : v;
}

}  // namespace

int parity_code_from_text(std::string_view text)
{
    for (const auto& p : parity_names)
        if (text == p.text) return p.code;
    return 0;
}

const char* parity_text_from_code(int code)
{
    for (const auto& p : parity_names)
        if (p.code == code) return p.text;
    return "";
}

int LoadPortSettings(const ProfileFile* file, PortSettings& r)
{
    if (!file) return 1;
    const ProfileFile& f = *file;
    auto get = [&f](std::string_view key, std::int32_t def) { return read_setting_integer(f, section, key, def); };
    r.port_num = outside_becomes(get("port_num", 1), 1, 255, 1);
    r.port_baud = outside_becomes(get("port_baud", 115200), 1, 3000000, 115200);
    const std::int32_t stop = get("port_stop", 10);
    r.port_stop = stop == 10 || stop == 15 || stop == 20 ? stop : 10;
    r.port_bit = outside_becomes(get("port_bit", 8), 5, 8, 8);
    r.port_parity = parity_code_from_text(read_setting_text(f, section, "port_parity", "NO"));
    r.port_rx_handshake = unsigned_above_becomes(get("port_rx_handshake", 0), 2, 0);
    r.port_tx_handshake = unsigned_above_becomes(get("port_tx_handshake", 0), 2, 0);
    r.port_open = unsigned_above_becomes(get("port_open", 0), 1, 1);
    // A bad custom rate falls back to the common rate, not to its own default.
    r.port_baud_custom1 = outside_becomes(get("port_baud_custom1", 500000), 1, 3000000, 115200);
    r.port_baud_custom2 = outside_becomes(get("port_baud_custom2", 1500000), 1, 3000000, 115200);
    r.port_rxth_size = clamped(get("port_rxth_size", 1024), 64, 8192) * 1024;
    r.port_txth_size = clamped(get("port_txth_size", 1024), 64, 8192) * 1024;
    r.port_rxth_sleep = clamped(get("port_rxth_sleep", 1), 0, 100);
    r.port_txth_sleep = clamped(get("port_txth_sleep", 1), 0, 100);
    const std::int32_t block = get("port_rx_data_block_size", 128);
    r.port_rx_data_block_size = (block < 1 ? 1024 : block > 8192 ? 8192 : block) * 1024;
    r.port_rx_size = clamped(get("port_rx_size", 8192), 256, 32768);
    r.port_tx_size = clamped(get("port_tx_size", 8192), 256, 32768);
    r.port_rx_to = clamped(get("port_rx_to", 50), 1, 1000);
    r.port_rx_mult = clamped(get("port_rx_mult", 1), 1, 32768);
    r.port_tx_size_lim = get("port_tx_size_lim", 1) > 0 ? 1 : 0;
    r.port_reconnect = get("port_reconnect", 0) > 0 ? 1 : 0;
    r.settings_loaded = 1;
    return 0;
}

int SavePortSettings(ProfileFile* file, const PortSettings& r)
{
    if (!file) return 1;
    ProfileFile& f = *file;
    auto put = [&f](std::string_view key, std::int32_t v) { write_setting_integer(f, section, key, v); };
    put("port_num", r.port_num);
    put("port_baud", r.port_baud);
    put("port_stop", r.port_stop);
    put("port_bit", r.port_bit);
    write_setting_text(f, section, "port_parity", parity_text_from_code(r.port_parity));
    put("port_tx_handshake", r.port_tx_handshake);
    put("port_rx_handshake", r.port_rx_handshake);
    put("port_open", r.port_open);
    put("port_baud_custom1", r.port_baud_custom1);
    put("port_baud_custom2", r.port_baud_custom2);
    put("port_rxth_size", r.port_rxth_size / 1024);
    put("port_txth_size", r.port_txth_size / 1024);
    put("port_rxth_sleep", r.port_rxth_sleep);
    put("port_txth_sleep", r.port_txth_sleep);
    put("port_rx_data_block_size", r.port_rx_data_block_size / 1024);
    put("port_rx_size", r.port_rx_size);
    put("port_tx_size", r.port_tx_size);
    put("port_rx_to", r.port_rx_to);
    put("port_rx_mult", r.port_rx_mult);
    put("port_tx_size_lim", r.port_tx_size_lim);
    // Newer than the keys above, so files written before it still read the same.
    put("port_reconnect", r.port_reconnect);
    return 0;
}

// Info page field texts. Fixed-point values always use a point, whatever the
// locale, like the status bar's rate.
#include "views/info/info_texts.h"

#include <cstdio>

namespace {

std::string format(const char* form, double v)
{
    char text[64];
    std::snprintf(text, sizeof text, form, v);
    return text;
}

std::string format_integer(const char* form, long long v)
{
    char text[40];
    std::snprintf(text, sizeof text, form, v);
    return text;
}

}  // namespace

std::string info_port_text(bool connected, std::int32_t port_num)
{
    return connected ? format_integer(" COM%lld", port_num) : " none";
}

std::string info_baud_text(std::int32_t baud)
{
    return format(" %.3f kbd/s", baud / 1000.0);
}

std::string info_stop_text(std::int32_t stop_tenths)
{
    return format(" %.1f", stop_tenths / 10.0);
}

const char* info_parity_text(std::int32_t parity)
{
    static const char* const names[] = {" no", " odd", " even", " space", " mark"};
    return parity >= 0 && parity <= 4 ? names[parity] : nullptr;
}

std::string info_data_bits_text(std::int32_t bits)
{
    return format_integer(" %lld", bits);
}

const char* info_flow_text(std::int32_t tx_handshake, std::int32_t rx_handshake)
{
    if (tx_handshake != 0 && rx_handshake != 0) {
        if (tx_handshake == 1 && rx_handshake == 1) return " CTS, RTS";
        if (tx_handshake == 2 && rx_handshake == 1) return " DSR, RTS";
        if (tx_handshake == 1 && rx_handshake == 2) return " CTS, DTR";
        return " DSR, DTR";
    }
    if (tx_handshake != 0) return tx_handshake == 1 ? " CTS" : " DSR";
    if (rx_handshake != 0) return rx_handshake == 1 ? " RTS" : " DTR";
    return " none";
}

FrameFigures frame_figures(std::int32_t baud, std::int32_t stop_tenths, std::int32_t parity, std::int32_t bits)
{
    FrameFigures f;
    f.frame_bits = stop_tenths / 10.0 + 1.0 + bits + (parity != 0 ? 1.0 : 0.0);
    // A record that never went through the settings' clamps must not divide by zero.
    if (f.frame_bits <= 0) return f;
    const double data_share = bits / f.frame_bits;
    f.kbit_per_s = data_share * baud / 1024.0;
    f.kbyte_per_s = f.kbit_per_s / 8.0;
    f.usage_percent = data_share * 100.0;
    return f;
}

std::string frame_length_text(const FrameFigures& f)
{
    return format(" %.1f bit", f.frame_bits);
}
std::string frame_bitrate_text(const FrameFigures& f)
{
    return format(" %.3f kbit/s", f.kbit_per_s);
}
std::string frame_byterate_text(const FrameFigures& f)
{
    return format(" %.3f kB/s", f.kbyte_per_s);
}
std::string frame_usage_text(const FrameFigures& f)
{
    return format(" %.1f %%", f.usage_percent);
}

const char* modem_line_text(std::uint32_t modem, std::uint32_t bit)
{
    return (modem & bit) ? " on" : " off";
}

const char* flow_line_text(std::int32_t rx_handshake, std::int32_t line, std::uint32_t in_queue, std::uint32_t xon_lim,
                           std::uint32_t xoff_lim, bool set_on)
{
    if (rx_handshake != line) return set_on ? " on" : " off";
    const char* text = nullptr;
    if (in_queue >= xon_lim) text = " off";
    if (in_queue <= xoff_lim) text = " on";
    return text;
}

std::string queue_count_text(std::uint32_t count)
{
    return format_integer(" %lld", count);
}

std::string queue_size_text(std::int32_t size)
{
    return format_integer(" %lld B", size);
}

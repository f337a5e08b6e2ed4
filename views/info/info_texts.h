// The Info page's field texts, computed from the port settings and a port
// status snapshot: free functions, so each rule is tested on its own.
#pragma once

#include <cstdint>
#include <string>

// " COM<n>" while connected, " none" otherwise.
std::string info_port_text(bool connected, std::int32_t port_num);
// " 115.200 kbd/s": the baud rate in thousands with 3 decimals.
std::string info_baud_text(std::int32_t baud);
// " 1.5": stop bits from tenths.
std::string info_stop_text(std::int32_t stop_tenths);
// " no", " odd", " even", " space", " mark"; nullptr for any other code (the
// field keeps its text).
const char* info_parity_text(std::int32_t parity);
std::string info_data_bits_text(std::int32_t bits);
// The nine texts of the transmit (0 none, 1 CTS, 2 DSR) and receive
// (0 none, 1 RTS, 2 DTR) handshakes.
const char* info_flow_text(std::int32_t tx_handshake, std::int32_t rx_handshake);

// Frame figures: length in bits (start, data, parity, stop), the most data
// bits and bytes per second the line carries, and the share of data bits.
struct FrameFigures {
    double frame_bits = 0;
    double kbit_per_s = 0;   // data bits per second / 1024
    double kbyte_per_s = 0;  // kbit_per_s / 8
    double usage_percent = 0;
};
FrameFigures frame_figures(std::int32_t baud, std::int32_t stop_tenths, std::int32_t parity, std::int32_t bits);
// " 10.0 bit", " 90.000 kbit/s", " 11.250 kB/s", " 80.0 %".
std::string frame_length_text(const FrameFigures& f);
std::string frame_bitrate_text(const FrameFigures& f);
std::string frame_byterate_text(const FrameFigures& f);
std::string frame_usage_text(const FrameFigures& f);

// " on" or " off" for one MS_*_ON bit of the modem status.
const char* modem_line_text(std::uint32_t modem, std::uint32_t bit);
// What a modem line field reads when the port has no modem status to give.
inline constexpr char modem_line_unknown_text[] = " n/a";
// RTS (line 1) or DTR (line 2) under receive handshake `rx_handshake`: when
// that line is not the handshake line, " on" or " off" as the program set it
// (`set_on`, the "Port" menu's DTR and RTS); otherwise " off" from XonLim up,
// " on" up to XoffLim (" on" wins when both hold), and nullptr between the
// limits (the field keeps its previous text).
const char* flow_line_text(std::int32_t rx_handshake, std::int32_t line, std::uint32_t in_queue, std::uint32_t xon_lim,
                           std::uint32_t xoff_lim, bool set_on = true);

// " <n>" for a queue count, " <n> B" for a queue size.
std::string queue_count_text(std::uint32_t count);
std::string queue_size_text(std::int32_t size);

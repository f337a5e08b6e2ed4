// The port settings record: the serial port and its tuning as the settings
// file and the port dialog read and write them, fields named after their keys;
// and the snapshot a connection runs with.
#pragma once

#include <cstdint>

struct PortSettings {
    std::int32_t port_num = 1;        // COM port number, 1..255
    std::int32_t port_baud = 115200;  // bit/s, 1..3000000
    std::int32_t port_baud_custom1 = 500000;
    std::int32_t port_baud_custom2 = 1500000;
    std::int32_t port_stop = 10;            // tenths of a bit: 10, 15, 20
    std::int32_t port_bit = 8;              // data bits 5..8
    std::int32_t port_parity = 0;           // 0 none, 1 odd, 2 even, 3 space, 4 mark
    std::int32_t port_tx_handshake = 0;     // 0 none, 1 CTS, 2 DSR
    std::int32_t port_rx_handshake = 0;     // 0 none, 1 RTS, 2 DTR
    std::int32_t port_open = 0;             // connect when the main window first shows
    std::int32_t port_rxth_size = 1048576;  // receive FIFO capacity
    std::int32_t port_txth_size = 1048576;  // transmit FIFO capacity
    std::int32_t port_rxth_sleep = 1;       // ms, receive thread pause
    std::int32_t port_txth_sleep = 1;       // ms, transmit thread pause
    std::int32_t port_rx_data_block_size = 131072;
    std::int32_t port_rx_size = 8192;   // driver receive queue
    std::int32_t port_tx_size = 8192;   // driver transmit queue before the limit
    std::int32_t port_rx_to = 50;       // read time-out constant, ms
    std::int32_t port_rx_mult = 1;      // read time-out multiplier, ms per byte
    std::int32_t port_tx_size_lim = 1;  // limit the transmit queue to ~1.5 s
    std::int32_t port_reconnect = 0;    // reopen a lost port every second until it is back
    std::int32_t settings_loaded = 0;   // not persisted: set by the load of the keys
};

// What a connection runs with: the record as connect found it, and the
// transmit queue connect sized from it. Only connect writes it, before the
// worker threads start; they read nothing else.
struct LinkSettings {
    PortSettings port;
    std::int32_t tx_queue_size = 0;   // the driver's transmit queue
    std::int32_t tx_block_limit = 0;  // the largest block the transmit thread takes at once
};

// Port layer: the serial calls the program makes, with their result codes,
// over the link's port driver.
#pragma once

#include <cstdint>

#include "link/line_errors.h"
#include "link/port_driver.h"

// Stateless but for its driver: every ClearCommError mask it takes is noted
// in the link's line error counts.
class Usart {
 public:
    Usart(PortDriver& driver, LineErrors& errors) : driver_(driver), errors_(errors) {}

    PortDriver& driver() const { return driver_; }

    // 0 port n can be opened now (closed again at once); 1 n outside 1..256 or the open failed.
    int usart_probe(std::int32_t n);
    // 0 handle in *slot; 1 slot missing; 2 n outside 1..256; 3 open failed (*slot null).
    int usart_open(PortHandle* slot, std::int32_t n);
    // 1 slot missing; else purges the transmit side, closes, nulls the slot, 0.
    int usart_close(PortHandle* slot);
    // 0; 1 baud outside 1..3000000; 4 data bits outside 5..8; 256 GetCommState
    // failed; 2 stop bits not 10/15/20; 3 parity outside 0..4; 257 SetCommState failed.
    int usart_configure(PortHandle h, std::int32_t baud, std::int32_t stop, std::int32_t parity, std::int32_t bits,
                        std::int32_t rx_handshake, std::int32_t tx_handshake);
    // SetupComm: 0 or 1.
    int usart_set_queues(PortHandle h, std::int32_t rx_size, std::int32_t tx_size);
    // SetCommTimeouts: 0 or 1. The read constant comes before the multiplier.
    int usart_set_timeouts(PortHandle h, std::int32_t read_interval, std::int32_t read_constant,
                           std::int32_t read_multiplier, std::int32_t write_constant, std::int32_t write_multiplier);
    // Driver queue counts: 0; 1 count missing; 2 ClearCommError failed (count untouched).
    int usart_rx_count(PortHandle h, std::int32_t* count);
    int usart_tx_count(PortHandle h, std::int32_t* count);
    // PurgeComm: 0 or 1.
    int usart_purge_rx(PortHandle h);
    int usart_purge_tx(PortHandle h);
    // Bytes read, or -1 when the read fails (or the arguments are unusable).
    std::int32_t usart_read(PortHandle h, void* buffer, std::int32_t n);

    // EscapeCommFunction on DTR or RTS: 0 or 1 (refused).
    int usart_set_dtr(PortHandle h, bool on);
    int usart_set_rts(PortHandle h, bool on);
    // SetCommBreak (on) or ClearCommBreak (off): 0 or 1.
    int usart_break(PortHandle h, bool on);

    // "\\.\COM%d", or "COM%d" on Windows versions below 5.
    void usart_device_name(std::int32_t n, char* out, int out_size);

 private:
    PortDriver& driver_;
    LineErrors& errors_;
};

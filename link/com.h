// Connection layer: the connect and disconnect sequences of the one serial
// port, and the port status snapshot for the Info page.
#pragma once

#include <cstdint>

#include "link/port_driver.h"
#include "link/port_settings.h"

// The open port, null while none is open; valid for as long as the worker threads run.
extern PortHandle com_port;

// 0 connected; 1 opening or configuring the port failed; 2 creating the receive
// FIFO failed; 3 creating the receive thread failed; 4 creating the transmit
// FIFO failed; 5 creating the transmit thread failed. Every failure leaves the
// link closed: no thread, no FIFO, no open port.
int com_connect();
// Stops both threads, releases both FIFOs, closes the port; always 0.
int com_disconnect();
// 0; 1 no port open or an out argument missing; 2 ClearCommError failed;
// 3 GetCommModemStatus failed (the queue counts and the comm state were read
// all the same); 4 GetCommState failed.
int port_status(PortDcb* dcb, PortComStat* stat, std::uint32_t* modem);

// The output lines as the program last set them: DTR and RTS on from every
// connect (the settings enable them), a break only while one is held.
struct ComLines {
    bool dtr = true;
    bool rts = true;
    bool in_break = false;
};
extern ComLines com_lines;
// Whether the receive flow control drives that line (then only the driver sets it).
bool com_dtr_driven(const PortSettings& s);
bool com_rts_driven(const PortSettings& s);
// 0; 1 no port open; 2 the receive flow control drives that line (nothing
// done); 3 the driver refused (the line's recorded state is unchanged).
int com_set_dtr(bool on);
int com_set_rts(bool on);
int com_break(bool on);

// Sets s.tx_queue_size and s.tx_block_limit from the baud rate and frame
// (about 1.5 seconds of sending when port_tx_size_lim is on).
void com_size_tx_queue(PortSettings& s);

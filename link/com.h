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
// 3 GetCommModemStatus failed; 4 GetCommState failed.
int port_status(PortDcb* dcb, PortComStat* stat, std::uint32_t* modem);

// Sets s.tx_queue_size and s.tx_block_limit from the baud rate and frame
// (about 1.5 seconds of sending when port_tx_size_lim is on).
void com_size_tx_queue(PortSettings& s);

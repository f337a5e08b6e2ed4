// Connection layer of the program's one link (forwards to SerialLink).
#pragma once

#include "link/serial_link.h"

// Forwards to the program's one link, until every caller holds a SerialLink.
SerialLink& program_link();
extern PortHandle& com_port;
extern const ComLines& com_lines;
int com_connect();
int com_disconnect();
int port_status(PortDcb* dcb, PortComStat* stat, std::uint32_t* modem);
int com_set_dtr(bool on);
int com_set_rts(bool on);
int com_break(bool on);
void com_size_tx_queue(PortSettings& s);

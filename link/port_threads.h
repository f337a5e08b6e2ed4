// The receive and transmit worker threads: created held at a start gate
// (suspended), resumed, and stopped by setting their stop flag and waiting.
#pragma once

#include "link/port_driver.h"

// 0; 2 the thread could not be created. Clears the side's stop flag (and the
// transmit hold and drop request flags; the time-out flag keeps its value).
int rx_thread_create(PortHandle port);
int tx_thread_create(PortHandle port);
// 0; 1 when no thread exists.
int rx_thread_resume();
int tx_thread_resume();
// Resumes the thread, sets its stop flag and waits until it has ended; 0;
// 1 when no thread exists.
int rx_thread_stop();
int tx_thread_stop();
// The receive thread found the port gone (its driver calls kept failing) and
// has put every byte it had read into the receive FIFO; it calls the driver no
// more. Cleared when a receive thread is created.
bool rx_port_lost();
bool rx_thread_exists();
bool tx_thread_exists();

// Fault injection for tests: the next creation of the named thread fails as
// if the OS had refused it.
void port_threads_fail_next_create(bool rx, bool tx);

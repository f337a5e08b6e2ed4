// Puts bytes into a link's receive FIFO as the receive thread would, for the store tests.
#pragma once

#include <cstdint>
#include <string_view>

#include "link/serial_link.h"

void rx_feed_open(SerialLink& link);                     // a fresh, empty receive FIFO (the link's disconnect frees it)
bool rx_feed(SerialLink& link, std::string_view bytes);  // false when they do not fit

// Puts bytes into the receive FIFO as the receive thread would, for the store tests.
#pragma once

#include <cstdint>
#include <string_view>

void rx_feed_open();  // a fresh, empty receive FIFO
void rx_feed_close();
bool rx_feed(std::string_view bytes);  // false when they do not fit

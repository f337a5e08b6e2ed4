// Why a connect failed, in one line for the message under "COMn opening
// failed!": the step that failed, what it asked for, and the system's reason.
#pragma once

#include <cstdint>
#include <string>

#include "link/port_settings.h"

enum class ConnectStep { open, configure, queues, timeouts, purge };

// code: the usart_* result of that step; error: the driver's last error right
// after it (0 when the step failed on our own check, before any system call).
std::string connect_failure_reason(ConnectStep step, int code, const PortSettings& s, std::uint32_t error,
                                   const std::string& device_name, std::int32_t tx_queue_size);

// "9600 baud, 7 data bits, even parity, 2 stop bits"
std::string line_settings_text(const PortSettings& s);

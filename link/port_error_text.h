// The system's words for a Windows error code from the port driver seam, for
// the line that says why a connect failed.
#pragma once

#include <cstdint>
#include <string>

// Without a trailing line break; "error N" where the system has no text.
std::string port_error_text(std::uint32_t code);

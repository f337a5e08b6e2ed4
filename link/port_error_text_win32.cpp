// Port errors in the system's own words (FormatMessage).
#include "link/port_error_text.h"

#include "platform/files.h"

std::string port_error_text(std::uint32_t code)
{
    return file_error_text(static_cast<int>(code));
}

// Port errors where no Windows is: the seam's codes are Windows' own, so the
// native build (the simulated driver) gives the Windows texts of those it uses.
#include "link/port_error_text.h"

std::string port_error_text(std::uint32_t code)
{
    switch (code) {
        case 2:
            return "The system cannot find the file specified.";
        case 5:
            return "Access is denied.";
        case 6:
            return "The handle is invalid.";
        case 31:
            return "A device attached to the system is not functioning.";
        case 87:
            return "The parameter is incorrect.";
        default:
            return "error " + std::to_string(code);
    }
}

// Program start: the command line, title, the window set with its link over
// `driver`, the message loop until the main window closes.
#pragma once

#include <string>
#include <vector>

#include "link/port_catalogue.h"
#include "link/port_driver.h"

// `catalogue` finds the ports; `args`: the command line without the program's name.
int olvex_run(PortDriver& driver, PortCatalogue& catalogue, const std::vector<std::string>& args = {});

// Program start: the command line, title, the window set with its link over
// `driver`, the message loop until the main window closes.
#pragma once

#include <string>
#include <vector>

#include "link/port_driver.h"

// `args`: the command line without the program's name.
int olvex_run(PortDriver& driver, const std::vector<std::string>& args = {});

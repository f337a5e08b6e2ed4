// Program start: title, the window set with its link over `driver`, the
// message loop until the main window closes.
#pragma once

#include "link/port_driver.h"

int olvex_run(PortDriver& driver);

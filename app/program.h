// Program start: title, the window set, the message loop until the main
// window closes. The port driver is chosen by the caller before this runs.
#pragma once

int olvex_run();

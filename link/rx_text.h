// Conversion of the received data store into text lines: only the bytes that
// arrived since the previous pass, continuing the view's unfinished last line.
#pragma once

#include <cstdint>

class LineSink;

// Line-break modes, as the "Rx" > "Text" menu orders them.
enum RxLineBreak : int {
    rx_lb_cr = 0,
    rx_lb_lf = 1,
    rx_lb_crlf = 2,
    rx_lb_lfcr = 3,
    rx_lb_any = 4,
};

// Shown for an invisible byte while the display is on but no replacement
// character was ever given.
constexpr char rx_text_default_replacement = '.';

int rx_text_attach(LineSink* view);               // 1 when none given; else empties it, 0
int rx_text_line_break(int mode);                 // 1 when outside 0..4; else 0
int rx_text_invisible(int character, bool show);  // 0
int rx_text_update();                             // 1 without buffer or view; else 0

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

// Time stamps: each new view line starts with the local time of day its first
// byte was drained, as "hh:mm:ss.mmm ". Off at start.
constexpr int rx_text_stamp_length = 13;
int rx_text_timestamps(bool on);  // 0
// The bytes from store position `position` on were drained at `time_of_day_ms`
// (milliseconds after local midnight). Position 0 starts a new store's record.
void rx_text_drained(int32_t position, uint32_t time_of_day_ms);
// Writes the 13 characters "hh:mm:ss.mmm " (no terminator) to out.
void rx_text_format_time(uint32_t time_of_day_ms, char* out);

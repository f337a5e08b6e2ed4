// Conversion of the received data store into text lines: only the bytes that
// arrived since the previous pass, continuing the view's unfinished last line.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "link/line_sink.h"
#include "link/rx_store.h"

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

// Time stamps: each new view line starts with the local time of day its first
// byte was drained, as "hh:mm:ss.mmm ".
constexpr int rx_text_stamp_length = 13;
// Writes the 13 characters "hh:mm:ss.mmm " (no terminator) to out.
void rx_text_format_time(uint32_t time_of_day_ms, char* out);

// Where the conversion stands and how it converts. The view is handed to
// each call that writes to it; the converter keeps no pointer to it. Results
// as SerialLink's rx_text_* routines document them.
class RxText {
 public:
    int attach(LineSink* view);
    int line_break(int mode);
    int invisible(int character, bool show);
    int update(const RxStore& store, LineSink& view);
    int timestamps(bool on);
    void drained(int32_t position, uint32_t time_of_day_ms);

    struct State {
        bool attached = false;  // a view was emptied for the conversion to start in
        int32_t converted = 0;
        bool last_line_open = false;
        int mode = rx_lb_cr;
        bool show_invisible = false;
        int replacement = -1;  // not set
        bool stamps = false;   // off at start
        // The open last line already starts with its time stamp (or needs none).
        // Only an empty line opened after a line break waits for its first byte.
        bool line_stamped = true;
        // (store position, time of day) of each drain, in position order.
        std::vector<std::pair<int32_t, uint32_t>> drains;
    };

 private:
    State state_;
};

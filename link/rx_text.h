// Conversion of the received data store into text lines: only the bytes that
// arrived since the previous pass, continuing the view's unfinished last line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "link/ansi_escape.h"
#include "link/line_sink.h"
#include "link/utf8_decode.h"
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
    // Colour escape sequences: on, they colour what follows and are not shown.
    int ansi(bool on);
    bool ansi() const { return state_.ansi; }
    // UTF-8: a character of several bytes takes one column; a bad byte shows
    // as U+FFFD. The text handed to the view has one char per character
    // (itself below U+0100, else '?'); render's `wide` gives the characters.
    int utf8(bool on);
    bool utf8() const { return state_.utf8; }
    void drained(int32_t position, uint32_t time_of_day_ms);

    // The first store byte not yet converted: the open last line ends there.
    int32_t converted() const { return state_.converted; }
    // What the line made of the converted bytes [from, to) shows after its time
    // stamp, as the conversion showed it then: n characters from the skip-th
    // on, written to out; returns how many there were (fewer at the line's end).
    // `reached`, if given, receives the position after the byte where the n-th
    // character begins (the first of a character of several bytes), or where
    // reading stopped when fewer were there.
    // out may be null (only counting); styles, if given, receives each
    // character's AnsiStyle (packed), starting from `style` at `from`, which
    // must be a line's first byte or a byte that showed a character.
    std::size_t render(const uint8_t* data, int32_t from, int32_t to, std::size_t skip, std::size_t n, char* out,
                       int32_t* reached = nullptr, AnsiStyle style = {}, std::uint32_t* styles = nullptr,
                       char32_t* wide = nullptr) const;
    // The 13 characters of the time stamp of a line that begins at `position`.
    void stamp_of(int32_t position, char* out) const;

    // How bytes from a store position on were converted (a mode or the display
    // of invisible bytes changes only what is converted afterwards).
    struct Look {
        int32_t from = 0;
        int mode = rx_lb_cr;
        bool show_invisible = false;
        char replacement = rx_text_default_replacement;
        bool ansi = false;
        bool utf8 = false;
        bool same_as(const Look& o) const
        {
            return mode == o.mode && show_invisible == o.show_invisible && replacement == o.replacement &&
                   ansi == o.ansi && utf8 == o.utf8;
        }
    };

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
        // Since the attach, in position order; a handful unless the user keeps switching.
        std::vector<Look> looks;
        bool ansi = false;  // off at start
        AnsiParser escapes;
        int32_t sequence_from = 0;  // store position of the sequence in progress
        AnsiStyle line_style;       // the style where the line in progress began
        bool utf8 = false;          // off at start
        Utf8Decoder decoder;
    };

 private:
    State state_;
};

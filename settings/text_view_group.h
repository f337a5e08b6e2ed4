// The TXTVIEW section: the text view's options as plain values; the main
// window copies them to and from its "Rx" > "Text" menu items.
#pragma once

#include "settings/profile_file.h"

struct TextViewSettings {
    bool auto_scroll = true;            // MMas
    bool word_wrap = false;             // MMwwrap
    bool special_char_display = false;  // MMdis, after the special_char rule on load
    // Line-break mode 0 CR, 1 LF, 2 CR+LF, 3 LF+CR, 4 CR or LF. After a load,
    // -1 means "choose nothing": the menu keeps the mode it has.
    int line_break = 0;
    // After a load: the replacement character for invisible bytes (32..255),
    // or 0 to keep the one in use. Never saved.
    int special_char = 0;
    bool timestamps = false;      // MMtstamp
    bool follow_new_data = true;  // MMfollow
    bool ansi_colours = false;    // MMansi
    bool utf8 = false;            // MMutf8
};

// Reads the section into `out` with its rules: without a usable special_char
// (absent, empty, or a first character below 32) the display is off; a
// line_break above 4 is 0, a negative one chooses nothing. 1 without a file
// (`out` left alone), else 0.
int LoadTextViewSettings(const ProfileFile* file, TextViewSettings& out);
// Writes auto_scroll, word_wrap, special_char_display, line_break (a mode
// outside 0..3 is written as 4), timestamps, follow_new_data, ansi_colours and utf8. 1 without a file, else 0; a
// refused write throws ProfileWriteError.
int SaveTextViewSettings(ProfileFile* file, const TextViewSettings& in);

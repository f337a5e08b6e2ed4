// What a typed character does to a single-line text with a caret/selection,
// shared by Edit and the editable ComboBox (the headless twin of the system's
// edit control; the Win32 backend lets the real control do it).
#pragma once

#include <string>

namespace ui::detail {

struct TextState {
    std::string text;
    int sel_start = 0;
    int sel_length = 0;
};

// Applies c (after the key filters). Backspace, Ctrl+A/C/X/V are handled;
// other control characters are ignored. Returns true when the text changed.
bool apply_char(TextState& s, char c, bool read_only, int max_length);

}  // namespace ui::detail

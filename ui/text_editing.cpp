// Typing into a single-line text: insert, backspace, clipboard shortcuts.
#include "ui/text_editing.h"

#include <algorithm>

#include "ui/services.h"

namespace ui::detail {

namespace {

void clamp(TextState& s)
{
    int n = static_cast<int>(s.text.size());
    s.sel_start = std::clamp(s.sel_start, 0, n);
    s.sel_length = std::clamp(s.sel_length, 0, n - s.sel_start);
}

bool replace(TextState& s, std::string_view with, int max_length)
{
    std::string ins(with);
    if (max_length > 0) {
        int room = max_length - (static_cast<int>(s.text.size()) - s.sel_length);
        if (room < 0) room = 0;
        if (static_cast<int>(ins.size()) > room) ins.resize(static_cast<size_t>(room));
    }
    if (ins.empty() && s.sel_length == 0) return false;
    s.text.replace(static_cast<size_t>(s.sel_start), static_cast<size_t>(s.sel_length), ins);
    s.sel_start += static_cast<int>(ins.size());
    s.sel_length = 0;
    return true;
}

}  // namespace

bool apply_char(TextState& s, char c, bool read_only, int max_length)
{
    clamp(s);
    std::string_view selected(s.text.data() + s.sel_start, static_cast<size_t>(s.sel_length));
    switch (c) {
        case 1:  // Ctrl+A
            s.sel_start = 0;
            s.sel_length = static_cast<int>(s.text.size());
            return false;
        case 3:  // Ctrl+C
            if (!selected.empty()) set_clipboard_text(selected);
            return false;
        case 24:  // Ctrl+X
            if (read_only || selected.empty()) return false;
            set_clipboard_text(selected);
            return replace(s, {}, max_length);
        case 22: {  // Ctrl+V: a single-line field takes the first line
            if (read_only) return false;
            auto clip = clipboard_text();
            if (!clip) return false;
            std::string_view t = *clip;
            t = t.substr(0, t.find_first_of("\r\n"));
            return replace(s, t, max_length);
        }
        case 8:  // Backspace
            if (read_only) return false;
            if (s.sel_length == 0) {
                if (s.sel_start == 0) return false;
                --s.sel_start;
                s.sel_length = 1;
            }
            return replace(s, {}, max_length);
        default:
            if (read_only || static_cast<unsigned char>(c) < 32) return false;
            return replace(s, std::string_view(&c, 1), max_length);
    }
}

}  // namespace ui::detail

// Scroll bars of our own two controls: a logical range of any length shown on a
// Win32 scroll bar (scaled when it passes the bar's 32-bit positions).
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/scroll_scale.h"

namespace ui::win32 {

// What a scroll bar shows, kept by its peer so that unchanged state costs no call
// into the system (a line replaced a thousand times a second must stay cheap).
struct ScrollBarState {
    std::uint64_t max_pos = ~std::uint64_t{0};
    std::uint64_t pos = 0;
    std::uint64_t page = 0;
};

// Shows the range 0..max_pos with pos and a page of page units on bar (SB_VERT or
// SB_HORZ); the bar stays visible but disabled when there is nothing to scroll.
void set_scroll_bar(HWND w, int bar, std::uint64_t max_pos, std::uint64_t pos, std::uint64_t page);
// The same, skipped when last already shows it.
void set_scroll_bar(HWND w, int bar, ScrollBarState& last, std::uint64_t max_pos, std::uint64_t pos,
                    std::uint64_t page);

// The position a WM_VSCROLL/WM_HSCROLL request asks for, from the current one
// (line and page steps, ends, thumb dragged or dropped).
std::uint64_t scroll_request(HWND w, int bar, int code, std::uint64_t max_pos, std::uint64_t pos, std::uint64_t page);

}  // namespace ui::win32

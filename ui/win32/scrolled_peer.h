// The shared Win32 peer of our own two scrolled controls (text view, draw
// grid): a client-edged window painted off screen, its scroll bars showing a
// logical range of any length (scaled past the bar's 32-bit positions), the
// wheel, focus repaints, coalesced invalidation and the context menu.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/scroll_scale.h"
#include "ui/win32/window_peer.h"

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

class ScrolledPeer : public WindowPeer {
 public:
    explicit ScrolledPeer(Control& c) : WindowPeer(c) {}

    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Many changes between two paints ask the system for one repaint, not one each.
    void invalidate(const Rect* area) override;

 protected:
    // Makes the window of our class `cls` with both scroll bars and a client
    // edge. Called by the subclass once its members exist, since the window's
    // first messages already reach the overrides below.
    void create_scrolled(const char* cls);
    // The client area (logical pixels) changed; the subclass tells its control.
    virtual void client_resized(Size size) = 0;
    // A scroll bar request (SB_* code) on SB_VERT or SB_HORZ.
    virtual void scroll(int bar, int code) = 0;
    // WM_GETDLGCODE's answer.
    virtual LRESULT dialog_code() const = 0;
    // Typed characters still pass the form's key preview (keyboard mode).
    bool filters_chars() const override { return true; }
    // Reads the client area and hands it to client_resized (WM_SIZE does this too).
    void report_size();

 private:
    bool all_invalid_ = false;
};

}  // namespace ui::win32

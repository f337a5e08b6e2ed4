// Shared plumbing of the Win32 backend: the module instance, DPI scaling,
// colours, cached fonts and brushes, and the HWND -> peer mapping.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "ui/color.h"
#include "ui/font.h"
#include "ui/geometry.h"

namespace ui {
class Control;
class Form;
}  // namespace ui

namespace ui::win32 {

class WindowPeer;

HINSTANCE instance();
// Registers comctl32's classes once (InitCommonControlsEx).
void init_common_controls();

// Logical pixels (96 DPI) to device pixels and back.
int dpi();
int scale(int v);
int unscale(int v);
RECT to_device(const Rect& r);
Rect from_device(const RECT& r);

COLORREF colorref(Color c);
// A solid brush of that colour, owned by the cache.
HBRUSH brush(Color c);
// A font for windows (device pixels) or for a mapped canvas (96 DPI units).
HFONT window_font(const Font& f);
HFONT canvas_font(const Font& f);

// Peers announce themselves, so that user data of foreign windows is never
// taken for a peer.
void register_peer(const WindowPeer* p, bool alive);
// The peer stored in a window's user data (nullptr for foreign windows).
WindowPeer* peer_of(HWND w);
// The form peer that owns a window (its root ancestor), or nullptr.
Form* form_of(HWND w);

// Runs an event dispatch from a window procedure: ordinary exceptions go to
// the application's error handler; a ProgramError is kept and rethrown by the
// message loop, since exceptions must not cross the system's frames.
void dispatch(const std::function<void()>& action);
void rethrow_pending();

// The hidden window that runs posted actions and timers.
HWND service_window();
// Runs the tick of the timer with this id, if it still lives (timer_win32.cpp).
void run_timer(UINT_PTR id);

}  // namespace ui::win32

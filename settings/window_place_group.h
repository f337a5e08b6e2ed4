// The WINDOW section: the main window's normal place and whether it was
// maximized, and how a saved place is fitted to the screen it comes back on.
#pragma once

#include "settings/profile_file.h"
#include "ui/geometry.h"

struct WindowPlace {
    ui::Rect bounds;  // the outer rectangle when not maximized, screen pixels
    bool maximized = false;
};

// left, top (clamped to -32768..32767), width, height (0..32767), maximized.
// 1 without a file, 2 when no place was saved (no width or height above 0;
// `out` left alone), else 0.
int LoadWindowPlace(const ProfileFile* file, WindowPlace& out);
// 1 without a file, else 0; a refused write throws ProfileWriteError.
int SaveWindowPlace(ProfileFile* file, const WindowPlace& in);

// The saved rectangle made fit for a work area: at least min_size, at most the
// area (never below min_size); moved inside when partly off it, centred in it
// when wholly off.
ui::Rect fit_window_place(const ui::Rect& saved, const ui::Rect& work_area, ui::Size min_size);

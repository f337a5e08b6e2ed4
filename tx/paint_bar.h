// The progress windows' bars (Send file, File transfer): a value in
// ten-thousandths drawn as a filled bar with its whole percentage centred on
// it, and the look the two windows share.
#pragma once

#include <string>

#include "ui/canvas.h"
#include "ui/form.h"
#include "ui/paint_box.h"

struct PaintBar {
    ui::PaintBox* box = nullptr;
    ui::Color color;
    int inset = 0;
    int value = 0;        // ten-thousandths, 0..10000
    int last_drawn = -1;  // -1: nothing drawn yet
};

// Stores the four, sets the value to 0 and repaints the box at once.
void bar_init(PaintBar& bar, ui::PaintBox& box, ui::Color color, int inset);
// Repaints at once when the value changed since the last repaint; true then.
bool bar_refresh(PaintBar& bar);
// Draws the bar on the box's canvas.
void bar_paint(const PaintBar& bar, ui::Canvas& canvas);

// A fixed-size window that stays on top over the main window's centre, in
// Tahoma, with a minimize box and double buffering.
void progress_window_look(ui::Form& form, const std::string& caption, int client_width, int client_height);

// A byte count with the unit 1024: "8191 B", "12.50 kB", "10.00 MB".
std::string size_text(double bytes);

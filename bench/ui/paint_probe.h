// Paints a control one screen at a time for the text view benchmark: on a
// recording canvas natively, through its real window (GDI) on Windows.
#pragma once

#include <memory>
#include <string>

#include "ui/form.h"

namespace bench {

class PaintProbe {
 public:
    // Shows the control in a form with a client area of width x height.
    PaintProbe(ui::Form& form, ui::Control& c, int width, int height);
    ~PaintProbe();
    // Milliseconds for one whole repaint.
    double paint_ms();

 private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The process's resident memory, as text.
std::string memory_text();

}  // namespace bench

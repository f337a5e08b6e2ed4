// Paint box: an area whose content is drawn by its on_paint handler each time
// the system needs it (invalidate() asks for that). Events: on_paint, plus the
// mouse events of Control.
#pragma once

#include "ui/control.h"

namespace ui {

class PaintBox : public Control {
 public:
    PaintBox(Control* parent, std::string name);
    std::function<void(Canvas&)> on_paint;
    void paint(Canvas& c) override
    {
        if (on_paint) on_paint(c);
    }
};

}  // namespace ui

// Paint box: an area whose content is drawn by its on_paint handler each time
// the system needs it (invalidate() asks for that). Events: on_paint, plus the
// mouse events of Control. A focusable paint box takes the focus on a click,
// so the wheel (which Windows sends to the focused window) reaches it.
#pragma once

#include "ui/control.h"

namespace ui {

class PaintBox : public Control {
 public:
    PaintBox(Control* parent, std::string name);
    std::function<void(Canvas&)> on_paint;
    bool focusable() const override { return focusable_; }
    void set_focusable(bool f) { focusable_ = f; }
    void paint(Canvas& c) override
    {
        if (on_paint) on_paint(c);
    }

 private:
    bool focusable_ = false;
};

}  // namespace ui

// Check box. set_checked() in code fires nothing; a user click (click()) first
// flips the state, then fires on_click, so the handler reads the new state.
#pragma once

#include "ui/control.h"

namespace ui {

class CheckBox : public Control {
 public:
    CheckBox(Control* parent, std::string name, std::string caption = {});
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }
    bool checked() const { return checked_; }
    void set_checked(bool c);

    void click() override;
    bool focusable() const override { return true; }

 private:
    bool checked_ = false;
};

}  // namespace ui

// Radio button. The radio buttons with the same parent form one group:
// checking one unchecks the others. set_checked() in code fires nothing; a
// user click checks it (the others in the group go off) and fires its on_click,
// but a click on an already checked button fires nothing, as in Windows.
// A group is one Tab stop (its checked button, or its first one while none the
// user can reach is checked); the arrow keys move the focus round the group and
// check the button they reach, firing its on_click.
#pragma once

#include "ui/control.h"

namespace ui {

class RadioButton : public Control {
 public:
    RadioButton(Control* parent, std::string name, std::string caption = {});
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }
    bool checked() const { return checked_; }
    void set_checked(bool c);

    void click() override;
    bool focusable() const override { return true; }
    // The button of this one's group that Tab stops at; nullptr when the user
    // can reach none of them.
    RadioButton* group_tab_stop();

 protected:
    bool handle_key_down(KeyEvent& e) override;

 private:
    bool checked_ = false;
};

}  // namespace ui

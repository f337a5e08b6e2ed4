// Push button. click() (user click, Enter/Space on it, a posted BM_CLICK)
// fires on_click and then hands modal_result to its form.
#pragma once

#include "ui/control.h"

namespace ui {

class Button : public Control {
 public:
    Button(Control* parent, std::string name, std::string caption = {});
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }
    // Enter in the form clicks the default button, Escape the cancel button.
    bool is_default() const { return default_; }
    void set_default(bool d);
    bool is_cancel() const { return cancel_; }
    void set_cancel(bool c) { cancel_ = c; }
    // Non-zero: after on_click, the form's modal result becomes this value.
    int modal_result() const { return modal_result_; }
    void set_modal_result(int r) { modal_result_ = r; }

    void click() override;
    bool focusable() const override { return true; }

 private:
    bool default_ = false;
    bool cancel_ = false;
    int modal_result_ = 0;
};

}  // namespace ui

// Up-down arrows, optionally joined to an Edit that shows the position.
// - set_position()/set_range() clamp and write the associate's text; they fire
//   nothing.
// - press(up) is the user clicking an arrow: it first takes the associate's
//   text as the position when it is a number, steps by increment within the
//   range (wrapping when wrap() is on), writes the associate's text, then
//   fires on_click with the arrow.
#pragma once

#include "ui/control.h"

namespace ui {

class Edit;
enum class UpDownButton : std::uint8_t { Up, Down };

class UpDown : public Control {
 public:
    UpDown(Control* parent, std::string name);

    int min() const { return min_; }
    int max() const { return max_; }
    void set_range(int min, int max);
    int position() const { return position_; }
    void set_position(int p);
    int increment() const { return increment_; }
    void set_increment(int i) { increment_ = i; }
    bool wrap() const { return wrap_; }
    void set_wrap(bool w) { wrap_ = w; }
    // The edit it sits beside and writes into; nullptr for none.
    Edit* associate() const { return associate_; }
    void set_associate(Edit* e);

    std::function<void(UpDownButton)> on_click_button;

    void press(UpDownButton b);

 private:
    void write_associate();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int increment_ = 1;
    bool wrap_ = false;
    Edit* associate_ = nullptr;
};

}  // namespace ui

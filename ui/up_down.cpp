// Up-down control: range, position, and the arrow clicks that step it.
#include "ui/up_down.h"

#include <algorithm>
#include <charconv>

#include "ui/edit.h"

namespace ui {

UpDown::UpDown(Control* parent, std::string name) : Control(parent, std::move(name), ControlKind::UpDown)
{
    set_tab_stop(false);
}

void UpDown::set_range(int min, int max)
{
    min_ = min;
    max_ = max;
    position_ = std::clamp(position_, std::min(min_, max_), std::max(min_, max_));
    sync(Prop::Position);
    write_associate();
}

void UpDown::set_position(int p)
{
    position_ = std::clamp(p, std::min(min_, max_), std::max(min_, max_));
    sync(Prop::Position);
    write_associate();
}

void UpDown::set_associate(Edit* e)
{
    associate_ = e;
    sync(Prop::Position);
    write_associate();
}

void UpDown::write_associate()
{
    if (associate_) associate_->set_text(std::to_string(position_));
}

void UpDown::press(UpDownButton b)
{
    if (!reachable()) return;
    int lo = std::min(min_, max_), hi = std::max(min_, max_);
    if (associate_) {
        const std::string& t = associate_->text();
        int v = 0;
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec == std::errc() && end == t.data() + t.size()) position_ = std::clamp(v, lo, hi);
    }
    // min > max reverses the arrows, as the system control does.
    int step = (b == UpDownButton::Up) == (min_ <= max_) ? increment_ : -increment_;
    long long next = static_cast<long long>(position_) + step;
    if (next > hi) next = wrap_ ? lo : hi;
    if (next < lo) next = wrap_ ? hi : lo;
    position_ = static_cast<int>(next);
    sync(Prop::Position);
    if (associate_) associate_->user_changed_text(std::to_string(position_));
    if (on_click_button) on_click_button(b);
}

}  // namespace ui

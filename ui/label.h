// Texts that the user does not edit: Label (transparent, no frame; may act as
// a link with on_mouse_enter/on_mouse_leave) and StaticText (optionally with a
// single sunken border and its own background, e.g. tool-tip colour).
// Both fire on_click and on_dbl_click (Control); setters fire nothing.
#pragma once

#include "ui/control.h"

namespace ui {

enum class Alignment : std::uint8_t { Left, Center, Right };

class Label : public Control {
 public:
    Label(Control* parent, std::string name, std::string caption = {});
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }
    Alignment alignment() const { return alignment_; }
    void set_alignment(Alignment a);
    // Grows/shrinks the width and height to the caption's text extent.
    bool auto_size() const { return auto_size_; }
    void set_auto_size(bool a);
    // Transparent: the parent's background shows through (default); otherwise
    // color() fills the label.
    bool transparent() const { return transparent_; }
    void set_transparent(bool t);

 private:
    Alignment alignment_ = Alignment::Left;
    bool auto_size_ = false;
    bool transparent_ = true;
};

enum class StaticBorder : std::uint8_t { None, Single, Sunken };

class StaticText : public Control {
 public:
    StaticText(Control* parent, std::string name, std::string caption = {});
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }
    StaticBorder border() const { return border_; }
    void set_border(StaticBorder b);
    Alignment alignment() const { return alignment_; }
    void set_alignment(Alignment a);

 private:
    StaticBorder border_ = StaticBorder::None;
    Alignment alignment_ = Alignment::Left;
};

}  // namespace ui

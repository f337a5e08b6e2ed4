// Tool bar: a strip (ToolBar, normally aligned to the top, framed) holding
// flat buttons with a glyph above the caption (ToolButton). Buttons are placed
// by their bounds and anchors like any control (left or right groups).
// - A plain tool button: click() fires on_click.
// - A toggle button (set_toggle(true)) stays down: click() flips down() first,
//   then fires on_click. set_down() in code fires nothing.
#pragma once

#include "ui/control.h"

namespace ui {

class ImageList;

class ToolBar : public Control {
 public:
    ToolBar(Control* parent, std::string name);
    bool framed() const { return framed_; }
    void set_framed(bool f);

 private:
    bool framed_ = true;
};

class ToolButton : public Control {
 public:
    ToolButton(Control* parent, std::string name, std::string caption = {});
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }
    // Glyph: image index in images(); -1 = none.
    ImageList* images() const { return images_; }
    void set_images(ImageList* l);
    int image_index() const { return image_index_; }
    void set_image_index(int i);
    bool flat() const { return flat_; }
    void set_flat(bool f);
    bool toggle() const { return toggle_; }
    void set_toggle(bool t) { toggle_ = t; }
    bool down() const { return down_; }
    void set_down(bool d);

    void click() override;

 private:
    ImageList* images_ = nullptr;
    int image_index_ = -1;
    bool flat_ = true;
    bool toggle_ = false;
    bool down_ = false;
};

}  // namespace ui

// Panel: a container with an optional raised or lowered bevel and a caption.
// Events: on_click (Control) when the user clicks its empty area.
#pragma once

#include "ui/control.h"

namespace ui {

enum class BevelCut : std::uint8_t { None, Lowered, Raised };

class Panel : public Control {
 public:
    Panel(Control* parent, std::string name);
    BevelCut bevel_outer() const { return bevel_outer_; }
    void set_bevel_outer(BevelCut b);
    BevelCut bevel_inner() const { return bevel_inner_; }
    void set_bevel_inner(BevelCut b);
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }
    Rect client_rect() const override;

 private:
    BevelCut bevel_outer_ = BevelCut::Raised;
    BevelCut bevel_inner_ = BevelCut::None;
};

}  // namespace ui

// Framed group with a caption. Children use the box's own coordinates, the
// caption row included, so check boxes and radio buttons may sit on the frame
// line in gaps left in the caption text (the backend keeps them above the
// frame). Radio buttons inside form one group.
#pragma once

#include "ui/control.h"

namespace ui {

class GroupBox : public Control {
 public:
    GroupBox(Control* parent, std::string name, std::string caption = {});
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }
    // Below the caption and inside the frame: where aligned children go.
    Rect client_rect() const override;
};

}  // namespace ui

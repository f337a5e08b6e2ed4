// Status bar with panels (text, width, alignment, bevel), aligned to the
// bottom of its form, with a size grip. Setters fire nothing; on_resize
// (Control) fires when the form's width changes the bar.
#pragma once

#include <vector>

#include "ui/control.h"
#include "ui/label.h"

namespace ui {

enum class PanelBevel : std::uint8_t { Lowered, None, Raised };

struct StatusPanel {
    std::string text;
    int width = 50;
    Alignment alignment = Alignment::Left;
    PanelBevel bevel = PanelBevel::Lowered;
};

class StatusBar : public Control {
 public:
    StatusBar(Control* parent, std::string name);

    int panel_count() const { return static_cast<int>(panels_.size()); }
    const StatusPanel& panel(int i) const { return panels_.at(i); }
    void set_panels(std::vector<StatusPanel> p);
    void set_panel_text(int i, std::string t);
    void set_panel_width(int i, int w);
    bool size_grip() const { return size_grip_; }
    void set_size_grip(bool g);

 private:
    std::vector<StatusPanel> panels_;
    bool size_grip_ = true;
};

}  // namespace ui

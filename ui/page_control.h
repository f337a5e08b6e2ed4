// Page control with tab pages. Each TabSheet is a child of the PageControl
// and fills its display area; only the active page is shown.
// - set_active_page_index() in code fires nothing.
// - select_tab() (the user clicks a tab) switches and fires on_change.
#pragma once

#include <vector>

#include "ui/control.h"

namespace ui {

class TabSheet;

class PageControl : public Control {
 public:
    PageControl(Control* parent, std::string name);

    int page_count() const { return static_cast<int>(pages_.size()); }
    TabSheet* page(int index) const;
    int active_page_index() const { return active_; }
    TabSheet* active_page() const { return page(active_); }
    void set_active_page_index(int i);
    bool multi_line() const { return multi_line_; }
    void set_multi_line(bool m);

    // The area the pages fill (own coordinates). The backend reports the real
    // one (it depends on the tab rows); until then a fixed tab height is used.
    Rect client_rect() const override;
    void set_display_rect(const Rect& r);

    std::function<void()> on_change;
    void select_tab(int index);
    bool focusable() const override { return true; }

 private:
    friend class TabSheet;
    void add_page(TabSheet* p);
    void remove_page(TabSheet* p);
    void place_pages();

    std::vector<TabSheet*> pages_;
    int active_ = -1;
    bool multi_line_ = false;
    Rect display_;
    bool display_known_ = false;
};

class TabSheet : public Control {
 public:
    TabSheet(PageControl& owner, std::string name, std::string caption);
    ~TabSheet() override;
    PageControl& page_control() const { return owner_; }
    int page_index() const;
    const std::string& caption() const { return text(); }
    void set_caption(std::string c) { set_text(std::move(c)); }

 private:
    PageControl& owner_;
};

}  // namespace ui

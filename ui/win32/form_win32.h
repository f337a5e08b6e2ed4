// The peer of a Form: a top-level window of class "OlvexForm" with its menu bar.
#pragma once

#include <vector>

#include "ui/form.h"
#include "ui/win32/menu_win32.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

class FormPeer : public WindowPeer {
 public:
    explicit FormPeer(Form& f);
    ~FormPeer() override;
    Form& form() const { return static_cast<Form&>(control()); }

    void sync(Prop what, int index) override;
    void set_focus() override;
    // Window size less client size, as apply_client_size makes it (logical pixels).
    Size frame() const;
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
    DWORD style() const;
    DWORD ex_style() const;
    void apply_client_size();
    void apply_window_state();
    void read_back_bounds();
    void place();
    void focus_active();
    void build_menu();
    void update_menu(int id);

    bool os_change_ = false;      // the system moved or sized us; do not echo it back
    std::vector<HWND> disabled_;  // forms disabled while this modal one shows
    OwnedMenu menu_bar_;          // the bar the window shows
};

}  // namespace ui::win32

// The peer of a CheckBox (check_box.h): a BUTTON showing our checked state.
#include "ui/check_box.h"
#include "ui/win32/button_win32.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

namespace {

class CheckBoxPeer : public ButtonClassPeer {
 public:
    explicit CheckBoxPeer(CheckBox& c) : ButtonClassPeer(c, BS_CHECKBOX), box_(c) {}

 protected:
    void sync_more(Prop what, int) override
    {
        if (what == Prop::All || what == Prop::Checked) show_checked(box_.checked());
    }

 private:
    CheckBox& box_;
};

}  // namespace

std::unique_ptr<Peer> make_check_box_peer(CheckBox& c)
{
    return std::make_unique<CheckBoxPeer>(c);
}

}  // namespace ui::win32

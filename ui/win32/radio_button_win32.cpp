// The peer of a RadioButton (radio_button.h): a BUTTON showing our checked
// state; the group's Tab stop and WS_GROUP marks come from WindowPeer::create.
#include "ui/radio_button.h"
#include "ui/win32/button_win32.h"
#include "ui/win32/peer_factory.h"

namespace ui::win32 {

namespace {

class RadioButtonPeer : public ButtonClassPeer {
 public:
    explicit RadioButtonPeer(RadioButton& r) : ButtonClassPeer(r, BS_RADIOBUTTON), radio_(r) {}

 protected:
    void sync_more(Prop what, int) override
    {
        if (what == Prop::All || what == Prop::Checked) show_checked(radio_.checked());
    }

 private:
    RadioButton& radio_;
};

}  // namespace

std::unique_ptr<Peer> make_radio_button_peer(RadioButton& r)
{
    return std::make_unique<RadioButtonPeer>(r);
}

}  // namespace ui::win32

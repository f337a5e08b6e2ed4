// The "Save to slot" dialog of the send-string window: which of the ten
// quick-send slots takes the current string, and an optional name for it.
#pragma once

#include <string>

#include "tx/quick_slots.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"

class TSlotForm : public ui::Form {
 public:
    explicit TSlotForm(ui::Form* owner);

    ui::Label Label1{this, "Label1", "Slot:"};
    ui::ComboBox CBslot{this, "CBslot", ui::ComboStyle::DropDownList};
    ui::Label Label2{this, "Label2", "Name:"};
    ui::Edit Ename{this, "Ename"};
    ui::Button BtnOk{this, "BtnOk", "OK"};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};

    // Shows the dialog on the first unused slot (slot 1 when all are used);
    // picking a slot fills in the name it has. The chosen slot (0-based) and
    // name, or -1 when cancelled.
    int choose(const QuickSlots& slots, std::string& name);

 private:
    const QuickSlots* slots_ = nullptr;
};

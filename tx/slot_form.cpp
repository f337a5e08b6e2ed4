// TSlotForm: a slot number and a name, OK or Cancel.
#include "tx/slot_form.h"

TSlotForm::TSlotForm(ui::Form* owner) : ui::Form("SlotForm", owner)
{
    set_caption("Save to slot");
    set_border_style(ui::BorderStyle::Dialog);
    set_border_icons({.system_menu = true, .minimize = false, .maximize = false});
    set_position(ui::Position::OwnerCenter);
    set_client_size(264, 96);
    Label1.set_bounds(8, 12, 40, 14);
    CBslot.set_bounds(52, 8, 60, 21);
    std::vector<std::string> numbers;
    for (int i = 1; i <= quick_slot_count; ++i) numbers.push_back(std::to_string(i));
    CBslot.set_items(std::move(numbers));
    CBslot.set_drop_down_count(quick_slot_count);
    Label2.set_bounds(8, 40, 40, 14);
    Ename.set_bounds(52, 36, 204, 21);
    BtnOk.set_bounds(100, 66, 75, 25);
    BtnCancel.set_bounds(181, 66, 75, 25);
    BtnOk.set_default(true);
    BtnOk.set_modal_result(ui::mr::Ok);
    BtnCancel.set_cancel(true);
    BtnCancel.set_modal_result(ui::mr::Cancel);
    CBslot.on_change = [this] {
        const int i = CBslot.item_index();
        if (slots_ && i >= 0) Ename.set_text((*slots_)[static_cast<std::size_t>(i)].name);
    };
}

int TSlotForm::choose(const QuickSlots& slots, std::string& name)
{
    slots_ = &slots;
    int first = 0;
    while (first < quick_slot_count && slots[static_cast<std::size_t>(first)].used) ++first;
    if (first == quick_slot_count) first = 0;
    CBslot.set_item_index(first);
    Ename.set_text(slots[static_cast<std::size_t>(first)].name);
    const int r = show_modal();
    slots_ = nullptr;
    if (r != ui::mr::Ok || CBslot.item_index() < 0) return -1;
    name = Ename.text();
    return CBslot.item_index();
}

// The quick-send items of the Tx menu.
#include "app/quick_send_commands.h"

#include <string>

#include "ui/services.h"

QuickSendCommands::QuickSendCommands(ui::Form& owner, SerialLink& link, MainMenuBar& menu,
                                     std::function<int()> line_break_mode)
    : owner_(owner), link_(link), menu_(menu), line_break_mode_(std::move(line_break_mode))
{
    const auto& items = menu_.MQuick.items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        items[static_cast<std::size_t>(i)]->on_click = [this, i] { MMquickClick(i); };
}

void QuickSendCommands::attach(TTXSForm& form)
{
    form_ = &form;
    form.on_slots_changed = [this] { refresh(); };
    refresh();
}

void QuickSendCommands::refresh()
{
    const auto& items = menu_.MQuick.items();
    for (int i = 0; i < quick_slot_count && i < static_cast<int>(items.size()); ++i) {
        const QuickSlot* slot = form_ ? &form_->slots[static_cast<std::size_t>(i)] : nullptr;
        ui::MenuItem& item = *items[static_cast<std::size_t>(i)];
        item.set_caption(slot ? quick_slot_caption(*slot) : "(empty)");
        item.set_enabled(link_.connected() && slot && slot->used);
    }
}

void QuickSendCommands::MMquickClick(int slot)
{
    if (!form_ || slot < 0 || slot >= quick_slot_count) return;
    std::string why;
    switch (send_quick_slot(link_, form_->slots[static_cast<std::size_t>(slot)], line_break_mode_(), why)) {
        case QuickSendResult::BadEscape:
            ui::message_box(why, "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, &owner_);
            break;
        case QuickSendResult::NoRoom:
            ui::message_box("Not enough space in tx FIFO!", "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok,
                            &owner_);
            break;
        default:
            break;
    }
}

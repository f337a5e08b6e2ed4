// Headless services: message boxes and file dialogs answered by the script,
// a log of shell opens, a scripted Shift key and the virtual clock.
#include "ui/application.h"
#include "ui/control.h"
#include "ui/file_dialog.h"
#include "ui/headless/world.h"
#include "ui/services.h"

namespace ui {

int message_box(std::string_view text, std::string_view caption, MsgIcon icon, MsgButtons buttons, Form*)
{
    auto& w = headless::World::instance();
    if (w.message_box_answers.empty())
        throw ProgramError("unexpected message box \"" + std::string(caption) + "\": " + std::string(text));
    int result = w.message_box_answers.front();
    w.message_box_answers.pop_front();
    w.message_boxes.push_back(headless::MessageBoxCall{std::string(text), std::string(caption), icon, buttons, result});
    if (w.while_message_box) {
        const headless::MessageBoxCall call = w.message_boxes.back();
        w.while_message_box(call);
    }
    return result;
}

Rect screen_work_area(const Rect&)
{
    return headless::World::instance().work_area;
}

std::uint32_t tick_count_ms()
{
    return static_cast<std::uint32_t>(headless::World::instance().now());
}

std::uint32_t local_time_of_day_ms()
{
    const auto& w = headless::World::instance();
    return static_cast<std::uint32_t>((w.time_of_day_at_zero + w.now()) % 86400000);
}

int popup_menu(Control& owner, Point at, const std::vector<PopupItem>& items)
{
    auto& w = headless::World::instance();
    int result = -1;
    if (!w.popup_answers.empty()) {
        const std::string want = std::move(w.popup_answers.front());
        w.popup_answers.pop_front();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].caption == want && items[i].enabled) result = static_cast<int>(i);
    }
    w.popups.push_back(headless::PopupCall{owner.name(), at, items, result});
    return result;
}

bool shell_open(std::string_view target, Form*)
{
    headless::World::instance().shell_opens.emplace_back(target);
    return true;
}

bool shift_down()
{
    return headless::World::instance().shift;
}

bool FileDialog::execute(Form*)
{
    auto& w = headless::World::instance();
    if (w.file_answers.empty()) throw ProgramError("unexpected file dialog " + name_ + " (filter \"" + filter + "\")");
    std::optional<std::string> answer = std::move(w.file_answers.front());
    w.file_answers.pop_front();
    w.file_dialogs.push_back(
        headless::FileDialogCall{kind_, name_, filter, initial_dir, file_name, answer.has_value()});
    if (!answer) return false;
    file_name = *answer;
    return true;
}

}  // namespace ui

// The headless backend's "operating system": virtual clock and its timers,
// scripted answers for modal things (dialogs, message boxes, file dialogs),
// clipboard, shell-open log and key state. Tests reach it through User.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/file_dialog.h"
#include "ui/services.h"

namespace ui {
class Form;
class Timer;
}  // namespace ui

namespace ui::headless {

struct MessageBoxCall {
    std::string text;
    std::string caption;
    MsgIcon icon;
    MsgButtons buttons;
    int result;
};

struct FileDialogCall {
    FileDialogKind kind;
    std::string dialog;  // the dialog's name (OD1, SD1)
    std::string filter;
    std::string initial_dir;
    std::string file_name;  // proposed name on entry
    bool accepted;
};

struct PopupCall {
    std::string owner;  // the control's name
    Point at;
    std::vector<PopupItem> items;
    int result;
};

struct ModalStep {
    std::string form;  // expected form name; empty = any
    std::function<void(Form&)> steps;
};

class World {
 public:
    static World& instance();
    // Forgets everything scripted and logged; the clock restarts at 0.
    void reset();

    // Virtual clock (milliseconds since reset).
    long long now() const { return now_; }
    // Moves the clock forward by ms, firing due timers in time order (equal
    // times in creation order) and running posted actions after each tick.
    void advance(long long ms);
    void timer_restarted(Timer& t);
    void timer_gone(Timer& t);
    // The next time a timer falls due, if any is running.
    std::optional<long long> next_due() const;

    // Scripts.
    std::deque<ModalStep> modal_steps;
    std::deque<int> message_box_answers;
    std::deque<std::optional<std::string>> file_answers;  // nullopt = cancel
    std::deque<std::string> popup_answers;                // caption to choose; "" = dismiss
    std::vector<Form*> modal_stack;
    // Runs while a message box shows, after its answer is taken: a real box runs
    // a modal loop, so timers fire under it; a test lets time pass here.
    std::function<void(const MessageBoxCall&)> while_message_box;

    // Logs and state.
    std::vector<MessageBoxCall> message_boxes;
    std::vector<FileDialogCall> file_dialogs;
    std::vector<std::string> shell_opens;
    std::vector<PopupCall> popups;
    bool shift = false;
    int modal_loops = 0;
    // The one monitor's work area.
    Rect work_area = default_work_area;
    static constexpr Rect default_work_area{0, 0, 1280, 984};
    // The local time of day when the virtual clock reads 0 (milliseconds after midnight).
    long long time_of_day_at_zero = 0;

 private:
    struct Entry {
        Timer* timer;
        long long due;  // -1: stopped
        long long seq;  // creation order, for ties
    };
    Entry* entry(Timer& t);

    long long now_ = 0;
    long long seq_ = 0;
    std::vector<Entry> timers_;
};

}  // namespace ui::headless

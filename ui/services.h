// Services the windows need from the system, each supplied by the backend:
// message boxes, clipboard text, shell open, the Shift key state and posted
// actions. Platform code below ui/ never shows anything; windows call these.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/geometry.h"

namespace ui {

class Button;
class Control;
class Form;

enum class MsgIcon : std::uint8_t { None, Error, Warning, Question, Information };
enum class MsgButtons : std::uint8_t { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
// Results use the mr:: values of form.h (1 Ok, 2 Cancel, 6 Yes, 7 No, ...).

// A modal message box (MessageBoxA): returns the mr:: code of the button.
// owner nullptr: the active form.
int message_box(std::string_view text, std::string_view caption, MsgIcon icon = MsgIcon::None,
                MsgButtons buttons = MsgButtons::Ok, Form* owner = nullptr);

// Clipboard text (CF_TEXT, and CF_UNICODETEXT when given). set returns false
// when the clipboard was busy.
bool set_clipboard_text(std::string_view text, std::optional<std::u16string_view> unicode = std::nullopt);
std::optional<std::string> clipboard_text();
std::optional<std::u16string> clipboard_unicode_text();

// ShellExecute "open" on a file, mailto: or http(s) address. false on failure.
bool shell_open(std::string_view target, Form* owner = nullptr);

// A pop-up menu of plain items at a point of a control's client area
// (TrackPopupMenu): the chosen item's index, or -1 when it was dismissed.
struct PopupItem {
    std::string caption;
    bool enabled = true;
};
int popup_menu(Control& owner, Point at, const std::vector<PopupItem>& items);

// Milliseconds since the system started (GetTickCount), for rates and
// durations. Headless it is the test world's virtual clock, which also drives
// its timers, so figures are reproducible.
std::uint32_t tick_count_ms();

// The local time of day in milliseconds after midnight (GetLocalTime), for
// time stamps. Headless it follows the virtual clock from a scripted start.
std::uint32_t local_time_of_day_ms();

// The work area (the screen less the task bar) of the monitor nearest to a
// rectangle, in screen coordinates. Headless it is the test world's screen.
Rect screen_work_area(const Rect& around);

// Whether the Shift key is down now (GetKeyState).
bool shift_down();

// Calls `handler` on the window thread whenever the system reports devices
// arriving, leaving or changing (a USB serial adapter plugged or pulled); a
// burst of reports gives a burst of calls. nullptr stops the calls.
void watch_device_changes(std::function<void()> handler);

// Runs action after the current handler (Application::post).
void post(std::function<void()> action);
// Posts a click of the button (BM_CLICK): runs button.click() later.
void post_click(Button& button);

}  // namespace ui

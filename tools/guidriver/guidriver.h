// Drives our windows from outside their process, as a user would: finds windows
// and controls, chooses menu items, clicks, types, reads texts, answers dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace guidriver {

// Why the last call failed, in words for a test's failure message.
const std::string& last_error();

// Polls cond every 20 ms until it holds or timeout_ms has passed.
bool wait_until(const std::function<bool()>& cond, int timeout_ms);

// A visible top-level window whose caption is exactly `caption`; with pid != 0
// only that process's windows. Waits up to timeout_ms; nullptr when none.
HWND find_window(std::string_view caption, int timeout_ms = 5000, DWORD pid = 0);
// True once no visible top-level window has that caption.
bool wait_window_gone(std::string_view caption, int timeout_ms = 5000, DWORD pid = 0);

// A child control of `top` named by `selector`:
//   "id:1003"        its control id
//   "class:Edit:2"   the second control of that window class (1-based, creation order)
//   "after:Baud"     the first control created after the one whose text is "Baud"
//   anything else    the control whose text is that, '&' markers ignored
// Class names compare case-insensitively. nullptr when none.
HWND find_control(HWND top, std::string_view selector);

struct ControlInfo {
    HWND hwnd;
    std::string class_name;
    int id;
    std::string text;
    RECT rect;  // in screen coordinates
    bool visible;
    bool enabled;
};
std::vector<ControlInfo> list_controls(HWND top);

// WM_GETTEXTLENGTH/WM_GETTEXT across processes (our text view answers both).
std::string text_of(HWND control);
bool set_text(HWND control, std::string_view text);
// One panel of a status bar (SB_GETTEXT through a buffer in the target process),
// without the leading tabs that align it.
std::string status_text(HWND status_bar, int panel);
int status_panel_count(HWND status_bar);
// Button state: BST_CHECKED, BST_UNCHECKED or BST_INDETERMINATE.
int check_state(HWND button);
// Combo box and page control selections (-1 when none).
int combo_index(HWND combo);
int tab_index(HWND tabs);
bool select_tab(HWND tabs, int index);

// Clicks a button (posted BM_CLICK, so a modal dialog it opens does not block us).
bool click(HWND button);
bool click_button(HWND top, std::string_view caption);
// Clicks a tool bar button by its caption with a real mouse press and release.
bool click_tool(HWND top, std::string_view caption);
// Tool bar button state: checked (down) or not; -1 when there is no such button.
int tool_checked(HWND top, std::string_view caption);
// A left click at a point of a control's client area (posted mouse messages),
// e.g. on an up-down control's arrows.
bool click_at(HWND control, int x, int y);
// Selects a combo box item by index as a user does (CBN_SELCHANGE follows).
bool choose_combo(HWND combo, int index);

// A menu path's captions: "File > Exit" (split at '>', blanks around each part
// dropped) or "File/Exit" (split at '/'); '&' marks are left for the caller.
std::vector<std::string_view> menu_path_parts(std::string_view path);
// A menu item by caption path ("File/Connect" or "&Port > Connect"), '&' marks
// and accelerator text ignored on both sides.
struct MenuItem {
    bool found = false;
    unsigned id = 0;
    bool enabled = false;
    bool checked = false;
    bool radio = false;
    std::string caption;      // as stored, '&' included
    std::string accelerator;  // the text after the tab, "Alt+C"
};
MenuItem menu_item(HWND top, std::string_view path);
// Chooses an enabled item: posts WM_COMMAND as the menu would.
bool choose_menu(HWND top, std::string_view path);

// The control that has the keyboard focus in top's thread.
HWND focused_control(HWND top);
// Moves the focus to a control of another process's window.
bool focus(HWND control);
// Posts WM_CHAR for each character to the focused control (or to `to`).
bool type_text(HWND top, std::string_view text, HWND to = nullptr);
// Real key strokes through the input queue, so accelerators and key state work:
// "Ctrl+Alt+S", "Shift+Del", "F1", "Alt+C", "Enter". top is brought to front.
bool press_keys(HWND top, std::string_view chord);

// Message boxes: a dialog with that caption; its text; answering by a button.
std::string message_box_text(HWND box);
bool answer_message_box(std::string_view caption, std::string_view button, int timeout_ms = 5000);

// A common open/save dialog with that caption: types the name and accepts it.
bool fill_file_dialog(std::string_view caption, std::string_view path, int timeout_ms = 5000);

// Starts a program (cmdline quoted as needed) and waits for its input idle.
struct Process {
    HANDLE process = nullptr;
    DWORD pid = 0;
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& o) noexcept : process(o.process), pid(o.pid) { o.process = nullptr; }
    ~Process();
    // Exit code when it has ended within timeout_ms, else -1.
    int wait(int timeout_ms);
    void kill();
};
bool start(Process& out, const std::string& exe, const std::string& args = {});
// Folder of the running exe, with a trailing backslash.
std::string exe_folder();

}  // namespace guidriver

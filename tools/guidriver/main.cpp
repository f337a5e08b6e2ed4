// guidriver.exe: one action on a running program's window per call, for shell
// scripts; exit 0 on success, 1 with the reason on stderr, 2 for bad usage.
#include "guidriver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace gd = guidriver;

namespace {

const char usage[] =
    "usage: guidriver COMMAND ARGS...  (WINDOW is a top-level caption)\n"
    "  find WINDOW [TIMEOUT_MS]        wait until the window is shown\n"
    "  gone WINDOW [TIMEOUT_MS]        wait until it is no longer shown\n"
    "  list WINDOW                     print every control: class, id, text\n"
    "  text WINDOW CONTROL             print a control's text\n"
    "  wait-text WINDOW CONTROL TEXT [TIMEOUT_MS]\n"
    "  status WINDOW PANEL             print a status bar panel's text\n"
    "  check WINDOW CONTROL            print a button's check state (0, 1, 2)\n"
    "  click WINDOW BUTTON             click a button\n"
    "  tool WINDOW BUTTON              click a tool bar button\n"
    "  tab WINDOW INDEX                click a page control's tab\n"
    "  menu WINDOW PATH                choose a menu item: File/Connect or \"File > Connect\"\n"
    "  menu-state WINDOW PATH          print: enabled checked radio accelerator\n"
    "  focus WINDOW CONTROL            give a control the focus\n"
    "  type WINDOW TEXT [CONTROL]      type characters into the focused control\n"
    "  keys WINDOW CHORD               press keys, e.g. Ctrl+Alt+S, Shift+Del, F1\n"
    "  msgbox-text CAPTION             print a message box's text\n"
    "  msgbox CAPTION BUTTON           answer a message box\n"
    "  file CAPTION PATH               fill a file dialog's name and accept it\n"
    "CONTROL: id:N | class:NAME[:N] | after:TEXT | TEXT\n";

int timeout_arg(int argc, char** argv, int i)
{
    return argc > i ? std::atoi(argv[i]) : 5000;
}

int failed()
{
    std::fprintf(stderr, "guidriver: %s\n", gd::last_error().c_str());
    return 1;
}

HWND control(HWND top, const char* selector)
{
    return top ? gd::find_control(top, selector) : nullptr;
}

int run(int argc, char** argv)
{
    std::string cmd = argv[1];
    auto need = [&](int n) { return argc >= n + 2; };
    if (cmd == "find" && need(1)) return gd::find_window(argv[2], timeout_arg(argc, argv, 3)) ? 0 : failed();
    if (cmd == "gone" && need(1)) return gd::wait_window_gone(argv[2], timeout_arg(argc, argv, 3)) ? 0 : failed();
    if (cmd == "msgbox" && need(2)) return gd::answer_message_box(argv[2], argv[3]) ? 0 : failed();
    if (cmd == "file" && need(2)) return gd::fill_file_dialog(argv[2], argv[3]) ? 0 : failed();
    if (!need(1)) return -1;
    HWND top = gd::find_window(argv[2]);
    if (!top) return failed();
    if (cmd == "list") {
        for (const auto& c : gd::list_controls(top))
            std::printf("%-20s id=%-6d %s%s \"%s\"\n", c.class_name.c_str(), c.id, c.visible ? "" : "(hidden) ",
                        c.enabled ? "" : "(disabled) ", c.text.c_str());
        return 0;
    }
    if (cmd == "msgbox-text") {
        std::printf("%s\n", gd::message_box_text(top).c_str());
        return 0;
    }
    if (!need(2)) return -1;
    const char* arg = argv[3];
    if (cmd == "menu") return gd::choose_menu(top, arg) ? 0 : failed();
    if (cmd == "menu-state") {
        auto m = gd::menu_item(top, arg);
        if (!m.found) return failed();
        std::printf("%s %s %s %s\n", m.enabled ? "enabled" : "disabled", m.checked ? "checked" : "unchecked",
                    m.radio ? "radio" : "plain", m.accelerator.c_str());
        return 0;
    }
    if (cmd == "tool") return gd::click_tool(top, arg) ? 0 : failed();
    if (cmd == "tab") {
        HWND tabs = gd::find_control(top, "class:SysTabControl32");
        return tabs && gd::select_tab(tabs, std::atoi(arg)) ? 0 : failed();
    }
    if (cmd == "keys") return gd::press_keys(top, arg) ? 0 : failed();
    if (cmd == "type") {
        HWND to = argc > 4 ? control(top, argv[4]) : nullptr;
        if (argc > 4 && !to) return failed();
        return gd::type_text(top, arg, to) ? 0 : failed();
    }
    if (cmd == "status") {
        HWND bar = gd::find_control(top, "class:msctls_statusbar32");
        if (!bar) return failed();
        std::printf("%s\n", gd::status_text(bar, std::atoi(arg)).c_str());
        return 0;
    }
    HWND c = control(top, arg);
    if (!c) return failed();
    if (cmd == "text") return std::printf("%s\n", gd::text_of(c).c_str()), 0;
    if (cmd == "check") return std::printf("%d\n", gd::check_state(c)), 0;
    if (cmd == "click") return gd::click(c) ? 0 : failed();
    if (cmd == "focus") return gd::focus(c) ? 0 : failed();
    if (cmd == "wait-text" && need(3)) {
        std::string want = argv[4];
        return gd::wait_until([&] { return gd::text_of(c) == want; }, timeout_arg(argc, argv, 5))
                   ? 0
                   : (std::fprintf(stderr, "guidriver: text is \"%s\"\n", gd::text_of(c).c_str()), 1);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")) {
        std::fputs(usage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    int rc = run(argc, argv);
    if (rc < 0) {
        std::fputs(usage, stderr);
        return 2;
    }
    return rc;
}

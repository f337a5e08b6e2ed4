// Acting on another process's windows: clicks, menus, typing, key strokes,
// message boxes and file dialogs.
#include "guidriver.h"
#include "menu_dump.h"
#include "remote.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace guidriver {

namespace {

void post_click_at(HWND w, const RECT& r)
{
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(w, WM_MOUSEMOVE, 0, at);
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(w, WM_LBUTTONUP, 0, at);
}

struct ToolButton {
    HWND bar = nullptr;
    int index = -1;
    TBBUTTON button{};
};

ToolButton find_tool(HWND top, std::string_view caption)
{
    std::string want = strip_mnemonic(caption);
    for (const auto& c : list_controls(top)) {
        if (c.class_name != TOOLBARCLASSNAMEA) continue;
        Remote remote(c.hwnd);
        RemoteBuffer buf(remote, sizeof(TBBUTTON) + 512);
        if (!buf) continue;
        int count = static_cast<int>(SendMessageA(c.hwnd, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            ToolButton t{c.hwnd, i, {}};
            if (!SendMessageA(c.hwnd, TB_GETBUTTON, i, buf.lparam()) || !buf.read(&t.button, sizeof t.button)) continue;
            if (t.button.fsStyle & BTNS_SEP) continue;
            char text[512] = {};
            LRESULT n = SendMessageA(c.hwnd, TB_GETBUTTONTEXTA, t.button.idCommand, buf.lparam());
            if (n <= 0 || n >= static_cast<LRESULT>(sizeof text) || !buf.read(text, n + 1)) continue;
            if (strip_mnemonic(text) == want) return t;
        }
    }
    fail("no tool button \"" + std::string(caption) + "\"");
    return {};
}

// Top-level dialogs (message boxes, file dialogs) by caption.
struct FindDialog {
    std::string_view caption;
    HWND found = nullptr;
};

BOOL CALLBACK find_dialog_proc(HWND w, LPARAM lp)
{
    auto& f = *reinterpret_cast<FindDialog*>(lp);
    char cls[64] = {}, text[512] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (!IsWindowVisible(w) || std::strcmp(cls, "#32770") != 0) return TRUE;
    GetWindowTextA(w, text, sizeof text);
    if (f.caption != text) return TRUE;
    f.found = w;
    return FALSE;
}

HWND find_dialog(std::string_view caption, int timeout_ms)
{
    FindDialog f{caption};
    wait_until([&] { return EnumWindows(find_dialog_proc, reinterpret_cast<LPARAM>(&f)), f.found != nullptr; },
               timeout_ms);
    if (!f.found) fail("no dialog \"" + std::string(caption) + "\"");
    return f.found;
}

// The menu tree as the hook DLL writes it inside the target process.
std::string dump_menu(HWND top)
{
    static HMODULE hook_dll = LoadLibraryA((exe_folder() + "guidriver_hook.dll").c_str());
    if (!hook_dll) {
        fail("guidriver_hook.dll is not next to " + exe_folder());
        return {};
    }
    auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hook_dll, "guidriver_call_wnd_proc")));
    char name[64];
    std::snprintf(name, sizeof name, guidriver_menu_mapping_format, static_cast<unsigned long>(GetCurrentProcessId()));
    HANDLE map = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    static_cast<DWORD>(guidriver_menu_mapping_size), name);
    if (!proc || !map) {
        if (map) CloseHandle(map);
        fail("cannot prepare the menu hook");
        return {};
    }
    auto* view = static_cast<char*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, guidriver_menu_mapping_size));
    std::string out;
    if (view) {
        view[0] = 0;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, proc, hook_dll, GetWindowThreadProcessId(top, nullptr));
        if (hook) {
            DWORD_PTR r = 0;
            SendMessageTimeoutA(top, RegisterWindowMessageA(guidriver_menu_message), GetCurrentProcessId(), 0,
                                SMTO_ABORTIFHUNG, 5000, &r);
            UnhookWindowsHookEx(hook);
        }
        view[guidriver_menu_mapping_size - 1] = 0;
        out = view;
        UnmapViewOfFile(view);
    }
    CloseHandle(map);
    if (out.rfind("ok\n", 0) != 0) {
        fail("the menu hook did not answer");
        return {};
    }
    return out.substr(3);
}

std::string caption_part(const std::string& s)
{
    return strip_mnemonic(s.substr(0, s.find('\t')));
}

struct Chord {
    std::vector<WORD> modifiers;
    WORD key = 0;
};

bool parse_chord(std::string_view chord, Chord& out)
{
    static const struct {
        const char* name;
        WORD vk;
    } named[] = {{"Del", VK_DELETE},   {"Delete", VK_DELETE}, {"Ins", VK_INSERT},    {"Insert", VK_INSERT},
                 {"Enter", VK_RETURN}, {"Return", VK_RETURN}, {"Esc", VK_ESCAPE},    {"Escape", VK_ESCAPE},
                 {"Tab", VK_TAB},      {"Space", VK_SPACE},   {"Home", VK_HOME},     {"End", VK_END},
                 {"PgUp", VK_PRIOR},   {"PgDn", VK_NEXT},     {"Up", VK_UP},         {"Down", VK_DOWN},
                 {"Left", VK_LEFT},    {"Right", VK_RIGHT},   {"Backspace", VK_BACK}};
    std::string s(chord);
    size_t pos = 0;
    for (;;) {
        size_t plus = s.find('+', pos);
        if (plus == pos) plus = s.find('+', pos + 1);  // "Ctrl++" names the plus key
        std::string part = s.substr(pos, plus == std::string::npos ? std::string::npos : plus - pos);
        bool last = plus == std::string::npos;
        WORD vk = 0;
        if (part == "Ctrl")
            vk = VK_CONTROL;
        else if (part == "Alt")
            vk = VK_MENU;
        else if (part == "Shift")
            vk = VK_SHIFT;
        else if (part.size() == 1)
            vk = LOBYTE(VkKeyScanA(part[0]));
        else if (part.size() >= 2 && part[0] == 'F' && std::isdigit(static_cast<unsigned char>(part[1])))
            vk = static_cast<WORD>(VK_F1 + std::atoi(part.c_str() + 1) - 1);
        else
            for (const auto& n : named)
                if (part == n.name) vk = n.vk;
        if (!vk) {
            fail("unknown key \"" + part + "\"");
            return false;
        }
        if (last) {
            out.key = vk;
            return true;
        }
        out.modifiers.push_back(vk);
        pos = plus + 1;
    }
}

INPUT key_input(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_DELETE || vk == VK_INSERT || vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT ||
        (vk >= VK_LEFT && vk <= VK_DOWN))
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return in;
}

}  // namespace

bool click(HWND button)
{
    if (!button || !IsWindow(button)) {
        fail("no button to click");
        return false;
    }
    return PostMessageA(button, BM_CLICK, 0, 0) != 0;
}

bool click_button(HWND top, std::string_view caption)
{
    HWND b = find_control(top, caption);
    return b && click(b);
}

bool click_at(HWND control, int x, int y)
{
    if (!control || !IsWindow(control)) {
        fail("no control to click");
        return false;
    }
    post_click_at(control, RECT{x, y, x, y});
    return true;
}

bool click_tool(HWND top, std::string_view caption)
{
    ToolButton t = find_tool(top, caption);
    if (!t.bar) return false;
    Remote remote(t.bar);
    RemoteBuffer buf(remote, sizeof(RECT));
    RECT r{};
    if (!SendMessageA(t.bar, TB_GETITEMRECT, t.index, buf.lparam()) || !buf.read(&r, sizeof r)) {
        fail("no rectangle for tool button \"" + std::string(caption) + "\"");
        return false;
    }
    post_click_at(t.bar, r);
    return true;
}

int tool_checked(HWND top, std::string_view caption)
{
    ToolButton t = find_tool(top, caption);
    if (!t.bar) return -1;
    return SendMessageA(t.bar, TB_ISBUTTONCHECKED, t.button.idCommand, 0) ? 1 : 0;
}

bool choose_combo(HWND combo, int index)
{
    if (SendMessageA(combo, CB_SETCURSEL, index, 0) != index) {
        fail("no combo item " + std::to_string(index));
        return false;
    }
    return PostMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(combo)) != 0;
}

bool select_tab(HWND tabs, int index)
{
    Remote remote(tabs);
    RemoteBuffer buf(remote, sizeof(RECT));
    RECT r{};
    if (!SendMessageA(tabs, TCM_GETITEMRECT, index, buf.lparam()) || !buf.read(&r, sizeof r)) {
        fail("no tab " + std::to_string(index));
        return false;
    }
    post_click_at(tabs, r);
    return true;
}

namespace {

// Menu texts are in the ANSI code page; a test may spell a caption in UTF-8
// ("Capture to file…"). Valid UTF-8 with non-ASCII characters is converted;
// anything else (plain ASCII, ANSI bytes already) stays as given.
std::string ansi_from_utf8(const std::string& s)
{
    bool ascii = true;
    for (unsigned char c : s) ascii = ascii && c < 0x80;
    if (ascii) return s;
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), int(s.size()), nullptr, 0);
    if (n <= 0) return s;
    std::wstring wide(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), wide.data(), n);
    BOOL lossy = FALSE;
    const int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, &lossy);
    if (m <= 0 || lossy) return s;
    std::string out(std::size_t(m), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}

}  // namespace

std::vector<std::string_view> menu_path_parts(std::string_view path)
{
    // "File > Exit" splits at '>' alone, so a caption may hold a '/' ("CR+LF (DOS/WIN)").
    const char separator = path.find('>') != std::string_view::npos ? '>' : '/';
    std::vector<std::string_view> parts;
    for (size_t pos = 0;;) {
        const size_t cut = path.find(separator, pos);
        std::string_view part = path.substr(pos, cut == std::string_view::npos ? path.npos : cut - pos);
        if (separator == '>') {
            part.remove_prefix(std::min(part.size(), part.find_first_not_of(' ')));
            part.remove_suffix(part.size() - (part.find_last_not_of(' ') + 1));
        }
        parts.push_back(part);
        if (cut == std::string_view::npos) return parts;
        pos = cut + 1;
    }
}

MenuItem menu_item(HWND top, std::string_view path)
{
    std::string dump = dump_menu(top);
    std::vector<std::string> want;
    for (std::string_view part : menu_path_parts(path)) want.push_back(ansi_from_utf8(strip_mnemonic(part)));
    // Walks the depth-tagged lines, keeping the caption of each open level.
    std::vector<std::string> open;
    std::istringstream lines(dump);
    std::string line;
    while (std::getline(lines, line)) {
        int depth = 0;
        unsigned id = 0;
        char flags[8] = {};
        int used = 0;
        if (std::sscanf(line.c_str(), "%d\t%7s\t%u\t%n", &depth, flags, &id, &used) < 3) continue;
        std::string text = line.substr(used);
        open.resize(depth);
        open.push_back(caption_part(text));
        if (open == want) {
            MenuItem m;
            m.found = true;
            m.id = id;
            m.enabled = flags[1] == 'E';
            m.checked = flags[2] == 'C';
            m.radio = flags[3] == 'R';
            size_t tab = text.find('\t');
            m.caption = text.substr(0, tab);
            if (tab != std::string::npos) m.accelerator = text.substr(tab + 1);
            return m;
        }
    }
    if (!dump.empty()) fail("no menu item \"" + std::string(path) + "\"");
    return {};
}

bool choose_menu(HWND top, std::string_view path)
{
    MenuItem m = menu_item(top, path);
    if (!m.found) return false;
    if (!m.enabled) {
        fail("menu item \"" + std::string(path) + "\" is disabled");
        return false;
    }
    return PostMessageA(top, WM_COMMAND, MAKEWPARAM(m.id, 0), 0) != 0;
}

bool type_text(HWND top, std::string_view text, HWND to)
{
    HWND target = to ? to : focused_control(top);
    if (!target) {
        fail("no control has the focus");
        return false;
    }
    for (char c : text) PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
    return true;
}

bool press_keys(HWND top, std::string_view chord)
{
    Chord c;
    if (!parse_chord(chord, c)) return false;
    SetForegroundWindow(top);
    if (!wait_until([&] { return GetForegroundWindow() == top; }, 2000)) {
        fail("cannot bring the window to the front");
        return false;
    }
    std::vector<INPUT> seq;
    for (WORD m : c.modifiers) seq.push_back(key_input(m, false));
    seq.push_back(key_input(c.key, false));
    seq.push_back(key_input(c.key, true));
    for (auto it = c.modifiers.rbegin(); it != c.modifiers.rend(); ++it) seq.push_back(key_input(*it, true));
    if (SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT)) != seq.size()) {
        fail("SendInput failed");
        return false;
    }
    return true;
}

std::string message_box_text(HWND box)
{
    std::string out;
    for (const auto& c : list_controls(box)) {
        if (c.class_name != "Static" || c.text.empty()) continue;
        if ((GetWindowLongA(c.hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        if (!out.empty()) out += '\n';
        out += c.text;
    }
    return out;
}

bool answer_message_box(std::string_view caption, std::string_view button, int timeout_ms)
{
    HWND box = find_dialog(caption, timeout_ms);
    if (!box) return false;
    HWND b = find_control(box, button);
    if (!b || !click(b)) return false;
    if (!wait_until([&] { return !IsWindow(box); }, timeout_ms)) {
        fail("message box \"" + std::string(caption) + "\" did not close");
        return false;
    }
    return true;
}

bool fill_file_dialog(std::string_view caption, std::string_view path, int timeout_ms)
{
    HWND dlg = find_dialog(caption, timeout_ms);
    if (!dlg) return false;
    HWND name = GetDlgItem(dlg, 0x47C);        // cmb13: the Explorer-style name box
    if (!name) name = GetDlgItem(dlg, 0x480);  // edt1: the old-style one
    if (!name) {
        fail("the file dialog has no name box");
        return false;
    }
    if (!set_text(name, path) || !click(GetDlgItem(dlg, IDOK))) return false;
    if (!wait_until([&] { return !IsWindow(dlg); }, timeout_ms)) {
        fail("file dialog \"" + std::string(caption) + "\" did not close");
        return false;
    }
    return true;
}

}  // namespace guidriver

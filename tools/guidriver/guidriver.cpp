// Finding windows and controls of another process and reading their state.
#include "guidriver.h"
#include "remote.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace guidriver {

namespace {
std::string g_error;

bool equal_nocase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

struct FindTop {
    std::string_view caption;
    DWORD pid;
    HWND found = nullptr;
};

BOOL CALLBACK find_top_proc(HWND w, LPARAM lp)
{
    auto& f = *reinterpret_cast<FindTop*>(lp);
    if (!IsWindowVisible(w)) return TRUE;
    if (f.pid) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != f.pid) return TRUE;
    }
    char text[512];
    int n = GetWindowTextA(w, text, sizeof text);
    if (std::string_view(text, n > 0 ? n : 0) == f.caption) {
        f.found = w;
        return FALSE;
    }
    return TRUE;
}

HWND find_top_now(std::string_view caption, DWORD pid)
{
    FindTop f{caption, pid};
    EnumWindows(find_top_proc, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

BOOL CALLBACK collect_proc(HWND w, LPARAM lp)
{
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
    return TRUE;
}
}  // namespace

const std::string& last_error()
{
    return g_error;
}
void fail(std::string why)
{
    g_error = std::move(why);
}

std::string strip_mnemonic(std::string_view s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += s[i];
    }
    return out;
}

bool wait_until(const std::function<bool()>& cond, int timeout_ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (static_cast<int>(GetTickCount() - start) >= timeout_ms) return false;
        Sleep(20);
    }
}

HWND find_window(std::string_view caption, int timeout_ms, DWORD pid)
{
    HWND found = nullptr;
    wait_until([&] { return (found = find_top_now(caption, pid)) != nullptr; }, timeout_ms);
    if (!found) fail("no window \"" + std::string(caption) + "\"");
    return found;
}

bool wait_window_gone(std::string_view caption, int timeout_ms, DWORD pid)
{
    bool gone = wait_until([&] { return find_top_now(caption, pid) == nullptr; }, timeout_ms);
    if (!gone) fail("window \"" + std::string(caption) + "\" is still there");
    return gone;
}

std::string text_of(HWND control)
{
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len)) return {};
    std::string text(len + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &got);
    text.resize(std::min<size_t>(got, len));
    return text;
}

bool set_text(HWND control, std::string_view text)
{
    std::string s(text);
    DWORD_PTR r = 0;
    return SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str()), SMTO_ABORTIFHUNG, 5000,
                               &r) != 0;
}

std::vector<ControlInfo> list_controls(HWND top)
{
    std::vector<HWND> all;
    EnumChildWindows(top, collect_proc, reinterpret_cast<LPARAM>(&all));
    std::vector<ControlInfo> out;
    for (HWND w : all) {
        ControlInfo c{};
        c.hwnd = w;
        char cls[128] = {};
        GetClassNameA(w, cls, sizeof cls);
        c.class_name = cls;
        c.id = GetDlgCtrlID(w);
        c.text = text_of(w);
        GetWindowRect(w, &c.rect);
        c.visible = IsWindowVisible(w) != 0;
        c.enabled = IsWindowEnabled(w) != 0;
        out.push_back(std::move(c));
    }
    return out;
}

HWND find_control(HWND top, std::string_view selector)
{
    auto controls = list_controls(top);
    std::vector<size_t> hits;
    auto pick = [&]() -> HWND {
        for (size_t i : hits)
            if (controls[i].visible) return controls[i].hwnd;
        return hits.empty() ? nullptr : controls[hits.front()].hwnd;
    };
    if (selector.rfind("id:", 0) == 0) {
        int id = std::atoi(std::string(selector.substr(3)).c_str());
        for (size_t i = 0; i < controls.size(); ++i)
            if (controls[i].id == id) hits.push_back(i);
    } else if (selector.rfind("class:", 0) == 0) {
        std::string_view rest = selector.substr(6);
        int nth = 1;
        if (auto colon = rest.rfind(':'); colon != std::string_view::npos) {
            nth = std::atoi(std::string(rest.substr(colon + 1)).c_str());
            rest = rest.substr(0, colon);
        }
        for (size_t i = 0; i < controls.size(); ++i)
            if (equal_nocase(controls[i].class_name, rest) && --nth == 0) return controls[i].hwnd;
    } else if (selector.rfind("after:", 0) == 0) {
        std::string want = strip_mnemonic(selector.substr(6));
        for (size_t i = 0; i + 1 < controls.size(); ++i)
            if (strip_mnemonic(controls[i].text) == want) hits.push_back(i + 1);
    } else {
        std::string want = strip_mnemonic(selector);
        for (size_t i = 0; i < controls.size(); ++i)
            if (strip_mnemonic(controls[i].text) == want) hits.push_back(i);
    }
    HWND found = pick();
    if (!found) fail("no control \"" + std::string(selector) + "\"");
    return found;
}

int status_panel_count(HWND status_bar)
{
    return static_cast<int>(SendMessageA(status_bar, SB_GETPARTS, 0, 0));
}

std::string status_text(HWND status_bar, int panel)
{
    Remote remote(status_bar);
    if (!remote) return {};
    int len = LOWORD(SendMessageA(status_bar, SB_GETTEXTLENGTHA, panel, 0));
    RemoteBuffer buf(remote, len + 1);
    if (!buf) return {};
    SendMessageA(status_bar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(buf.address()));
    std::string text(len + 1, '\0');
    buf.read(text.data(), len + 1);
    text.resize(std::strlen(text.c_str()));
    // Leading tabs only centre or right-align the text in the panel.
    return text.substr(std::min(text.find_first_not_of('\t'), text.size()));
}

int check_state(HWND button)
{
    return static_cast<int>(SendMessageA(button, BM_GETCHECK, 0, 0));
}
int combo_index(HWND combo)
{
    return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
}
int tab_index(HWND tabs)
{
    return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
}

HWND focused_control(HWND top)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) {
        fail("GetGUIThreadInfo failed");
        return nullptr;
    }
    return info.hwndFocus;
}

bool focus(HWND control)
{
    DWORD target = GetWindowThreadProcessId(control, nullptr);
    DWORD self = GetCurrentThreadId();
    AttachThreadInput(self, target, TRUE);
    SetFocus(control);
    AttachThreadInput(self, target, FALSE);
    bool ok = wait_until([&] { return focused_control(control) == control; }, 2000);
    if (!ok) fail("could not focus the control");
    return ok;
}

Process::~Process()
{
    if (process) CloseHandle(process);
}

int Process::wait(int timeout_ms)
{
    if (!process || WaitForSingleObject(process, timeout_ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

void Process::kill()
{
    if (process && WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
}

bool start(Process& out, const std::string& exe, const std::string& args)
{
    std::string cmd = "\"" + exe + "\"";
    if (!args.empty()) cmd += " " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        fail("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
        return false;
    }
    CloseHandle(pi.hThread);
    if (out.process) CloseHandle(out.process);
    out.process = pi.hProcess;
    out.pid = pi.dwProcessId;
    WaitForInputIdle(pi.hProcess, 10000);
    return true;
}

std::string exe_folder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

}  // namespace guidriver

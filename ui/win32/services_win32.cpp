// System services for the windows: message boxes, file dialogs, shell open,
// the Shift key and the tick counter.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "ui/application.h"
#include "ui/file_dialog.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/services.h"
#include "ui/win32/menu_win32.h"
#include "ui/win32/window_peer.h"

namespace ui {

namespace {

// The owner window: the given form, else the active one of ours.
HWND owner_window(Form* owner)
{
    if (owner)
        if (auto* p = dynamic_cast<win32::WindowPeer*>(owner->peer())) return p->hwnd();
    HWND active = GetActiveWindow();
    return win32::form_of(active) ? active : nullptr;
}

}  // namespace

int message_box(std::string_view text, std::string_view caption, MsgIcon icon, MsgButtons buttons, Form* owner)
{
    UINT flags = 0;
    switch (buttons) {
        case MsgButtons::Ok:
            flags = MB_OK;
            break;
        case MsgButtons::OkCancel:
            flags = MB_OKCANCEL;
            break;
        case MsgButtons::YesNo:
            flags = MB_YESNO;
            break;
        case MsgButtons::YesNoCancel:
            flags = MB_YESNOCANCEL;
            break;
        case MsgButtons::RetryCancel:
            flags = MB_RETRYCANCEL;
            break;
        case MsgButtons::AbortRetryIgnore:
            flags = MB_ABORTRETRYIGNORE;
            break;
    }
    switch (icon) {
        case MsgIcon::None:
            break;
        case MsgIcon::Error:
            flags |= MB_ICONERROR;
            break;
        case MsgIcon::Warning:
            flags |= MB_ICONWARNING;
            break;
        case MsgIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
        case MsgIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
    }
    std::string t(text), c(caption);
    // The system's IDOK..IDNO are the mr:: values.
    return MessageBoxA(owner_window(owner), t.c_str(), c.c_str(), flags | MB_TASKMODAL);
}

int popup_menu(Control& owner, Point at, const std::vector<PopupItem>& items)
{
    auto* peer = dynamic_cast<win32::WindowPeer*>(owner.peer());
    if (!peer || items.empty()) return -1;
    win32::OwnedMenu menu(CreatePopupMenu());
    if (!menu) return -1;
    for (std::size_t i = 0; i < items.size(); ++i)
        AppendMenuA(menu.get(), MF_STRING | (items[i].enabled ? MF_ENABLED : MF_GRAYED), i + 1,
                    items[i].caption.c_str());
    POINT p{win32::scale(at.x), win32::scale(at.y)};
    ClientToScreen(peer->hwnd(), &p);
    const int chosen =
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, p.x, p.y, 0, peer->hwnd(), nullptr);
    return chosen - 1;
}

Rect screen_work_area(const Rect& around)
{
    const RECT r{win32::scale(around.left), win32::scale(around.top), win32::scale(around.right),
                 win32::scale(around.bottom)};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT work;
    if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        work = info.rcWork;
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return Rect{win32::unscale(work.left), win32::unscale(work.top), win32::unscale(work.right),
                win32::unscale(work.bottom)};
}

std::uint32_t tick_count_ms()
{
    return GetTickCount();
}

std::uint32_t local_time_of_day_ms()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return ((t.wHour * 60u + t.wMinute) * 60u + t.wSecond) * 1000u + t.wMilliseconds;
}

bool shell_open(std::string_view target, Form* owner)
{
    std::string t(target);
    auto r = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner_window(owner), "open", t.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return r > 32;
}

bool shift_down()
{
    return GetKeyState(VK_SHIFT) < 0;
}

bool FileDialog::execute(Form* owner)
{
    // "Text (*.txt)|*.txt" becomes the system's zero-separated, double-zero-ended list.
    std::string filt = filter;
    for (char& ch : filt)
        if (ch == '|') ch = '\0';
    filt.append(2, '\0');
    std::vector<char> name(32768, '\0');
    file_name.copy(name.data(), name.size() - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_window(owner);
    ofn.lpstrFilter = filter.empty() ? nullptr : filt.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filter_index);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = initial_dir.empty() ? nullptr : initial_dir.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = default_ext.empty() ? nullptr : default_ext.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (overwrite_prompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (file_must_exist) ofn.Flags |= OFN_FILEMUSTEXIST;
    BOOL ok = kind_ == FileDialogKind::Open ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
    if (!ok) return false;
    file_name = name.data();
    filter_index = static_cast<int>(ofn.nFilterIndex);
    return true;
}

}  // namespace ui

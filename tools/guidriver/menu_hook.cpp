// guidriver_hook.dll: loaded into a driven program through a WH_CALLWNDPROC hook,
// it writes the window's menu tree into the driver's shared memory (Wine cannot
// read another process's menus, so the reading has to happen inside it).
#include "menu_dump.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

struct Writer {
    char* out;
    size_t cap;
    size_t len = 0;
    void put(const char* s)
    {
        size_t n = std::strlen(s);
        if (len + n + 1 > cap) n = cap > len + 1 ? cap - len - 1 : 0;
        std::memcpy(out + len, s, n);
        len += n;
        out[len] = 0;
    }
};

// One line per item: depth, flags, id, text (with its '&' and accelerator).
void dump(HMENU menu, int depth, Writer& w)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        mi.dwTypeData = text;
        mi.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, i, TRUE, &mi)) continue;
        char flags[8] = {};
        int f = 0;
        flags[f++] = (mi.fType & MFT_SEPARATOR) ? 'S' : '-';
        flags[f++] = (mi.fState & MFS_DISABLED) ? 'D' : 'E';
        flags[f++] = (mi.fState & MFS_CHECKED) ? 'C' : '-';
        flags[f++] = (mi.fType & MFT_RADIOCHECK) ? 'R' : '-';
        flags[f++] = mi.hSubMenu ? 'P' : '-';
        char line[400];
        std::snprintf(line, sizeof line, "%d\t%s\t%u\t%s\n", depth, flags, mi.wID, text);
        w.put(line);
        if (mi.hSubMenu) dump(mi.hSubMenu, depth + 1, w);
    }
}

void answer(const CWPSTRUCT& c)
{
    char name[64];
    std::snprintf(name, sizeof name, guidriver_menu_mapping_format, static_cast<unsigned long>(c.wParam));
    HANDLE map = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (!map) return;
    if (void* view = MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, guidriver_menu_mapping_size)) {
        Writer w{static_cast<char*>(view), guidriver_menu_mapping_size};
        w.put("ok\n");
        if (HMENU menu = GetMenu(c.hwnd)) dump(menu, 0, w);
        UnmapViewOfFile(view);
    }
    CloseHandle(map);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK guidriver_call_wnd_proc(int code, WPARAM wp, LPARAM lp)
{
    static const UINT request = RegisterWindowMessageA(guidriver_menu_message);
    if (code == HC_ACTION) {
        const auto* c = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (c->message == request) answer(*c);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

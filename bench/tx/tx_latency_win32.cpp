// Latency of a keystroke and of "Send" to the wire under Wine, against the
// same write done by a bare loop: a driver thread triggers each send as a user
// would (WM_CHAR to the text view in keyboard mode, BM_CLICK on the send-string
// window's Send) and reads the bytes on the peer's end of the pty.
// Usage: bench_tx_latency <port number> <peer port number> [count]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/m_form.h"
#include "app/window_set.h"
#include "link/serial_link.h"
#include "link/win32_port_driver.h"
#include "ui/application.h"
#include "ui/win32/window_peer.h"

namespace {

HANDLE open_port(int n)
{
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", n);
    HANDLE h =
        CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        COMMTIMEOUTS to{0, 0, 2000, 0, 0};  // a read waits for all its bytes, up to 2 s
        SetCommTimeouts(h, &to);
    }
    return h;
}

bool io(HANDLE h, bool write, void* data, DWORD n)
{
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD done = 0;
    BOOL ok = write ? WriteFile(h, data, n, &done, &ov) : ReadFile(h, data, n, &done, &ov);
    if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(h, &ov, &done, TRUE);
    CloseHandle(ov.hEvent);
    return ok && done == n;
}

double now_ms()
{
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER x;
        QueryPerformanceFrequency(&x);
        return x;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Median and 99th percentile of `count` sends: trigger, then read n bytes at the peer.
template <class Trigger>
bool measure(const char* what, HANDLE peer, DWORD n, int count, Trigger trigger)
{
    std::vector<double> ms;
    char buf[16];
    for (int i = 0; i < count; ++i) {
        const double t0 = now_ms();
        trigger();
        if (!io(peer, false, buf, n)) {
            std::fprintf(stderr, "%s: the peer did not get %lu bytes (send %d)\n", what, n, i);
            return false;
        }
        ms.push_back(now_ms() - t0);
        Sleep(2);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s median %.3f ms  p99 %.3f ms  (%d sends)\n", what, ms[ms.size() / 2], ms[ms.size() * 99 / 100],
                count);
    std::fflush(stdout);
    return true;
}

HWND hwnd_of(ui::Control& c)
{
    auto* p = dynamic_cast<ui::win32::WindowPeer*>(c.peer());
    return p ? p->hwnd() : nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_tx_latency <port number> <peer port number> [count]\n");
        return 2;
    }
    const int port = std::atoi(argv[1]), count = argc > 3 ? std::atoi(argv[2 + 1]) : 1000;
    HANDLE peer = open_port(std::atoi(argv[2]));
    if (peer == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open the peer port\n");
        return 1;
    }
    int rc = 0;
    {
        // The bare loop first, while the port is still free.
        HANDLE com = open_port(port);
        if (com == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot open the port\n");
            return 1;
        }
        char key = 'k', hello[6] = {'h', 'e', 'l', 'l', 'o', 0};
        if (!measure("bare write, 1 byte", peer, 1, count, [&] { io(com, true, &key, 1); }) ||
            !measure("bare write, 6 bytes", peer, 6, count, [&] { io(com, true, hello, 6); }))
            rc = 1;
        CloseHandle(com);
    }

    ui::app().set_title("Olvex terminal");
    Win32PortDriver serial;
    WindowSet windows(serial);
    SerialLink& link = windows.link();
    windows.port_settings().port_num = port;
    TMForm& m = *MForm;
    std::thread driver;
    ui::app().post([&] {
        m.menu.MMcon.click();
        if (!link.connected()) {
            std::fprintf(stderr, "connect failed\n");
            rc = 1;
            m.close();
            return;
        }
        m.tools.BtnKeyboard.click();
        m.PCd.set_active_page_index(0);
        m.text_page.Mtxt.set_focus();
        m.menu.MMtxstr.click();
        TXSForm->CBmsg.set_text("hello");
        HWND view = hwnd_of(m.text_page.Mtxt), send = hwnd_of(TXSForm->BtnSend), top = hwnd_of(m);
        HWND field = FindWindowExA(hwnd_of(TXSForm->CBmsg), nullptr, "Edit", nullptr);
        driver = std::thread([&, view, send, top, field] {
            if (!measure("keystroke to wire, 1 byte", peer, 1, count, [&] { PostMessageA(view, WM_CHAR, 'k', 1); }) ||
                !measure("Send to wire, 6 bytes", peer, 6, count, [&] { PostMessageA(send, BM_CLICK, 0, 0); }) ||
                !measure("Enter in the string field", peer, 6, count, [&] { PostMessageA(field, WM_CHAR, '\r', 1); }))
                rc = 1;
            PostMessageA(top, WM_CLOSE, 0, 0);
        });
    });
    ui::app().run();
    if (driver.joinable()) driver.join();
    CloseHandle(peer);
    return rc;
}

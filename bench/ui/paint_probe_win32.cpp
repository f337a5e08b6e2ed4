// The benchmark's painting on Windows: the control's real window repainted
// (invalidate, then UpdateWindow runs WM_PAINT through GDI).
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "bench/ui/paint_probe.h"
#include "ui/win32/window_peer.h"

namespace bench {

struct PaintProbe::Impl {
    ui::Control& c;
};

PaintProbe::PaintProbe(ui::Form& form, ui::Control& c, int width, int height) : impl_(std::make_unique<Impl>(Impl{c}))
{
    form.set_client_size(width, height);
    c.set_bounds(0, 0, width, height);
    form.show();
}

PaintProbe::~PaintProbe() = default;

double PaintProbe::paint_ms()
{
    auto* p = dynamic_cast<ui::win32::WindowPeer*>(impl_->c.peer());
    if (!p) return 0;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    auto t0 = std::chrono::steady_clock::now();
    InvalidateRect(p->hwnd(), nullptr, FALSE);
    UpdateWindow(p->hwnd());
    GdiFlush();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

std::string memory_text()
{
    MEMORYSTATUSEX ms{};
    ms.dwLength = sizeof ms;
    GlobalMemoryStatusEx(&ms);
    char buf[96];
    std::snprintf(buf, sizeof buf, "virtual in use %.1f MB", (ms.ullTotalVirtual - ms.ullAvailVirtual) / 1e6);
    return buf;
}

}  // namespace bench

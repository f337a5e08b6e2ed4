// The HEX page with a large store under Wine: a full repaint of the grid and a
// RefreshInspector with 1 KB and with N MB in the store, the longest PgDn step
// (key, inspector, repaint) at places spread over the whole store, and Save
// all's single write of the store against a bare ReadFile/WriteFile copy.
// Usage: bench_hex <megabytes> <folder for the files>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/m_form.h"
#include "app/window_set.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "platform/files.h"
#include "ui/application.h"
#include "ui/win32/window_peer.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

void pump()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

HWND grid_window(TMForm& m)
{
    auto* p = dynamic_cast<ui::win32::WindowPeer*>(m.hex.DGhex.peer());
    return p ? p->hwnd() : nullptr;
}

// One whole repaint of the grid's real window through GDI.
double repaint_ms(TMForm& m)
{
    pump();
    HWND h = grid_window(m);
    const auto t0 = Clock::now();
    InvalidateRect(h, nullptr, FALSE);
    UpdateWindow(h);
    GdiFlush();
    return ms_since(t0);
}

// Fills the store to `bytes` through the receive FIFO, as the drain does.
void fill_store(SerialLink& link, std::int64_t bytes)
{
    RxSide& rx_side = link.rx_side();
    std::vector<unsigned char> chunk(4 << 20);
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<unsigned char>(i * 31 + 7);
    std::int64_t left = bytes;
    while (left > 0) {
        const std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(left, std::int64_t(chunk.size())));
        {
            std::lock_guard<std::mutex> hold(rx_side.lock);
            fifo_put(rx_side.fifo, chunk.data(), n);
        }
        if (link.rx_store_append() != 0) {
            std::printf("store growth failed\n");
            std::exit(1);
        }
        left -= n;
    }
}

struct Figures {
    double paint_avg, paint_max, inspector_us;
};

Figures measure(TMForm& m, std::int64_t bytes)
{
    m.menu.MMclrrx.click();
    fill_store(m.link, bytes);
    const RxStore* s = nullptr;
    m.link.rx_store_info(&s);
    m.hex.follow_store(s->length);  // the drain's rows and move to the end
    m.hex.UDivarlen.set_position(8);
    m.hex.RBivlBin.set_checked(true);
    m.hex.RBivlHex.set_checked(false);
    repaint_ms(m);  // headers made on the first paint
    Figures f{0, 0, 0};
    const int paints = 30;
    for (int i = 0; i < paints; ++i) {
        const double t = repaint_ms(m);
        f.paint_avg += t / paints;
        f.paint_max = std::max(f.paint_max, t);
    }
    const int refreshes = 2000;
    const auto t0 = Clock::now();
    for (int i = 0; i < refreshes; ++i) m.hex.RefreshInspector(std::max<std::int32_t>(0, s->length - 8 - (i & 7)));
    f.inspector_us = ms_since(t0) * 1000.0 / refreshes;
    return f;
}

// PgDn at 500 places spread over the store, from the top to the end: the
// longest step from the key to the repainted grid.
double longest_page_down_ms(TMForm& m)
{
    const std::int32_t rows = m.hex.DGhex.row_count();
    double longest = 0;
    m.hex.DGhex.set_focus();
    for (int i = 0; i <= 500; ++i) {
        const std::int32_t row = 1 + std::int32_t(std::int64_t(rows - 2) * i / 500);
        m.hex.DGhex.set_current(1, row);
        pump();
        const auto t0 = Clock::now();
        ui::KeyEvent e;
        e.key = ui::keys::Next;
        m.hex.DGhex.key_down(e);
        HWND h = grid_window(m);
        UpdateWindow(h);
        GdiFlush();
        longest = std::max(longest, ms_since(t0));
    }
    return longest;
}

double save_all_mb_s(const SerialLink& link, const std::string& path)
{
    const RxStore* s = nullptr;
    link.rx_store_info(&s);
    const auto t0 = Clock::now();
    FileWriter out;  // the binary save's own steps: create, one write, close
    if (out.open(path) != 0 || out.write(s->data, std::size_t(s->length)) != 0 || out.close() != 0) return -1;
    return s->length / 1048576.0 / (ms_since(t0) / 1000.0);
}

// The same bytes through the same writer in 1 MB calls, to tell the cost of
// the call size from the cost of the file system.
double save_in_pieces_mb_s(const SerialLink& link, const std::string& path)
{
    const RxStore* s = nullptr;
    link.rx_store_info(&s);
    const auto t0 = Clock::now();
    FileWriter out;
    if (out.open(path) != 0) return -1;
    for (std::int32_t at = 0; at < s->length; at += 1 << 20)
        if (out.write(s->data + at, std::size_t(std::min<std::int32_t>(1 << 20, s->length - at))) != 0) return -1;
    if (out.close() != 0) return -1;
    return s->length / 1048576.0 / (ms_since(t0) / 1000.0);
}

double bare_copy_mb_s(const std::string& from, const std::string& to)
{
    const auto t0 = Clock::now();
    HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE) return -1;
    std::vector<char> buf(1 << 20);
    long long total = 0;
    DWORD got = 0, put = 0;
    while (ReadFile(in, buf.data(), DWORD(buf.size()), &got, nullptr) && got > 0) {
        if (!WriteFile(out, buf.data(), got, &put, nullptr) || put != got) return -1;
        total += got;
    }
    CloseHandle(in);
    CloseHandle(out);
    return total / 1048576.0 / (ms_since(t0) / 1000.0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int mb = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::string folder = argc > 2 ? argv[2] : ".";
    ui::app().set_title("Olvex terminal");
    SimPortDriver no_port;  // the bytes come straight into the receive FIFO
    WindowSet windows(no_port);
    SerialLink& link = windows.link();
    windows.port_settings().port_rx_data_block_size = 8388608;
    MForm->show();
    pump();
    if (fifo_create(link.rx_side().fifo, 8388608) != 0) return 1;

    const Figures small = measure(*MForm, 1024);
    const Figures large = measure(*MForm, std::int64_t(mb) * 1048576);
    std::printf("grid repaint, 1 KB: %.2f ms average, %.2f ms longest\n", small.paint_avg, small.paint_max);
    std::printf("grid repaint, %d MB: %.2f ms average, %.2f ms longest\n", mb, large.paint_avg, large.paint_max);
    std::printf("RefreshInspector, 1 KB: %.2f us; %d MB: %.2f us\n", small.inspector_us, mb, large.inspector_us);
    std::printf("PgDn with repaint, %d MB, 501 places over the store: longest %.2f ms\n", mb,
                longest_page_down_ms(*MForm));
    const std::string saved = folder + "\\save_all.bin", copy = folder + "\\copy.bin";
    // The first save makes the copy's source; both figures then come from a
    // system that has already written a file of this size once.
    const double first = save_all_mb_s(link, saved);
    const double bare = bare_copy_mb_s(saved, copy);
    DeleteFileA(copy.c_str());
    const double save = save_all_mb_s(link, copy);
    std::printf("first Save all (also the copy's source): %.1f MB/s\n", first);
    DeleteFileA(copy.c_str());
    std::printf("the store in 1 MB writes: %.1f MB/s\n", save_in_pieces_mb_s(link, copy));
    std::printf("Save all of %d MB: %.1f MB/s; bare ReadFile/WriteFile copy: %.1f MB/s (%.2fx)\n", mb, save, bare,
                bare > 0 ? save / bare : 0.0);
    DeleteFileA(saved.c_str());
    DeleteFileA(copy.c_str());
    MForm->close();
    return 0;
}

// olvex.exe under Wine, driven from outside: a coloured ESP-IDF-style log is
// drawn in its colours (read back from the screen) and "Save text" holds no
// escape byte; the demo device's lines come out of "Export CSV..." as t, temp, volt.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

using ColoursWine = OlvexE2eTest;

// Pixels of one colour on the screen inside a window.
int pixels_of(HWND w, COLORREF colour)
{
    RECT r{};
    GetWindowRect(w, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) n += GetPixel(mem, x, y) == colour ? 1 : 0;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return n;
}

}  // namespace

TEST_F(ColoursWine, AColouredLogShowsInItsColoursAndTheDemoDevicePlots)
{
    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_colours_", {"log.txt", "demo.csv"});
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = olvex.status_bar();
    HWND tabs = gd::find_control(top, "class:SysTabControl32:1");
    ASSERT_NE(tabs, nullptr) << gd::last_error();
    ASSERT_TRUE(gd::select_tab(tabs, 0));
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > CR+LF    (DOS/WIN)")) << gd::last_error();
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > ANSI colours")) << gd::last_error();
    ASSERT_TRUE(gd::wait_until([&] { return gd::menu_item(top, "Rx/Text/ANSI colours").checked; }, 2000));
    ASSERT_TRUE(olvex.connect()) << gd::last_error();

    std::string log;
    for (int i = 0; i < 6; ++i) {
        char lines[160];
        std::snprintf(lines, sizeof lines,
                      "\x1b[0;32mI (%d) cpu_start: Pro cpu up.\x1b[0m\r\n"
                      "\x1b[0;31mE (%d) boot: no partition table\x1b[0m\r\n",
                      310 + i, 320 + i);
        log.append(lines);
    }
    ASSERT_TRUE(peer.write_all(log.data(), log.size(), 10000));
    const std::string all_in = " Rx: " + std::to_string(log.size()) + "B";
    ASSERT_TRUE(gd::wait_until([&] { return gd::status_text(sb, 1).rfind(all_in, 0) == 0; }, 10000))
        << gd::status_text(sb, 1);
    HWND view = text_view_of(top);
    ASSERT_NE(view, nullptr);
    // The palette's green and red, as the glyphs are drawn.
    EXPECT_TRUE(gd::wait_until([&] { return pixels_of(view, RGB(0, 0xCD, 0)) > 50; }, 3000));
    EXPECT_GT(pixels_of(view, RGB(0xCD, 0, 0)), 50);

    // OLVEX_COLOURS_LOG_SHOT=/path.png photographs the coloured log.
    if (const char* shot = std::getenv("OLVEX_COLOURS_LOG_SHOT"))
        run_unix_shell(std::string("import -window root '") + shot + "'", 20000);

    const std::string saved = folder.file("log.txt");
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > Save text")) << gd::last_error();
    ASSERT_TRUE(gd::fill_file_dialog("Save As", saved, 10000)) << gd::last_error();
    const std::string text = file_bytes_when(
        saved, [](const std::string& b) { return !b.empty(); }, 5000);
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_NE(text.find("I (310) cpu_start: Pro cpu up.\r\nE (320) boot: no partition table\r\n"), std::string::npos)
        << text;

    // The demo device's lines, coloured as a log would colour them.
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Clear rx data")) << gd::last_error();
    std::string demo, expected = "line,t,temp,volt\r\n";
    for (int i = 1; i <= 20; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "#%05d t=%7.1fs temp=%5.2fC volt=%4.2fV status=OK", i, i * 0.5,
                      24.0 + i * 0.01, 3.3);
        if (i % 2) demo.append("\x1b[0;36m");
        demo.append(line);
        if (i % 2) demo.append("\x1b[0m");
        demo.append("\r\n");
        char row[64];
        std::snprintf(row, sizeof row, "%d,%.1f,%.2f,%.2f\r\n", i, i * 0.5, 24.0 + i * 0.01, 3.3);
        expected += row;
    }
    ASSERT_TRUE(peer.write_all(demo.data(), demo.size(), 10000));
    const std::string demo_in = " Rx: " + std::to_string(demo.size()) + "B";
    ASSERT_TRUE(gd::wait_until([&] { return gd::status_text(sb, 1).rfind(demo_in, 0) == 0; }, 10000));
    ASSERT_TRUE(gd::select_tab(tabs, 3));
    EXPECT_TRUE(gd::wait_until([&] { return gd::find_control(top, "skipped: 0 lines") != nullptr; }, 3000));
    const std::string csv = folder.file("demo.csv");
    ASSERT_TRUE(gd::click_button(top, "Export CSV...")) << gd::last_error();
    ASSERT_TRUE(gd::fill_file_dialog("Save As", csv, 10000)) << gd::last_error();
    const std::string got = file_bytes_when(
        csv, [&](const std::string& b) { return b.size() >= expected.size(); }, 10000);
    EXPECT_EQ(got, expected);
    // OLVEX_COLOURS_SHOT=/path.png photographs the plotted demo lines.
    if (const char* shot = std::getenv("OLVEX_COLOURS_SHOT")) {
        Sleep(1000);
        run_unix_shell(std::string("import -window root '") + shot + "'", 20000);
    }
}

// olvex.exe under Wine, driven from outside: a coloured ESP-IDF-style log is
// drawn in its colours (read back from the screen) and "Save text" holds no
// escape byte; the demo device's lines come out of "Export CSV..." as t, temp,
// volt; UTF-8 text (a character split across drains, a bad byte) copies as
// CF_UNICODETEXT and is saved as UTF-8.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clipboard.h"
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

// The Text page shown in CR+LF mode, the check item `item` ("ANSI colours") on, connected.
void text_page_with(OlvexRun& olvex, const std::string& item)
{
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND tabs = gd::find_control(top, "class:SysTabControl32:1");
    ASSERT_NE(tabs, nullptr) << gd::last_error();
    ASSERT_TRUE(gd::select_tab(tabs, 0));
    ASSERT_FALSE(gd::menu_item(top, "Rx/Text/" + item).checked) << "off by default";
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > CR+LF    (DOS/WIN)")) << gd::last_error();
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > " + item)) << gd::last_error();
    ASSERT_TRUE(gd::wait_until([&] { return gd::menu_item(top, "Rx/Text/" + item).checked; }, 2000));
    ASSERT_TRUE(olvex.connect()) << gd::last_error();
}

// The peer writes bytes; true once the status bar counts `total` received.
bool sent(RawPeer& peer, OlvexRun& olvex, const std::string& bytes, std::size_t total)
{
    const std::string in = " Rx: " + std::to_string(total) + "B";
    return peer.write_all(bytes.data(), bytes.size(), 10000) &&
           gd::wait_until([&] { return gd::status_text(olvex.status_bar(), 1).rfind(in, 0) == 0; }, 10000);
}

// "Save text" into path; the file's bytes once it holds at least `size`.
std::string saved_text(HWND top, const std::string& path, std::size_t size)
{
    if (!gd::choose_menu(top, "&Rx > Text > Save text") || !gd::fill_file_dialog("Save As", path, 10000))
        return gd::last_error();
    return file_bytes_when(
        path, [&](const std::string& b) { return b.size() >= size; }, 5000);
}

}  // namespace

TEST_F(ColoursWine, AColouredLogShowsInItsColoursAndTheDemoDevicePlots)
{
    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_colours_", {"log.txt", "demo.csv"});
    OlvexRun olvex(folder.path());
    ASSERT_NO_FATAL_FAILURE(text_page_with(olvex, "ANSI colours"));
    HWND top = olvex.top();
    HWND sb = olvex.status_bar();
    HWND tabs = gd::find_control(top, "class:SysTabControl32:1");

    std::string log;
    for (int i = 0; i < 6; ++i) {
        char lines[160];
        std::snprintf(lines, sizeof lines,
                      "\x1b[0;32mI (%d) cpu_start: Pro cpu up.\x1b[0m\r\n"
                      "\x1b[0;31mE (%d) boot: no partition table\x1b[0m\r\n",
                      310 + i, 320 + i);
        log.append(lines);
    }
    ASSERT_TRUE(sent(peer, olvex, log, log.size())) << gd::status_text(sb, 1);
    HWND view = text_view_of(top);
    ASSERT_NE(view, nullptr);
    // The palette's green and red, as the glyphs are drawn.
    EXPECT_TRUE(gd::wait_until([&] { return pixels_of(view, RGB(0, 0xCD, 0)) > 50; }, 3000));
    EXPECT_GT(pixels_of(view, RGB(0xCD, 0, 0)), 50);

    // OLVEX_COLOURS_LOG_SHOT=/path.png photographs the coloured log.
    if (const char* shot = std::getenv("OLVEX_COLOURS_LOG_SHOT"))
        run_unix_shell(std::string("import -window root '") + shot + "'", 20000);

    const std::string text = saved_text(top, folder.file("log.txt"), 1);
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
    ASSERT_TRUE(sent(peer, olvex, demo, demo.size()));
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

TEST_F(ColoursWine, Utf8TextShowsItsCharactersCopiesAsUnicodeAndSavesAsUtf8)
{
    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_utf8_", {"utf8.txt"});
    OlvexRun olvex(folder.path());
    ASSERT_NO_FATAL_FAILURE(text_page_with(olvex, "UTF-8"));
    // The euro sign's first two bytes in one drain, its last in a later one.
    const std::string first = "temp=24.5\xc2\xb0\x43  t=125\xc2\xb5s\r\nsplit \xe2\x82",
                      second = "\xac end\r\nbad \xff!\r\n";
    ASSERT_TRUE(sent(peer, olvex, first, first.size()));
    Sleep(300);
    ASSERT_TRUE(sent(peer, olvex, second, first.size() + second.size()));
    Sleep(500);
    // OLVEX_UTF8_SHOT=/path.png photographs the characters drawn.
    if (const char* shot = std::getenv("OLVEX_UTF8_SHOT"))
        run_unix_shell(std::string("import -window root '") + shot + "'", 20000);

    ASSERT_TRUE(gd::focus(text_view_of(olvex.top())));
    ASSERT_TRUE(gd::press_keys(olvex.top(), "Ctrl+A") && gd::press_keys(olvex.top(), "Ctrl+C"));
    const std::u16string shown = u"temp=24.5\u00b0C  t=125\u00b5s\r\nsplit \u20ac end\r\nbad \ufffd!\r\n";
    EXPECT_TRUE(gd::wait_until([&] { return clipboard_get_unicode_text().value_or(u"<none>") == shown; }, 3000));
    const std::string utf8 = "temp=24.5\xc2\xb0\x43  t=125\xc2\xb5s\r\nsplit \xe2\x82\xac end\r\nbad \xef\xbf\xbd!\r\n";
    EXPECT_EQ(saved_text(olvex.top(), folder.file("utf8.txt"), utf8.size()), utf8);
}

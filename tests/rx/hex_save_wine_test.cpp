// olvex.exe under Wine, driven from outside: 1,000 known bytes from the peer on
// the HEX page, the inspector at a clicked cell, Save all, a block saved with
// Save selected, and Save text, each file checked byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string status(HWND sb, int panel)
{
    std::string t = gd::status_text(sb, panel);
    const std::size_t first = t.find_first_not_of('\t');
    return first == std::string::npos ? std::string() : t.substr(first);
}

// The system's save dialog, whichever way this Wine spells its caption.
bool fill_save_dialog(const std::string& path)
{
    std::string caption;
    gd::wait_until(
        [&] {
            for (const char* c : {"Save As", "Save as"})
                if (gd::find_window(c, 0)) caption = c;
            return !caption.empty();
        },
        10000);
    return !caption.empty() && gd::fill_file_dialog(caption, path, 10000);
}

// The grid cell (column, row) with the first data row at the top: column
// widths 90, 20 and 14 and one-pixel grid lines, rows 22 high.
POINT cell_point(int col, int row)
{
    int x = 91;
    for (int c = 1; c < col; ++c) x += (c <= 16 ? 20 : 14) + 1;
    return POINT{x + 5, row * 23 + 8};
}

}  // namespace

using HexSaveWine = OlvexE2eTest;

TEST_F(HexSaveWine, ThousandBytesShownInspectedAndSavedWholeAsABlockAndAsText)
{
    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_hex_", {"all.bin", "block.bin", "view.txt"});
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = gd::find_control(top, "class:msctls_statusbar32:1");
    HWND grid = gd::find_control(top, "class:OlvexDrawGrid:1");
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(olvex.connect()) << gd::last_error();

    std::string sent(1000, '\0');
    for (int i = 0; i < 1000; ++i) sent[i] = char((i * 37 + 11) & 0xFF);
    ASSERT_TRUE(peer.write_all(sent.data(), sent.size(), 5000));
    EXPECT_TRUE(gd::wait_until([&] { return status(sb, 1).rfind(" Rx: 1000B", 0) == 0; }, 10000)) << status(sb, 1);

    // The drain moved the current cell to the end of the last row, which the
    // grid keeps in view (Wine keeps scroll bar state per process, so it is
    // read through the inspector): Home goes to that row's first byte, 992.
    HWND pos = gd::find_control(top, "after:pos dec:");
    auto at = [&](const char* text) { return gd::wait_until([&] { return gd::text_of(pos) == text; }, 3000); };
    ASSERT_TRUE(gd::focus(grid));
    ASSERT_TRUE(gd::press_keys(top, "Home"));
    EXPECT_TRUE(at(" 992")) << gd::text_of(pos);

    // Save all: Ctrl+S goes straight to the file dialog.
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+S")) << gd::last_error();
    ASSERT_TRUE(fill_save_dialog(folder.file("all.bin"))) << gd::last_error();
    EXPECT_TRUE(gd::wait_window_gone("Save binary data", 5000));
    EXPECT_EQ(read_file(folder.file("all.bin")), sent);

    // Back to the top, then a block from byte 18 (row 2, column 3) to byte 67
    // (row 5, column 20, in the character half). Clicks are posted and keys come
    // through the input queue, so each step waits for the last one's effect.
    ASSERT_TRUE(gd::focus(grid));
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+Home"));
    ASSERT_TRUE(at(" 0")) << gd::text_of(pos);
    POINT p = cell_point(3, 2);
    ASSERT_TRUE(gd::click_at(grid, p.x, p.y));
    ASSERT_TRUE(at(" 18")) << gd::text_of(pos);
    const unsigned value = std::uint8_t(sent[18]) | std::uint8_t(sent[19]) << 8;
    HWND u16 = gd::find_control(top, "after:uint16:");
    ASSERT_NE(u16, nullptr);
    const std::string shown = std::string(" ").append(std::to_string(value));
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(u16) == shown; }, 3000))
        << gd::text_of(u16) << " for " << value;
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+B"));
    HWND start = gd::find_control(top, "after:start:");
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(start) == " 0x00000012"; }, 3000)) << gd::text_of(start);
    p = cell_point(20, 5);
    ASSERT_TRUE(gd::click_at(grid, p.x, p.y));
    ASSERT_TRUE(at(" 67")) << gd::text_of(pos);
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+E"));
    HWND length = gd::find_control(top, "after:length:");
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(length) == " 50"; }, 3000)) << gd::text_of(length);
    // OLVEX_HEX_SHOT=/path.png photographs the page here: data, block, inspector.
    if (const char* shot = std::getenv("OLVEX_HEX_SHOT")) {
        // Off the block's end, so the focus rectangle leaves its corner mark alone.
        p = cell_point(10, 7);
        ASSERT_TRUE(gd::click_at(grid, p.x, p.y));
        ASSERT_TRUE(at(" 105")) << gd::text_of(pos);
        Sleep(1000);
        run_unix_shell(std::string("import -window root '") + shot + "'", 20000);
    }

    ASSERT_TRUE(gd::press_keys(top, "Ctrl+Alt+S"));
    HWND dlg = gd::find_window("Save binary data", 5000);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(gd::text_of(gd::find_control(dlg, "class:Edit:1")), "18");
    EXPECT_EQ(gd::text_of(gd::find_control(dlg, "class:Edit:4")), "43");
    ASSERT_TRUE(gd::click_button(dlg, "Save"));
    ASSERT_TRUE(fill_save_dialog(folder.file("block.bin"))) << gd::last_error();
    EXPECT_TRUE(gd::wait_window_gone("Save binary data", 5000));
    EXPECT_EQ(read_file(folder.file("block.bin")), sent.substr(18, 50));

    // Save text: the view's lines joined by CR LF, as the view itself gives its text.
    HWND view = nullptr;
    for (const auto& c : gd::list_controls(top))
        if (c.class_name.find("TextView") != std::string::npos) view = c.hwnd;
    ASSERT_NE(view, nullptr);
    const std::string text = gd::text_of(view);
    EXPECT_FALSE(text.empty());
    ASSERT_TRUE(gd::press_keys(top, "Alt+S"));
    ASSERT_TRUE(fill_save_dialog(folder.file("view.txt"))) << gd::last_error();
    EXPECT_TRUE(gd::wait_until([&] { return read_file(folder.file("view.txt")) == text; }, 5000));
}

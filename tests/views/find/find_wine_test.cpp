// olvex.exe under Wine, driven from outside: 2 MB of random bytes from the
// peer with DE AD BE EF planted at a known offset; the Find window, with Hex
// bytes, finds it and the HEX page's "start:" field shows that offset.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

using FindWine = OlvexE2eTest;

TEST_F(FindWine, HexBytesPlantedInTwoMegabytesAreFoundAndSelected)
{
    constexpr std::size_t size = 2u << 20;
    constexpr std::size_t planted = 0x12D687;
    std::string sent(size, '\0');
    std::mt19937 rng(18);
    for (char& c : sent) {
        const auto b = static_cast<unsigned char>(rng());
        c = static_cast<char>(b == 0xDE ? 0x5E : b);  // no DE anywhere else: one hit only
    }
    sent.replace(planted, 4, "\xDE\xAD\xBE\xEF");

    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_find_");
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = olvex.status_bar();
    ASSERT_TRUE(olvex.connect()) << gd::last_error();
    ASSERT_TRUE(peer.write_all(sent.data(), sent.size(), 60000));
    ASSERT_TRUE(gd::wait_until([&] { return gd::status_text(sb, 1).rfind(" Rx: 2097152B", 0) == 0; }, 60000))
        << gd::status_text(sb, 1);

    ASSERT_TRUE(gd::press_keys(top, "Ctrl+Shift+F")) << gd::last_error();
    HWND find = gd::find_window("Find", 5000, olvex.pid());
    ASSERT_NE(find, nullptr) << gd::last_error();
    HWND pattern = gd::find_control(find, "after:Find:");
    ASSERT_NE(pattern, nullptr) << gd::last_error();
    HWND pattern_edit = FindWindowExA(pattern, nullptr, "Edit", nullptr);
    ASSERT_NE(pattern_edit, nullptr);
    ASSERT_TRUE(gd::focus(pattern_edit)) << gd::last_error();
    ASSERT_TRUE(gd::type_text(find, "DE AD BE EF"));
    ASSERT_TRUE(gd::click(gd::find_control(find, "Hex bytes"))) << gd::last_error();
    ASSERT_TRUE(
        gd::wait_until([&] { return gd::check_state(gd::find_control(find, "Hex bytes")) == BST_CHECKED; }, 3000));
    ASSERT_TRUE(gd::click_button(find, "Find next")) << gd::last_error();

    // The status line is the one control whose text says what was found.
    const std::string found = "Found at 0x0012D687 (1 of 1)";
    std::string texts;
    const bool said = gd::wait_until(
        [&] {
            texts.clear();
            for (const auto& c : gd::list_controls(find)) {
                if (c.text == found) return true;
                texts += "[" + c.text + "]";
            }
            return false;
        },
        10000);
    EXPECT_TRUE(said) << texts;
    HWND start = gd::find_control(top, "after:start:");
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(start) == " 0x0012D687"; }, 5000)) << gd::text_of(start);
    EXPECT_EQ(gd::text_of(gd::find_control(top, "after:stop:")), " 0x0012D68A");
    EXPECT_EQ(gd::text_of(gd::find_control(top, "after:length:")), " 4");
    EXPECT_EQ(gd::text_of(gd::find_control(top, "after:pos dec:")), " 1234567");
    EXPECT_EQ(gd::text_of(gd::find_control(top, "after:uint8:")), " 222");
    EXPECT_FALSE(gd::menu_item(top, "Rx/Follow new data").checked) << "a hit holds the views still";
    // OLVEX_FIND_SHOT=/path.png photographs the Find window over the hit.
    if (const char* shot = std::getenv("OLVEX_FIND_SHOT")) {
        Sleep(1000);
        run_unix_shell(std::string("import -window root '") + shot + "'", 20000);
    }
}

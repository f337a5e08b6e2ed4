// olvex.exe under Wine, driven from outside: with Rx > Text > UTF-8 on, UTF-8
// text (a character split across two drains, a bad byte) shows its characters,
// copies as CF_UNICODETEXT and comes out of "Save text" as UTF-8.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

using Utf8Wine = OlvexE2eTest;

std::u16string unicode_clipboard()
{
    std::u16string text = u"<none>";
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const char16_t*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

TEST_F(Utf8Wine, Utf8TextShowsItsCharactersAndSavesAsUtf8)
{
    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_utf8_", {"utf8.txt"});
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = olvex.status_bar();
    HWND tabs = gd::find_control(top, "class:SysTabControl32:1");
    ASSERT_NE(tabs, nullptr) << gd::last_error();
    ASSERT_TRUE(gd::select_tab(tabs, 0));
    ASSERT_FALSE(gd::menu_item(top, "Rx/Text/UTF-8").checked) << "off by default";
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > CR+LF    (DOS/WIN)")) << gd::last_error();
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > UTF-8")) << gd::last_error();
    ASSERT_TRUE(gd::wait_until([&] { return gd::menu_item(top, "Rx/Text/UTF-8").checked; }, 2000));
    ASSERT_TRUE(olvex.connect()) << gd::last_error();

    // The euro sign's first two bytes in one drain, its last in the next.
    const std::string first =
        "temp=24.5\xc2\xb0"
        "C  t=125\xc2\xb5s\r\nsplit \xe2\x82";
    const std::string second = "\xac end\r\nbad \xff!\r\n";
    ASSERT_TRUE(peer.write_all(first.data(), first.size(), 10000));
    const std::string first_in = " Rx: " + std::to_string(first.size()) + "B";
    ASSERT_TRUE(gd::wait_until([&] { return gd::status_text(sb, 1).rfind(first_in, 0) == 0; }, 10000))
        << gd::status_text(sb, 1);
    Sleep(300);  // a drain or two with the character open
    ASSERT_TRUE(peer.write_all(second.data(), second.size(), 10000));
    const std::string all_in = " Rx: " + std::to_string(first.size() + second.size()) + "B";
    ASSERT_TRUE(gd::wait_until([&] { return gd::status_text(sb, 1).rfind(all_in, 0) == 0; }, 10000))
        << gd::status_text(sb, 1);
    Sleep(500);
    // OLVEX_UTF8_SHOT=/path.png photographs the characters drawn.
    if (const char* shot = std::getenv("OLVEX_UTF8_SHOT"))
        run_unix_shell(std::string("import -window root '") + shot + "'", 20000);

    HWND view = text_view_of(top);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(gd::focus(view));
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+A"));
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+C"));
    const std::u16string shown = u"temp=24.5\u00b0C  t=125\u00b5s\r\nsplit \u20ac end\r\nbad \ufffd!\r\n";
    EXPECT_TRUE(gd::wait_until([&] { return unicode_clipboard() == shown; }, 3000));

    const std::string saved = folder.file("utf8.txt");
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > Save text")) << gd::last_error();
    ASSERT_TRUE(gd::fill_file_dialog("Save As", saved, 10000)) << gd::last_error();
    const std::string expected =
        "temp=24.5\xc2\xb0"
        "C  t=125\xc2\xb5s\r\nsplit \xe2\x82\xac end\r\nbad \xef\xbf\xbd!\r\n";
    const std::string text = file_bytes_when(
        saved, [&](const std::string& b) { return b.size() >= expected.size(); }, 5000);
    EXPECT_EQ(text, expected);
}

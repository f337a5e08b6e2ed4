// olvex.exe's port dialog under Wine, driven from outside: the pty links of
// scripts/test are listed by number in the owner-drawn list (Wine names no
// device, so the line under it stays empty) and a link to a missing device is not.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

// The item texts, asked for in UTF-16: across processes Wine passes an
// owner-drawn list's strings back wide whatever the call's character set.
std::vector<std::string> combo_items(HWND combo)
{
    std::vector<std::string> out;
    const LRESULT n = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t text[64] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 63)
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        std::string narrow;
        for (const wchar_t* c = text; *c; ++c) narrow += static_cast<char>(*c < 128 ? *c : '?');
        out.push_back(narrow);
    }
    return out;
}

// The control created right after `control` in its window.
HWND next_control(HWND top, HWND control)
{
    const auto all = gd::list_controls(top);
    for (std::size_t i = 0; i + 1 < all.size(); ++i)
        if (all[i].hwnd == control) return all[i + 1].hwnd;
    return nullptr;
}

bool listed(const std::vector<std::string>& items, int n)
{
    for (const std::string& s : items)
        if (s == "COM" + std::to_string(n)) return true;
    return false;
}

}  // namespace

using PortsWine = OlvexE2eTest;

TEST_F(PortsWine, TheDialogListsEveryPresentPortInItsDrawnList)
{
    const int a = env_port("OLVEX_COM_A"), b = env_port("OLVEX_COM_B"), missing = env_port("OLVEX_COM_MISSING");
    StartFolder folder("olvex_ports_");
    OlvexRun olvex(folder.path());
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    ASSERT_TRUE(gd::choose_menu(olvex.top(), "Port/Settings"));
    HWND dialog = gd::find_window("COM port settings", 10000, olvex.pid());
    ASSERT_NE(dialog, nullptr) << gd::last_error();
    HWND ports = gd::find_control(dialog, "after:COM port:");
    ASSERT_NE(ports, nullptr) << gd::last_error();
    ASSERT_TRUE(gd::wait_until([&] { return gd::combo_index(ports) >= 0; }, 15000));
    EXPECT_NE(GetWindowLongA(ports, GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);
    const std::vector<std::string> items = combo_items(ports);
    EXPECT_TRUE(listed(items, 1));
    EXPECT_TRUE(listed(items, a));
    EXPECT_TRUE(listed(items, b));
    if (missing) {
        EXPECT_FALSE(listed(items, missing));
    }
    HWND device = next_control(dialog, ports);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(gd::text_of(device), "") << "Wine names no device";
    ASSERT_TRUE(gd::click_button(dialog, "Cancel"));
    EXPECT_TRUE(gd::wait_window_gone("COM port settings", 5000, olvex.pid()));
}

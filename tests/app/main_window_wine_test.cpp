// olvex.exe end to end under Wine: started as a separate process on a pty that
// is its COM1, driven from outside with the GUI driver, with this program as
// the peer on the pty's other end (COM6).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A panel's text without the tabs that centre or right-align it.
std::string status(HWND sb, int panel)
{
    std::string t = gd::status_text(sb, panel);
    t.erase(0, t.find_first_not_of('\t') == std::string::npos ? t.size() : t.find_first_not_of('\t'));
    return t;
}

// The text view: the control whose window text is the received text.
HWND text_view(HWND top)
{
    for (const auto& c : gd::list_controls(top))
        if (c.class_name.find("TextView") != std::string::npos || c.class_name.find("Mtxt") != std::string::npos)
            return c.hwnd;
    return nullptr;
}

struct PopupSearch {
    DWORD pid;
    HWND found = nullptr;
};

BOOL CALLBACK find_popup(HWND w, LPARAM lp)
{
    auto* s = reinterpret_cast<PopupSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (owner != s->pid || !IsWindowVisible(w) || std::string(cls) != "#32768") return TRUE;
    s->found = w;
    return FALSE;
}

// The pop-up menu a process shows: its visible window of the system's menu class.
HWND popup_menu(DWORD pid)
{
    PopupSearch search{pid};
    EnumWindows(find_popup, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

using MainWindowWine = OlvexE2eTest;

TEST_F(MainWindowWine, ConnectReceiveSendEolAndDisconnect)
{
    RawPeer peer(env_port("OLVEX_COM_B"));  // COM1 shares COM5's end of the pair
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_e2e_");
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = olvex.status_bar();
    ASSERT_NE(sb, nullptr);
    EXPECT_EQ(status(sb, 0), "disconnected");
    EXPECT_EQ(status(sb, 1), " Rx: 0B");

    // Connect with the tool bar button.
    ASSERT_TRUE(olvex.connect()) << gd::last_error();
    EXPECT_EQ(gd::tool_checked(top, "Disconnect"), 0);  // the caption changed
    EXPECT_FALSE(gd::menu_item(top, "Port/Connect").enabled);
    EXPECT_TRUE(gd::menu_item(top, "Tx/Send EOL").enabled);

    // The peer sends lines in CR+LF; the view cuts them in that mode. Its
    // caption holds a '/', which a path split at '>' names.
    ASSERT_TRUE(gd::choose_menu(top, "&Rx > Text > CR+LF    (DOS/WIN)")) << gd::last_error();
    ASSERT_TRUE(gd::wait_until([&] { return !gd::menu_item(top, "Rx/Text/CR   (MAC)").checked; }, 2000));
    EXPECT_TRUE(gd::menu_item(top, "Rx > Text > CR+LF    (DOS/WIN)").checked);
    const std::string lines = "first line\r\nsecond line\r\nthird\r\n";
    ASSERT_TRUE(peer.write_all(lines.data(), lines.size(), 3000));
    const std::string count = " Rx: " + std::to_string(lines.size()) + "B";
    EXPECT_TRUE(gd::wait_until([&] { return status(sb, 1).rfind(count, 0) == 0; }, 5000)) << status(sb, 1);
    EXPECT_NE(status(sb, 1).find(" kB/s)"), std::string::npos);
    HWND view = text_view(top);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(view) == "first line\r\nsecond line\r\nthird\r\n"; }, 3000))
        << gd::text_of(view);

    // Send EOL in mode CR+LF.
    ASSERT_TRUE(gd::choose_menu(top, "Tx/Send EOL"));
    EXPECT_EQ(peer.read_up_to(2, 2000), (Bytes{13, 10}));

    // Disconect.
    ASSERT_TRUE(gd::choose_menu(top, "Port/Disconect"));
    EXPECT_TRUE(gd::wait_until([&] { return status(sb, 0) == "disconnected"; }, 5000));
    EXPECT_TRUE(gd::menu_item(top, "Port/Connect").enabled);
    EXPECT_FALSE(gd::menu_item(top, "Tx/Send EOL").enabled);

    PostMessageA(top, WM_CLOSE, 0, 0);
    EXPECT_EQ(olvex.wait_exit(10000), 0);
}

TEST_F(MainWindowWine, KeyboardModeSendsTypedCharactersAndShiftEnterAsLineFeed)
{
    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_e2e_");
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = olvex.status_bar();
    ASSERT_TRUE(gd::choose_menu(top, "Port/Connect"));
    ASSERT_TRUE(gd::wait_until([&] { return status(sb, 0) == "connected"; }, 5000));

    ASSERT_TRUE(gd::click_tool(top, "From keyboard"));
    EXPECT_TRUE(gd::wait_until([&] { return gd::menu_item(top, "Tx/From keyboard").checked; }, 2000));
    HWND view = text_view(top);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(gd::focus(view));
    ASSERT_TRUE(gd::type_text(top, "ab"));
    EXPECT_EQ(peer.read_up_to(2, 2000), (Bytes{97, 98}));
    ASSERT_TRUE(gd::press_keys(top, "Enter")) << gd::last_error();
    EXPECT_EQ(peer.read_up_to(1, 2000), (Bytes{13}));
    ASSERT_TRUE(gd::press_keys(top, "Shift+Enter")) << gd::last_error();
    EXPECT_EQ(peer.read_up_to(1, 2000), (Bytes{10}));
    // The view's own Ctrl+A, Ctrl+C and Tab are characters too while typing goes out.
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+A")) << gd::last_error();
    EXPECT_EQ(peer.read_up_to(1, 2000), (Bytes{1}));
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+C")) << gd::last_error();
    EXPECT_EQ(peer.read_up_to(1, 2000), (Bytes{3}));
    ASSERT_TRUE(gd::press_keys(top, "Tab")) << gd::last_error();
    EXPECT_EQ(peer.read_up_to(1, 2000), (Bytes{9}));
    EXPECT_EQ(peer.read_up_to(1, 300), Bytes{});

    // The HEX page: Tab, Space and Ctrl+A go out from the grid and from the
    // "hexa" check box alike; no control moves the focus or ticks.
    HWND tabs = gd::find_control(top, "class:SysTabControl32:1");
    ASSERT_TRUE(gd::select_tab(tabs, 1));
    HWND grid = gd::find_control(top, "class:OlvexDrawGrid:1");
    // The check box sits in its group's caption, right after "hexa".
    HWND hexa = gd::find_control(top, "after: Integer value (hexa      , big-endian       ): ");
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(hexa, nullptr);
    for (HWND start : {grid, hexa}) {
        ASSERT_TRUE(gd::focus(start));
        for (const char* chord : {"Tab", "Space", "Ctrl+A", "Enter"}) ASSERT_TRUE(gd::press_keys(top, chord)) << chord;
        EXPECT_EQ(peer.read_up_to(4, 2000), (Bytes{9, 32, 1, 13}));
        EXPECT_EQ(gd::focused_control(top), start);
        EXPECT_EQ(gd::check_state(hexa), BST_UNCHECKED);
    }
    EXPECT_EQ(peer.read_up_to(1, 300), Bytes{});

    // Disconnecting keeps the toggle down.
    ASSERT_TRUE(gd::click_tool(top, "Disconnect"));
    EXPECT_TRUE(gd::wait_until([&] { return status(sb, 0) == "disconnected"; }, 5000));
    EXPECT_TRUE(gd::menu_item(top, "Tx/From keyboard").checked);
}

// Alt and the underlined letter open each menu of the bar, left to right;
// paths name items with or without the marks, split at '/' or '>'.
TEST_F(MainWindowWine, AccessKeysOpenTheMenusOfTheBar)
{
    StartFolder folder("olvex_e2e_");
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    for (const char* path : {"File/Exit", "&File > E&xit", "File > Exit", "&Port/Connect", "Help > About"})
        EXPECT_TRUE(gd::menu_item(top, path).found) << path << ": " << gd::last_error();
    EXPECT_EQ(gd::menu_item(top, "Tx").caption, "&Tx");  // the words kept, the mark added

    LONG left = LONG_MIN;
    for (const char* chord : {"Alt+F", "Alt+P", "Alt+R", "Alt+T", "Alt+H"}) {
        SCOPED_TRACE(chord);
        ASSERT_TRUE(gd::press_keys(top, chord)) << gd::last_error();
        HWND popup = nullptr;
        EXPECT_TRUE(gd::wait_until([&] { return (popup = popup_menu(olvex.pid())) != nullptr; }, 2000));
        if (!popup) continue;
        RECT r;
        GetWindowRect(popup, &r);
        EXPECT_GT(r.left, left) << "each menu opens right of the one before";
        left = r.left;
        ASSERT_TRUE(gd::press_keys(top, "Esc"));
        ASSERT_TRUE(gd::press_keys(top, "Esc"));
        EXPECT_TRUE(gd::wait_until([&] { return popup_menu(olvex.pid()) == nullptr; }, 2000));
    }
    ASSERT_TRUE(gd::choose_menu(top, "&File > E&xit"));
    EXPECT_EQ(olvex.wait_exit(10000), 0);
}

TEST_F(MainWindowWine, ConnectWithTheDeviceMissingSaysOpeningFailed)
{
    const char* dosdevices = std::getenv("OLVEX_DOSDEVICES");
    // COM1's link is moved aside for the test and put back afterwards.
    const std::string away = std::string("mv '") + dosdevices + "/com1' '" + dosdevices + "/com1.away'";
    const std::string back = std::string("mv '") + dosdevices + "/com1.away' '" + dosdevices + "/com1'";
    ASSERT_TRUE(run_unix_shell(away, 10000));
    struct Restore {
        std::string script;
        ~Restore() { run_unix_shell(script, 10000); }
    } restore{back};

    StartFolder folder("olvex_e2e_");
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    ASSERT_TRUE(gd::choose_menu(top, "Port/Connect"));
    HWND box = gd::find_window("Error", 5000);
    ASSERT_NE(box, nullptr);
    // The second line names the failed call and the system's reason. Wine opens a
    // COM1 with no link (its own default device), and GetCommState then fails.
    const std::string text = gd::message_box_text(box);
    EXPECT_THAT(text,
                testing::AnyOf(testing::StartsWith("COM1 opening failed!\nCreateFileA could not open \\\\.\\COM1: "),
                               testing::StartsWith("COM1 opening failed!\nGetCommState failed: ")));
    EXPECT_GT(text.size() - text.rfind(": "), 3u) << "the system's reason is missing: " << text;
    EXPECT_TRUE(gd::answer_message_box("Error", "OK"));
    HWND sb = olvex.status_bar();
    EXPECT_EQ(status(sb, 0), "disconnected");
    EXPECT_TRUE(gd::menu_item(top, "Port/Connect").enabled);
}

namespace {

// The real window's outer rectangle, once it is `want` (5 s at most).
bool window_rect_becomes(HWND top, const RECT& want, RECT& seen)
{
    return gd::wait_until(
        [&] {
            GetWindowRect(top, &seen);
            return EqualRect(&seen, &want) != FALSE;
        },
        5000);
}

}  // namespace

TEST_F(MainWindowWine, TheWindowComesBackWhereItWasLeftAndOnTheScreen)
{
    StartFolder folder("olvex_e2e_place_");
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT left_at{work.left + 40, work.top + 30, work.left + 840, work.top + 630};
    RECT seen{};
    {
        OlvexRun olvex(folder.path());
        ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
        // Moved and sized from outside, as a user's drag would.
        SetWindowPos(olvex.top(), nullptr, left_at.left, left_at.top, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(window_rect_becomes(olvex.top(), left_at, seen));
        ASSERT_EQ(olvex.close(), 0);
    }
    {
        OlvexRun olvex(folder.path());
        ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
        EXPECT_TRUE(window_rect_becomes(olvex.top(), left_at, seen))
            << seen.left << "," << seen.top << " " << seen.right - seen.left << "x" << seen.bottom - seen.top;
        ASSERT_EQ(olvex.close(), 0);
    }
    // (Maximized is checked headless: Wine on a display without a window
    // manager restores a maximized window by itself within a second.)
    // A place no screen shows any more comes back centred on this one.
    const std::string ini = folder.file("config.ini");
    WritePrivateProfileStringA("WINDOW", "left", "20000", ini.c_str());
    const int x = work.left + (work.right - work.left - 800) / 2, y = work.top + (work.bottom - work.top - 600) / 2;
    OlvexRun olvex(folder.path());
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    EXPECT_TRUE(window_rect_becomes(olvex.top(), RECT{x, y, x + 800, y + 600}, seen))
        << seen.left << "," << seen.top << " " << seen.right - seen.left << "x" << seen.bottom - seen.top;
}

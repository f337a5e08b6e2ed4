// olvex.exe's port dialog under Wine, driven from outside: the pty links of
// scripts/test are listed by number in the owner-drawn list (Wine names no
// device, so the line under it stays empty), a link to a missing device is not,
// and a port the mount manager registered above COM32 is listed and connects.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "link/win32_port_catalogue.h"
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

int index_of(const std::vector<std::string>& items, int n)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == "COM" + std::to_string(n)) return static_cast<int>(i);
    return -1;
}

bool listed(const std::vector<std::string>& items, int n)
{
    return index_of(items, n) >= 0;
}

// What each of the system's sources says of COM n, for the record in the log.
void log_sources(int n)
{
    const std::string name = "COM" + std::to_string(n);
    const PortSources s = Win32PortCatalogue::read_sources();
    for (const std::string& v : s.serialcomm) std::printf("[sources] SERIALCOMM value %s\n", v.c_str());
    std::printf("[sources] SetupAPI ports class and COM port interface: %u devices\n", unsigned(s.devices.size()));
    for (const PortDevice& d : s.devices)
        std::printf("[sources]   %s '%s' %s\n", d.port_name.c_str(), d.friendly_name.c_str(), d.instance_id.c_str());
    for (const std::string& v : s.dos_devices) std::printf("[sources] QueryDosDevice lists %s\n", v.c_str());
    char target[512] = {};
    const DWORD got = QueryDosDeviceA(name.c_str(), target, sizeof target);
    std::printf("[sources] QueryDosDevice(%s): %s (error %lu)\n", name.c_str(), got ? target : "-",
                got ? 0UL : GetLastError());
    const std::string path = "\\\\.\\" + name;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    std::printf("[sources] trial open of %s: %s (error %lu), GetCommState %s\n", path.c_str(),
                h != INVALID_HANDLE_VALUE ? "opens" : "fails", h != INVALID_HANDLE_VALUE ? 0UL : GetLastError(),
                h != INVALID_HANDLE_VALUE && GetCommState(h, &dcb) ? "succeeds" : "fails");
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

// The port dialog, opened from the menu, once its port list is filled.
struct PortDialog {
    HWND dialog = nullptr, ports = nullptr;
    explicit PortDialog(const OlvexRun& olvex)
    {
        if (!gd::choose_menu(olvex.top(), "Port/Settings")) return;
        dialog = gd::find_window("COM port settings", 10000, olvex.pid());
        ports = dialog ? gd::find_control(dialog, "after:COM port:") : nullptr;
        if (ports && !gd::wait_until([&] { return gd::combo_index(ports) >= 0; }, 15000)) ports = nullptr;
    }
};

}  // namespace

using PortsWine = OlvexE2eTest;

TEST_F(PortsWine, TheDialogListsEveryPresentPortInItsDrawnList)
{
    const int a = env_port("OLVEX_COM_A"), b = env_port("OLVEX_COM_B"), missing = env_port("OLVEX_COM_MISSING");
    StartFolder folder("olvex_ports_");
    OlvexRun olvex(folder.path());
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    const PortDialog port_dialog(olvex);
    HWND dialog = port_dialog.dialog, ports = port_dialog.ports;
    ASSERT_NE(ports, nullptr) << gd::last_error();
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

TEST_F(PortsWine, APortRegisteredAboveCom32IsListedAndConnects)
{
    RegisteredPort com;
    if (!com.number) GTEST_SKIP() << "needs COM40 registered by scripts/wine-test (OLVEX_COM_REGISTERED)";
    ASSERT_TRUE(com.ok());
    log_sources(com.number);
    RawPeer peer(com.far_end);
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_ports40_");
    OlvexRun olvex(folder.path());
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    {
        const PortDialog d(olvex);
        ASSERT_NE(d.ports, nullptr) << gd::last_error();
        const int item = index_of(combo_items(d.ports), com.number);
        ASSERT_GE(item, 0) << "COM" << com.number << " is not listed";
        ASSERT_TRUE(gd::choose_combo(d.ports, item));
        ASSERT_TRUE(gd::click_button(d.dialog, "OK"));
        ASSERT_TRUE(gd::wait_window_gone("COM port settings", 5000, olvex.pid()));
    }
    ASSERT_TRUE(olvex.connect()) << gd::status_text(olvex.status_bar(), 0);
    // Connected to that port and no other: a Tab crosses to its far end.
    ASSERT_TRUE(gd::choose_menu(olvex.top(), "Tx/Send Tab"));
    EXPECT_EQ(peer.read_up_to(1, 2000), (std::vector<std::uint8_t>{9}));
}

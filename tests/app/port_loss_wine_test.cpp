// olvex.exe end to end under Wine on a pty pair of the test's own (COM15, the
// peer on COM16), driven from outside: the Info page's frame, modem line and
// buffer fields, then the pair killed while the peer streams (the window stays
// responsive, keeps what it received and shows the loss), then a new pair on
// the same link brought back by "Reconnect automatically", the new bytes after
// the old ones.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "tests/link/own_pty_pair.h"
#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

constexpr int com_a = 15, com_b = 16;

std::string status(HWND sb, int panel)
{
    std::string t = gd::status_text(sb, panel);
    const auto first = t.find_first_not_of('\t');
    return first == std::string::npos ? std::string() : t.substr(first);
}

HWND text_view(HWND top)
{
    for (const auto& c : gd::list_controls(top))
        if (c.class_name.find("TextView") != std::string::npos) return c.hwnd;
    return nullptr;
}

// The byte count of the status bar's " Rx: %dB ..." text.
long received(HWND sb)
{
    const std::string t = status(sb, 1);
    return t.rfind(" Rx: ", 0) == 0 ? std::strtol(t.c_str() + 5, nullptr, 10) : -1;
}

// What the text view shows for bytes cut into lines at CR (the default mode).
std::string as_view_text(const std::string& bytes)
{
    std::string out;
    for (char c : bytes) out += c == '\r' ? std::string("\r\n") : std::string(1, c);
    return out;
}

ULONGLONG cpu_ms(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    auto ms = [](FILETIME f) { return ((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
}

bool responsive(HWND top)
{
    DWORD_PTR r = 0;
    return SendMessageTimeoutA(top, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &r) != 0;
}

}  // namespace

TEST(PortLossWine, InfoFramesThenLossKeepsDataAndReconnectAppends)
{
    if (!under_wine() || !std::getenv("OLVEX_DOSDEVICES"))
        GTEST_SKIP() << "needs Wine and its COM links (OLVEX_DOSDEVICES, as scripts/test sets)";
    auto pair = std::make_unique<OwnPtyPair>(com_a, com_b);
    ASSERT_TRUE(pair->ok()) << "could not start a pty pair through /bin/sh";
    auto peer = std::make_unique<RawPeer>(com_b);
    ASSERT_TRUE(peer->is_open());

    // A start folder whose config.ini names COM15.
    StartFolder folder("olvex_loss_");
    std::ofstream(folder.file("config.ini")) << "[PORT]\r\nport_num=" << com_a << "\r\n";
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = gd::find_control(top, "class:msctls_statusbar32:1");
    ASSERT_NE(sb, nullptr);
    ASSERT_TRUE(gd::choose_menu(top, "Port/Reconnect automatically")) << gd::last_error();
    ASSERT_TRUE(gd::wait_until([&] { return gd::menu_item(top, "Port/Reconnect automatically").checked; }, 2000));
    ASSERT_TRUE(olvex.connect()) << gd::last_error();

    // The Info page at 115200 8N1.
    HWND tabs = gd::find_control(top, "class:SysTabControl32:1");
    ASSERT_NE(tabs, nullptr);
    ASSERT_TRUE(gd::select_tab(tabs, 2));
    const std::pair<const char*, const char*> fields[] = {
        {"after:Port:", " COM15"},
        {"after:Frame length:", " 10.0 bit"},
        {"after:Max bitrate:", " 90.000 kbit/s"},
        {"after:Max byterate:", " 11.250 kB/s"},
        {"after:Frame usage:", " 80.0 %"},
        {"after:Baud rate:", " 115.200 kbd/s"},
        // A pty has no modem lines (GetCommModemStatus fails): the queues still show.
        {"after:CTS:", " n/a"},
        {"after:DSR:", " n/a"},
        {"after:RI:", " n/a"},
        {"after:CD:", " n/a"},
        {"after:RTS:", " on"},
        {"after:TX buffer:", " 0"},
        {"after:RX buffer:", " 0"},
    };
    for (auto [selector, text] : fields) {
        HWND field = gd::find_control(top, selector);
        ASSERT_NE(field, nullptr) << selector;
        EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(field) == text; }, 3000))
            << selector << " reads '" << gd::text_of(field) << "'";
    }
    ASSERT_TRUE(gd::select_tab(tabs, 0));

    // The peer streams numbered lines; its pair is killed under it.
    std::string sent;
    {
        std::atomic<bool> stop{false};
        std::thread streamer([&] {
            for (int i = 0; !stop; ++i) {
                char line[16];
                std::snprintf(line, sizeof line, "line %05d\r", i);
                if (!peer->write_all(line, 11, 500)) break;
                sent += line;
                Sleep(2);
            }
        });
        ASSERT_TRUE(gd::wait_until([&] { return received(sb) > 2000; }, 5000)) << status(sb, 1);
        ASSERT_TRUE(pair->vanish());
        Sleep(200);
        stop = true;
        streamer.join();
    }
    peer.reset();

    EXPECT_TRUE(responsive(top));
    HWND box = gd::find_window("Error", 5000, 0);
    ASSERT_NE(box, nullptr) << "no message about the loss";
    EXPECT_EQ(gd::message_box_text(box).rfind("COM15 lost!", 0), 0u) << gd::message_box_text(box);
    EXPECT_TRUE(gd::answer_message_box("Error", "OK"));
    EXPECT_EQ(status(sb, 0), "COM15 lost");
    const long kept = received(sb);
    ASSERT_GT(kept, 2000);
    ASSERT_LE(std::size_t(kept), sent.size());
    const std::string before = sent.substr(0, std::size_t(kept));
    HWND view = text_view(top);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(view) == as_view_text(before); }, 3000))
        << "the view lost or changed what arrived before the loss";

    // Retrying a missing device every second costs next to nothing (where
    // Wine reports another process's times at all; bench/app/port_loss_cpu.sh
    // measures it from outside).
    const ULONGLONG cpu0 = cpu_ms(olvex.process());
    const DWORD t0 = GetTickCount();
    Sleep(3000);
    if (cpu0 != 0) {
        const double share = double(cpu_ms(olvex.process()) - cpu0) / double(GetTickCount() - t0);
        std::printf("cpu after the loss, retrying: %.2f %% of one core\n", share * 100);
        EXPECT_LT(share, 0.10);
    }
    EXPECT_TRUE(responsive(top));
    EXPECT_EQ(status(sb, 0), "COM15 lost");

    // The device is back on the same link: the window reconnects by itself.
    pair.reset();
    pair = std::make_unique<OwnPtyPair>(com_a, com_b);
    ASSERT_TRUE(pair->ok());
    ASSERT_TRUE(gd::wait_until([&] { return status(sb, 0) == "connected"; }, 5000)) << status(sb, 0);
    RawPeer again(com_b);
    ASSERT_TRUE(again.is_open());
    const std::string after = "\rafter the loss\r";
    ASSERT_TRUE(again.write_all(after.data(), after.size(), 3000));
    EXPECT_TRUE(gd::wait_until([&] { return received(sb) == kept + long(after.size()); }, 5000)) << status(sb, 1);
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(view) == as_view_text(before + after); }, 3000));
    EXPECT_EQ(gd::find_window("Error", 500, 0), nullptr) << "a reconnection is silent";

    PostMessageA(top, WM_CLOSE, 0, 0);
    EXPECT_EQ(olvex.wait_exit(10000), 0);
}

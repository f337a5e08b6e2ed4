// olvex.exe under Wine, driven from outside: a peer answers PING<CR> with
// PONG<CR> after 40 ms and then sends three frames 30 ms apart; "Send string"
// sends PING; the Traffic page's CSV holds the sent row, the reply with its
// reply time, and the three frames.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

using TrafficWine = OlvexE2eTest;

namespace {

std::vector<std::string> split(const std::string& text, char at)
{
    std::vector<std::string> out(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == at && !quoted)
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

// Checks or unchecks a check box of the window, found by its caption.
bool set_check(HWND window, const char* caption, bool on)
{
    HWND box = gd::find_control(window, caption);
    if (!box) return false;
    const bool now = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return now == on || gd::click(box);
}

}  // namespace

TEST_F(TrafficWine, APingItsReplyAndThreeFramesComeBackInTheCsv)
{
    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_traffic_", {"traffic.csv"});
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = olvex.status_bar();
    ASSERT_TRUE(olvex.connect()) << gd::last_error();

    bool asked = false;
    std::thread device([&] {
        const std::vector<std::uint8_t> got = peer.read_up_to(5, 10000);
        asked = got == std::vector<std::uint8_t>{'P', 'I', 'N', 'G', '\r'};
        if (!asked) return;
        Sleep(40);
        peer.write_all("PONG\r", 5, 1000);
        for (const char* frame : {"F1\r", "F2\r", "F3\r"}) {
            Sleep(30);
            peer.write_all(frame, 3, 1000);
        }
    });
    ASSERT_TRUE(gd::press_keys(top, "Ctrl+M"));
    HWND txs = gd::find_window("Send string", 5000, olvex.pid());
    ASSERT_NE(txs, nullptr) << gd::last_error();
    ASSERT_TRUE(set_check(txs, "Append EOL mark", true));
    ASSERT_TRUE(set_check(txs, "Append EOS ('\\0')", false));
    HWND msg_edit = FindWindowExA(gd::find_control(txs, "after:Enter string:"), nullptr, "Edit", nullptr);
    ASSERT_NE(msg_edit, nullptr);
    ASSERT_TRUE(gd::focus(msg_edit)) << gd::last_error();
    ASSERT_TRUE(gd::type_text(txs, "PING"));
    ASSERT_TRUE(gd::press_keys(txs, "Enter")) << gd::last_error();
    device.join();
    ASSERT_TRUE(asked) << "the peer got no PING<CR>";
    ASSERT_TRUE(gd::wait_until([&] { return gd::status_text(sb, 1).rfind(" Rx: 14B", 0) == 0; }, 10000))
        << gd::status_text(sb, 1);

    HWND tabs = gd::find_control(top, "class:SysTabControl32:1");
    ASSERT_NE(tabs, nullptr) << gd::last_error();
    ASSERT_TRUE(gd::select_tab(tabs, 4));
    const std::string path = folder.file("traffic.csv");
    ASSERT_TRUE(gd::click_button(top, "Save as CSV...")) << gd::last_error();
    ASSERT_TRUE(gd::fill_file_dialog("Save As", path, 10000)) << gd::last_error();
    const std::string csv = file_bytes_when(
        path, [](const std::string& b) { return b.find("F3<CR>") != std::string::npos; }, 10000);
    std::vector<std::string> lines = split(csv, '\n');
    ASSERT_EQ(lines.size(), 7u) << csv;  // header, five rows, and nothing after the last line break
    EXPECT_EQ(lines[0], "time,dir,gap_ms,reply_ms,length,hex,text\r");
    const char* const texts[] = {"\"PING<CR>\"\r", "\"PONG<CR>\"\r", "\"F1<CR>\"\r", "\"F2<CR>\"\r", "\"F3<CR>\"\r"};
    for (std::size_t i = 0; i < 5; ++i) {
        const std::vector<std::string> cells = split(lines[i + 1], ',');
        ASSERT_EQ(cells.size(), 7u) << lines[i + 1];
        EXPECT_EQ(cells[1], i == 0 ? "TX" : "RX") << lines[i + 1];
        EXPECT_EQ(cells[6], texts[i]);
        if (i == 1) {
            const double reply = std::stod(cells[3]);
            EXPECT_GE(reply, 38.0) << lines[i + 1];
            EXPECT_LE(reply, 60.0) << lines[i + 1];
        } else if (i > 1) {
            EXPECT_TRUE(cells[3].empty()) << lines[i + 1];
            const double gap = std::stod(cells[2]);
            EXPECT_GE(gap, 20.0) << lines[i + 1];
        }
    }
}

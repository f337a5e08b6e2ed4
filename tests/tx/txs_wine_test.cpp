// The send-string window's protocol options end to end under Wine: olvex.exe
// on a pty as COM1, this program the peer on the other end, driving the
// windows from outside as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Bytes modbus_read{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};

bool connect(const OlvexRun& olvex)
{
    HWND sb = olvex.status_bar();
    return gd::choose_menu(olvex.top(), "Port/Connect") &&
           gd::wait_until([&] { return gd::status_text(sb, 0) == "connected"; }, 5000);
}

}  // namespace

class SendStringWine : public OlvexE2eTest {
 protected:
    void SetUp() override
    {
        OlvexE2eTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        peer = std::make_unique<RawPeer>(env_port("OLVEX_COM_B"));
        ASSERT_TRUE(peer->is_open());
    }
    void TearDown() override
    {
        if (peer) peer->discard_pending(200);
    }
    // Ctrl+M, the Modbus read with escapes, CRC-16/MODBUS and no zero byte.
    HWND open_with_modbus_read(const OlvexRun& olvex)
    {
        if (!gd::press_keys(olvex.top(), "Ctrl+M")) return nullptr;
        HWND txs = gd::find_window("Send string", 5000, olvex.pid());
        if (!txs) return nullptr;
        HWND msg_edit = FindWindowExA(gd::find_control(txs, "after:Enter string:"), nullptr, "Edit", nullptr);
        if (!msg_edit || !gd::focus(msg_edit) || !gd::type_text(txs, "\\x01\\x03\\x00\\x00\\x00\\x0A")) return nullptr;
        if (gd::check_state(gd::find_control(txs, "Escapes")) != BST_CHECKED) gd::click_button(txs, "Escapes");
        gd::click_button(txs, "Append EOS ('\\0')");
        gd::choose_combo(gd::find_control(txs, "after:Checksum:"), 4);
        return txs;
    }
    std::unique_ptr<RawPeer> peer;
    StartFolder folder{"olvex_txs_e2e_"};
};

TEST_F(SendStringWine, ModbusReadWithItsCrcRepeatedAndFromSlotOne)
{
    {
        OlvexRun olvex(folder.path());
        ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
        ASSERT_TRUE(connect(olvex));
        HWND txs = open_with_modbus_read(olvex);
        ASSERT_NE(txs, nullptr) << gd::last_error();
        EXPECT_TRUE(gd::wait_until([&] { return gd::find_control(txs, "C5 CD") != nullptr; }, 3000))
            << "the checksum label";
        EXPECT_EQ(gd::check_state(gd::find_control(txs, "Append EOS ('\\0')")), BST_UNCHECKED);
        ASSERT_TRUE(gd::click_button(txs, "Send"));
        EXPECT_EQ(peer->read_up_to(8, 3000), modbus_read);

        // About a second of Repeat every 100 ms.
        ASSERT_TRUE(gd::set_text(gd::find_control(txs, "after:Repeat every [ms]:"), "100"));
        ASSERT_TRUE(gd::click_button(txs, "Repeat"));
        ASSERT_TRUE(gd::wait_until([&] { return gd::find_control(txs, "Stop") != nullptr; }, 3000));
        Sleep(1000);
        ASSERT_TRUE(gd::click_button(txs, "Stop"));
        ASSERT_TRUE(gd::wait_until([&] { return gd::find_control(txs, "Repeat") != nullptr; }, 3000));
        const Bytes got = peer->read_up_to(1000, 500);
        const std::size_t copies = got.size() / modbus_read.size();
        EXPECT_EQ(got.size() % modbus_read.size(), 0u);
        std::printf("Repeat every 100 ms for a second: %u copies\n", static_cast<unsigned>(copies));
        EXPECT_GE(copies, 9u);
        EXPECT_LE(copies, 11u);
        EXPECT_EQ(gd::text_of(gd::find_control(txs, "after:Repeat")), "sent " + std::to_string(copies) + " times");
        for (std::size_t i = 0; i + modbus_read.size() <= got.size(); i += modbus_read.size())
            EXPECT_EQ(Bytes(got.begin() + i, got.begin() + i + modbus_read.size()), modbus_read) << i;

        // Into slot 1 as "Read", then Ctrl+1 from the main window with no window open.
        ASSERT_TRUE(gd::click_button(txs, "Save to slot..."));
        HWND dlg = gd::find_window("Save to slot", 5000, olvex.pid());
        ASSERT_NE(dlg, nullptr) << gd::last_error();
        EXPECT_EQ(gd::combo_index(gd::find_control(dlg, "after:Slot:")), 0);
        ASSERT_TRUE(gd::set_text(gd::find_control(dlg, "after:Name:"), "Read"));
        ASSERT_TRUE(gd::click_button(dlg, "OK"));
        ASSERT_TRUE(gd::wait_window_gone("Save to slot", 3000, olvex.pid()));
        ASSERT_TRUE(gd::click_button(txs, "Cancel"));
        ASSERT_TRUE(gd::wait_window_gone("Send string", 3000, olvex.pid()));
        const gd::MenuItem item = gd::menu_item(olvex.top(), "Tx > Quick send > Read");
        EXPECT_TRUE(item.found && item.enabled) << gd::last_error();
        EXPECT_EQ(item.accelerator, "Ctrl+1");
        ASSERT_TRUE(gd::press_keys(olvex.top(), "Ctrl+1"));
        EXPECT_EQ(peer->read_up_to(8, 3000), modbus_read);
        EXPECT_EQ(olvex.close(), 0);
    }
    // The slot is in config.ini: the next run sends it with one key.
    OlvexRun again(folder.path());
    ASSERT_NE(again.top(), nullptr) << gd::last_error();
    EXPECT_FALSE(gd::menu_item(again.top(), "Tx > Quick send > Read").enabled) << "greyed while disconnected";
    ASSERT_TRUE(connect(again));
    ASSERT_TRUE(gd::wait_until([&] { return gd::menu_item(again.top(), "Tx > Quick send > Read").enabled; }, 3000));
    ASSERT_TRUE(gd::press_keys(again.top(), "Ctrl+1"));
    EXPECT_EQ(peer->read_up_to(8, 3000), modbus_read);
}

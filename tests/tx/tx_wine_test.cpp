// The transmit windows of olvex.exe end to end under Wine: the program runs on
// a pty as its COM1, this program is the peer on the other end (COM6) and
// drives the windows from outside with the GUI driver.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::string sha256(const Bytes& data)
{
    HCRYPTPROV prov = 0;
    HCRYPTHASH hash = 0;
    std::string hex;
    if (!CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return hex;
    if (CryptCreateHash(prov, CALG_SHA_256, 0, 0, &hash)) {
        BYTE out[32];
        DWORD len = sizeof out;
        if (CryptHashData(hash, data.data(), static_cast<DWORD>(data.size()), 0) &&
            CryptGetHashParam(hash, HP_HASHVAL, out, &len, 0)) {
            char two[3];
            for (DWORD i = 0; i < len; ++i) {
                std::snprintf(two, sizeof two, "%02x", out[i]);
                hex += two;
            }
        }
        CryptDestroyHash(hash);
    }
    CryptReleaseContext(prov, 0);
    return hex;
}

// Port > Connect, then wait until the status bar says so.
bool connect(const OlvexRun& olvex)
{
    HWND sb = olvex.status_bar();
    return gd::choose_menu(olvex.top(), "Port/Connect") &&
           gd::wait_until(
               [&] {
                   return gd::status_text(sb, 0).find("connected") != std::string::npos &&
                          gd::status_text(sb, 0).find("dis") == std::string::npos;
               },
               5000);
}

struct FindPrefix {
    DWORD pid = 0;
    const char* prefix = "";
    HWND found = nullptr;
    std::string caption;
};

BOOL CALLBACK find_prefix_proc(HWND w, LPARAM lp)
{
    auto& f = *reinterpret_cast<FindPrefix*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != f.pid || !IsWindowVisible(w)) return TRUE;
    char text[256];
    const int n = GetWindowTextA(w, text, sizeof text);
    if (n > 0 && std::string(text, n).rfind(f.prefix, 0) == 0) {
        f.found = w;
        f.caption.assign(text, n);
        return FALSE;
    }
    return TRUE;
}

// The visible window of that process whose caption starts so, if any.
HWND window_starting(DWORD pid, const char* prefix, std::string* caption = nullptr)
{
    FindPrefix f;
    f.pid = pid;
    f.prefix = prefix;
    EnumWindows(find_prefix_proc, reinterpret_cast<LPARAM>(&f));
    if (caption) *caption = f.caption;
    return f.found;
}

}  // namespace

class TxWine : public ::testing::Test {
 protected:
    void SetUp() override
    {
        if (const std::string why = e2e_ports_missing(); !why.empty()) GTEST_SKIP() << why;
        ASSERT_TRUE(link_com1_to_com_a());
        peer = std::make_unique<RawPeer>(env_port("OLVEX_COM_B"));
        ASSERT_TRUE(peer->is_open());
    }
    void TearDown() override
    {
        if (peer) peer->discard_pending(200);
    }
    std::unique_ptr<RawPeer> peer;
    // Lasts across several runs of olvex.exe: its config.ini stays between them.
    StartFolder folder{"olvex_tx_e2e_", {"random.bin"}};
};

TEST_F(TxWine, OneMegabyteFileArrivesWholeAndTheWindowClosesByItself)
{
    const Bytes content = random_bytes(1 << 20, 1234);
    const std::string path = folder.file("random.bin");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(content.data()), content.size());
    OlvexRun olvex(folder.path());
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    ASSERT_TRUE(connect(olvex));
    ASSERT_TRUE(gd::press_keys(olvex.top(), "Ctrl+O")) << gd::last_error();
    ASSERT_TRUE(gd::fill_file_dialog("Open", path, 10000)) << gd::last_error();
    const Bytes got = peer->read_up_to(content.size(), 5000);
    EXPECT_EQ(got.size(), content.size());
    EXPECT_EQ(sha256(got), sha256(content));
    EXPECT_EQ(sha256(content).size(), 64u);
    EXPECT_TRUE(gd::wait_until([&] { return !window_starting(olvex.pid(), "Tx ("); }, 5000))
        << "the send-file window closes by itself";
    EXPECT_EQ(olvex.close(), 0);
}

TEST_F(TxWine, IntegerAndStringReachTheWireAndComeBackAfterARestart)
{
    {
        OlvexRun olvex(folder.path());
        ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
        ASSERT_TRUE(connect(olvex));

        // Ctrl+I, 300 in two bytes little-endian.
        ASSERT_TRUE(gd::press_keys(olvex.top(), "Ctrl+I"));
        HWND txi = gd::find_window("Send integer", 5000, olvex.pid());
        ASSERT_NE(txi, nullptr) << gd::last_error();
        HWND dec = gd::find_control(txi, "after:Dec:");
        HWND size = gd::find_control(txi, "after:Integer size [1-8 bytes]:");
        ASSERT_TRUE(dec && size);
        ASSERT_TRUE(gd::set_text(dec, "300"));
        ASSERT_TRUE(gd::set_text(size, "2"));
        ASSERT_TRUE(gd::click_button(txi, "Send")) << gd::last_error();
        EXPECT_EQ(peer->read_up_to(2, 3000), (Bytes{0x2C, 0x01}));
        EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(gd::find_control(txi, "after:Hex:")) == "012C"; }, 3000));
        EXPECT_EQ(gd::text_of(gd::find_control(txi, "after:Bin:")), "00000001 00101100 ");

        // Ctrl+M, hello and Enter.
        ASSERT_TRUE(gd::press_keys(olvex.top(), "Ctrl+M"));
        HWND txs = gd::find_window("Send string", 5000, olvex.pid());
        ASSERT_NE(txs, nullptr) << gd::last_error();
        HWND msg = gd::find_control(txs, "after:Enter string:");
        ASSERT_NE(msg, nullptr);
        // The typing goes to the combo box's own edit field.
        HWND msg_edit = FindWindowExA(msg, nullptr, "Edit", nullptr);
        ASSERT_NE(msg_edit, nullptr);
        ASSERT_TRUE(gd::focus(msg_edit)) << gd::last_error();
        ASSERT_TRUE(gd::type_text(txs, "hello"));
        ASSERT_TRUE(gd::press_keys(txs, "Enter")) << gd::last_error();
        EXPECT_EQ(peer->read_up_to(6, 3000), (Bytes{0x68, 0x65, 0x6C, 0x6C, 0x6F, 0x00}));
        EXPECT_EQ(olvex.close(), 0);
    }
    OlvexRun again(folder.path());
    ASSERT_NE(again.top(), nullptr) << gd::last_error();
    ASSERT_TRUE(connect(again));
    ASSERT_TRUE(gd::press_keys(again.top(), "Ctrl+M"));
    HWND txs = gd::find_window("Send string", 5000, again.pid());
    ASSERT_NE(txs, nullptr);
    HWND msg = gd::find_control(txs, "after:Enter string:");
    DWORD_PTR items = 0;
    SendMessageTimeoutA(msg, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 3000, &items);
    EXPECT_EQ(items, 1u) << "the history holds hello";
    ASSERT_TRUE(gd::choose_combo(msg, 0));
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(msg) == "hello"; }, 3000)) << gd::text_of(msg);
    ASSERT_TRUE(gd::press_keys(again.top(), "Ctrl+I"));
    HWND txi = gd::find_window("Send integer", 5000, again.pid());
    ASSERT_NE(txi, nullptr);
    EXPECT_EQ(gd::text_of(gd::find_control(txi, "after:Dec:")), "300");
    EXPECT_EQ(gd::text_of(gd::find_control(txi, "after:Hex:")), "012C");
    EXPECT_EQ(gd::text_of(gd::find_control(txi, "after:Integer size [1-8 bytes]:")), "2");
}

TEST_F(TxWine, AFileAnotherProgramHoldsOpenIsRefusedWithTheSystemsReason)
{
    const std::string path = folder.file("random.bin");
    std::ofstream(path, std::ios::binary) << "held";
    // This program holds the file open and shares nothing.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    char reason[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_SHARING_VIOLATION, 0,
                   reason, sizeof reason, nullptr);
    std::string why(reason);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == ' ')) why.pop_back();
    ASSERT_FALSE(why.empty());
    OlvexRun olvex(folder.path());
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    ASSERT_TRUE(connect(olvex));
    ASSERT_TRUE(gd::press_keys(olvex.top(), "Ctrl+O")) << gd::last_error();
    ASSERT_TRUE(gd::fill_file_dialog("Open", path, 10000)) << gd::last_error();
    HWND box = gd::find_window("Error ...", 10000, olvex.pid());
    ASSERT_NE(box, nullptr) << gd::last_error();
    const std::string text = gd::message_box_text(box);
    EXPECT_NE(text.find("\"" + path + "\""), std::string::npos) << text;
    EXPECT_NE(text.find(why), std::string::npos) << text << " / " << why;
    std::string caption;
    EXPECT_TRUE(window_starting(olvex.pid(), "Tx (", &caption));
    EXPECT_EQ(caption, "Tx (0% done)");
    ASSERT_TRUE(gd::answer_message_box("Error ...", "OK")) << gd::last_error();
    EXPECT_TRUE(gd::wait_until([&] { return !window_starting(olvex.pid(), "Tx ("); }, 5000));
    CloseHandle(held);
    EXPECT_EQ(olvex.close(), 0);
}

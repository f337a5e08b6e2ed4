// XMODEM and YMODEM end to end under Wine against lrzsz, an implementation we
// did not write: olvex.exe on one pty end, sx/sb/rx/rb on the other (or behind
// a relay that spoils blocks and drops an ACK), the window driven from outside.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;
using Bytes = std::vector<std::uint8_t>;

namespace {

enum Proto { Xmodem, XmodemCrc, Xmodem1k, Ymodem };

void write_file(const std::string& path, const Bytes& b)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

Bytes read_file(const std::string& path)
{
    const std::string s = file_bytes(path);
    return Bytes(s.begin(), s.end());
}

// XMODEM carries no size: what was sent, padded with 0x1A to the block.
bool padded_copy(const Bytes& sent, const Bytes& got)
{
    if (got.size() < sent.size() || got.size() - sent.size() >= 1024) return false;
    if (!std::equal(sent.begin(), sent.end(), got.begin())) return false;
    return std::all_of(got.begin() + std::ptrdiff_t(sent.size()), got.end(), [](std::uint8_t c) { return c == 0x1A; });
}

}  // namespace

class XferLrzsz : public OlvexE2eTest {
 protected:
    void SetUp() override
    {
        OlvexE2eTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        if (!run_unix_shell("command -v sx && command -v rb", 5000)) GTEST_SKIP() << "lrzsz is not installed";
        dir_ = "/tmp/olvex-xfer-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(run_unix_shell("rm -rf " + dir_ + " && mkdir -p " + dir_ + "/out", 5000));
        far_tty_ = "$(readlink ${OLVEX_DOSDEVICES}/com" + std::to_string(env_port("OLVEX_COM_B")) + ")";
    }
    void TearDown() override
    {
        if (!dir_.empty()) run_unix_shell("pkill -f " + dir_ + "/relay; rm -rf " + dir_, 5000);
    }

    std::string win(const std::string& name) const { return wine_path(dir_ + "/" + name); }
    // lrzsz in the test folder's out/ with its stdin and stdout on `tty` (the
    // far pty end unless a relay stands between); its exit code lands in rc.
    // What the last run left on the line (an EOT repeated after lrzsz had
    // quit without its last ACK reaching us) is read away first.
    bool start_far(const std::string& command, const std::string& tty = {})
    {
        run_unix_shell("rm -f " + dir_ + "/rc", 2000);
        const std::string t = tty.empty() ? far_tty_ : tty;
        return run_unix_shell("cd " + dir_ + "/out && ((timeout 0.3 cat <" + t + " >/dev/null; " + command + " <" + t +
                                  " >" + t + " 2>../far.log; echo $? >../rc) &)",
                              5000);
    }
    // The far end's exit code, -1 when it has not ended within timeout_ms.
    int far_result(int timeout_ms)
    {
        const std::string rc = win("rc");
        int code = -1;
        gd::wait_until(
            [&] {
                const std::string s = file_bytes(rc);
                if (s.empty()) return false;
                code = std::atoi(s.c_str());
                return true;
            },
            timeout_ms);
        return code;
    }
    std::string far_log() { return file_bytes(win("far.log")); }
    // A relay between the far pty end and a pair of its own, whose other end it returns.
    std::string start_relay(bool olvex_sends)
    {
        const std::string d = dir_;
        const std::string relay = "${OLVEX_ROOT:-.}/tests/tx/xfer_fault_relay.py";
        const std::string ours = far_tty_, theirs = d + "/x";
        const std::string sender = olvex_sends ? ours : theirs, receiver = olvex_sends ? theirs : ours;
        const bool ok = run_unix_shell(
            "cd " + d + " && (socat pty,raw,echo=0,link=" + d + "/x pty,raw,echo=0,link=" + d +
                "/y </dev/null >/dev/null 2>&1 &) && i=0 && while [ ! -e x -o ! -e y ] && [ $i -lt 100 ]; do sleep "
                "0.05; i=$((i+1)); done && (cp " +
                relay + " " + d + "/relay.py && python3 " + d + "/relay.py " + sender + " " + receiver +
                " 50 30 2>relay.log &)",
            10000);
        return ok ? d + "/y" : std::string();
    }

    // Opens the window (once) and picks the protocol.
    HWND window(const OlvexRun& olvex, Proto p)
    {
        if (!xfer_) {
            if (!gd::press_keys(olvex.top(), "Ctrl+Shift+T")) return nullptr;
            xfer_ = gd::find_window("File transfer", 5000, olvex.pid());
        }
        if (xfer_) gd::choose_combo(gd::find_control(xfer_, "after:Protocol:"), p);
        return xfer_;
    }
    std::string status() const { return gd::text_of(gd::find_control(xfer_, "after:Status:")); }
    // The block the status line names, 0 before the first.
    long status_block() const
    {
        const std::string s = status();
        const std::size_t at = s.find("block ");
        return at == std::string::npos ? 0 : std::atol(s.c_str() + at + 6);
    }
    // The transfer has ended when Send... can be pressed again.
    bool wait_ended(int timeout_ms) const
    {
        HWND send = gd::find_control(xfer_, "Send...");
        return gd::wait_until([&] { return IsWindowEnabled(send) != 0; }, timeout_ms);
    }
    bool send(const OlvexRun& olvex, Proto p, const std::string& name)
    {
        return window(olvex, p) && gd::click_button(xfer_, "Send...") &&
               gd::fill_file_dialog("Open", win(name), 20000) &&
               gd::wait_until([&] { return !IsWindowEnabled(gd::find_control(xfer_, "Send...")); }, 5000);
    }
    bool receive(const OlvexRun& olvex, Proto p, const std::string& target)
    {
        const char* caption = p == Ymodem ? "Receive into folder" : "Receive into file";
        return window(olvex, p) && gd::click_button(xfer_, "Receive...") &&
               gd::fill_file_dialog(caption, target, 20000) &&
               gd::wait_until([&] { return !IsWindowEnabled(gd::find_control(xfer_, "Send...")); }, 5000);
    }

    std::string dir_, far_tty_;
    HWND xfer_ = nullptr;
    StartFolder folder{"olvex_xfer_e2e_"};
};

TEST_F(XferLrzsz, SendsEverySizeToRxAndRbByteExact)
{
    OlvexRun olvex(folder.path());
    ASSERT_TRUE(olvex.connect());
    const std::size_t sizes[] = {0, 1, 127, 1048576, 128, 1023, 1025};
    struct Case {
        Proto proto;
        const char* peer;
    } cases[] = {{XmodemCrc, "rx -c -b got"}, {Xmodem1k, "rx -c -b got"}, {Ymodem, "rb -b -y"}};
    for (const Case& c : cases) {
        for (std::size_t size : sizes) {
            SCOPED_TRACE(std::string(c.peer) + ", " + std::to_string(size) + " bytes");
            const std::string name = std::to_string(size) + ".bin";
            const Bytes content = random_bytes(size, std::uint32_t(size + c.proto));
            write_file(win(name), content);
            ASSERT_TRUE(start_far(c.peer));
            ASSERT_TRUE(send(olvex, c.proto, name));
            ASSERT_TRUE(wait_ended(120000)) << status();
            EXPECT_EQ(far_result(10000), 0) << far_log();
            const std::string got = win(c.proto == Ymodem ? "out/" + name : "out/got");
            if (c.proto == Ymodem)
                EXPECT_EQ(read_file(got), content);
            else
                EXPECT_TRUE(padded_copy(content, read_file(got))) << read_file(got).size() << " bytes";
            EXPECT_EQ(gd::status_text(olvex.status_bar(), 0), "connected");
            run_unix_shell("rm -f " + dir_ + "/out/*", 2000);
        }
    }
}

TEST_F(XferLrzsz, ReceivesFromSxAndABatchFromSb)
{
    OlvexRun olvex(folder.path());
    ASSERT_TRUE(olvex.connect());
    const Bytes one = random_bytes(300000, 1), two = random_bytes(1025, 2);
    write_file(win("out/one.bin"), one);
    write_file(win("out/two.bin"), two);
    for (auto [proto, peer] : {std::pair{XmodemCrc, "sx -b one.bin"}, {Xmodem1k, "sx -k -b one.bin"}}) {
        SCOPED_TRACE(peer);
        DeleteFileA(win("got.bin").c_str());
        ASSERT_TRUE(start_far(peer));
        ASSERT_TRUE(receive(olvex, proto, win("got.bin")));
        ASSERT_TRUE(wait_ended(120000)) << status();
        EXPECT_EQ(far_result(10000), 0) << far_log();
        EXPECT_TRUE(padded_copy(one, read_file(win("got.bin"))));
    }
    CreateDirectoryA(win("batch").c_str(), nullptr);
    ASSERT_TRUE(start_far("sb -k -b one.bin two.bin"));
    ASSERT_TRUE(receive(olvex, Ymodem, win("batch\\pick")));
    ASSERT_TRUE(wait_ended(120000)) << status();
    EXPECT_EQ(far_result(10000), 0) << far_log();
    EXPECT_EQ(read_file(win("batch/one.bin")), one);
    EXPECT_EQ(read_file(win("batch/two.bin")), two);
    EXPECT_NE(status().find("2 files"), std::string::npos) << status();
}

TEST_F(XferLrzsz, RecoversFromSpoiledBlocksAndADroppedAckBothWays)
{
    OlvexRun olvex(folder.path());
    ASSERT_TRUE(olvex.connect());
    const Bytes content = random_bytes(200000, 9);
    write_file(win("f.bin"), content);
    write_file(win("out/f.bin"), content);
    {
        const std::string tty = start_relay(true);
        ASSERT_FALSE(tty.empty());
        ASSERT_TRUE(start_far("rb -b -y", tty));
        ASSERT_TRUE(send(olvex, Ymodem, "f.bin"));
        ASSERT_TRUE(wait_ended(180000)) << status();
        EXPECT_EQ(far_result(20000), 0) << far_log();
        run_unix_shell("pkill -f " + dir_ + "/relay", 2000);
        EXPECT_NE(file_bytes(win("relay.log")).find("dropped ACK"), std::string::npos);
    }
    Bytes sent_back = read_file(win("out/f.bin"));
    EXPECT_EQ(sent_back, content);
    {
        const std::string tty = start_relay(false);
        ASSERT_FALSE(tty.empty());
        ASSERT_TRUE(start_far("sb -k -b f.bin", tty));
        CreateDirectoryA(win("in").c_str(), nullptr);
        ASSERT_TRUE(receive(olvex, Ymodem, win("in\\pick")));
        ASSERT_TRUE(wait_ended(180000)) << status();
        EXPECT_EQ(far_result(20000), 0) << far_log();
        EXPECT_EQ(read_file(win("in/f.bin")), content);
        EXPECT_NE(file_bytes(win("relay.log")).find("spoiled block"), std::string::npos);
    }
}

TEST_F(XferLrzsz, AKilledSenderLeavesAPartFileAndCancelStopsRb)
{
    OlvexRun olvex(folder.path());
    ASSERT_TRUE(olvex.connect());
    const Bytes big = random_bytes(4194304, 4);
    write_file(win("out/big.bin"), big);
    write_file(win("big.bin"), big);
    CreateDirectoryA(win("in").c_str(), nullptr);
    ASSERT_TRUE(start_far("sb -k -b big.bin"));
    ASSERT_TRUE(receive(olvex, Ymodem, win("in\\pick")));
    ASSERT_TRUE(gd::wait_until([&] { return status_block() >= 50; }, 30000)) << status();
    run_unix_shell("pkill -TERM -x sb", 2000);
    ASSERT_TRUE(wait_ended(150000)) << status();
    HWND box = gd::find_window("Error ...", 5000, olvex.pid());
    ASSERT_TRUE(box);
    const std::string said = gd::message_box_text(box);
    EXPECT_NE(said.find("at block"), std::string::npos) << said;
    EXPECT_NE(said.find("big.bin.part"), std::string::npos) << said;
    gd::answer_message_box("Error ...", "OK");
    const Bytes part = read_file(win("in/big.bin.part"));
    EXPECT_GT(part.size(), 0u);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), big.begin())) << "the part holds what arrived, unaltered";

    ASSERT_TRUE(start_far("rb -b -y"));
    ASSERT_TRUE(send(olvex, Ymodem, "big.bin"));
    ASSERT_TRUE(gd::wait_until([&] { return status_block() >= 3; }, 30000)) << status();
    gd::click_button(xfer_, "Cancel");
    ASSERT_TRUE(wait_ended(20000)) << status();
    EXPECT_NE(far_result(20000), 0);
    EXPECT_NE(far_log().find("ancel"), std::string::npos) << far_log();
    EXPECT_NE(status().find("Cancelled at block"), std::string::npos) << status();
    EXPECT_EQ(gd::status_text(olvex.status_bar(), 0), "connected");
}

// Capture to file and the output lines end to end under Wine: olvex.exe on a
// pty as COM1, driven from outside. The peer on the other end sends 20 MB of
// random bytes, and the captured file must have the same sha256 as the data;
// a pty has no modem lines, which the program says once.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

// The item's caption, with the ellipsis of the ANSI code page.
constexpr const char* capture_item = "Rx/Capture to file\x85";

std::string status(HWND sb, int panel)
{
    std::string t = gd::status_text(sb, panel);
    const auto first = t.find_first_not_of('\t');
    return first == std::string::npos ? std::string() : t.substr(first);
}

std::string read_all(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The sha256 digests of files in a Unix folder, by sha256sum, in their order.
std::vector<std::string> sha256_of(const std::string& unix_dir, const std::vector<std::string>& names)
{
    std::string script = "cd '" + unix_dir + "' && sha256sum";
    for (const auto& n : names) script += " '" + n + "'";
    script += " > sums.txt";
    std::vector<std::string> sums;
    if (!run_unix_shell(script, 120000)) return sums;
    std::ifstream in(wine_path(unix_dir + "/sums.txt"));
    std::string digest, name;
    while (in >> digest >> name) sums.push_back(digest);
    return sums;
}

}  // namespace

class ToolsWine : public ::testing::Test {
 protected:
    void SetUp() override
    {
        if (const std::string why = e2e_ports_missing(); !why.empty()) GTEST_SKIP() << why;
        ASSERT_TRUE(link_com1_to_com_a());
        // On the Unix side, where sha256sum can read the files.
        unix_dir = "/tmp/olvex_capture_e2e_" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(run_unix_shell("mkdir -p '" + unix_dir + "'", 10000));
        dir = wine_path(unix_dir);
        for (char& c : dir)
            if (c == '/') c = '\\';
    }
    void TearDown() override
    {
        if (!unix_dir.empty()) run_unix_shell("rm -rf '" + unix_dir + "'", 10000);
    }

    // olvex.exe started in dir, so that its config.ini lives there.
    HWND start(gd::Process& proc)
    {
        char old[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, old);
        SetCurrentDirectoryA(dir.c_str());
        const bool started = gd::start(proc, gd::exe_folder() + "olvex.exe");
        SetCurrentDirectoryA(old);
        return started ? gd::find_window("Olvex terminal", 15000, proc.pid) : nullptr;
    }

    std::string unix_dir;
    std::string dir;
};

TEST_F(ToolsWine, TwentyMegabytesFromThePeerLandInTheFileUnchanged)
{
    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    gd::Process proc;
    HWND top = start(proc);
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = gd::find_control(top, "class:msctls_statusbar32:1");
    ASSERT_NE(sb, nullptr);

    ASSERT_TRUE(gd::choose_menu(top, "Port/Connect"));
    ASSERT_TRUE(gd::wait_until([&] { return status(sb, 0) == "connected"; }, 5000));
    const gd::MenuItem item = gd::menu_item(top, capture_item);
    ASSERT_TRUE(item.found) << gd::last_error();
    EXPECT_FALSE(item.checked);
    EXPECT_EQ(item.accelerator, "Ctrl+K");
    // Spelt in UTF-8, the caption names the same item.
    EXPECT_EQ(gd::menu_item(top, "Rx/Capture to file\xE2\x80\xA6").id, item.id);

    const std::string capture = dir + "\\capture.bin";
    ASSERT_TRUE(gd::choose_menu(top, capture_item));
    ASSERT_TRUE(gd::fill_file_dialog("Save As", capture, 10000)) << gd::last_error();
    ASSERT_TRUE(gd::wait_until([&] { return gd::menu_item(top, capture_item).checked; }, 5000));
    EXPECT_TRUE(gd::wait_until([&] { return status(sb, 1).find(" | capture: 0B") != std::string::npos; }, 3000))
        << status(sb, 1);

    const std::size_t total = 20u << 20;
    const std::vector<std::uint8_t> data = random_bytes(total, 20261209);
    std::thread writer([&] { EXPECT_TRUE(peer.write_all(data.data(), data.size(), 240000)); });
    const std::string done = " | capture: " + std::to_string(total) + "B";
    const bool all = gd::wait_until([&] { return status(sb, 1).find(done) != std::string::npos; }, 240000);
    writer.join();
    ASSERT_TRUE(all) << status(sb, 1);
    EXPECT_EQ(status(sb, 1).rfind(" Rx: " + std::to_string(total) + "B", 0), 0u) << status(sb, 1);

    // Off: the file is closed and the status bar drops the capture's words.
    ASSERT_TRUE(gd::choose_menu(top, capture_item));
    ASSERT_TRUE(gd::wait_until([&] { return !gd::menu_item(top, capture_item).checked; }, 5000));
    EXPECT_TRUE(gd::wait_until([&] { return status(sb, 1).find("capture") == std::string::npos; }, 3000));

    {
        std::ofstream out(dir + "\\data.bin", std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    }
    const std::vector<std::string> sums = sha256_of(unix_dir, {"capture.bin", "data.bin"});
    ASSERT_EQ(sums.size(), 2u);
    EXPECT_EQ(sums[0], sums[1]);
    const std::string captured = read_all(capture);
    ASSERT_EQ(captured.size(), total);
    EXPECT_TRUE(captured == std::string(data.begin(), data.end()));

    PostMessageA(top, WM_CLOSE, 0, 0);
    EXPECT_EQ(proc.wait(10000), 0);
}

TEST_F(ToolsWine, APtyWithoutModemLinesIsToldOnce)
{
    gd::Process proc;
    HWND top = start(proc);
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = gd::find_control(top, "class:msctls_statusbar32:1");
    for (const char* item : {"Port/DTR", "Port/RTS", "Port/Send break"})
        EXPECT_FALSE(gd::menu_item(top, item).enabled) << item;
    ASSERT_TRUE(gd::choose_menu(top, "Port/Connect"));
    ASSERT_TRUE(gd::wait_until([&] { return status(sb, 0) == "connected"; }, 5000));
    EXPECT_TRUE(gd::menu_item(top, "Port/DTR").checked);
    EXPECT_TRUE(gd::menu_item(top, "Port/RTS").checked);

    ASSERT_TRUE(gd::choose_menu(top, "Port/DTR"));
    HWND box = gd::find_window("Error", 5000, proc.pid);
    ASSERT_NE(box, nullptr) << "no message for a refused DTR";
    EXPECT_EQ(gd::message_box_text(box),
              "The driver of COM1 refused to set DTR.\nThis port may have no modem control lines.");
    ASSERT_TRUE(gd::answer_message_box("Error", "OK"));
    // The mark stays with the line, and the next refusals pass in silence.
    EXPECT_TRUE(gd::menu_item(top, "Port/DTR").checked);
    ASSERT_TRUE(gd::choose_menu(top, "Port/RTS"));
    ASSERT_TRUE(gd::choose_menu(top, "Port/Send break"));
    EXPECT_EQ(gd::find_window("Error", 1500, proc.pid), nullptr);
    EXPECT_TRUE(gd::wait_until([&] { return gd::menu_item(top, "Port/Send break").enabled; }, 3000));
    EXPECT_EQ(status(sb, 0), "connected");

    PostMessageA(top, WM_CLOSE, 0, 0);
    EXPECT_EQ(proc.wait(10000), 0);
}

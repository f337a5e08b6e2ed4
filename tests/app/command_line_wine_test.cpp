// olvex.exe started from outside under Wine with a command line: a port and
// frame given connect at start for that run only (COM40 too, which only the
// mount manager's registry names), "/config" keeps a settings file of its
// own, and a refused argument is said before the program goes on.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

std::string status(HWND sb, int panel)
{
    std::string t = gd::status_text(sb, panel);
    const auto first = t.find_first_not_of('\t');
    return first == std::string::npos ? std::string() : t.substr(first);
}

std::string file_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

using CommandLineWine = OlvexE2eTest;

// The pair's port, and COM40, which only the mount manager's registry names.
TEST_F(CommandLineWine, PortAndFrameConnectAtStartAndStayOutOfTheFile)
{
    RegisteredPort registered;
    std::vector<std::pair<int, int>> lines = {{env_port("OLVEX_COM_A"), env_port("OLVEX_COM_B")}};
    if (registered.ok()) lines.emplace_back(registered.number, registered.far_end);
    EXPECT_TRUE(registered.ok() || !registered.number) << "no pty for COM" << registered.number;
    for (const auto& [com, far_end] : lines) {
        SCOPED_TRACE("COM" + std::to_string(com));
        RawPeer peer(far_end);
        ASSERT_TRUE(peer.is_open());
        StartFolder folder("olvex_cmdline_");
        const std::string stored = "[PORT]\r\nport_num=1\r\nport_baud=57600\r\n";
        std::ofstream(folder.file("config.ini"), std::ios::binary) << stored;
        OlvexRun olvex(folder.path(), "COM" + std::to_string(com) + " 9600,7E2");
        HWND top = olvex.top();
        ASSERT_NE(top, nullptr) << gd::last_error();
        HWND sb = olvex.status_bar();
        ASSERT_TRUE(gd::wait_until([&] { return status(sb, 0) == "connected"; }, 5000)) << status(sb, 0);

        HWND tabs = gd::find_control(top, "class:SysTabControl32:1");
        ASSERT_TRUE(gd::select_tab(tabs, 2));
        const std::pair<const char*, std::string> fields[] = {
            {"after:Port:", " COM" + std::to_string(com)},
            {"after:Baud rate:", " 9.600 kbd/s"},
            {"after:Data bits:", " 7"},
            {"after:Parity:", " even"},
            {"after:Stop bits:", " 2.0"},
            {"after:Frame length:", " 11.0 bit"},
        };
        for (const auto& [selector, text] : fields) {
            HWND field = gd::find_control(top, selector);
            ASSERT_NE(field, nullptr) << selector;
            EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(field) == text; }, 3000))
                << selector << " reads '" << gd::text_of(field) << "'";
        }
        // The port is really open in that frame: a Tab (below 128) crosses it whole.
        ASSERT_TRUE(gd::choose_menu(top, "Tx/Send Tab"));
        EXPECT_EQ(peer.read_up_to(1, 2000), (std::vector<std::uint8_t>{9}));

        EXPECT_EQ(olvex.close(), 0);
        const std::string saved = file_text(folder.file("config.ini"));
        EXPECT_NE(saved.find("port_num=1\r\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("port_baud=57600\r\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("port_bit=8\r\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("port_parity=NO\r\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("[TXTVIEW]"), std::string::npos) << "the other groups save as usual";
    }
}

TEST_F(CommandLineWine, ConfigSwitchWritesItsOwnFileAndLeavesConfigIniAlone)
{
    StartFolder folder("olvex_cmdcfg_", {"bench.ini"});
    const std::string stored = "[PORT]\r\nport_num=3\r\n";
    std::ofstream(folder.file("config.ini"), std::ios::binary) << stored;
    OlvexRun olvex(folder.path(), "/config bench.ini");
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    ASSERT_TRUE(gd::choose_menu(olvex.top(), "Rx/Text/Word wrap"));
    EXPECT_EQ(olvex.close(), 0);
    EXPECT_EQ(file_text(folder.file("config.ini")), stored);
    const std::string own = file_text(folder.file("bench.ini"));
    EXPECT_NE(own.find("[PORT]"), std::string::npos) << own;
    EXPECT_NE(own.find("port_num=1\r\n"), std::string::npos) << own;
    EXPECT_NE(own.find("word_wrap=1\r\n"), std::string::npos) << own;
}

TEST_F(CommandLineWine, ARefusedArgumentIsSaidAndTheRestStillCounts)
{
    StartFolder folder("olvex_cmdbad_");
    OlvexRun olvex(folder.path(), "COM300 /connect");
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    // The box names the argument; the program then connects to the stored COM1.
    HWND box = gd::find_window("Olvex terminal: command line", 5000, olvex.pid());
    ASSERT_NE(box, nullptr) << gd::last_error();
    EXPECT_NE(gd::message_box_text(box).find("\"COM300\": the port number must be 1 to 255"), std::string::npos)
        << gd::message_box_text(box);
    ASSERT_TRUE(gd::answer_message_box("Olvex terminal: command line", "OK")) << gd::last_error();
    HWND sb = olvex.status_bar();
    EXPECT_TRUE(gd::wait_until([&] { return status(sb, 0) == "connected"; }, 5000)) << status(sb, 0);
}

// olvex.exe under Wine, driven from outside: the peer sends 1,000 lines
// "i,i*i"; the Plot page's "Export CSV..." writes exactly those values.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/app/olvex_process.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

using PlotWine = OlvexE2eTest;

TEST_F(PlotWine, AThousandSquaresComeBackInTheExport)
{
    std::string sent, expected = "line,1,2\r\n";
    for (int i = 0; i < 1000; ++i) {
        const std::string values = std::to_string(i) + "," + std::to_string(i * i);
        sent += values + "\r\n";
        expected += std::to_string(i + 1) + "," + values + "\r\n";
    }

    RawPeer peer(env_port("OLVEX_COM_B"));
    ASSERT_TRUE(peer.is_open());
    StartFolder folder("olvex_plot_", {"plot.csv"});
    OlvexRun olvex(folder.path());
    HWND top = olvex.top();
    ASSERT_NE(top, nullptr) << gd::last_error();
    HWND sb = olvex.status_bar();
    ASSERT_TRUE(olvex.connect()) << gd::last_error();
    ASSERT_TRUE(peer.write_all(sent.data(), sent.size(), 30000));
    const std::string all_in = " Rx: " + std::to_string(sent.size()) + "B";
    ASSERT_TRUE(gd::wait_until([&] { return gd::status_text(sb, 1).rfind(all_in, 0) == 0; }, 30000))
        << gd::status_text(sb, 1);

    HWND tabs = gd::find_control(top, "class:SysTabControl32:1");
    ASSERT_NE(tabs, nullptr) << gd::last_error();
    ASSERT_TRUE(gd::select_tab(tabs, 3));
    EXPECT_TRUE(gd::wait_until([&] { return gd::find_control(top, "skipped: 0 lines") != nullptr; }, 3000));
    const std::string path = folder.file("plot.csv");
    ASSERT_TRUE(gd::click_button(top, "Export CSV...")) << gd::last_error();
    ASSERT_TRUE(gd::fill_file_dialog("Save As", path, 10000)) << gd::last_error();

    const std::string got = file_bytes_when(
        path, [&](const std::string& b) { return b.size() >= expected.size(); }, 10000);
    EXPECT_EQ(got, expected);
    // OLVEX_PLOT_SHOT=/path.png photographs the page.
    if (const char* shot = std::getenv("OLVEX_PLOT_SHOT")) {
        Sleep(1000);
        run_unix_shell(std::string("import -window root '") + shot + "'", 20000);
    }
}

// The whole program's settings life on the headless backend: the settings file
// opened in the start folder, loaded when the main window first shows, the
// dialogs reached from the menu, and the save when it closes.
#include <algorithm>

#include "tests/app/main_window_fixture.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

class MainWindowSettingsTest : public ProgramStartTest {
 protected:
    void SetUp() override
    {
        ProgramStartTest::SetUp();
        sim.add_port(2);
    }
};

TEST_F(MainWindowSettingsTest, NoFileStartsWithDefaultsAndTheCloseWritesEveryKey)
{
    start();
    EXPECT_EQ(port_settings().settings_loaded, 1);
    EXPECT_FALSE(link().connected());
    EXPECT_EQ(port_settings().port_num, 1);
    EXPECT_TRUE(m->menu.MMas.checked());
    EXPECT_FALSE(m->menu.MMwwrap.checked());
    EXPECT_FALSE(m->menu.MMdis.checked());
    EXPECT_TRUE(m->menu.MMlnCR.checked());
    EXPECT_EQ(m->help.help_path(), "");
    EXPECT_FALSE(fs::exists(dir_ / "config.ini"));
    stop();
    const Lines all = filled_lines();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0], "[PORT]");
    EXPECT_EQ(section("PORT").size(), 21u);
    EXPECT_EQ(section("PORT")[0], "port_num=1");
    EXPECT_EQ(section("PORT")[19], "port_tx_size_lim=1");
    EXPECT_EQ(section("PORT")[20], "port_reconnect=0");
    EXPECT_EQ(section("TXTVIEW"), (Lines{"auto_scroll=1", "word_wrap=0", "special_char_display=0", "line_break=0",
                                         "timestamps=0", "follow_new_data=1", "ansi_colours=0", "utf8=0"}));
    // The capture and plot export folders come after every key the PATH section had before.
    EXPECT_EQ(section("PATH"), (Lines{"path_send_file=", "path_save_bin=", "path_save_text=", "path_capture=",
                                      "path_plot_csv=", "path_traffic_csv="}));
    EXPECT_TRUE(section("HELP").empty());
    for (const auto& l : all) EXPECT_EQ(l.find("special_char="), std::string::npos) << l;
}

TEST_F(MainWindowSettingsTest, StoredSettingsComeBackAtTheNextStart)
{
    std::ofstream(dir_ / "manual.txt") << "help";
    put("[PORT]\r\nport_num=2\r\nport_baud=0x2580\r\nport_parity=SPACE\r\nport_open=7\r\nport_reconnect=1\r\n"
        "[TXTVIEW]\r\nauto_scroll=0\r\nword_wrap=1\r\nspecial_char_display=1\r\nspecial_char=*\r\n"
        "line_break=3\r\nansi_colours=1\r\nutf8=1\r\n[HELP]\r\npath=manual.txt\r\n[PATH]\r\npath_save_text=C:"
        "\\saved\r\npath_"
        "save_bin=C:\\bin\r\n");
    start();
    EXPECT_TRUE(link().connected()) << "port_open 7 loads as 1 and connects";
    EXPECT_TRUE(sim.is_open(2));
    EXPECT_EQ(port_settings().port_baud, 9600);
    EXPECT_EQ(port_settings().port_parity, 3);
    EXPECT_TRUE(m->menu.MMreconnect.checked());
    EXPECT_FALSE(m->menu.MMas.checked());
    EXPECT_TRUE(m->menu.MMwwrap.checked());
    EXPECT_TRUE(m->text_page.Mtxt.word_wrap());
    EXPECT_TRUE(m->menu.MMdis.checked());
    EXPECT_TRUE(m->menu.MMlnLFCR.checked());
    EXPECT_FALSE(m->menu.MMlnCR.checked());
    EXPECT_TRUE(m->menu.MMansi.checked());
    EXPECT_TRUE(link().rx_text_ansi_on());
    EXPECT_TRUE(m->menu.MMutf8.checked());
    EXPECT_TRUE(link().rx_text().utf8());
    EXPECT_EQ(m->save.SD1.initial_dir, "C:\\saved");
    EXPECT_EQ(RXSForm->SD1.initial_dir, "C:\\bin");
    EXPECT_EQ(m->help.help_path(), dir_.string() + "\\manual.txt");
    user.press("F1");
    ASSERT_EQ(user.world().shell_opens.size(), 1u);
    EXPECT_EQ(user.world().shell_opens[0], dir_.string() + "\\manual.txt");
    fs::remove(dir_ / "manual.txt");
    user.answer_message_box(ui::mr::Ok);  // when no manual stands beside the program either
    user.press("F1");
    EXPECT_EQ(
        std::count(user.world().shell_opens.begin(), user.world().shell_opens.end(), dir_.string() + "\\manual.txt"), 1)
        << "a help file gone since the start is not opened";
    stop();
    EXPECT_FALSE(sim.is_open(2));
    // Keys already in the file are rewritten where they stand.
    EXPECT_EQ(section("PORT")[0], "port_num=2");
    EXPECT_EQ(section("PORT")[1], "port_baud=9600");
    EXPECT_EQ(section("PORT")[2], "port_parity=SPACE");
    EXPECT_EQ(section("PORT")[3], "port_open=1");
    EXPECT_EQ(section("PORT")[4], "port_reconnect=1");
    EXPECT_EQ(section("PORT").size(), 21u);
    EXPECT_EQ(section("TXTVIEW"),
              (Lines{"auto_scroll=0", "word_wrap=1", "special_char_display=1", "special_char=*", "line_break=3",
                     "ansi_colours=1", "utf8=1", "timestamps=0", "follow_new_data=1"}));
    EXPECT_EQ(section("HELP"), (Lines{"path=manual.txt"}));
}

TEST_F(MainWindowSettingsTest, AbsentReplacementCharacterHidesInvisibleSymbols)
{
    put("[TXTVIEW]\r\nspecial_char_display=1\r\nline_break=-2\r\n");
    start();
    EXPECT_FALSE(m->menu.MMdis.checked());
    EXPECT_TRUE(m->menu.MMlnCR.checked());
    stop();
    EXPECT_EQ(section("TXTVIEW"), (Lines{"special_char_display=0", "line_break=0", "auto_scroll=1", "word_wrap=0",
                                         "timestamps=0", "follow_new_data=1", "ansi_colours=0", "utf8=0"}));
}

TEST_F(MainWindowSettingsTest, AutoConnectToAPortThatCannotOpenSaysWhich)
{
    put("[PORT]\r\nport_num=9\r\nport_open=1\r\n");
    user.answer_message_box(ui::mr::Ok);
    start();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_THAT(boxes()[0].text, testing::StartsWith("COM9 opening failed!\nCreateFileA could not open "));
    EXPECT_EQ(boxes()[0].caption, "Error");
    EXPECT_FALSE(link().connected());
}

TEST_F(MainWindowSettingsTest, DialogChoicesReachTheFileAtClose)
{
    start();
    user.click(m->tools.BtnCon);
    ASSERT_TRUE(link().connected());
    user.in_modal("CSForm", [&](ui::Form&) {
        TCSForm& d = *CSForm;
        EXPECT_EQ(d.CBcomn.items(), (Lines{"COM1", "COM2"})) << "the connected port was freed first";
        user.select(d.CBbaud, "Custom 2");
        user.select(d.CBparity, "Mark");
        user.click(d.BtnOk);
    });
    user.choose(m->menu.MMcomset);
    EXPECT_TRUE(link().connected()) << "reconnected with the new settings";
    EXPECT_EQ(sim.dcb(1).BaudRate, 1500000u);
    stop();
    EXPECT_EQ(section("PORT")[1], "port_baud=1500000");
    EXPECT_EQ(section("PORT")[4], "port_parity=MARK");

    start();
    user.in_modal("CSForm", [&](ui::Form&) {
        TCSForm& d = *CSForm;
        EXPECT_EQ(d.CBbaud.text(), "Custom 2");
        EXPECT_EQ(d.CBparity.text(), "Mark");
        user.click(d.BtnCancel);
    });
    user.choose(m->menu.MMcomset);
}

TEST_F(MainWindowSettingsTest, FindHistoryAndFollowNewDataComeBack)
{
    start();
    user.press("Ctrl+Shift+F");
    TFindForm& f = *FindForm;
    // Twelve searches (nothing received: each says "Not found"), one twice.
    for (int i = 0; i < 12; ++i) {
        f.CBfind.set_text("p" + std::to_string(i % 11));
        user.click(f.BtnNext);
        for (int wait = 0; wait < 2000 && f.searching(); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            user.wait(find_poll_ms);
        }
    }
    user.click(f.CBcase);
    user.choose(m->menu.MMfollow);
    stop();
    const Lines all = filled_lines();
    // Sections added later are saved after these.
    const auto at = [&](const char* header) { return std::find(all.begin(), all.end(), header) - all.begin(); };
    EXPECT_EQ(at("[PLOT]") - at("[FIND]"), 14) << "the find history and pattern, then the plot";
    EXPECT_GT(at("[FIND]"), at("[TXTVIEW]"));
    EXPECT_EQ(section("PLOT"), (Lines{"own_scale=0", "shown_series=255"}));
    EXPECT_EQ(section("FIND"),
              (Lines{"find_00=p0", "find_01=p10", "find_02=p9", "find_03=p8", "find_04=p7", "find_05=p6", "find_06=p5",
                     "find_07=p4", "find_08=p3", "find_09=p2", "find_text=p0", "find_hex=0", "find_case=1"}));
    EXPECT_GT(at("[TRAFFIC]"), at("[PLOT]"));
    EXPECT_EQ(section("TRAFFIC"), (Lines{"frame_gap=20", "split_lines=0", "hex=0"}));
    EXPECT_EQ(section("TXTVIEW")[5], "follow_new_data=0");

    start();
    EXPECT_FALSE(m->menu.MMfollow.checked());
    EXPECT_EQ(FindForm->CBfind.items(), (Lines{"p0", "p10", "p9", "p8", "p7", "p6", "p5", "p4", "p3", "p2"}));
    // The last pattern and its boxes too, so F3 after a restart searches again.
    EXPECT_EQ(FindForm->CBfind.text(), "p0");
    EXPECT_TRUE(FindForm->CBcase.checked());
    EXPECT_FALSE(FindForm->CBhex.checked());
}

TEST_F(MainWindowSettingsTest, EachStartFolderHasItsOwnFile)
{
    put("[PORT]\r\nport_num=2\r\n");
    const fs::path other = dir_ / "other";
    fs::create_directories(other);
    fs::current_path(other);
    start();
    EXPECT_EQ(port_settings().port_num, 1);
    fs::current_path(dir_);  // a later change of directory does not move the file
    stop();
    EXPECT_TRUE(fs::exists(other / "config.ini"));
    EXPECT_EQ(section("PORT")[0], "port_num=2");
}

TEST_F(MainWindowSettingsTest, GarbageFileStartsWithDefaults)
{
    std::string junk;
    for (int i = 0; i < 200000; ++i) junk += static_cast<char>((i * 7919) >> 3);
    put(junk + "\r\n[TXTVIEW]\r\nline_break=99999999999\r\nword_wrap\r\n[PORT]\r\nport_baud=" +
        std::string(100000, '7') + "\r\n");
    start();
    EXPECT_EQ(port_settings().port_baud, 115200);
    EXPECT_TRUE(m->menu.MMlnCR.checked());
    EXPECT_FALSE(m->menu.MMwwrap.checked());
    EXPECT_EQ(port_settings().settings_loaded, 1);
    stop();
}

TEST_F(MainWindowSettingsTest, AboutShowsModallyFromTheMenu)
{
    start();
    user.in_modal("AForm", [&](ui::Form&) { user.type("\x1b"); });
    user.choose(m->menu.MMabout);
    EXPECT_FALSE(AForm->visible());
}

TEST_F(MainWindowSettingsTest, ARefusedWriteIsShownAndTheProgramStillEnds)
{
    const fs::path gone = dir_ / "gone";
    fs::create_directories(gone);
    fs::current_path(gone);
    start();
    user.click(m->tools.BtnCon);
    ASSERT_TRUE(link().connected());
    fs::current_path(dir_);
    fs::remove(gone);  // the start folder vanished: every write is refused
    user.answer_message_box(ui::mr::Ok);
    user.close(*m);
    ASSERT_EQ(boxes().size(), 1u) << "one box for all the groups that failed";
    EXPECT_EQ(boxes()[0].text, "Unable to write to " + gone.string() + "\\config.ini");
    EXPECT_EQ(m->SB.panel(0).text, "disconnected") << "the port was closed before the box";
    EXPECT_TRUE(ui::app().terminated());
    windows.reset();
}

TEST_F(MainWindowSettingsTest, TheWindowsPlaceIsSavedLastAndComesBackOnTheScreen)
{
    start();
    EXPECT_EQ(m->normal_bounds(), ui::Rect::from_size(0, 0, 724, 550)) << "no place saved: as designed";
    m->set_normal_bounds(ui::Rect::from_size(200, 100, 900, 700));
    m->set_maximized(true);
    stop();
    EXPECT_EQ(headers().back(), "[WINDOW]");
    EXPECT_EQ(section("WINDOW"), (Lines{"left=200", "top=100", "width=900", "height=700", "maximized=1"}));
    start();
    EXPECT_TRUE(m->maximized());
    EXPECT_EQ(m->normal_bounds(), ui::Rect::from_size(200, 100, 900, 700)) << "where a restore goes back to";
    m->set_maximized(false);
    EXPECT_EQ(m->client_size(), (ui::Size{892, 654}));
    stop();

    // Fitted to the headless screen's work area (1280 x 984) and the least window size.
    put("[WINDOW]\r\nleft=5000\r\ntop=4000\r\nwidth=300\r\nheight=700\r\n");
    start();
    EXPECT_EQ(m->normal_bounds(), ui::Rect::from_size(278, 142, 724, 700)) << "wholly off: centred";
    EXPECT_FALSE(m->maximized());
}

}  // namespace

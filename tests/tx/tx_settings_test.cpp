// The transmit windows' settings through the whole program on the headless
// backend: where their keys land in a new config.ini, and what comes back at
// the next start.
#include "tests/app/main_window_fixture.h"

#include <algorithm>

#include "tx/slot_form.h"

using TxSettingsTest = ProgramStartTest;

TEST_F(TxSettingsTest, NewFileHoldsTheSectionsAndKeysInSaveOrder)
{
    start();
    stop();
    EXPECT_EQ(headers(), (Lines{"[PORT]", "[PATH]", "[TXCFG]", "[TXTVIEW]", "[FIND]", "[PLOT]", "[TXSTR]",
                                "[QUICKSEND]", "[TRAFFIC]", "[FILETRANSFER]", "[WINDOW]"}));
    EXPECT_EQ(section("TXSTR"), (Lines{"str_escapes=0", "str_checksum=0", "str_repeat_ms=1000"}));
    EXPECT_EQ(section("QUICKSEND").size(), 10u);
    EXPECT_EQ(section("QUICKSEND").back(), "slot_10=0") << "an unused slot writes its flag alone";
    EXPECT_EQ(section("PATH").front(), "path_send_file=");
    // The capture, the plot export and the traffic export folders follow every key the section had before them.
    EXPECT_EQ(section("PATH").back(), "path_traffic_csv=");
    EXPECT_EQ(section("PATH").rbegin()[1], "path_plot_csv=");
    EXPECT_EQ(section("PATH").rbegin()[2], "path_capture=");
    EXPECT_EQ(section("PATH").rbegin()[3], "path_save_text=");
    EXPECT_EQ(section("TXCFG"),
              (Lines{"str_eol=0", "str_eol_type=0", "str_eol_user_dec=13", "str_eol_user_hex=0D", "str_eos=1",
                     "int_val_dec=0", "int_val_hex=0", "int_val_bin=0", "int_radix=0", "int_len=4", "int_endian=0"}));
}

TEST_F(TxSettingsTest, HistoryGapsCloseAndTheSaveRemovesTheKeysPastItsEntries)
{
    // Both histories, Send string's and Find's: an empty or missing first key
    // once made the other entry come back twice.
    put("[TXCFG]\r\nstr_00=a\r\nstr_01=\r\nstr_02=b\r\n[FIND]\r\nfind_01=x\r\nfind_03=y\r\n");
    start();
    EXPECT_EQ(TXSForm->CBmsg.items(), (Lines{"a", "b"}));
    EXPECT_EQ(FindForm->CBfind.items(), (Lines{"x", "y"}));
    restart();
    EXPECT_EQ(TXSForm->CBmsg.items(), (Lines{"a", "b"}));
    EXPECT_EQ(FindForm->CBfind.items(), (Lines{"x", "y"}));
    const Lines txcfg = section("TXCFG");
    EXPECT_EQ(Lines(txcfg.begin(), txcfg.begin() + 2), (Lines{"str_00=a", "str_01=b"}));
    EXPECT_EQ(std::count_if(txcfg.begin(), txcfg.end(), [](const std::string& l) { return l.rfind("str_0", 0) == 0; }),
              2);
    const Lines find = section("FIND");
    EXPECT_EQ(Lines(find.begin(), find.begin() + 2), (Lines{"find_01=y", "find_00=x"}));
    EXPECT_EQ(std::count_if(find.begin(), find.end(), [](const std::string& l) { return l.rfind("find_0", 0) == 0; }),
              2);
}

TEST_F(TxSettingsTest, TwentyFiveStringsComeBackAsTheTwentyMostRecent)
{
    start();
    user.click(m->tools.BtnCon);
    user.press("Ctrl+M");
    for (int i = 0; i < 25; ++i) {
        TXSForm->CBmsg.set_text("s" + std::to_string(i));
        user.click(TXSForm->BtnSend);
    }
    EXPECT_EQ(TXSForm->CBmsg.count(), 25);
    user.click(TXSForm->CBeol);
    user.click(TXSForm->RBlfcr);
    TXSForm->CBeos.set_checked(false);
    restart();
    ASSERT_EQ(TXSForm->CBmsg.count(), 20);
    EXPECT_EQ(TXSForm->CBmsg.items().front(), "s24");
    EXPECT_EQ(TXSForm->CBmsg.items().back(), "s5");
    EXPECT_TRUE(TXSForm->CBeol.checked());
    EXPECT_TRUE(TXSForm->RBlfcr.enabled()) << "the load runs the EOL check box's handler";
    EXPECT_TRUE(TXSForm->RBlfcr.checked());
    EXPECT_FALSE(TXSForm->CBeos.checked());
}

TEST_F(TxSettingsTest, IntegerFieldsRadixSizeAndOrderComeBack)
{
    start();
    user.click(m->tools.BtnCon);
    user.press("Ctrl+I");
    TTXIForm& f = *TXIForm;
    user.focus(f.Eihex);
    f.Eihex.set_text("");
    user.type(f.Eihex, "12c");
    f.Eibs.set_text("2");
    user.click(f.RBibe);
    user.click(f.BtnSend);
    restart();
    EXPECT_EQ(TXIForm->Eidec.text(), "300");
    EXPECT_EQ(TXIForm->Eihex.text(), "012C");
    // The profile functions trim values, so the binary text's last blank goes.
    EXPECT_EQ(TXIForm->Eibin.text(), "00000001 00101100");
    EXPECT_EQ(TXIForm->Eibs.text(), "2");
    EXPECT_TRUE(TXIForm->RBibe.checked());
    EXPECT_EQ(TXIForm->Eihex.color(), ui::colors::window);
    EXPECT_EQ(TXIForm->Eidec.color(), ui::colors::btn_face);
    user.click(m->tools.BtnCon);
    user.press("Ctrl+I");
    EXPECT_TRUE(TXIForm->Eihex.focused()) << "the active radix is focused when the window opens";
}

TEST_F(TxSettingsTest, IntegerSizeLimitsOnLoadAndAnEmptySizeSavedAsMinusOne)
{
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {{"0", "1"}, {"99", "8"}, {"-1", "1"}, {"x", "4"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        put(std::string("[TXCFG]\r\nint_len=") + c.stored + "\r\nint_radix=7\r\n");
        start();
        EXPECT_EQ(TXIForm->Eibs.text(), c.shown);
        EXPECT_EQ(TXIForm->active_radix(), 7);
        TXIForm->Eibs.set_text("");
        stop();
        EXPECT_EQ(section("TXCFG")[0], "int_len=-1");
    }
    // Shown once, a radix out of range becomes 2 (the binary field).
    start();
    user.click(m->tools.BtnCon);
    user.press("Ctrl+I");
    EXPECT_EQ(TXIForm->active_radix(), 2);
    EXPECT_TRUE(TXIForm->Eibin.focused());
}

// Text pasted into the size field (Shift+Insert passes no key filter) once
// cost every key saved after it.
TEST_F(TxSettingsTest, SizeFieldThatIsNoNumberKeepsTheLastSizeAndEveryOtherKey)
{
    const struct {
        std::string pasted;
        bool send_first;  // with size 3, else the loaded 6 is the last good size
        const char* size;
    } cases[] = {{"abc", false, "6"}, {std::string(44, '9'), true, "3"}};
    auto has = [](const Lines& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        put("[TXCFG]\r\nint_len=6\r\n[TXTVIEW]\r\nline_break=2\r\ntimestamps=1\r\n");
        start();
        if (c.send_first) {
            connect();
            user.press("Ctrl+I");
            TXIForm->Eibs.set_text("3");
            user.click(TXIForm->BtnSend);
        }
        TXIForm->Eibs.set_text(c.pasted);
        TXIForm->RBibe.set_checked(true);
        m->save.SD1.initial_dir = "C:\\text";
        RXSForm->SD1.initial_dir = "C:\\bin";
        stop();
        EXPECT_TRUE(boxes().empty());
        EXPECT_TRUE(has(section("TXCFG"), std::string("int_len=") + c.size));
        EXPECT_TRUE(has(section("TXCFG"), "int_endian=1"));
        EXPECT_TRUE(has(section("PATH"), "path_save_bin=C:\\bin"));
        EXPECT_TRUE(has(section("PATH"), "path_save_text=C:\\text"));
        EXPECT_EQ(section("TXTVIEW").size(), 8u) << "every key of the group";
        start();
        EXPECT_EQ(TXIForm->Eibs.text(), c.size);
        EXPECT_TRUE(m->menu.MMlnCRLF.checked());
        EXPECT_TRUE(m->menu.MMtstamp.checked());
        stop();
    }
}

TEST_F(TxSettingsTest, AStringOfAnyLengthComesBackWhole)
{
    const std::string long_one(3000, 's');
    start();
    connect();
    user.press("Ctrl+M");
    TXSForm->CBmsg.set_text(long_one);
    user.click(TXSForm->BtnSend);
    restart();
    ASSERT_EQ(TXSForm->CBmsg.count(), 1);
    EXPECT_EQ(TXSForm->CBmsg.items()[0], long_one);
}

TEST_F(TxSettingsTest, SendFileFolderIsRemembered)
{
    std::ofstream(dir_ / "f.bin") << "x";
    start();
    user.click(m->tools.BtnCon);
    user.pick_file((dir_ / "f.bin").string());
    user.in_modal("TXFForm", [&](ui::Form&) {
        for (int i = 0; i < 50 && TXFForm->modal_result() == ui::mr::None; ++i) {
            user.wait(100);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    user.press("Ctrl+O");
    restart();
    EXPECT_EQ(TXFForm->OD1.initial_dir, dir_.string() + "/");
    EXPECT_EQ(section("PATH").front(), "path_send_file=" + dir_.string() + "/");
}

TEST_F(TxSettingsTest, ProtocolOptionsAndSlotsComeBackAndAreLimitedOnLoad)
{
    start();
    user.click(m->tools.BtnCon);
    user.press("Ctrl+M");
    TTXSForm& f = *TXSForm;
    user.click(f.CBesc);
    user.select(f.CBchk, "CRC-32");
    f.Erep.set_text("250");
    user.click(f.CBeol);
    user.click(f.RBusr);
    user.focus(f.Ehex);
    f.Ehex.set_text("7f");
    f.CBeos.set_checked(false);
    // Blanks and quotes at either end survive the profile functions' trimming.
    f.CBmsg.set_text(" \"AT\\r\" ");
    user.in_modal("SlotForm", [&](ui::Form& d) {
        auto& dlg = static_cast<TSlotForm&>(d);
        user.select(dlg.CBslot, "3");
        dlg.Ename.set_text("'Attention'");
        user.click(dlg.BtnOk);
    });
    user.click(f.BtnSlot);
    restart();
    EXPECT_TRUE(TXSForm->CBesc.checked());
    EXPECT_EQ(TXSForm->CBchk.text(), "CRC-32");
    EXPECT_EQ(TXSForm->Erep.text(), "250");
    const QuickSlot& s = TXSForm->slots[2];
    EXPECT_TRUE(s.used);
    EXPECT_EQ(s.name, "'Attention'");
    EXPECT_EQ(s.text, " \"AT\\r\" ");
    EXPECT_TRUE(s.escapes);
    EXPECT_EQ(s.checksum, 6);
    EXPECT_TRUE(s.eol);
    EXPECT_EQ(s.eol_type, 1);
    EXPECT_EQ(s.user_byte, 0x7F);
    EXPECT_FALSE(s.eos);
    EXPECT_FALSE(TXSForm->slots[0].used);
    EXPECT_EQ(m->menu.MMquick3.caption(), "'Attention'") << "the menu shows the loaded slots";
    EXPECT_FALSE(m->menu.MMquick3.enabled()) << "not connected";
    stop();

    const struct {
        const char* stored;
        const char* checksum;
        const char* period;
        int slot_checksum, slot_type, slot_user;
    } cases[] = {
        {"str_checksum=7\r\nstr_repeat_ms=0\r\n[QUICKSEND]\r\nslot_01=1\r\nslot_01_checksum=-1\r\nslot_01_eol_type="
         "9\r\n"
         "slot_01_eol_user=300\r\n",
         "None", "1", 0, 5, 255},
        {"str_checksum=x\r\nstr_repeat_ms=99999999\r\n[QUICKSEND]\r\nslot_01=1\r\nslot_01_eol_type=-3\r\n", "None",
         "3600000", 0, 0, 13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        put(std::string("[TXSTR]\r\n") + c.stored);
        start();
        EXPECT_EQ(TXSForm->CBchk.text(), c.checksum);
        EXPECT_EQ(TXSForm->Erep.text(), c.period);
        const QuickSlot& one = TXSForm->slots[0];
        EXPECT_TRUE(one.used);
        EXPECT_EQ(one.checksum, c.slot_checksum);
        EXPECT_EQ(one.eol_type, c.slot_type);
        EXPECT_EQ(one.user_byte, c.slot_user);
        EXPECT_TRUE(one.eos) << "absent keys take their defaults";
        EXPECT_EQ(m->menu.MMquick1.caption(), "(no text)");
        stop();
    }
}

// The transmit windows' settings through the whole program on the headless
// backend: where their keys land in a new config.ini, and what comes back at
// the next start.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "app/m_form.h"
#include "app/window_set.h"
#include "link/sim_port_driver.h"
#include "settings/start_folder.h"
#include "ui/application.h"
#include "ui/headless/user.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

class TxSettingsTest : public testing::Test {
 protected:
    void SetUp() override
    {
        static int serial = 0;
        dir_ = fs::temp_directory_path() /
               ("olvex_txcfg_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "_" +
                std::to_string(++serial));
        fs::create_directories(dir_);
        old_cwd_ = fs::current_path();
        fs::current_path(dir_);
        sim.add_port(1);
        sim.set_paced(false);
        ui::app().reset_terminated();
    }
    void TearDown() override
    {
        if (windows) stop();
        ui::app().reset_terminated();
        fs::current_path(old_cwd_);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void start()
    {
        settings_file_open();
        windows = std::make_unique<WindowSet>(sim);
        m = MForm;
        m->show();
    }
    void stop()
    {
        if (m->visible()) user.close(*m);
        windows.reset();
        settings_file_reset();
    }
    void restart()
    {
        stop();
        start();
    }
    void put(const std::string& content) const { std::ofstream(dir_ / "config.ini", std::ios::binary) << content; }
    Lines lines() const
    {
        std::ifstream in(dir_ / "config.ini", std::ios::binary);
        Lines out;
        for (std::string l; std::getline(in, l);) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            if (!l.empty()) out.push_back(l);
        }
        return out;
    }
    Lines section(const std::string& name) const
    {
        Lines out;
        bool in = false;
        for (const auto& l : lines()) {
            if (l[0] == '[') {
                in = l == "[" + name + "]";
                continue;
            }
            if (in) out.push_back(l);
        }
        return out;
    }
    Lines headers() const
    {
        Lines out;
        for (const auto& l : lines())
            if (l[0] == '[') out.push_back(l);
        return out;
    }

    fs::path dir_, old_cwd_;
    SimPortDriver sim;
    ui::headless::User user;
    std::unique_ptr<WindowSet> windows;
    TMForm* m = nullptr;
};

}  // namespace

TEST_F(TxSettingsTest, NewFileHoldsTheSectionsAndKeysInSaveOrder)
{
    start();
    stop();
    EXPECT_EQ(headers(), (Lines{"[PORT]", "[PATH]", "[TXCFG]", "[TXTVIEW]"}));
    EXPECT_EQ(section("PATH").front(), "path_send_file=");
    // The capture folder follows every key the section had before it.
    EXPECT_EQ(section("PATH").back(), "path_capture=");
    EXPECT_EQ(section("PATH").rbegin()[1], "path_save_text=");
    EXPECT_EQ(section("TXCFG"),
              (Lines{"str_eol=0", "str_eol_type=0", "str_eol_user_dec=13", "str_eol_user_hex=0D", "str_eos=1",
                     "int_val_dec=0", "int_val_hex=0", "int_val_bin=0", "int_radix=0", "int_len=4", "int_endian=0"}));
}

TEST_F(TxSettingsTest, HistoryGapsCloseAndStaleKeysStay)
{
    put("[TXCFG]\r\nstr_00=a\r\nstr_01=\r\nstr_02=b\r\n");
    start();
    EXPECT_EQ(TXSForm->CBmsg.items(), (Lines{"a", "b"}));
    restart();
    EXPECT_EQ(TXSForm->CBmsg.items(), (Lines{"a", "b", "b"}));
    const Lines txcfg = section("TXCFG");
    EXPECT_EQ(Lines(txcfg.begin(), txcfg.begin() + 3), (Lines{"str_00=a", "str_01=b", "str_02=b"}));
}

TEST_F(TxSettingsTest, TwentyFiveStringsComeBackAsTheTwentyMostRecent)
{
    start();
    user.click(m->BtnCon);
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
    user.click(m->BtnCon);
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
    user.click(m->BtnCon);
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
    user.click(m->BtnCon);
    user.press("Ctrl+I");
    EXPECT_EQ(TXIForm->active_radix(), 2);
    EXPECT_TRUE(TXIForm->Eibin.focused());
}

TEST_F(TxSettingsTest, SizeFieldThatIsNoNumberStopsTheSaveThere)
{
    start();
    TXIForm->Eibs.set_text("99999999999");
    TXIForm->Eidec.set_text("42");
    user.answer_message_box(ui::mr::Ok);
    stop();
    ASSERT_EQ(user.world().message_boxes.size(), 1u);
    EXPECT_EQ(user.world().message_boxes[0].text, "'99999999999' is not a valid integer value");
    const Lines txcfg = section("TXCFG");
    EXPECT_EQ(txcfg.back(), "int_radix=0") << "nothing after the size is written";
    EXPECT_TRUE(section("TXTVIEW").empty());
}

TEST_F(TxSettingsTest, SendFileFolderIsRemembered)
{
    std::ofstream(dir_ / "f.bin") << "x";
    start();
    user.click(m->BtnCon);
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

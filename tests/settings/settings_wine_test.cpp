// olvex.exe end to end under Wine: the port settings dialog's choices reach
// config.ini at close and come back at the next start; a stored auto-connect
// to a port that cannot open names the port.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/guidriver/guidriver.h"

namespace gd = guidriver;

namespace {

int env_number(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::atoi(v) : 0;
}

// A start folder of our own for olvex.exe, removed at the end.
class StartFolder {
 public:
    explicit StartFolder(const std::string& tag)
    {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        path_ = std::string(tmp) + "olvex_settings_" + tag + "_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
        DeleteFileA(ini().c_str());
    }
    ~StartFolder()
    {
        DeleteFileA(ini().c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& path() const { return path_; }
    std::string ini() const { return path_ + "\\config.ini"; }
    std::string ini_text() const
    {
        std::ifstream in(ini(), std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
    void put_ini(const std::string& text) const { std::ofstream(ini(), std::ios::binary) << text; }

 private:
    std::string path_;
};

// olvex.exe started with `folder` as its current directory.
class Olvex {
 public:
    explicit Olvex(const StartFolder& folder)
    {
        char old[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, old);
        SetCurrentDirectoryA(folder.path().c_str());
        started_ = gd::start(proc_, gd::exe_folder() + "olvex.exe");
        SetCurrentDirectoryA(old);
    }
    ~Olvex()
    {
        if (top_) PostMessageA(top_, WM_CLOSE, 0, 0);
        if (proc_.process && proc_.wait(10000) < 0) proc_.kill();
    }
    HWND top()
    {
        if (!top_ && started_) top_ = gd::find_window("Olvex terminal", 15000, proc_.pid);
        return top_;
    }
    DWORD pid() const { return proc_.pid; }
    // Closes the main window (which saves the settings) and waits for the end.
    int close()
    {
        PostMessageA(top_, WM_CLOSE, 0, 0);
        top_ = nullptr;
        return proc_.wait(10000);
    }

 private:
    gd::Process proc_;
    bool started_ = false;
    HWND top_ = nullptr;
};

// The dialog's drop-down lists in creation order.
enum Combo { CBcomn = 1, CBbaud, CBstop, CBparity, CBbits, CBtxfc, CBrxfc };

HWND combo(HWND dialog, Combo which)
{
    return gd::find_control(dialog, "class:ComboBox:" + std::to_string(static_cast<int>(which)));
}

// Opens "Port" > "Settings" and waits until its Refresh has filled the lists.
HWND open_settings(Olvex& olvex)
{
    if (!gd::choose_menu(olvex.top(), "Port/Settings")) return nullptr;
    HWND dialog = gd::find_window("COM port settings", 10000, olvex.pid());
    if (!dialog) return nullptr;
    const bool refreshed = gd::wait_until(
        [&] {
            HWND baud = combo(dialog, CBbaud);
            return baud && gd::combo_index(baud) >= 0;
        },
        15000);
    return refreshed ? dialog : nullptr;
}

struct BoxSearch {
    const std::string* caption;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK find_box_proc(HWND w, LPARAM lp)
{
    auto& s = *reinterpret_cast<BoxSearch*>(lp);
    char cls[64] = {}, text[256] = {};
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    if (owner != s.pid || !IsWindowVisible(w) || std::string(cls) != "#32770" || *s.caption != text) return TRUE;
    s.found = w;
    return FALSE;
}

// A message box (dialog class) of process pid with that caption.
HWND message_box(const std::string& caption, DWORD pid, int timeout_ms)
{
    BoxSearch search{&caption, pid, nullptr};
    gd::wait_until(
        [&] {
            EnumWindows(find_box_proc, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout_ms);
    return search.found;
}

}  // namespace

class SettingsWine : public ::testing::Test {
 protected:
    void SetUp() override
    {
        if (!env_number("OLVEX_COM_A")) GTEST_SKIP() << "needs the COM ports of scripts/test (OLVEX_COM_A/B/MISSING)";
    }
};

TEST_F(SettingsWine, DialogChoicesSurviveARestart)
{
    StartFolder folder("dialog");
    const struct Round {
        int baud_item;
        const char* baud;
        int parity_item;
        const char* parity;
    } rounds[] = {{6, "9600", 3, "MARK"}, {9, "38400", 4, "SPACE"}};
    int shown_baud = 12, shown_parity = 0;  // a fresh start: 115200, no parity
    for (const Round& r : rounds) {
        SCOPED_TRACE(r.parity);
        Olvex olvex(folder);
        ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
        HWND dialog = open_settings(olvex);
        ASSERT_NE(dialog, nullptr) << gd::last_error();
        EXPECT_EQ(gd::combo_index(combo(dialog, CBbaud)), shown_baud);
        EXPECT_EQ(gd::combo_index(combo(dialog, CBparity)), shown_parity);
        ASSERT_TRUE(gd::choose_combo(combo(dialog, CBbaud), r.baud_item));
        ASSERT_TRUE(gd::choose_combo(combo(dialog, CBparity), r.parity_item));
        ASSERT_TRUE(gd::click_button(dialog, "OK")) << gd::last_error();
        ASSERT_TRUE(gd::wait_window_gone("COM port settings", 5000, olvex.pid()));
        EXPECT_EQ(olvex.close(), 0);

        const std::string ini = folder.ini_text();
        EXPECT_EQ(ini.rfind("[PORT]", 0), 0u) << ini;
        EXPECT_NE(ini.find(std::string("port_baud=") + r.baud + "\r\n"), std::string::npos) << ini;
        EXPECT_NE(ini.find(std::string("port_parity=") + r.parity + "\r\n"), std::string::npos) << ini;
        EXPECT_NE(ini.find("[TXTVIEW]"), std::string::npos) << ini;
        EXPECT_EQ(ini.find("[HELP]"), std::string::npos) << ini;
        shown_baud = r.baud_item;
        shown_parity = r.parity_item;
    }

    // The last choices come back in the dialog once more, and Cancel keeps them.
    Olvex olvex(folder);
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    HWND dialog = open_settings(olvex);
    ASSERT_NE(dialog, nullptr) << gd::last_error();
    EXPECT_EQ(gd::combo_index(combo(dialog, CBbaud)), shown_baud);
    EXPECT_EQ(gd::combo_index(combo(dialog, CBparity)), shown_parity);
    ASSERT_TRUE(gd::choose_combo(combo(dialog, CBparity), 1));
    ASSERT_TRUE(gd::click_button(dialog, "Cancel"));
    ASSERT_TRUE(gd::wait_window_gone("COM port settings", 5000, olvex.pid()));
    EXPECT_EQ(olvex.close(), 0);
    EXPECT_NE(folder.ini_text().find("port_parity=SPACE\r\n"), std::string::npos);
}

TEST_F(SettingsWine, AutoConnectToAMissingPortSaysWhichPort)
{
    const int missing = env_number("OLVEX_COM_MISSING");
    if (!missing) GTEST_SKIP() << "needs OLVEX_COM_MISSING";
    StartFolder folder("autocon");
    folder.put_ini("[PORT]\r\nport_num=" + std::to_string(missing) + "\r\nport_open=1\r\n");
    Olvex olvex(folder);
    HWND box = gd::find_window("Error", 15000, olvex.pid());
    ASSERT_NE(box, nullptr) << gd::last_error();
    EXPECT_THAT(gd::message_box_text(box),
                testing::StartsWith("COM" + std::to_string(missing) + " opening failed!\nCreateFileA could not open "));
    ASSERT_TRUE(gd::answer_message_box("Error", "OK"));
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    EXPECT_EQ(olvex.close(), 0);
    const std::string ini = folder.ini_text();
    EXPECT_NE(ini.find("port_num=" + std::to_string(missing) + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("port_open=1\r\n"), std::string::npos) << ini;
}

TEST_F(SettingsWine, AboutClosesOnEscapeAndOnAClickButNotOnEnter)
{
    StartFolder folder("about");
    Olvex olvex(folder);
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    ASSERT_TRUE(gd::choose_menu(olvex.top(), "Help/About"));
    HWND about = gd::find_window("About", 10000, olvex.pid());
    ASSERT_NE(about, nullptr) << gd::last_error();
    EXPECT_NE(gd::find_control(about, "Olvex terminal developers"), nullptr);
    ASSERT_TRUE(gd::press_keys(about, "Enter"));
    Sleep(300);
    EXPECT_NE(gd::find_window("About", 100, olvex.pid()), nullptr) << "Enter keeps it open";
    ASSERT_TRUE(gd::press_keys(about, "Escape"));
    EXPECT_TRUE(gd::wait_window_gone("About", 5000, olvex.pid()));

    ASSERT_TRUE(gd::choose_menu(olvex.top(), "Help/About"));
    about = gd::find_window("About", 10000, olvex.pid());
    ASSERT_NE(about, nullptr) << gd::last_error();
    HWND version = gd::find_control(about, "V1.36");
    ASSERT_NE(version, nullptr);
    ASSERT_TRUE(gd::click_at(version, 3, 3));
    EXPECT_TRUE(gd::wait_window_gone("About", 5000, olvex.pid()));
    EXPECT_EQ(olvex.close(), 0);
}

TEST_F(SettingsWine, CustomRateFieldTakesDigitsOnlyAndAnEmptyOneIsRefused)
{
    StartFolder folder("custom");
    Olvex olvex(folder);
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    HWND dialog = open_settings(olvex);
    ASSERT_NE(dialog, nullptr) << gd::last_error();
    HWND custom1 = gd::find_control(dialog, "class:Edit:1");
    ASSERT_NE(custom1, nullptr);

    // An empty field with "Custom 1" chosen: the message, and the dialog stays.
    ASSERT_TRUE(gd::set_text(custom1, ""));
    ASSERT_TRUE(gd::choose_combo(combo(dialog, CBbaud), 13));
    ASSERT_TRUE(gd::click_button(dialog, "OK"));
    HWND box = gd::find_window("Error ...", 10000, olvex.pid());
    ASSERT_NE(box, nullptr) << gd::last_error();
    EXPECT_EQ(gd::message_box_text(box), "Invalid \"custom 1\" baud rate value!");
    ASSERT_TRUE(gd::answer_message_box("Error ...", "OK"));
    EXPECT_NE(gd::find_window("COM port settings", 1000, olvex.pid()), nullptr);

    // Typed text keeps only its digits; a value above the limit is lowered.
    ASSERT_TRUE(gd::type_text(dialog, "4x5-6.7 8", custom1));
    EXPECT_TRUE(gd::wait_until([&] { return gd::text_of(custom1) == "45678"; }, 3000)) << gd::text_of(custom1);
    ASSERT_TRUE(gd::type_text(dialog, "99", custom1));
    ASSERT_TRUE(gd::wait_until([&] { return gd::text_of(custom1) == "4567899"; }, 3000)) << gd::text_of(custom1);
    ASSERT_TRUE(gd::click_button(dialog, "OK"));
    ASSERT_TRUE(gd::wait_window_gone("COM port settings", 5000, olvex.pid()));
    EXPECT_EQ(olvex.close(), 0);
    const std::string ini = folder.ini_text();
    EXPECT_NE(ini.find("port_baud=3000000\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("port_baud_custom1=3000000\r\n"), std::string::npos) << ini;
}

TEST_F(SettingsWine, ARefusedWriteAtCloseIsShownAndTheProgramEnds)
{
    StartFolder folder("refused");
    // A folder where the settings file should be: it reads as no file and
    // refuses every write.
    ASSERT_TRUE(CreateDirectoryA(folder.ini().c_str(), nullptr));
    Olvex olvex(folder);
    ASSERT_NE(olvex.top(), nullptr) << gd::last_error();
    PostMessageA(olvex.top(), WM_CLOSE, 0, 0);
    HWND box = message_box("Olvex terminal", olvex.pid(), 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(gd::message_box_text(box), "Unable to write to " + folder.ini());
    ASSERT_TRUE(gd::answer_message_box("Olvex terminal", "OK"));
    EXPECT_EQ(olvex.close(), 0) << "the program ends after the message";
    RemoveDirectoryA(folder.ini().c_str());
}

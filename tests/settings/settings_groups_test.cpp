// The settings groups (PORT, TXTVIEW, HELP, PATH/path_save_text) and the value
// encodings against whichever settings file backend this build has: the
// Windows profile functions under Wine, the native twin otherwise.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/folder_groups.h"
#include "settings/plot_group.h"
#include "settings/traffic_group.h"
#include "settings/port_group.h"
#include "settings/setting_values.h"
#include "settings/text_view_group.h"
#include "settings/window_place_group.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

class SettingsGroupsTest : public testing::Test {
 protected:
    void SetUp() override
    {
        static int serial = 0;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = fs::temp_directory_path() / ("olvex_groups_" + std::to_string(stamp) + "_" + std::to_string(++serial));
        fs::create_directories(dir_);
        file_ = open_profile_file(start_folder() + "\\config.ini");
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string start_folder() const { return dir_.string(); }
    void put(const std::string& content) const
    {
        std::ofstream out(dir_ / "config.ini", std::ios::binary);
        out << content;
    }
    std::string text() const
    {
        std::ifstream in(dir_ / "config.ini", std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
    Lines filled_lines() const
    {
        Lines lines;
        std::istringstream in(text());
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(line);
        }
        return lines;
    }
    PortSettings loaded_port(const std::string& port_lines)
    {
        put("[PORT]\r\n" + port_lines);
        PortSettings r;
        EXPECT_EQ(LoadPortSettings(file_.get(), r), 0);
        return r;
    }
    TextViewSettings loaded_view(const std::string& view_lines)
    {
        put("[TXTVIEW]\r\n" + view_lines);
        TextViewSettings v;
        EXPECT_EQ(LoadTextViewSettings(file_.get(), v), 0);
        return v;
    }

    fs::path dir_;
    std::unique_ptr<ProfileFile> file_;
};

void expect_default_port(const PortSettings& r)
{
    const PortSettings d;
    EXPECT_EQ(r.port_num, 1);
    EXPECT_EQ(r.port_baud, 115200);
    EXPECT_EQ(r.port_stop, 10);
    EXPECT_EQ(r.port_bit, 8);
    EXPECT_EQ(r.port_parity, 0);
    EXPECT_EQ(r.port_tx_handshake, 0);
    EXPECT_EQ(r.port_rx_handshake, 0);
    EXPECT_EQ(r.port_open, 0);
    EXPECT_EQ(r.port_baud_custom1, 500000);
    EXPECT_EQ(r.port_baud_custom2, 1500000);
    EXPECT_EQ(r.port_rxth_size, 1024 * 1024);
    EXPECT_EQ(r.port_txth_size, 1024 * 1024);
    EXPECT_EQ(r.port_rxth_sleep, 1);
    EXPECT_EQ(r.port_txth_sleep, 1);
    EXPECT_EQ(r.port_rx_data_block_size, 128 * 1024);
    EXPECT_EQ(r.port_rx_size, 8192);
    EXPECT_EQ(r.port_tx_size, 8192);
    EXPECT_EQ(r.port_rx_to, 50);
    EXPECT_EQ(r.port_rx_mult, 1);
    EXPECT_EQ(r.port_tx_size_lim, 1);
    EXPECT_EQ(r.port_reconnect, 0);
    EXPECT_EQ(r.settings_loaded, 1);
}

const Lines default_port_lines = {
    "[PORT]",
    "port_num=1",
    "port_baud=115200",
    "port_stop=10",
    "port_bit=8",
    "port_parity=NO",
    "port_tx_handshake=0",
    "port_rx_handshake=0",
    "port_open=0",
    "port_baud_custom1=500000",
    "port_baud_custom2=1500000",
    "port_rxth_size=1024",
    "port_txth_size=1024",
    "port_rxth_sleep=1",
    "port_txth_sleep=1",
    "port_rx_data_block_size=128",
    "port_rx_size=8192",
    "port_tx_size=8192",
    "port_rx_to=50",
    "port_rx_mult=1",
    "port_tx_size_lim=1",
    "port_reconnect=0",
};

TEST(SettingValues, IntegerTexts)
{
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {"007", 7},
        {"0x10", 16},
        {"0X1f", 31},
        {"0xFFFFFFFF", -1},
        {"0x80000000", std::int32_t(0x80000000u)},
        {"0x100000000", {}},
        {"0x", {}},
        {"0xG", {}},
        {"2147483647", 2147483647},
        {"2147483648", {}},
        {"-2147483648", std::int32_t(-2147483647 - 1)},
        {"-2147483649", {}},
        {"", {}},
        {"-", {}},
        {"12a", {}},
        {"1 2", {}},
        {"$10", {}},
        {"99999999999999999999", {}},
        {"x10", {}},
        {"-0x10", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parse_setting_integer(c.text), c.value);
    }
}

TEST_F(SettingsGroupsTest, BooleansAndTextsRoundTrip)
{
    write_setting_boolean(*file_, "S", "t", true);
    write_setting_boolean(*file_, "S", "f", false);
    write_setting_text(*file_, "S", "path", "C:\\Data\\x y");
    write_setting_text(*file_, "S", "two_lines", "first\r\nplanted=1");
    EXPECT_EQ(filled_lines(), (Lines{"[S]", "t=1", "f=0", "path=C:\\Data\\x y", "two_lines=first"}));
    EXPECT_TRUE(read_setting_boolean(*file_, "S", "t", false));
    EXPECT_FALSE(read_setting_boolean(*file_, "S", "f", true));
    EXPECT_TRUE(read_setting_boolean(*file_, "S", "absent", true));
    put("[S]\r\nseven=7\r\nneg=-1\r\nword=yes\r\n");
    EXPECT_TRUE(read_setting_boolean(*file_, "S", "seven", false));
    EXPECT_TRUE(read_setting_boolean(*file_, "S", "neg", false));
    EXPECT_FALSE(read_setting_boolean(*file_, "S", "word", false));
    EXPECT_TRUE(read_setting_boolean(*file_, "S", "word", true));
}

TEST_F(SettingsGroupsTest, NoFileGivesEveryDefaultAndASaveWritesEveryKeyInOrder)
{
    PortSettings r;
    r.port_num = 9;
    ASSERT_EQ(LoadPortSettings(file_.get(), r), 0);
    expect_default_port(r);
    TextViewSettings v;
    ASSERT_EQ(LoadTextViewSettings(file_.get(), v), 0);
    EXPECT_TRUE(v.auto_scroll);
    EXPECT_FALSE(v.word_wrap);
    EXPECT_FALSE(v.special_char_display);
    EXPECT_EQ(v.line_break, 0);
    EXPECT_EQ(v.special_char, 0);
    std::string help = "stale";
    LoadHelpSettings(file_.get(), start_folder(), help);
    EXPECT_EQ(help, "");
    std::string folder = "stale";
    ASSERT_EQ(LoadSaveTextFolder(file_.get(), folder), 0);
    EXPECT_EQ(folder, "");
    EXPECT_FALSE(fs::exists(dir_ / "config.ini")) << "loading must not create the file";

    ASSERT_EQ(SavePortSettings(file_.get(), r), 0);
    ASSERT_EQ(SaveSaveTextFolder(file_.get(), folder), 0);
    ASSERT_EQ(SaveTextViewSettings(file_.get(), v), 0);
    Lines expected = default_port_lines;
    for (const char* l :
         {"[PATH]", "path_save_text=", "[TXTVIEW]", "auto_scroll=1", "word_wrap=0", "special_char_display=0",
          "line_break=0", "timestamps=0", "follow_new_data=1", "ansi_colours=0", "utf8=0"})
        expected.push_back(l);
    EXPECT_EQ(filled_lines(), expected);
}

TEST_F(SettingsGroupsTest, GroupsWithoutAFileDoNothing)
{
    PortSettings r;
    r.port_num = 9;
    EXPECT_EQ(LoadPortSettings(nullptr, r), 1);
    EXPECT_EQ(r.port_num, 9);
    EXPECT_EQ(r.settings_loaded, 0);
    EXPECT_EQ(SavePortSettings(nullptr, r), 1);
    TextViewSettings v;
    v.word_wrap = true;
    EXPECT_EQ(LoadTextViewSettings(nullptr, v), 1);
    EXPECT_TRUE(v.word_wrap);
    EXPECT_EQ(SaveTextViewSettings(nullptr, v), 1);
    std::string s = "x";
    EXPECT_EQ(LoadSaveTextFolder(nullptr, s), 1);
    EXPECT_EQ(s, "x");
    EXPECT_EQ(SaveSaveTextFolder(nullptr, s), 1);
    LoadHelpSettings(nullptr, start_folder(), s);
    EXPECT_EQ(s, "");
    EXPECT_FALSE(fs::exists(dir_ / "config.ini"));
}

struct PortRule {
    const char* line;
    std::int32_t PortSettings::*field;
    std::int32_t expected;
};

TEST_F(SettingsGroupsTest, PortKeysLoadWithTheirRules)
{
    using P = PortSettings;
    const PortRule rules[] = {
        {"port_num=0", &P::port_num, 1},
        {"port_num=256", &P::port_num, 1},
        {"port_num=255", &P::port_num, 255},
        {"port_num=0x10", &P::port_num, 16},
        {"port_num=-3", &P::port_num, 1},
        {"port_num=COM3", &P::port_num, 1},
        {"port_baud=0", &P::port_baud, 115200},
        {"port_baud=3000001", &P::port_baud, 115200},
        {"port_baud=3000000", &P::port_baud, 3000000},
        {"port_baud=1", &P::port_baud, 1},
        {"port_stop=12", &P::port_stop, 10},
        {"port_stop=15", &P::port_stop, 15},
        {"port_stop=20", &P::port_stop, 20},
        {"port_stop=2", &P::port_stop, 10},
        {"port_bit=4", &P::port_bit, 8},
        {"port_bit=9", &P::port_bit, 8},
        {"port_bit=5", &P::port_bit, 5},
        {"port_parity=odd", &P::port_parity, 0},
        {"port_parity=ODD", &P::port_parity, 1},
        {"port_parity=EVEN", &P::port_parity, 2},
        {"port_parity=SPACE", &P::port_parity, 3},
        {"port_parity=MARK", &P::port_parity, 4},
        {"port_parity=NO", &P::port_parity, 0},
        {"port_parity=", &P::port_parity, 0},
        {"port_parity=MARKS", &P::port_parity, 0},
        {"port_parity=  MARK  ", &P::port_parity, 4},
        {"port_tx_handshake=2", &P::port_tx_handshake, 2},
        {"port_tx_handshake=3", &P::port_tx_handshake, 0},
        {"port_tx_handshake=-1", &P::port_tx_handshake, 0},
        {"port_rx_handshake=-1", &P::port_rx_handshake, 0},
        {"port_rx_handshake=1", &P::port_rx_handshake, 1},
        {"port_open=-1", &P::port_open, 1},
        {"port_open=7", &P::port_open, 1},
        {"port_open=1", &P::port_open, 1},
        {"port_open=0", &P::port_open, 0},
        {"port_open=yes", &P::port_open, 0},
        {"port_baud_custom1=0", &P::port_baud_custom1, 115200},
        {"port_baud_custom1=3000001", &P::port_baud_custom1, 115200},
        {"port_baud_custom1=250000", &P::port_baud_custom1, 250000},
        {"port_baud_custom2=-5", &P::port_baud_custom2, 115200},
        {"port_baud_custom2=x", &P::port_baud_custom2, 1500000},
        {"port_rxth_size=10", &P::port_rxth_size, 64 * 1024},
        {"port_rxth_size=9000", &P::port_rxth_size, 8192 * 1024},
        {"port_txth_size=-1", &P::port_txth_size, 64 * 1024},
        {"port_txth_size=100", &P::port_txth_size, 100 * 1024},
        {"port_rxth_sleep=-1", &P::port_rxth_sleep, 0},
        {"port_rxth_sleep=101", &P::port_rxth_sleep, 100},
        {"port_txth_sleep=0", &P::port_txth_sleep, 0},
        {"port_rx_data_block_size=0", &P::port_rx_data_block_size, 1024 * 1024},
        {"port_rx_data_block_size=-8", &P::port_rx_data_block_size, 1024 * 1024},
        {"port_rx_data_block_size=1", &P::port_rx_data_block_size, 1024},
        {"port_rx_data_block_size=9000", &P::port_rx_data_block_size, 8192 * 1024},
        {"port_rx_size=1", &P::port_rx_size, 256},
        {"port_rx_size=40000", &P::port_rx_size, 32768},
        {"port_tx_size=255", &P::port_tx_size, 256},
        {"port_rx_to=0", &P::port_rx_to, 1},
        {"port_rx_to=1001", &P::port_rx_to, 1000},
        {"port_rx_mult=0", &P::port_rx_mult, 1},
        {"port_rx_mult=40000", &P::port_rx_mult, 32768},
        {"port_tx_size_lim=5", &P::port_tx_size_lim, 1},
        {"port_tx_size_lim=0", &P::port_tx_size_lim, 0},
        {"port_tx_size_lim=-5", &P::port_tx_size_lim, 0},
        {"port_reconnect=1", &P::port_reconnect, 1},
        {"port_reconnect=7", &P::port_reconnect, 1},
        {"port_reconnect=-1", &P::port_reconnect, 0},
        {"port_reconnect=x", &P::port_reconnect, 0},
    };
    for (const auto& rule : rules) {
        SCOPED_TRACE(rule.line);
        const PortSettings r = loaded_port(std::string(rule.line) + "\r\n");
        EXPECT_EQ(r.*rule.field, rule.expected);
        EXPECT_EQ(r.settings_loaded, 1);
    }
}

TEST_F(SettingsGroupsTest, AbsentCustomRateKeepsItsOwnDefault)
{
    const PortSettings r = loaded_port("port_baud_custom2=0\r\n");
    EXPECT_EQ(r.port_baud_custom1, 500000);
    EXPECT_EQ(r.port_baud_custom2, 115200);
}

TEST_F(SettingsGroupsTest, CorrectedValuesAreWhatTheNextSaveWrites)
{
    PortSettings r = loaded_port(
        "port_rxth_size=10\r\nport_rx_data_block_size=0\r\nport_open=7\r\n"
        "port_parity=mark\r\n");
    fs::remove(dir_ / "config.ini");
    ASSERT_EQ(SavePortSettings(file_.get(), r), 0);
    EXPECT_EQ(file_->read_string("PORT", "port_rxth_size", ""), "64");
    EXPECT_EQ(file_->read_string("PORT", "port_rx_data_block_size", ""), "1024");
    EXPECT_EQ(file_->read_string("PORT", "port_open", ""), "1");
    EXPECT_EQ(file_->read_string("PORT", "port_parity", ""), "NO");
}

TEST_F(SettingsGroupsTest, ASavedRecordLoadsBackTheSame)
{
    PortSettings out;
    out.port_num = 17;
    out.port_baud = 250000;
    out.port_stop = 15;
    out.port_bit = 7;
    out.port_tx_handshake = 2;
    out.port_rx_handshake = 1;
    out.port_open = 1;
    out.port_baud_custom1 = 250000;
    out.port_baud_custom2 = 921600;
    out.port_rxth_size = 64 * 1024;
    out.port_txth_size = 8192 * 1024;
    out.port_rxth_sleep = 0;
    out.port_txth_sleep = 100;
    out.port_rx_data_block_size = 1024;
    out.port_rx_size = 256;
    out.port_tx_size = 32768;
    out.port_rx_to = 1000;
    out.port_rx_mult = 32768;
    out.port_tx_size_lim = 0;
    out.port_reconnect = 1;
    for (int parity = 0; parity <= 4; ++parity) {
        SCOPED_TRACE(parity);
        out.port_parity = parity;
        ASSERT_EQ(SavePortSettings(file_.get(), out), 0);
        PortSettings in;
        ASSERT_EQ(LoadPortSettings(file_.get(), in), 0);
        EXPECT_EQ(in.port_parity, parity);
        EXPECT_EQ(in.port_num, 17);
        EXPECT_EQ(in.port_baud, 250000);
        EXPECT_EQ(in.port_stop, 15);
        EXPECT_EQ(in.port_bit, 7);
        EXPECT_EQ(in.port_tx_handshake, 2);
        EXPECT_EQ(in.port_rx_handshake, 1);
        EXPECT_EQ(in.port_open, 1);
        EXPECT_EQ(in.port_baud_custom2, 921600);
        EXPECT_EQ(in.port_rxth_size, 64 * 1024);
        EXPECT_EQ(in.port_txth_size, 8192 * 1024);
        EXPECT_EQ(in.port_txth_sleep, 100);
        EXPECT_EQ(in.port_rx_data_block_size, 1024);
        EXPECT_EQ(in.port_rx_size, 256);
        EXPECT_EQ(in.port_tx_size, 32768);
        EXPECT_EQ(in.port_rx_to, 1000);
        EXPECT_EQ(in.port_rx_mult, 32768);
        EXPECT_EQ(in.port_tx_size_lim, 0);
        EXPECT_EQ(in.port_reconnect, 1);
    }
    EXPECT_EQ(file_->read_string("PORT", "port_parity", ""), "MARK");
    out.port_parity = 3;
    ASSERT_EQ(SavePortSettings(file_.get(), out), 0);
    EXPECT_EQ(file_->read_string("PORT", "port_parity", ""), "SPACE");
    out.port_parity = 9;  // no such code: written as the empty text, read back as none
    ASSERT_EQ(SavePortSettings(file_.get(), out), 0);
    EXPECT_EQ(file_->read_string("PORT", "port_parity", "?"), "");
}

TEST_F(SettingsGroupsTest, LineBreakModes)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"line_break=0\r\n", 0},
        {"line_break=3\r\n", 3},
        {"line_break=4\r\n", 4},
        {"line_break=7\r\n", 0},
        {"line_break=-2\r\n", -1},
        {"line_break=LF\r\n", 0},
        {"line_break=0x2\r\n", 2},
    };
    for (const auto& [lines, mode] : cases) {
        SCOPED_TRACE(lines);
        EXPECT_EQ(loaded_view(lines).line_break, mode);
    }
    TextViewSettings v;
    for (int mode : {0, 1, 2, 3, 4, 5, -1}) {
        v.line_break = mode;
        ASSERT_EQ(SaveTextViewSettings(file_.get(), v), 0);
        EXPECT_EQ(file_->read_string("TXTVIEW", "line_break", ""), std::to_string(mode >= 0 && mode <= 3 ? mode : 4));
    }
}

TEST_F(SettingsGroupsTest, ReplacementCharacterDecidesTheInvisibleDisplay)
{
    struct Case {
        std::string lines;
        bool display;
        int replacement;
    };
    const Case cases[] = {
        {"special_char_display=1\r\n", false, 0},
        {"special_char_display=1\r\nspecial_char=*\r\n", true, '*'},
        {"special_char_display=1\r\nspecial_char=#abc\r\n", true, '#'},
        {"special_char_display=0\r\nspecial_char=*\r\n", false, '*'},
        {"special_char_display=1\r\nspecial_char=\x01x\r\n", false, 0},
        {"special_char_display=1\r\nspecial_char=\r\n", false, 0},
        {"special_char_display=1\r\nspecial_char=\xB7\r\n", true, 0xB7},
        {"special_char_display=1\r\nspecial_char=\"\"\r\n", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        const TextViewSettings v = loaded_view(c.lines);
        EXPECT_EQ(v.special_char_display, c.display);
        EXPECT_EQ(v.special_char, c.replacement);
    }
    const TextViewSettings v = loaded_view("auto_scroll=0\r\nword_wrap=5\r\n");
    EXPECT_FALSE(v.auto_scroll);
    EXPECT_TRUE(v.word_wrap);
}

TEST_F(SettingsGroupsTest, TextViewSaveNeverWritesTheReplacementCharacter)
{
    TextViewSettings v;
    v.auto_scroll = false;
    v.word_wrap = true;
    v.special_char_display = true;
    v.special_char = '*';
    v.line_break = 2;
    ASSERT_EQ(SaveTextViewSettings(file_.get(), v), 0);
    EXPECT_EQ(filled_lines(), (Lines{"[TXTVIEW]", "auto_scroll=0", "word_wrap=1", "special_char_display=1",
                                     "line_break=2", "timestamps=0", "follow_new_data=1", "ansi_colours=0", "utf8=0"}));
}

TEST_F(SettingsGroupsTest, HelpFileMustExistInTheStartFolder)
{
    std::string help = "stale";
    put("[HELP]\r\npath=manual.chm\r\n");
    LoadHelpSettings(file_.get(), start_folder(), help);
    EXPECT_EQ(help, "");
    std::ofstream(dir_ / "manual.chm") << "help";
    LoadHelpSettings(file_.get(), start_folder(), help);
    EXPECT_EQ(help, start_folder() + "\\manual.chm");
    fs::create_directories(dir_ / "folder");
    put("[HELP]\r\npath=folder\r\n");
    LoadHelpSettings(file_.get(), start_folder(), help);
    EXPECT_EQ(help, "") << "a folder is no help file";
    put("[HELP]\r\npath=\r\n");
    LoadHelpSettings(file_.get(), start_folder(), help);
    EXPECT_EQ(help, "");
}

TEST_F(SettingsGroupsTest, SaveFoldersRoundTripUnderTheirOwnKeys)
{
    ASSERT_EQ(SaveSaveTextFolder(file_.get(), "C:\\Received data"), 0);
    ASSERT_EQ(SaveSaveBinFolder(file_.get(), "D:\\bin"), 0);
    std::string folder, bin = "x";
    ASSERT_EQ(LoadSaveTextFolder(file_.get(), folder), 0);
    EXPECT_EQ(folder, "C:\\Received data");
    ASSERT_EQ(LoadSaveBinFolder(file_.get(), bin), 0);
    EXPECT_EQ(bin, "D:\\bin");
    EXPECT_EQ(LoadSaveBinFolder(nullptr, bin), 1);
    EXPECT_EQ(SaveSaveBinFolder(nullptr, bin), 1);
}

TEST_F(SettingsGroupsTest, ARefusedWriteNamesTheFileAndStopsTheGroup)
{
    // A start folder that does not exist refuses the first write everywhere.
    const std::string where = start_folder() + "\\missing\\config.ini";
    auto file = open_profile_file(where);
    try {
        SavePortSettings(file.get(), PortSettings{});
        FAIL() << "no error raised";
    } catch (const ProfileWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + where);
    }
    EXPECT_THROW(SaveTextViewSettings(file.get(), TextViewSettings{}), ProfileWriteError);
    EXPECT_THROW(SaveSaveTextFolder(file.get(), ""), ProfileWriteError);
}

// A settings file that keeps its keys in memory and refuses the nth write.
class RefusingProfile final : public ProfileFile {
 public:
    explicit RefusingProfile(int refuse_at) : refuse_at_(refuse_at) {}
    const std::string& path() const override { return path_; }
    std::string read_string(std::string_view, std::string_view, std::string_view d) const override
    {
        return std::string(d);
    }
    bool try_write_string(std::string_view, std::string_view key, std::string_view) override
    {
        if (++writes_ == refuse_at_) return false;
        keys.emplace_back(key);
        return true;
    }
    bool try_remove_key(std::string_view, std::string_view) override { return true; }
    Lines keys;

 private:
    std::string path_ = "C:\\olvex\\config.ini";
    int refuse_at_;
    int writes_ = 0;
};

TEST(SettingsGroupsRefusal, WritesAfterARefusedOneAreNotMade)
{
    RefusingProfile port(3);
    EXPECT_THROW(SavePortSettings(&port, PortSettings{}), ProfileWriteError);
    EXPECT_EQ(port.keys, (Lines{"port_num", "port_baud"}));
    RefusingProfile view(2);
    EXPECT_THROW(SaveTextViewSettings(&view, TextViewSettings{}), ProfileWriteError);
    EXPECT_EQ(view.keys, (Lines{"auto_scroll"}));
}

TEST_F(SettingsGroupsTest, ReadOnlyStartFolderRefusesTheSave)
{
    const fs::path folder = dir_ / "readonly";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    {
        std::ofstream probe(folder / "probe", std::ios::binary);
        if (probe.is_open()) GTEST_SKIP() << "a read-only folder is still writable here";
    }
    auto file = open_profile_file(folder.string() + "\\config.ini");
    EXPECT_THROW(SavePortSettings(file.get(), PortSettings{}), ProfileWriteError);
    EXPECT_FALSE(fs::exists(folder / "config.ini"));
}

TEST_F(SettingsGroupsTest, GarbageFilesLoadDefaultsWhereValuesAreBad)
{
    std::string binary;
    unsigned seed = 12345;
    for (int i = 0; i < 65536; ++i) {
        seed = seed * 1103515245u + 12345u;
        binary += static_cast<char>(seed >> 16);
    }
    std::string ten_mb;
    ten_mb.reserve(10u << 20);
    for (int i = 0; ten_mb.size() < (10u << 20); ++i)
        ten_mb += "[S" + std::to_string(i % 89) + "]\r\nport_num=" + std::to_string(i) + "\r\n";
    ten_mb += "[PORT]\r\nport_num=5\r\n";
    struct Garbage {
        const char* name;
        std::string content;
        std::int32_t port_num;
    };
    const Garbage cases[] = {
        {"binary", binary, 1},
        {"binary_then_port", binary + "\r\n[PORT]\r\nport_num=7\r\n", 7},
        {"ten_mb", ten_mb, 5},
        {"long_lines",
         std::string(100000, 'a') + "\r\n[PORT]\r\nport_baud=" + std::string(100000, '9') + "\r\nport_num=6\r\n" +
             std::string(100000, '[') + "\r\n",
         6},
        {"no_equals", "[PORT]\r\nport_num\r\nport_baud\r\n=\r\n[TXTVIEW]\r\nline_break\r\n", 1},
        {"duplicated", "[PORT]\r\nport_num=3\r\n[TXTVIEW]\r\n[PORT]\r\nport_num=4\r\nport_bit=6\r\n", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put(c.content);
        PortSettings r;
        ASSERT_EQ(LoadPortSettings(file_.get(), r), 0);
        EXPECT_EQ(r.port_num, c.port_num);
        EXPECT_EQ(r.port_baud, 115200);
        EXPECT_EQ(r.port_bit, 8) << "only the first of duplicated sections counts";
        TextViewSettings v;
        ASSERT_EQ(LoadTextViewSettings(file_.get(), v), 0);
        EXPECT_EQ(v.line_break, 0);
        std::string help = "x";
        LoadHelpSettings(file_.get(), start_folder(), help);
        EXPECT_EQ(help, "");
        // Wine rewrites the whole file on every write: keep the 10 MB case to reading.
        if (c.content.size() > (1u << 20)) continue;
        ASSERT_EQ(SavePortSettings(file_.get(), r), 0);
        PortSettings again;
        ASSERT_EQ(LoadPortSettings(file_.get(), again), 0);
        EXPECT_EQ(again.port_num, c.port_num);
    }
}

}  // namespace

TEST_F(SettingsGroupsTest, TimestampsUtf8AndTheCaptureFolderRoundTrip)
{
    TextViewSettings v;
    ASSERT_EQ(LoadTextViewSettings(file_.get(), v), 0);
    EXPECT_FALSE(v.timestamps);  // off when absent
    EXPECT_FALSE(v.utf8);
    v.timestamps = true;
    v.utf8 = true;
    ASSERT_EQ(SaveTextViewSettings(file_.get(), v), 0);
    ASSERT_EQ(SaveCaptureFolder(file_.get(), "C:\\logs"), 0);
    TextViewSettings back;
    ASSERT_EQ(LoadTextViewSettings(file_.get(), back), 0);
    EXPECT_TRUE(back.timestamps);
    EXPECT_TRUE(back.utf8);
    std::string folder;
    ASSERT_EQ(LoadCaptureFolder(file_.get(), folder), 0);
    EXPECT_EQ(folder, "C:\\logs");
    EXPECT_EQ(LoadCaptureFolder(nullptr, folder), 1);
}

TEST_F(SettingsGroupsTest, PlotOptionsAndItsFolderRoundTripAndBadMasksShowEverySeries)
{
    PlotSettings p;
    ASSERT_EQ(LoadPlotSettings(file_.get(), p), 0);
    EXPECT_FALSE(p.own_scale);
    EXPECT_EQ(p.shown_series, 0xFF);
    ASSERT_EQ(SaveCaptureFolder(file_.get(), "C:\\logs"), 0);
    ASSERT_EQ(SavePlotSettings(file_.get(), PlotSettings{true, 0x05}), 0);
    ASSERT_EQ(SavePlotCsvFolder(file_.get(), "C:\\plots"), 0);
    EXPECT_EQ(filled_lines(), (Lines{"[PATH]", "path_capture=C:\\logs", "path_plot_csv=C:\\plots", "[PLOT]",
                                     "own_scale=1", "shown_series=5"}));
    PlotSettings back;
    ASSERT_EQ(LoadPlotSettings(file_.get(), back), 0);
    EXPECT_TRUE(back.own_scale);
    EXPECT_EQ(back.shown_series, 0x05);
    std::string folder;
    ASSERT_EQ(LoadPlotCsvFolder(file_.get(), folder), 0);
    EXPECT_EQ(folder, "C:\\plots");
    for (const char* bad : {"256", "-1", "x"}) {
        put(std::string("[PLOT]\r\nshown_series=") + bad + "\r\n");
        ASSERT_EQ(LoadPlotSettings(file_.get(), back), 0);
        EXPECT_EQ(back.shown_series, 0xFF) << bad;
    }
    EXPECT_EQ(LoadPlotSettings(nullptr, back), 1);
    EXPECT_EQ(SavePlotCsvFolder(nullptr, ""), 1);
}

namespace {

TEST_F(SettingsGroupsTest, TrafficOptionsRoundTripAndTheGapIsClamped)
{
    TrafficSettings t;
    ASSERT_EQ(LoadTrafficSettings(file_.get(), t), 0);
    EXPECT_EQ(t.frame_gap_ms, 20);
    EXPECT_FALSE(t.split_lines);
    EXPECT_FALSE(t.hex);
    ASSERT_EQ(SaveTrafficSettings(file_.get(), TrafficSettings{5, true, true}), 0);
    ASSERT_EQ(SaveTrafficCsvFolder(file_.get(), "C:\\frames"), 0);
    EXPECT_EQ(filled_lines(),
              (Lines{"[TRAFFIC]", "frame_gap=5", "split_lines=1", "hex=1", "[PATH]", "path_traffic_csv=C:\\frames"}));
    TrafficSettings back;
    ASSERT_EQ(LoadTrafficSettings(file_.get(), back), 0);
    EXPECT_EQ(back.frame_gap_ms, 5);
    EXPECT_TRUE(back.split_lines);
    EXPECT_TRUE(back.hex);
    const std::pair<const char*, int> gaps[] = {{"0", 1}, {"10001", 10000}, {"x", 20}, {"0x10", 16}};
    for (auto [text, want] : gaps) {
        put(std::string("[TRAFFIC]\r\nframe_gap=") + text + "\r\n");
        ASSERT_EQ(LoadTrafficSettings(file_.get(), back), 0);
        EXPECT_EQ(back.frame_gap_ms, want) << text;
    }
    EXPECT_EQ(LoadTrafficSettings(nullptr, back), 1);
}

TEST_F(SettingsGroupsTest, WindowPlaceRoundTripsAndBadValuesAreKeptInRange)
{
    WindowPlace place{ui::Rect{1, 1, 2, 2}, true};
    EXPECT_EQ(LoadWindowPlace(file_.get(), place), 2) << "nothing saved yet";
    EXPECT_EQ(place.bounds, (ui::Rect{1, 1, 2, 2}));
    ASSERT_EQ(SaveWindowPlace(file_.get(), WindowPlace{ui::Rect::from_size(-1200, 30, 800, 600), true}), 0);
    EXPECT_EQ(filled_lines(), (Lines{"[WINDOW]", "left=-1200", "top=30", "width=800", "height=600", "maximized=1"}));
    ASSERT_EQ(LoadWindowPlace(file_.get(), place), 0);
    EXPECT_EQ(place.bounds, ui::Rect::from_size(-1200, 30, 800, 600));
    EXPECT_TRUE(place.maximized);
    // Far out values stay where a rectangle's sums cannot overflow.
    put("[WINDOW]\r\nleft=0x7FFFFFFF\r\ntop=-2147483648\r\nwidth=2147483647\r\nheight=40000\r\nmaximized=x\r\n");
    ASSERT_EQ(LoadWindowPlace(file_.get(), place), 0);
    EXPECT_EQ(place.bounds, ui::Rect::from_size(32767, -32768, 32767, 32767));
    EXPECT_FALSE(place.maximized);
    for (const char* none : {"width=0\r\nheight=600", "width=800", "width=-5\r\nheight=600", "width=800\r\nheight=x"}) {
        put(std::string("[WINDOW]\r\n") + none + "\r\n");
        EXPECT_EQ(LoadWindowPlace(file_.get(), place), 2) << none;
    }
    EXPECT_EQ(LoadWindowPlace(nullptr, place), 1);
    EXPECT_EQ(SaveWindowPlace(nullptr, place), 1);
}

TEST(WindowPlaceFit, ASavedPlaceComesBackOnTheScreen)
{
    const ui::Rect area{0, 0, 1280, 984};  // a monitor less its task bar
    const ui::Rect right_monitor{1280, 0, 2560, 1024};
    const ui::Size least{724, 550};
    const struct {
        const char* what;
        ui::Rect saved, area, fitted;
    } cases[] = {
        {"inside stays", ui::Rect::from_size(100, 50, 800, 600), area, ui::Rect::from_size(100, 50, 800, 600)},
        {"on the other monitor stays", ui::Rect::from_size(1400, 10, 800, 600), right_monitor,
         ui::Rect::from_size(1400, 10, 800, 600)},
        {"half off the right comes in", ui::Rect::from_size(900, 100, 800, 600), area,
         ui::Rect::from_size(480, 100, 800, 600)},
        {"half off the top left comes in", ui::Rect::from_size(-400, -300, 800, 600), area,
         ui::Rect::from_size(0, 0, 800, 600)},
        {"below the task bar's edge comes up", ui::Rect::from_size(100, 900, 800, 600), area,
         ui::Rect::from_size(100, 384, 800, 600)},
        {"wholly off is centred", ui::Rect::from_size(5000, 4000, 800, 600), area,
         ui::Rect::from_size(240, 192, 800, 600)},
        {"wholly off to the left is centred", ui::Rect::from_size(-2000, 100, 800, 600), area,
         ui::Rect::from_size(240, 192, 800, 600)},
        {"touching only the edge is off", ui::Rect::from_size(1280, 100, 800, 600), area,
         ui::Rect::from_size(240, 192, 800, 600)},
        {"too small grows to the least size", ui::Rect::from_size(10, 20, 300, 200), area,
         ui::Rect::from_size(10, 20, 724, 550)},
        {"bigger than the screen shrinks to it", ui::Rect::from_size(-50, -50, 3000, 2000), area, area},
        {"a screen below the least size keeps the least", ui::Rect::from_size(100, 100, 800, 600),
         ui::Rect{0, 0, 640, 480}, ui::Rect::from_size(0, 0, 724, 550)},
    };
    for (const auto& c : cases) EXPECT_EQ(fit_window_place(c.saved, c.area, least), c.fitted) << c.what;
}

}  // namespace

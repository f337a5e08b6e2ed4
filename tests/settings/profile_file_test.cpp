// The settings file seam, the same cases against whichever backend this build
// has: the Windows profile functions (under Wine) or the native twin.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/profile_file.h"

namespace fs = std::filesystem;

namespace {

class ProfileFileTest : public testing::Test {
 protected:
    void SetUp() override
    {
        static int serial = 0;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = fs::temp_directory_path() / ("olvex_profile_" + std::to_string(stamp) + "_" + std::to_string(++serial));
        fs::create_directories(dir_);
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    void put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(dir_ / name, std::ios::binary);
        out << bytes;
    }

    std::string text(const std::string& name) const
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    // The file's lines that hold anything but blanks, without their endings:
    // how many blank lines stand between sections is not part of the contract.
    std::vector<std::string> filled_lines(const std::string& name) const
    {
        std::vector<std::string> lines;
        std::istringstream in(text(name));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(line);
        }
        return lines;
    }

    fs::path dir_;
};

using Lines = std::vector<std::string>;

TEST_F(ProfileFileTest, NewSectionsAndKeysAreAppendedInWriteOrder)
{
    auto file = open_profile_file(path("config.ini"));
    EXPECT_FALSE(fs::exists(path("config.ini")));
    file->write_string("PORT", "port_num", "1");
    file->write_string("PORT", "port_baud", "115200");
    file->write_string("PATH", "path_send_file", "");
    file->write_string("TXCFG", "int_dec", "-5");
    file->write_string("port", "port_stop", "10");  // joins the existing section
    file->write_string("TXTVIEW", "auto_scroll", "1");
    file->write_string("Port", "PORT_NUM", "7");  // replaces the key in place
    EXPECT_EQ(filled_lines("config.ini"),
              (Lines{"[PORT]", "port_num=7", "port_baud=115200", "port_stop=10", "[PATH]", "path_send_file=", "[TXCFG]",
                     "int_dec=-5", "[TXTVIEW]", "auto_scroll=1"}));
    EXPECT_NE(text("config.ini").find("port_num=7\r\n"), std::string::npos) << "CR LF line ends";
}

struct RoundTrip {
    std::string written;
    std::string read;
};

TEST_F(ProfileFileTest, WrittenValuesReadBackAsTheProfileFunctionsHandThemOut)
{
    const RoundTrip cases[] = {
        {"115200", "115200"},
        {"", ""},
        {"C:\\Program Files\\olvex", "C:\\Program Files\\olvex"},
        {"a = b ; c", "a = b ; c"},
        {"  padded  ", "padded"},
        {"\"quoted\"", "quoted"},
        {"'single'", "single"},
        {"\" inner blanks \"", " inner blanks "},
        {"\"unbalanced'", "\"unbalanced'"},
        // Longer than the profile functions' customary 2048-character buffer.
        {std::string(2047, 'x'), std::string(2047, 'x')},
        {std::string(3000, 'y'), std::string(3000, 'y')},
        {"\"" + std::string(4094, 'q') + "\"", std::string(4094, 'q')},
        {std::string(20000, 'z'), std::string(20000, 'z')},
    };
    auto file = open_profile_file(path("config.ini"));
    int n = 0;
    for (const auto& c : cases) {
        std::string key = "k";
        key += std::to_string(n++);
        ASSERT_TRUE(file->try_write_string("TXCFG", key, c.written)) << key;
        EXPECT_EQ(file->read_string("TXCFG", key, "<default>"), c.read) << key;
    }
    // A value written again under another case of its names stays one line.
    ASSERT_TRUE(file->try_write_string("txcfg", "K0", "9600"));
    EXPECT_EQ(file->read_string("TXCFG", "k0", ""), "9600");
    EXPECT_EQ(filled_lines("config.ini").size(), std::size(cases) + 1);
}

TEST_F(ProfileFileTest, StartFolderPathJoinedWithABackslashNamesTheFileInIt)
{
    // The program joins the start folder and "\\config.ini" as plain text.
    auto file = open_profile_file(dir_.string() + "\\config.ini");
    file->write_string("PORT", "port_num", "4");
    EXPECT_EQ(filled_lines("config.ini"), (Lines{"[PORT]", "port_num=4"}));
    EXPECT_EQ(file->path(), dir_.string() + "\\config.ini");
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    auto missing = open_profile_file(path("none.ini"));
    EXPECT_EQ(missing->read_string("PORT", "port_num", "1"), "1");
    EXPECT_EQ(missing->read_string("PORT", "port_num", "d  "), "d");  // trailing spaces go
    EXPECT_EQ(missing->read_string("PORT", "port_num", "  d"), "  d");
    EXPECT_EQ(missing->read_string("PORT", "port_num", "\"d\""), "d");
    EXPECT_EQ(missing->read_string("PORT", "port_num", ""), "");
    EXPECT_FALSE(fs::exists(path("none.ini"))) << "reading creates nothing";

    put("config.ini", "[PORT]\r\nport_num=3\r\n");
    auto file = open_profile_file(path("config.ini"));
    EXPECT_EQ(file->read_string("PATH", "port_num", "x"), "x");
    EXPECT_EQ(file->read_string("PORT", "port_baud", "115200"), "115200");
}

struct HandWritten {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    const char* value;  // "<d>" is the default
};

TEST_F(ProfileFileTest, HandWrittenFilesReadAsOnWindows)
{
    const HandWritten cases[] = {
        {"blanks", "[PORT]\r\n  port_num = 16 \r\n", "PORT", "port_num", "16"},
        {"tabs", "[PORT]\r\nport_num\t=\t16\t\r\n", "PORT", "port_num", "16"},
        {"case", "[port]\r\nPort_Num=16\r\n", "PORT", "port_num", "16"},
        {"names padded", "[PORT]\r\nport_num=16\r\n", " PORT ", " port_num ", "16"},
        {"lf only", "[A]\nx=1\n[PORT]\nport_num=16\n", "PORT", "port_num", "16"},
        {"cr only", "[A]\rx=1\r[PORT]\rport_num=16\r", "PORT", "port_num", "16"},
        {"no final newline", "[PORT]\r\nport_num=16", "PORT", "port_num", "16"},
        {"utf8 mark", "\xEF\xBB\xBF[PORT]\r\nport_num=16\r\n", "PORT", "port_num", "16"},
        {"header blanks", "[ PORT ]\r\nport_num=16\r\n", "PORT", "port_num", "16"},
        {"header tail", "[PORT] tail\r\nport_num=16\r\n", "PORT", "port_num", "16"},
        {"open header is a key", "[PORT]\r\n[X\r\nport_num=16\r\n", "PORT", "port_num", "16"},
        {"key without =", "[PORT]\r\nport_num\r\n", "PORT", "port_num", "<d>"},
        {"empty value", "[PORT]\r\nport_num=\r\n", "PORT", "port_num", ""},
        {"second =", "[PORT]\r\nport_num=a=b\r\n", "PORT", "port_num", "a=b"},
        {"first section wins", "[PORT]\r\nport_num=1\r\n[X]\r\n[port]\r\nport_num=2\r\n", "PORT", "port_num", "1"},
        {"later duplicate unseen", "[PORT]\r\na=1\r\n[PORT]\r\nport_num=2\r\n", "PORT", "port_num", "<d>"},
        {"first key wins", "[PORT]\r\nport_num=1\r\nPORT_NUM=2\r\n", "PORT", "port_num", "1"},
        {"other section's key", "[A]\r\nport_num=1\r\n[PORT]\r\n", "PORT", "port_num", "<d>"},
        {"before any header", "k0=top\r\n[T]\r\n", "", "k0", "top"},
        {"empty header", "[]\r\nk=1\r\n", "", "k", "<d>"},
        {"empty key", "[T]\r\n=5\r\n", "T", "", "5"},
        {"quotes", "[T]\r\nq=\"abc\"\r\n", "T", "q", "abc"},
        {"empty quotes", "[T]\r\nq=\"\"\r\n", "T", "q", ""},
        {"lone quote", "[T]\r\nq=\"\r\n", "T", "q", "\""},
        {"inner quotes", "[T]\r\nq=a\"b\"\r\n", "T", "q", "a\"b\""},
    };
    for (const auto& c : cases) {
        const std::string name = std::string(c.name) + ".ini";
        std::string file_name = name;
        for (char& ch : file_name)
            if (ch == ' ' || ch == '=') ch = '_';
        put(file_name, c.content);
        EXPECT_EQ(open_profile_file(path(file_name))->read_string(c.section, c.key, "<d>"), c.value) << c.name;
    }
}

// A large file whose lines end in CR alone (no LF anywhere) reads to its last key.
TEST_F(ProfileFileTest, LongBareCrFileReadsToItsEnd)
{
    std::string content = "[PORT]\r";
    for (int i = 0; i < 40000; ++i) {
        const std::string n = std::to_string(i);
        content.append("k").append(n).append("=").append(n).append("\r");
    }
    content += "port_num=9\r[PATH]\rp=x\r";
    put("config.ini", content);
    auto file = open_profile_file(path("config.ini"));
    EXPECT_EQ(file->read_string("PORT", "k39999", "<d>"), "39999");
    EXPECT_EQ(file->read_string("PORT", "port_num", "<d>"), "9");
    EXPECT_EQ(file->read_string("PATH", "p", "<d>"), "x");
}

TEST_F(ProfileFileTest, WritesIntoAHandWrittenFileKeepItsOtherLines)
{
    put("config.ini", "[PORT]\r\nport_num=1\r\n; keep me\r\n\r\n[PATH]\r\npath_save_text=C:\\x");
    auto file = open_profile_file(path("config.ini"));
    file->write_string("PORT", "port_baud", "9600");
    file->write_string("PATH", "path_save_bin", "C:\\y");
    file->write_string("TXCFG", "str_eol", "0");
    file->write_string("PORT", "port_num", "2");
    EXPECT_EQ(filled_lines("config.ini"),
              (Lines{"[PORT]", "port_num=2", "; keep me", "port_baud=9600", "[PATH]", "path_save_text=C:\\x",
                     "path_save_bin=C:\\y", "[TXCFG]", "str_eol=0"}));
}

TEST_F(ProfileFileTest, NewKeysKeepABareCrFileReadable)
{
    // Bare-CR lines, the last one ending the file: a key put in after them with
    // CR LF once joined them, and the key before it and the new one were lost.
    put("config.ini", "[PORT]\rport_num=3\r");
    auto file = open_profile_file(path("config.ini"));
    file->write_string("PORT", "port_baud", "9600");
    file->write_string("TXTVIEW", "word_wrap", "1");
    file->write_string("PORT", "port_num", "4");
    EXPECT_EQ(file->read_string("PORT", "port_num", "<d>"), "4");
    EXPECT_EQ(file->read_string("PORT", "port_baud", "<d>"), "9600");
    EXPECT_EQ(file->read_string("TXTVIEW", "word_wrap", "<d>"), "1");
}

TEST_F(ProfileFileTest, RemovedKeysAreGoneAndTheRestStays)
{
    put("config.ini", "[A]\r\nk0=a\r\nk1=b\r\nk2=c\r\n[B]\r\nk1=z\r\n");
    auto file = open_profile_file(path("config.ini"));
    EXPECT_TRUE(file->try_remove_key("A", "k1"));
    EXPECT_TRUE(file->try_remove_key("A", "missing"));
    EXPECT_TRUE(file->try_remove_key("C", "k1"));
    EXPECT_EQ(filled_lines("config.ini"), (Lines{"[A]", "k0=a", "k2=c", "[B]", "k1=z"}));
    EXPECT_TRUE(open_profile_file(path("none.ini"))->try_remove_key("A", "k1"));
}

TEST_F(ProfileFileTest, KeysWithoutASectionGoBeforeTheFirstHeader)
{
    put("config.ini", "[A]\r\nx=1\r\n");
    auto file = open_profile_file(path("config.ini"));
    file->write_string("", "k1", "v1");
    file->write_string("", "k2", "v2");
    EXPECT_EQ(filled_lines("config.ini"), (Lines{"k1=v1", "k2=v2", "[A]", "x=1"}));
    EXPECT_EQ(file->read_string("", "k2", ""), "v2");
}

TEST_F(ProfileFileTest, DuplicatedSectionOnlyTheFirstIsReadAndWritten)
{
    put("config.ini", "[S]\r\na=1\r\n[T]\r\nt=1\r\n[s]\r\na=2\r\nb=3\r\n");
    auto file = open_profile_file(path("config.ini"));
    file->write_string("S", "b", "new");
    file->write_string("S", "a", "A1");
    EXPECT_EQ(filled_lines("config.ini"), (Lines{"[S]", "a=A1", "b=new", "[T]", "t=1", "[s]", "a=2", "b=3"}));
    EXPECT_EQ(file->read_string("S", "b", ""), "new");
}

// Deterministic bytes of every value, zero bytes and line ends included.
std::string garbage(std::size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    for (char& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<char>(seed >> 24);
    }
    return bytes;
}

struct Garbage {
    const char* name;
    std::string content;
};

TEST_F(ProfileFileTest, GarbageFilesNeverBreakReadingOrWriting)
{
    std::string ten_mb;
    ten_mb.reserve(10u << 20);
    for (int i = 0; ten_mb.size() < (10u << 20); ++i)
        ten_mb += "[S" + std::to_string(i % 97) + "]\r\nkey" + std::to_string(i) + "=value\r\n";
    const Garbage cases[] = {
        {"binary", garbage(65536, 7)},
        {"binary_zeros", std::string(4096, '\0') + "\r\n[PORT]\r\n" + garbage(1000, 3)},
        {"ten_mb", ten_mb},
        {"long_line", std::string(100000, 'a') + "\r\n[PORT]\r\nport_num=5\r\n"},
        {"long_key_line", "[PORT]\r\n" + std::string(100000, 'k') + "=" + std::string(100000, 'v') +
                              "\r\nlong=" + std::string(100000, 'v') + "\r\nport_num=6"},
        {"long_header", "[" + std::string(100000, 'h') + "]\r\nx=1\r\n"},
        {"no_equals", "[PORT]\r\n" + std::string(5000, '\n') + "a\r\nb\r\nc\r\n[\r\n]\r\n=\r\n"},
        {"only_brackets", std::string(50000, '[') + std::string(50000, ']')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = std::string(c.name) + ".ini";
        put(name, c.content);
        auto file = open_profile_file(path(name));
        (void)file->read_string("PORT", "port_num", "1");
        (void)file->read_string("S5", "key5", "");
        ASSERT_TRUE(file->try_write_string("OLVEX", "written", "42"));
        EXPECT_EQ(file->read_string("OLVEX", "written", ""), "42");
    }
    EXPECT_EQ(open_profile_file(path("long_line.ini"))->read_string("PORT", "port_num", ""), "5");
    EXPECT_EQ(open_profile_file(path("ten_mb.ini"))->read_string("S5", "key5", ""), "value");
    auto long_lines = open_profile_file(path("long_key_line.ini"));
    EXPECT_EQ(long_lines->read_string("PORT", "port_num", ""), "6");
    EXPECT_EQ(long_lines->read_string("PORT", "long", ""), std::string(100000, 'v'));
}

TEST_F(ProfileFileTest, WriteIntoAMissingFolderIsRefused)
{
    const std::string where = path("no_such_folder") + std::string(1, fs::path::preferred_separator) + "config.ini";
    auto file = open_profile_file(where);
    EXPECT_FALSE(file->try_write_string("PORT", "port_num", "1"));
    try {
        file->write_string("PORT", "port_num", "1");
        FAIL() << "no error raised";
    } catch (const ProfileWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + where);
    }
}

TEST_F(ProfileFileTest, WriteOverAFolderIsRefused)
{
    fs::create_directories(dir_ / "config.ini");
    EXPECT_FALSE(open_profile_file(path("config.ini"))->try_write_string("PORT", "port_num", "1"));
}

TEST_F(ProfileFileTest, WriteIntoAReadOnlyFolderIsRefused)
{
    const fs::path folder = dir_ / "readonly";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    {
        // Root, and Windows for folders, ignore a folder's read-only mark.
        std::ofstream probe(folder / "probe", std::ios::binary);
        if (probe.is_open()) GTEST_SKIP() << "a read-only folder is still writable here";
    }
    auto file = open_profile_file((folder / "config.ini").string());
    EXPECT_FALSE(file->try_write_string("PORT", "port_num", "1"));
    EXPECT_THROW(file->write_string("PORT", "port_num", "1"), ProfileWriteError);
}

TEST_F(ProfileFileTest, WriteIntoASystemFolderThatTakesNoFilesIsRefused)
{
    // sysfs refuses new files even to root; Wine shows the root as drive Z:.
    const fs::path folder = fs::path::preferred_separator == '\\' ? "Z:\\sys" : "/sys";
    if (!fs::is_directory(folder)) GTEST_SKIP() << folder.string() << " is not here";
    {
        std::ofstream probe(folder / "olvex_probe", std::ios::binary);
        if (probe.is_open()) GTEST_SKIP() << folder.string() << " takes files here";
    }
    auto file = open_profile_file((folder / "config.ini").string());
    EXPECT_FALSE(file->try_write_string("PORT", "port_num", "1"));
    EXPECT_EQ(file->read_string("PORT", "port_num", "1"), "1");
}

}  // namespace

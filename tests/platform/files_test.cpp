// File services: paths, writing from the start or after what is there,
// reading back, and the errors a window shows.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

TEST(FolderOf, CutsAtTheLastSeparatorAndKeepsARoot)
{
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\data\\log.bin", "C:\\data"}, {"C:\\log.bin", "C:\\"}, {"log.bin", ""},
        {"/tmp/x/log.bin", "/tmp/x"},      {"/log.bin", "/"},       {"C:\\a/b\\c", "C:\\a/b"},
    };
    for (const auto& c : cases) EXPECT_EQ(folder_of(c.path), c.folder) << c.path;
}

class FilesTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("olvex_files_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string path(const char* name) const { return (dir_ / name).string(); }

    std::string read_all(const std::string& p)
    {
        FileReader r;
        EXPECT_EQ(r.open(p), 0);
        std::string out;
        std::vector<char> buf(3);  // small reads: the loop, not one call, gets it all
        for (;;) {
            std::size_t got = 0;
            EXPECT_EQ(r.read(buf.data(), buf.size(), &got), 0);
            if (got == 0) break;
            out.append(buf.data(), got);
        }
        return out;
    }

    std::filesystem::path dir_;
};

TEST_F(FilesTest, WriteTruncatesOrAppendsAndReadsBackExactly)
{
    const std::string p = path("data.bin");
    const std::string bytes("\x00\x01\r\n\xff\x1a", 6);
    {
        FileWriter w;
        ASSERT_EQ(w.open(p), 0);
        ASSERT_EQ(w.write(bytes.data(), bytes.size()), 0);
        ASSERT_EQ(w.flush(), 0);
        ASSERT_EQ(w.close(), 0);
        EXPECT_FALSE(w.is_open());
    }
    EXPECT_TRUE(file_exists(p));
    EXPECT_EQ(read_all(p), bytes);

    FileWriter again;
    ASSERT_EQ(again.open(p, true), 0);
    ASSERT_EQ(again.write("ab", 2), 0);
    ASSERT_EQ(again.close(), 0);
    EXPECT_EQ(read_all(p), bytes + "ab");

    FileWriter fresh;
    ASSERT_EQ(fresh.open(p), 0);
    ASSERT_EQ(fresh.write("z", 1), 0);
    ASSERT_EQ(fresh.close(), 0);
    EXPECT_EQ(read_all(p), "z");

    FileReader r;
    ASSERT_EQ(r.open(p), 0);
    EXPECT_EQ(r.size(), 1);
}

TEST_F(FilesTest, MissingFilesFoldersAndClosedFilesReportErrors)
{
    EXPECT_FALSE(file_exists(path("none.bin")));
    EXPECT_FALSE(file_exists(dir_.string()));

    FileReader r;
    const int missing = r.open(path("none.bin"));
    EXPECT_NE(missing, 0);
    EXPECT_FALSE(r.is_open());
    EXPECT_FALSE(file_error_text(missing).empty());
    EXPECT_NE(file_error_text(missing).back(), '\n');
    EXPECT_NE(r.open(dir_.string()), 0);
    std::size_t got = 7;
    char c;
    EXPECT_NE(r.read(&c, 1, &got), 0);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(r.size(), -1);

    FileWriter w;
    EXPECT_NE(w.open(path("no_such_folder/x.bin")), 0);
    EXPECT_NE(w.write("x", 1), 0);
}

#ifdef _WIN32
TEST_F(FilesTest, AFileBeingReadCannotBeWrittenByAnother)
{
    const std::string p = path("locked.bin");
    FileWriter w;
    ASSERT_EQ(w.open(p), 0);
    ASSERT_EQ(w.close(), 0);
    FileReader r;
    ASSERT_EQ(r.open(p), 0);
    FileWriter other;
    EXPECT_NE(other.open(p, true), 0);
}
#endif

}  // namespace

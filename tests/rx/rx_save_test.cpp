// Saving received data on the headless main window: Save all, Save selected
// with its checks and messages, Save text, and failures that must not pass
// for success.
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/files.h"
#include "tests/app/main_window_fixture.h"
#include "views/text/text_save.h"

namespace fs = std::filesystem;

namespace {

std::string bytes_0_to(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(char(i * 7 + 1));
    return s;
}

std::string read_file(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class RxSaveTest : public MainWindowTest {
 protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        dir = fs::temp_directory_path() / ("olvex_rx_save_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        fs::remove_all(dir);
    }
    void receive(const std::string& bytes)
    {
        arrive(bytes);
        tick();
    }
    TRXSForm& dlg() { return *RXSForm; }
    std::string path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(RxSaveTest, SaveAllGoesStraightToTheFileAndMarksTheBlock)
{
    user.press("Ctrl+S");
    EXPECT_TRUE(user.world().file_dialogs.empty()) << "an empty store saves nothing";
    connect();
    const std::string data = bytes_0_to(100);
    receive(data);
    bool timer_ran = true;
    user.pick_file(path("all.bin"));
    dlg().on_show = [&, show = dlg().on_show] {
        timer_ran = m->Timer1.enabled();
        show();
    };
    user.press("Ctrl+S");
    EXPECT_FALSE(timer_ran) << "Timer1 stops while the dialog is open";
    EXPECT_TRUE(m->Timer1.enabled());
    EXPECT_FALSE(dlg().visible());
    EXPECT_EQ(read_file(dir / "all.bin"), data);
    EXPECT_EQ(m->hex.block_start, 0);
    EXPECT_EQ(m->hex.block_end, 99);
    EXPECT_EQ(dlg().SD1.initial_dir, dir.string());
    ASSERT_EQ(user.world().file_dialogs.size(), 1u);
    EXPECT_EQ(user.world().file_dialogs[0].filter, "All files (*.*)|*.*");
    EXPECT_EQ(dlg().Eend.text(), "99");
    EXPECT_EQ(dlg().ElenHex.text(), "64");
}

TEST_F(RxSaveTest, SaveSelectedPresetsTheBlockAndWritesExactlyIt)
{
    connect();
    const std::string data = bytes_0_to(64);
    receive(data);
    m->hex.DGhex.set_current(11, 1);  // byte 10
    user.press("Ctrl+B");
    m->hex.DGhex.set_current(30, 2);  // byte 29
    user.press("Ctrl+E");
    user.pick_file(path("sel.bin"));
    user.in_modal("RXSForm", [&](ui::Form&) {
        EXPECT_EQ(dlg().Ebeg.text(), "10");
        EXPECT_EQ(dlg().EbegHex.text(), "A");
        EXPECT_EQ(dlg().Eend.text(), "29");
        EXPECT_EQ(dlg().EendHex.text(), "1D");
        EXPECT_EQ(dlg().Elen.text(), "20");
        EXPECT_EQ(dlg().ElenHex.text(), "14");
        user.type(dlg().Elen, "\r");  // Enter presses the default button, Save
    });
    user.press("Ctrl+Alt+S");
    EXPECT_EQ(read_file(dir / "sel.bin"), data.substr(10, 20));
}

TEST_F(RxSaveTest, RangeMessagesKeepTheDialogOpenAndFieldsFollowTheActiveOnes)
{
    connect();
    const std::string data = bytes_0_to(100);
    receive(data);
    std::vector<std::string> texts;
    user.in_modal("RXSForm", [&](ui::Form&) {
        EXPECT_EQ(dlg().Ebeg.color(), ui::colors::window);
        EXPECT_EQ(dlg().EbegHex.color(), ui::colors::btn_face);
        user.type(dlg().Ebeg, "x1");  // the filter drops the x
        EXPECT_EQ(dlg().Ebeg.text(), "01");
        dlg().Ebeg.set_text("100");
        user.answer_message_box(ui::mr::Ok);
        user.click(dlg().BtnSave);
        dlg().Ebeg.set_text("-1");  // only a paste brings a minus sign in
        user.answer_message_box(ui::mr::Ok);
        user.click(dlg().BtnSave);
        dlg().Ebeg.set_text("10");
        user.focus(dlg().ElenHex);
        EXPECT_EQ(dlg().ElenHex.color(), ui::colors::window);
        EXPECT_EQ(dlg().Eend.color(), ui::colors::btn_face);
        dlg().ElenHex.set_text("");
        user.type(dlg().ElenHex, "-5fz");  // typed: the minus and z dropped, f raised
        EXPECT_EQ(dlg().ElenHex.text(), "5F");
        dlg().ElenHex.set_text("-5");
        user.answer_message_box(ui::mr::Ok);
        user.click(dlg().BtnSave);
        // A cancelled file dialog leaves the dialog open with the adjusted fields.
        dlg().ElenHex.set_text("10");
        user.cancel_file_dialog();
        user.click(dlg().BtnSave);
        EXPECT_TRUE(dlg().visible());
        EXPECT_EQ(dlg().Eend.text(), "25");
        EXPECT_EQ(dlg().Elen.text(), "16");
        user.click(dlg().BtnCancel);
    });
    user.press("Ctrl+Alt+S");
    ASSERT_EQ(boxes().size(), 3u);
    EXPECT_EQ(boxes()[0].text, "Invalid value of \"binary data start\" - value higher than data len.");
    EXPECT_EQ(boxes()[0].caption, "Error ...");
    EXPECT_EQ(boxes()[1].text, "Invalid value of \"binary data start\"!");
    EXPECT_EQ(boxes()[2].text, "Invalid value of \"binary data length\"!");
    EXPECT_EQ(m->hex.block_start, 0);
    EXPECT_EQ(m->hex.block_end, 0);
    EXPECT_TRUE(m->Timer1.enabled());
}

TEST_F(RxSaveTest, OverwriteIsAskedAndNoKeepsTheFile)
{
    connect();
    receive(bytes_0_to(10));
    std::ofstream(dir / "old.bin") << "keep";
    user.pick_file(path("old.bin"));
    user.answer_message_box(ui::mr::No);
    user.in_modal("RXSForm", [&](ui::Form&) { user.click(dlg().BtnCancel); });
    user.press("Ctrl+S");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "File \"old.bin\" already exists!\nOverwrite?");
    EXPECT_EQ(boxes()[0].caption, "Warning ...");
    EXPECT_EQ(boxes()[0].buttons, ui::MsgButtons::YesNo);
    EXPECT_EQ(read_file(dir / "old.bin"), "keep");
}

TEST_F(RxSaveTest, FailedWritesSaySoAndMoveNeitherFolderNorBlock)
{
    connect();
    receive(bytes_0_to(30));
    dlg().SD1.initial_dir = "C:\\before";
    const std::string missing = path("no such folder/x.bin");
    user.pick_file(missing);
    user.answer_message_box(ui::mr::Ok);
    // /dev/full takes the open and refuses every byte: a write that fails part-way.
    user.pick_file("/dev/full");
    user.answer_message_box(ui::mr::Ok);
    user.in_modal("RXSForm", [&](ui::Form&) { user.click(dlg().BtnCancel); });
    user.in_modal("RXSForm", [&](ui::Form&) { user.click(dlg().BtnCancel); });
    user.press("Ctrl+S");
    user.press("Ctrl+S");
    ASSERT_EQ(boxes().size(), 2u);
    // The system's reason on a line under each message.
    EXPECT_EQ(boxes()[0].text, "Creating file \"" + missing + "\" failed!\n" + file_error_text(ENOENT));
    EXPECT_EQ(boxes()[1].text, "Writting data failed!\n" + file_error_text(ENOSPC));
    EXPECT_EQ(dlg().SD1.initial_dir, "C:\\before");
    EXPECT_EQ(m->hex.block_end, 0);
}

TEST_F(RxSaveTest, SaveTextWritesTheViewsLinesJoinedByCrLf)
{
    connect();
    receive("abc\r");  // mode CR: the line abc and an empty last line
    ASSERT_EQ(lines(), (std::vector<std::string>{"abc", ""}));
    m->save.SD1.initial_dir = "C:\\before";
    user.pick_file(path("view.txt"));
    user.press("Alt+S");
    EXPECT_EQ(read_file(dir / "view.txt"), "abc\r\n");
    EXPECT_EQ(m->save.SD1.initial_dir, dir.string());
    ASSERT_EQ(user.world().file_dialogs.size(), 1u);
    EXPECT_EQ(user.world().file_dialogs[0].filter, "Text file (*.txt)|*.txt|All files (*.*)|*.*");
    EXPECT_EQ(user.world().file_dialogs[0].initial_dir, "C:\\before");

    receive("def\rgh");
    user.pick_file(path("view.txt"));
    user.answer_message_box(ui::mr::Yes);
    user.press("Alt+S");
    EXPECT_EQ(boxes().back().text, "File \"view.txt\" already exists.\nOverwrite?");
    EXPECT_EQ(read_file(dir / "view.txt"), "abc\r\ndef\r\ngh");

    // A refused write is shown with the system's reason; the folder stays.
    m->save.SD1.initial_dir = "C:\\kept";
    user.pick_file("/dev/full");
    user.answer_message_box(ui::mr::Ok);
    user.press("Alt+S");
    EXPECT_NE(boxes().back().text.find("/dev/full"), std::string::npos) << boxes().back().text;
    EXPECT_EQ(boxes().back().icon, ui::MsgIcon::Error);
    EXPECT_EQ(m->save.SD1.initial_dir, "C:\\kept");
}

TEST(TextSave, LinesAcrossTheBufferAndTheEmptyView)
{
    const fs::path file = fs::temp_directory_path() / ("olvex_text_save_" + std::to_string(::getpid()));
    auto write = [&](const ui::TextLines& lines) {
        FileWriter out;
        EXPECT_EQ(out.open(file.string()), 0);
        EXPECT_EQ(write_text_lines(lines, out), 0);
        EXPECT_EQ(out.close(), 0);
        return read_file(file);
    };
    ui::TextLines lines;
    EXPECT_EQ(write(lines), "");
    const std::string long_line(600 * 1024 + 3, 'x');
    lines.add("first");
    lines.add(long_line);
    lines.add("");
    lines.add("last");
    EXPECT_EQ(write(lines), "first\r\n" + long_line + "\r\n\r\nlast");
    fs::remove(file);
}
